#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>

#include "GuiHelpers.h"
#include "TestProcess.h"
#include "TestRegistry.h"
#include "app/MainWindow.h"
#include "framework/Controls.h"
#include "framework/Language.h"
#include "framework/ListView.h"
#include "resources/resource.h"

namespace {

// "%d 个菜单项目" and ", %d 个选择" filled in, in code page 936.
std::string StatusText(int rows, int selected) {
    char text[200];
    std::snprintf(text, sizeof text, "%d \xB8\xF6\xB2\xCB\xB5\xA5\xCF\xEE\xC4\xBF", rows);
    std::string status = text;
    if (selected > 0) {
        std::snprintf(text, sizeof text, ", %d \xB8\xF6\xD1\xA1\xD4\xF1", selected);
        status += text;
    }
    return status;
}

// Run by a timer inside the popup menu's loop: notes an open menu and closes it.
bool menuSeen = false;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu != nullptr && IsWindowVisible(menu)) menuSeen = true;
    EndMenu();
}

// The real main window, created hidden over a private classes tree, as the program
// creates it. The configuration file beside the test program starts absent.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() { DeleteFileA(ConfigPath().c_str()); }
    ~MainWindowTest() override {
        if (window && IsWindow(window->Handle())) DestroyWindow(window->Handle());
        DrainQueue();
        DeleteFileA(ConfigPath().c_str());
    }

    static std::string ConfigPath() {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, sizeof path);
        const std::string program = path;
        return program.substr(0, program.rfind('.')) + ".cfg";
    }

    // A type "verbs" whose verbs run a program that does not exist.
    void AddVerb(const std::string& verb, bool disabled = false) {
        keys.SetString(".verbs", "", "verbs");
        keys.SetString("verbs\\shell\\" + verb + "\\command", "", "x.exe \"%1\"");
        if (disabled) keys.SetString("verbs\\shell\\" + verb, "LegacyDisable", "");
    }

    void Open() {
        window = std::make_unique<MainWindow>();
        window->Items().SetScanRoot(keys.Root());
        ASSERT_TRUE(window->Create());
        SendMessageA(window->Handle(), MainWindow::kReload, 0, 0);
        PumpMessages();
    }

    void Close() {
        DestroyWindow(window->Handle());
        DrainQueue();
        window.reset();
    }

    void Command(int id) {
        SendMessageA(window->Handle(), WM_COMMAND, MAKEWPARAM(id, 1), 0);
        PumpMessages();
    }

    void Select(std::initializer_list<int> items) {
        win::ListView view(window->ListView());
        view.SetItemState(-1, 0, LVIS_SELECTED);
        for (int item : items) view.SetItemState(item, LVIS_SELECTED, LVIS_SELECTED);
        PumpMessages();
    }

    std::string Status() const { return TextOf(window->StatusBar()); }
    bool MenuEnabled(int id) const {
        return (GetMenuState(window->MainMenu(), static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED) == 0;
    }
    bool MenuChecked(int id) const {
        return (GetMenuState(window->MainMenu(), static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    bool ButtonEnabled(int id) const {
        return (SendMessageA(window->Toolbar(), TB_GETSTATE, static_cast<WPARAM>(id), 0) & TBSTATE_ENABLED) != 0;
    }
    std::string CellText(int item, int column) const {
        char text[1024];
        win::ListView(window->ListView()).ItemText(item, column, text, sizeof text);
        return text;
    }

    ScratchKeys keys;
    std::unique_ptr<MainWindow> window;
};

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
    HACCEL accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_MAIN));
    BYTE keysDown[256] = {}, saved[256] = {};
    GetKeyboardState(saved);
    keysDown[VK_CONTROL] = 0x80;
    SetKeyboardState(keysDown);
    MSG key = {window->ListView(), WM_KEYDOWN, 'A', 1, 0, {}};
    const bool translated = TranslateAcceleratorA(window->Handle(), accelerators, &key) != 0;
    SetKeyboardState(saved);
    ASSERT_TRUE(translated);
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

}  // namespace
