#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "app/MainWindowFixture.h"

namespace {

using namespace fixture;

TEST_F(MainWindowTest, TheFirstReloadShowsTheScannedRowsSortedWithTheFirstSelected) {
    for (const char* verb : {"cut", "apply", "erase", "burn", "drop"}) AddVerb(verb, std::string(verb) == "burn");
    Open();
    win::ListView view(window->ListView());
    ASSERT_EQ(5, view.ItemCount());
    const char* sorted[] = {"apply", "burn", "cut", "drop", "erase"};
    for (int item = 0; item < 5; ++item) {
        EXPECT_EQ(sorted[item], CellText(item, 0));
        const RowRecord* row = window->Items().RowAtItem(item);
        ASSERT_NE(nullptr, row);
        char scratch[300];
        for (int column = 0; column < kMenuItemColumnCount; ++column)
            EXPECT_EQ(row->ColumnText(column, scratch, sizeof scratch), CellText(item, column)) << item << "/" << column;
    }
    EXPECT_EQ(LVIS_SELECTED | LVIS_FOCUSED, view.ItemState(0, LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(1, view.SelectedCount());
    EXPECT_EQ(StatusText(5, 1), Status());
    EXPECT_EQ(1, static_cast<const ItemRecord*>(window->Items().RowAtItem(1))->IsDisabled) << "burn is disabled";
    EXPECT_EQ(10, win::Toolbar(window->Toolbar()).ButtonCount());
    const DWORD styles = view.ExtendedStyle();
    EXPECT_TRUE(styles & LVS_EX_FULLROWSELECT);
    EXPECT_TRUE(styles & LVS_EX_HEADERDRAGDROP);
    EXPECT_FALSE(styles & LVS_EX_GRIDLINES) << "the first start shows no grid lines";
    EXPECT_TRUE(styles & LVS_EX_INFOTIP);
}

TEST_F(MainWindowTest, MenusAndToolbarFollowTheSelection) {
    for (const char* verb : {"a", "b", "c", "d", "e"}) AddVerb(verb);
    Open();
    const struct {
        const char* Name;
        std::initializer_list<int> Selected;
        bool One, Any, Rows;
    } cases[] = {
        {"nothing selected", {}, false, false, true},
        {"one row selected", {2}, true, true, true},
        {"two rows selected", {1, 3}, false, true, true},
    };
    for (const auto& c : cases) {
        Select(c.Selected);
        EXPECT_EQ(StatusText(5, static_cast<int>(c.Selected.size())), Status()) << c.Name;
        for (int id : {IDM_PROPERTIES, IDM_LOOK_UP_EXTENSION}) EXPECT_EQ(c.One, MenuEnabled(id)) << c.Name << " " << id;
        for (int id : {IDM_SAVE_SELECTED, IDM_COPY, IDM_HTML_SELECTED}) EXPECT_EQ(c.Any, MenuEnabled(id)) << c.Name << " " << id;
        for (int id : {IDM_AUTO_SIZE, IDM_HTML_ALL, IDM_FIND}) EXPECT_EQ(c.Rows, MenuEnabled(id)) << c.Name << " " << id;
        EXPECT_EQ(c.One, ButtonEnabled(IDM_PROPERTIES)) << c.Name;
        EXPECT_EQ(c.Any, ButtonEnabled(IDM_SAVE_SELECTED)) << c.Name;
        EXPECT_EQ(c.Any, ButtonEnabled(IDM_COPY)) << c.Name;
        EXPECT_TRUE(ButtonEnabled(IDM_FIND) && ButtonEnabled(IDM_DISABLE) && MenuEnabled(IDM_DISABLE)) << c.Name;
    }
    // An empty list (the verbs' type removed, then a refresh).
    keys.DeleteTree("verbs");
    Command(IDM_REFRESH);
    EXPECT_EQ(StatusText(0, 0), Status());
    for (int id : {IDM_AUTO_SIZE, IDM_HTML_ALL, IDM_FIND, IDM_COPY, IDM_PROPERTIES}) EXPECT_FALSE(MenuEnabled(id)) << id;
    EXPECT_FALSE(ButtonEnabled(IDM_FIND));
    EXPECT_TRUE(MenuEnabled(IDM_REFRESH));
}

TEST_F(MainWindowTest, ToggleCommandsCheckTheirItemsAndChangeTheList) {
    AddVerb("open");
    AddVerb("edit");
    Open();
    EXPECT_EQ(1, win::ListView(window->ListView()).ItemCount()) << "the standard verb is hidden at first";
    const struct {
        int Command;
        DWORD Style;
    } cases[] = {{IDM_GRID_LINES, LVS_EX_GRIDLINES}, {IDM_INFO_TIPS, LVS_EX_INFOTIP}};
    for (const auto& c : cases) {
        const bool before = MenuChecked(c.Command);
        EXPECT_EQ(before, (win::ListView(window->ListView()).ExtendedStyle() & c.Style) != 0) << c.Command;
        Command(c.Command);
        EXPECT_EQ(!before, MenuChecked(c.Command)) << c.Command;
        EXPECT_EQ(!before, (win::ListView(window->ListView()).ExtendedStyle() & c.Style) != 0) << c.Command;
    }
    EXPECT_TRUE(MenuChecked(IDM_HIDE_STANDARD));
    Command(IDM_HIDE_STANDARD);
    EXPECT_FALSE(MenuChecked(IDM_HIDE_STANDARD));
    EXPECT_EQ(2, win::ListView(window->ListView()).ItemCount()) << "a reload follows";
    EXPECT_EQ(StatusText(2, 1), Status());
}

TEST_F(MainWindowTest, TheListFillsTheSpaceBetweenToolbarAndStatusBar) {
    AddVerb("edit");
    Open();
    for (SIZE size : {SIZE{700, 500}, SIZE{420, 300}}) {
        SetWindowPos(window->Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOMOVE);
        RECT client, list, tools, status;
        GetClientRect(window->Handle(), &client);
        for (auto [child, rect] : {std::pair{window->ListView(), &list}, {window->Toolbar(), &tools}, {window->StatusBar(), &status}}) {
            GetWindowRect(child, rect);
            MapWindowPoints(nullptr, window->Handle(), reinterpret_cast<POINT*>(rect), 2);
        }
        EXPECT_EQ(0, list.left);
        EXPECT_EQ(client.right, list.right);
        EXPECT_GE(list.top, tools.bottom - 1) << size.cx;
        EXPECT_LE(list.bottom, status.top + 1) << size.cx;
        EXPECT_LE(status.top + 1 - list.bottom, 2) << "no gap below the list";
        EXPECT_EQ(client.bottom, status.bottom);
    }
}

TEST_F(MainWindowTest, ARestartRestoresSettingsColumnsSortAndPlacement) {
    for (const char* verb : {"b", "a", "c"}) AddVerb(verb);
    Open();
    Command(IDM_GRID_LINES);
    win::ListView(window->ListView()).SetColumnWidth(2, 123);
    window->Items().SortBy(kColumnMenuName, false);  // a second click on the sort column: descending
    SetWindowPos(window->Handle(), nullptr, 50, 60, 500, 400, SWP_NOZORDER);
    Close();
    const std::string saved = ReadWholeFile(ConfigPath());
    EXPECT_NE(std::string::npos, saved.find("ShowGridLines=1")) << saved;
    EXPECT_NE(std::string::npos, saved.find("Sort=4096")) << saved;

    Open();
    EXPECT_TRUE(win::ListView(window->ListView()).ExtendedStyle() & LVS_EX_GRIDLINES);
    EXPECT_EQ(123, win::ListView(window->ListView()).ColumnWidth(2));
    EXPECT_EQ("c", CellText(0, 0)) << "sorted descending as saved";
    RECT bounds;
    GetWindowRect(window->Handle(), &bounds);
    EXPECT_EQ(50, bounds.left);
    EXPECT_EQ(60, bounds.top);
    EXPECT_EQ(500, bounds.right - bounds.left);

    // Maximized stays maximized; minimized starts in its normal state.
    const struct {
        int ShowCommand;
        bool Zoomed;
    } cases[] = {{SW_MAXIMIZE, true}, {SW_MINIMIZE, false}};
    for (const auto& c : cases) {
        ShowWindow(window->Handle(), c.ShowCommand);
        Close();
        Open();
        window->Show();
        PumpMessages();
        EXPECT_EQ(c.Zoomed, IsZoomed(window->Handle()) != FALSE) << c.ShowCommand;
        EXPECT_FALSE(IsIconic(window->Handle())) << c.ShowCommand;
        EXPECT_TRUE(IsWindowVisible(window->Handle())) << c.ShowCommand;
    }
}

TEST_F(MainWindowTest, SelectingAThousandRowsWithCtrlAUpdatesTheStatusBarOnce) {
    for (int i = 0; i < 1000; ++i) AddVerb("v" + std::to_string(i));
    Open();
    ASSERT_TRUE(Accelerate('A', true));
    EXPECT_EQ(1, PumpMessages(5000, MainWindow::kSelectionUpdate));
    EXPECT_EQ(StatusText(1000, 1000), Status());
}

TEST_F(MainWindowTest, MessagesQueuedAfterTheEndOfTheSessionLeaveTheReleasedListAlone) {
    for (const char* verb : {"a", "b"}) AddVerb(verb);
    Open();
    SendMessageA(window->Handle(), WM_QUERYENDSESSION, 0, 0);
    EXPECT_EQ(0, window->Items().RowCount());
    EXPECT_TRUE(FileExists(ConfigPath())) << "the settings are saved";
    const std::string status = Status();
    win::ListView(window->ListView()).SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    for (UINT message : {MainWindow::kReload, MainWindow::kSelectionUpdate}) PostMessageA(window->Handle(), message, 0, 0);
    for (int command : {IDM_REFRESH, IDM_SELECT_ALL, IDM_PROPERTIES})
        PostMessageA(window->Handle(), WM_COMMAND, MAKEWPARAM(command, 1), 0);
    PumpMessages();
    EXPECT_EQ(0, window->Items().RowCount()) << "no reload after the release";
    EXPECT_EQ(status, Status());
    RedrawWindow(window->ListView(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

TEST_F(MainWindowTest, ThePopupMenuOpensOnlyOverTheListAndTooltipsReadTheMenu) {
    AddVerb("edit");
    Open();
    ShowWindow(window->Handle(), SW_SHOW);
    const struct {
        HWND Over;
        bool Opens;
    } cases[] = {{window->ListView(), true}, {window->Toolbar(), false}, {window->StatusBar(), false}};
    for (const auto& c : cases) {
        menuSeen = false;
        UINT_PTR timer = SetTimer(nullptr, 0, 300, CloseMenu);
        // From the keyboard (-1), the menu still opens at the cursor.
        SendMessageA(window->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(c.Over), -1);
        PumpMessages(400);
        KillTimer(nullptr, timer);
        EXPECT_EQ(c.Opens, menuSeen) << (c.Opens ? "list view" : "elsewhere");
    }

    NMTTDISPINFOA request = {};
    request.hdr.hwndFrom = win::Toolbar(window->Toolbar()).Tooltips();
    request.hdr.idFrom = IDM_FIND;
    request.hdr.code = TTN_NEEDTEXTA;
    SendMessageA(window->Handle(), WM_NOTIFY, IDC_TOOLBAR, reinterpret_cast<LPARAM>(&request));
    EXPECT_STREQ("\xB2\xE9\xD5\xD2(&F)\tCtrl+F", request.lpszText) << "the menu item's text, 查找(&F)";
}

// The dialogs, each run as the user runs it: a command of the real main window, worked
// by a watcher thread that reads the controls and presses the buttons.

std::vector<HWND> ChildrenOfClass(HWND parent, const char* className) {
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = {};
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, className) == 0 && IsWindowVisible(child) && GetDlgCtrlID(child) == 0) found.push_back(child);
    }
    return found;
}

RECT RectIn(HWND control, HWND dialog) {
    RECT bounds = {};
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

class LanguageFile {
public:
    explicit LanguageFile(const std::string& text) {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, sizeof path);
        path_ = path;
        path_ = path_.substr(0, path_.rfind('.')) + "_lng.ini";
        WriteWholeFile(path_, text);
        lang::Load();
    }
    ~LanguageFile() {
        DeleteFileA(path_.c_str());
        lang::Load();
    }

private:
    std::string path_;
};

TEST_F(MainWindowTest, PropertiesShowEveryColumnOfTheSelectedRow) {
    keys.SetString(".verbs", "", "verbs");
    keys.SetString("verbs\\shell\\edit\\command", "", "notepad.exe \"%1\" " + std::string(300, 'x'));
    keys.SetString("verbs\\shell\\edit", "Extended", "");
    const std::string longCaption = "A caption much longer than any built-in one";
    const struct {
        const char* Name;
        std::string Language;
        bool RightToLeft;
    } cases[] = {
        {"built-in texts", "", false},
        {"a translation", "[strings]\r\n1001=" + longCaption + "\r\n", false},
        {"right to left", "[general]\r\nrtl=1\r\n", true},
    };
    for (const auto& c : cases) {
        std::unique_ptr<LanguageFile> language;
        if (!c.Language.empty()) language = std::make_unique<LanguageFile>(c.Language);
        Open();
        const ItemRecord& item = *static_cast<const ItemRecord*>(window->Items().RowAtItem(0));
        std::vector<std::string> labels, values;
        int widestCaption = 0, labelWidth = 0, buttonMargin = 0;
        bool readOnly = true, mirrored = false;
        COLORREF valueColor = 0;
        DialogWatcher watcher([&](HWND dialog) {
            std::vector<HWND> statics = ChildrenOfClass(dialog, "Static");
            std::vector<HWND> edits = ChildrenOfClass(dialog, "Edit");
            HDC context = GetDC(dialog);
            HGDIOBJ previous = SelectObject(context, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
            for (HWND label : statics) {
                labels.push_back(TextOf(label));
                SIZE size = {};
                GetTextExtentPoint32A(context, labels.back().c_str(), static_cast<int>(labels.back().size()) - 1, &size);
                widestCaption = std::max(widestCaption, static_cast<int>(size.cx));
                labelWidth = RectIn(label, dialog).right - RectIn(label, dialog).left;
            }
            for (HWND value : edits) {
                values.push_back(TextOf(value));
                readOnly = readOnly && (GetWindowLongA(value, GWL_STYLE) & (ES_READONLY | ES_AUTOHSCROLL)) ==
                                           (ES_READONLY | ES_AUTOHSCROLL);
            }
            if (!edits.empty()) {
                SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context), reinterpret_cast<LPARAM>(edits[0]));
                valueColor = GetTextColor(context);
                // On the screen, as the user sees it: a mirrored dialog measures its own client
                // area from the right.
                RECT label = {}, value = {};
                GetWindowRect(statics[0], &label);
                GetWindowRect(edits[0], &value);
                mirrored = label.left > value.left;
            }
            SelectObject(context, previous);
            ReleaseDC(dialog, context);
            RECT client;
            GetClientRect(dialog, &client);
            buttonMargin = client.bottom - RectIn(GetDlgItem(dialog, IDOK), dialog).bottom;
            PressButton(dialog, IDOK);
        });
        Command(IDM_PROPERTIES);
        ASSERT_EQ(1, watcher.WaitFor(1)) << c.Name;
        ASSERT_EQ(15u, labels.size()) << c.Name;
        ASSERT_EQ(15u, values.size()) << c.Name;
        char scratch[300];
        for (int column = 0; column < 15; ++column) {
            EXPECT_EQ(std::string(window->Items().Descriptor(column).Caption) + ":", labels[column]) << c.Name;
            EXPECT_EQ(item.ColumnText(column, scratch, sizeof scratch), values[column]) << c.Name << " " << column;
        }
        EXPECT_EQ(widestCaption + 10, labelWidth) << c.Name << ": the widest caption plus 10 pixels";
        EXPECT_TRUE(readOnly) << c.Name;
        EXPECT_EQ(RGB(0, 0, 192), valueColor) << c.Name;
        EXPECT_EQ(5, buttonMargin) << c.Name;
        EXPECT_EQ(c.RightToLeft, mirrored) << c.Name;
        EXPECT_EQ(window->ListView(), GetFocus()) << c.Name << ": the focus goes back to the list";
        Close();
    }
}

// Works the column settings dialog: selects an item, presses buttons, types into the
// width box; every step goes through the dialog's own messages.
struct ColumnDialog {
    HWND Dialog;
    HWND List() const { return GetDlgItem(Dialog, IDC_COLUMNS_LIST); }
    void Select(int item) const {
        win::ListView(List()).SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    void Press(int id) const { SendMessageA(Dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    void Type(const char* digits) const {
        HWND box = GetDlgItem(Dialog, IDC_COLUMNS_WIDTH);
        SendMessageA(box, EM_SETSEL, 0, -1);
        for (const char* c = digits; *c != '\0'; ++c) SendMessageA(box, WM_CHAR, static_cast<WPARAM>(*c), 1);
    }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(Dialog, id)) != FALSE; }
    bool Checked(int item) const { return win::ListView(List()).CheckState(item) == 1; }
    std::string Width() const { return TextOf(GetDlgItem(Dialog, IDC_COLUMNS_WIDTH)); }
};

TEST_F(MainWindowTest, ColumnSettingsFollowEveryRuleOfTheDialog) {
    AddVerb("edit");
    Open();
    win::ListView view(window->ListView());
    const int defaultWidth = window->Items().Descriptor(2).DefaultWidth;
    const int widthBefore = view.ColumnWidth(4);
    const struct {
        const char* Name;
        std::function<void(const ColumnDialog&)> Work;
        std::function<void()> Check;
    } cases[] = {
        {"the buttons follow the selection",
         [&](const ColumnDialog& d) {
             EXPECT_FALSE(d.Enabled(IDC_COLUMNS_UP));
             EXPECT_TRUE(d.Enabled(IDC_COLUMNS_DOWN));
             EXPECT_FALSE(d.Enabled(IDC_COLUMNS_SHOW));
             EXPECT_TRUE(d.Enabled(IDC_COLUMNS_HIDE));
             d.Select(14);
             EXPECT_TRUE(d.Enabled(IDC_COLUMNS_UP));
             EXPECT_FALSE(d.Enabled(IDC_COLUMNS_DOWN));
             d.Select(0);
             d.Press(IDC_COLUMNS_DOWN);
             d.Press(IDOK);
         },
         [&] {
             int width = 0, position = -1;
             view.ColumnWidthAndPosition(0, &width, &position);
             EXPECT_EQ(1, position) << "the first column moved down one place";
         }},
        {"a hidden column comes back at its default width",
         [&](const ColumnDialog& d) {
             d.Select(2);
             d.Press(IDC_COLUMNS_HIDE);
             EXPECT_FALSE(d.Checked(2));
             EXPECT_TRUE(d.Enabled(IDC_COLUMNS_SHOW));
             d.Press(IDOK);
         },
         [&] { EXPECT_EQ(0, view.ColumnWidth(2)); }},
        {"reopened, the hidden column is unchecked and shows its default width",
         [&](const ColumnDialog& d) {
             d.Select(0);
             d.Select(2);
             EXPECT_FALSE(d.Checked(2));
             EXPECT_EQ(std::to_string(defaultWidth), d.Width());
             d.Press(IDC_COLUMNS_SHOW);
             d.Press(IDOK);
         },
         [&] { EXPECT_EQ(defaultWidth, view.ColumnWidth(2)); }},
        {"widths: three digits at most, 1 to 999 taken, 0 ignored",
         [&](const ColumnDialog& d) {
             d.Select(3);
             d.Type("1234");
             EXPECT_EQ("123", d.Width());
             d.Select(4);
             d.Type("0");
             d.Press(IDOK);
         },
         [&] {
             EXPECT_EQ(123, view.ColumnWidth(3));
             EXPECT_EQ(widthBefore, view.ColumnWidth(4)) << "0 changes nothing";
         }},
        {"a typed width of a column then unchecked stays hidden",
         [&](const ColumnDialog& d) {
             d.Select(5);
             d.Type("77");
             d.Press(IDC_COLUMNS_HIDE);
             d.Press(IDOK);
         },
         [&] { EXPECT_EQ(0, view.ColumnWidth(5)); }},
        {"Default then Cancel changes nothing",
         [&](const ColumnDialog& d) {
             d.Press(IDC_COLUMNS_DEFAULT);
             EXPECT_TRUE(d.Checked(5));
             d.Press(IDCANCEL);
         },
         [&] {
             EXPECT_EQ(0, view.ColumnWidth(5));
             EXPECT_EQ(123, view.ColumnWidth(3));
         }},
        {"every column unchecked hides every column",
         [&](const ColumnDialog& d) {
             for (int item = 0; item < 15; ++item) {
                 d.Select(item);
                 d.Press(IDC_COLUMNS_HIDE);
             }
             d.Press(IDOK);
         },
         [&] {
             for (int column = 0; column < 15; ++column) EXPECT_EQ(0, view.ColumnWidth(column)) << column;
         }},
    };
    for (const auto& c : cases) {
        DialogWatcher watcher([&](HWND dialog) { c.Work(ColumnDialog{dialog}); });
        Command(IDM_CHOOSE_COLUMNS);
        ASSERT_EQ(1, watcher.WaitFor(1)) << c.Name;
        PumpMessages();
        SCOPED_TRACE(c.Name);
        c.Check();
        EXPECT_EQ(window->ListView(), GetFocus());
    }
    Close();
    const std::string saved = ReadWholeFile(ConfigPath());
    EXPECT_NE(std::string::npos, saved.find("Columns=00 00 01 00 00 00 00 00")) << "hidden columns reach the file\n" << saved;
}

TEST_F(MainWindowTest, AboutShowsTheProductAndOnlyWebOrMailTranslatorLinks) {
    AddVerb("edit");
    const struct {
        const char* Name;
        const char* Language;
        bool TranslatorShown;
        bool TranslatorLink;
    } cases[] = {
        {"no language file", "", false, false},
        {"a name without an address", "[general]\r\nTranslatorName=Lin\r\n", true, false},
        {"a web address", "[general]\r\nTranslatorName=Lin\r\nTranslatorURL=HTTPS://example.org/\r\n", true, true},
        {"a program's path", "[general]\r\nTranslatorName=Lin\r\nTranslatorURL=C:\\windows\\notepad.exe\r\n", true, false},
    };
    for (const auto& c : cases) {
        std::unique_ptr<LanguageFile> language;
        if (*c.Language != '\0') language = std::make_unique<LanguageFile>(c.Language);
        Open();
        std::string caption, line, link;
        bool translatorShown = false, translatorLink = false, linkColoured = false, ignoredEscape = false;
        LRESULT overLink = 0, overNothing = 1;
        HFONT linkFont = nullptr;
        DialogWatcher watcher([&](HWND dialog) {
            caption = TextOf(dialog);
            line = TextOf(GetDlgItem(dialog, IDC_ABOUT_TEXT));
            HWND linkControl = GetDlgItem(dialog, IDC_ABOUT_LINK);
            link = TextOf(linkControl);
            HWND translator = GetDlgItem(dialog, IDC_ABOUT_TRANSLATOR);
            translatorShown = IsWindowVisible(translator) && IsWindowVisible(GetDlgItem(dialog, IDC_ABOUT_TRANSLATION));
            // A link is drawn in the link colour; anything else keeps the colour it had.
            HDC context = GetDC(dialog);
            auto drawnAsLink = [&](HWND control) {
                SetTextColor(context, RGB(0, 0, 0));
                SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context), reinterpret_cast<LPARAM>(control));
                return GetTextColor(context) == 0xC00000;
            };
            linkColoured = drawnAsLink(linkControl);
            translatorLink = drawnAsLink(translator);
            ReleaseDC(dialog, context);
            // The cursor is the dialog thread's: share its input state to read it.
            const DWORD dialogThread = GetWindowThreadProcessId(dialog, nullptr);
            AttachThreadInput(GetCurrentThreadId(), dialogThread, TRUE);
            HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_LINK));
            const RECT bounds = RectIn(linkControl, dialog);
            SetCursor(LoadCursorA(nullptr, IDC_ARROW));
            SendMessageA(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(bounds.left + 2, bounds.top + 2));
            overLink = GetCursor() == hand;
            SetCursor(LoadCursorA(nullptr, IDC_ARROW));
            SendMessageA(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
            overNothing = GetCursor() == hand;
            AttachThreadInput(GetCurrentThreadId(), dialogThread, FALSE);
            linkFont = reinterpret_cast<HFONT>(SendMessageA(linkControl, WM_GETFONT, 0, 0));
            PressButton(dialog, IDCANCEL);
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            Sleep(300);
            ignoredEscape = IsWindowVisible(dialog) != FALSE;
            PressButton(dialog, IDOK);
        });
        Command(IDM_ABOUT);
        ASSERT_EQ(1, watcher.WaitFor(1)) << c.Name;
        PumpMessages();
        EXPECT_EQ("Morvane", caption) << c.Name;
        EXPECT_EQ(0u, line.find("Morvane 1.0")) << line;
        EXPECT_EQ("https://www.kestrune.example/morvane/", link) << c.Name;
        EXPECT_EQ(c.TranslatorShown, translatorShown) << c.Name;
        EXPECT_EQ(c.TranslatorLink, translatorLink) << c.Name;
        EXPECT_TRUE(linkColoured) << c.Name;
        EXPECT_EQ(1, overLink) << c.Name << ": the hand over the link";
        EXPECT_EQ(0, overNothing) << c.Name;
        EXPECT_TRUE(ignoredEscape) << c.Name << ": Escape and the close box do not close it";
        EXPECT_EQ(0, GetObjectType(linkFont)) << c.Name << ": the link font is deleted";
        Close();
    }
}

}  // namespace
