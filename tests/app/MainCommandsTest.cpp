#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "app/MainWindowFixture.h"
#include "catalogue/CommandTarget.h"
#include "catalogue/VerbChanges.h"
#include "framework/Text.h"

namespace {

using namespace fixture;

// The message boxes' text control.
constexpr int kBoxText = 0xFFFF;
// Controls of the common file and find dialogs.
constexpr int kFileNameBox = 0x47C;   // cmb13
constexpr int kFileNameEdit = 0x480;  // edt1
constexpr int kFileTypeBox = 0x470;   // cmb1
constexpr int kFindWhat = 0x480;      // edt1

struct OwnedSearch {
    HWND Owner;
    HWND Found;
};

BOOL CALLBACK FindOwned(HWND window, LPARAM param) {
    OwnedSearch& search = *reinterpret_cast<OwnedSearch*>(param);
    if (GetWindow(window, GW_OWNER) != search.Owner || !IsWindowVisible(window)) return TRUE;
    search.Found = window;
    return FALSE;
}

// A visible window that the dialog owns (its message box), or null.
HWND OwnedBox(HWND dialog) {
    OwnedSearch search{dialog, nullptr};
    EnumThreadWindows(GetWindowThreadProcessId(dialog, nullptr), FindOwned, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

void CollectIds(HMENU menu, std::set<int>& ids) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i))
            CollectIds(sub, ids);
        else if (GetMenuItemID(menu, i) != 0 && GetMenuItemID(menu, i) != static_cast<UINT>(-1))
            ids.insert(static_cast<int>(GetMenuItemID(menu, i)));
    }
}

TEST(Commands, EveryMenuAndAcceleratorIdHasAnActionAndEveryActionAnId) {
    std::set<int> ids;
    for (int menuId : {IDM_MAIN, IDM_POPUP}) {
        win::UniqueMenu menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuId)));
        CollectIds(menu.get(), ids);
    }
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_MAIN));
    ACCEL entries[64];
    const int count = CopyAcceleratorTableA(table, entries, 64);
    for (int i = 0; i < count; ++i) ids.insert(entries[i].cmd);
    for (int id : ids) EXPECT_TRUE(MainWindow::HasCommand(id)) << id;
    EXPECT_EQ(static_cast<int>(ids.size()), MainWindow::CommandCount());
}

TEST(ExtensionLookup, EncodesEverythingButUnreservedBytes) {
    const struct {
        const char* Extensions;
        const char* Address;
    } cases[] = {
        {".txt,.text", "https://fileinfo.com/extension/txt"},
        {".a#b?c", "https://fileinfo.com/extension/a%23b%3Fc"},
        {".%41&x y", "https://fileinfo.com/extension/%2541%26x%20y"},
        {".\xCE\xC4", "https://fileinfo.com/extension/%CE%C4"},
        {".-._~9Z", "https://fileinfo.com/extension/-._~9Z"},
        {"txtfile", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        char address[1024];
        EXPECT_EQ(*c.Address != '\0', ExtensionLookupAddress(c.Extensions, address, sizeof address)) << c.Extensions;
        EXPECT_STREQ(c.Address, address) << c.Extensions;
    }
    char small[20];
    EXPECT_FALSE(ExtensionLookupAddress(".txt", small, sizeof small)) << "an address that does not fit is not opened";
}

// The system's own program behind an "open" verb, recognised under code page 936, where
// "®" has no form of its own.
TEST(EssentialOpenVerb, IsRecognisedByTheProductNameOfItsProgram) {
    ItemRecord item;
    text::Copy(item.ProgramPath, FixturePath("version_windows_product.exe").c_str());
    ReadVersionStrings(item);
    ASSERT_EQ(0, std::string(item.ProductName).find("Microsoft")) << item.ProductName;
    EXPECT_EQ(936u, GetACP());
    text::Copy(item.MenuKey, "OPEN");
    EXPECT_TRUE(IsEssentialOpenVerb(item)) << item.ProductName;
    text::Copy(item.MenuKey, "edit");
    EXPECT_FALSE(IsEssentialOpenVerb(item));
    text::Copy(item.MenuKey, "open");
    text::Copy(item.ProductName, "Microsoft Windows Operating System");
    EXPECT_FALSE(IsEssentialOpenVerb(item));
}

// The commands over uniquely named types in the prefix's classes root; the browser and
// the HTML viewer are a recording program for the length of a test.
class CommandTest : public MainWindowTest {
protected:
    CommandTest() : classes(HKEY_CLASSES_ROOT) {
        prefix = UniqueName("MvCmd");
        DeleteFileA(RecordPath().c_str());
        for (const char* key : {"http\\shell\\open\\command", "https\\shell\\open\\command"}) Redirect(key);
        char original[256] = {};
        LONG size = sizeof original;
        RegQueryValueA(HKEY_CLASSES_ROOT, ".html", original, &size);
        savedHtml = original;
        const std::string viewer = prefix + "Html";
        classes.SetString(viewer + "\\shell\\open\\command", "", Recorder() + " \"%1\"");
        RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, viewer.c_str(), 0);
    }
    ~CommandTest() override {
        RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, savedHtml.c_str(), 0);
        for (const auto& saved : savedCommands)
            RegSetValueA(HKEY_CLASSES_ROOT, saved.first.c_str(), REG_SZ, saved.second.c_str(), 0);
        DeleteFileA(RecordPath().c_str());
    }

    static std::string Recorder() { return "\"" + FixturePath("recorder.exe") + "\""; }
    static std::string RecordPath() { return TempFilePath("morvane_opened.txt"); }
    void Redirect(const char* key) {
        char original[1024] = {};
        LONG size = sizeof original;
        RegQueryValueA(HKEY_CLASSES_ROOT, key, original, &size);
        savedCommands.emplace_back(key, original);
        const std::string command = Recorder() + " %1";
        RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, command.c_str(), 0);
    }
    // What the recording program was given, waited for to a limit.
    std::string Recorded() {
        for (int i = 0; i < 100 && !FileExists(RecordPath()); ++i) PumpMessages(50);
        Sleep(200);
        return ReadWholeFile(RecordPath());
    }

    // A verb of a type of this test, listed under that type.
    void AddTypeVerb(const std::string& type, const std::string& verb, const std::string& command,
                     const char* extension = nullptr) {
        classes.SetString(prefix + type + "\\shell\\" + verb + "\\command", "", command);
        if (extension != nullptr) classes.SetString(std::string(extension), "", prefix + type);
    }
    // The list items of this test's types, in list order.
    std::vector<int> OurItems() const {
        std::vector<int> items;
        for (int item = 0; item < win::ListView(window->ListView()).ItemCount(); ++item)
            if (CellText(item, kColumnFileType).rfind(prefix, 0) == 0) items.push_back(item);
        return items;
    }
    int ItemOf(const std::string& type, const std::string& verb) const {
        for (int item : OurItems())
            if (CellText(item, kColumnFileType) == prefix + type && CellText(item, kColumnMenuKey) == verb) return item;
        return -1;
    }
    bool Has(const std::string& type, const std::string& verb, const char* value) const {
        return classes.HasValue(prefix + type + "\\shell\\" + verb, value);
    }
    void Key(WORD key, bool control = false) {
        EXPECT_TRUE(Accelerate(key, control)) << key;
        PumpMessages();
    }

    ScratchKeys classes;
    std::string prefix;
    std::string savedHtml;
    std::vector<std::pair<std::string, std::string>> savedCommands;
};

TEST_F(CommandTest, TheFourRowChangesWriteTheRegistryAndRefreshTheirCells) {
    AddTypeVerb("Text", "edit", "x.exe \"%1\"", nullptr);
    AddTypeVerb("Text", "view", "x.exe \"%1\"", nullptr);
    Open(true);
    const struct {
        WORD Key;
        const char* Value;
        bool Present;
        int Column;
    } cases[] = {
        {VK_F7, kDisabledValueName, true, kColumnDisabled},
        {VK_F8, kDisabledValueName, false, kColumnDisabled},
        {VK_F3, kExtendedValueName, true, kColumnExtended},
        {VK_F4, kExtendedValueName, false, kColumnExtended},
    };
    for (const auto& c : cases) {
        Select({ItemOf("Text", "edit")});
        Key(c.Key);
        EXPECT_EQ(c.Present, Has("Text", "edit", c.Value)) << c.Key;
        EXPECT_FALSE(Has("Text", "view", c.Value)) << c.Key << ": only the selected row";
        EXPECT_EQ(lang::String(c.Present ? IDS_YES : IDS_NO), CellText(ItemOf("Text", "edit"), c.Column)) << c.Key;
    }
}

TEST_F(CommandTest, DisablingWarnsAboutEveryRowAndAboutTheSystemsOpenVerb) {
    const std::string essential = "\"" + FixturePath("version_windows_product.exe") + "\" \"%1\"";
    AddTypeVerb("Doc", "open", essential);
    AddTypeVerb("Doc", "edit", "x.exe \"%1\"");
    classes.SetString("exefile\\shell\\open", "", "");
    Open(true);
    Command(IDM_HIDE_STANDARD);  // the standard verbs are listed
    const int open = ItemOf("Doc", "open"), edit = ItemOf("Doc", "edit");
    ASSERT_GE(open, 0);
    const std::string everyRow = lang::String(IDS_WARN_DISABLE_ALL);
    const std::string essentialOpen = lang::String(IDS_WARN_DISABLE_OPEN);
    const struct {
        const char* Name;
        bool AllRows;
        int Answer;
        std::vector<std::string> Boxes;
        bool Disabled;
    } cases[] = {
        {"the system's open verb, answered No", false, IDNO, {essentialOpen}, false},
        {"the system's open verb, answered Yes", false, IDYES, {essentialOpen}, true},
        {"every row, then the question", true, IDYES, {everyRow, essentialOpen}, false},
    };
    for (const auto& c : cases) {
        Command(IDM_ENABLE);
        if (c.AllRows)
            Command(IDM_SELECT_ALL);
        else
            Select({open, edit});
        std::vector<std::string> texts;
        DialogWatcher watcher([&](HWND box) {
            texts.push_back(TextOf(GetDlgItem(box, kBoxText)));
            PressButton(box, GetDlgItem(box, IDYES) != nullptr ? c.Answer : IDOK);
        });
        Key(VK_F7);
        watcher.WaitFor(static_cast<int>(c.Boxes.size()), 3000);
        EXPECT_EQ(c.Boxes, texts) << c.Name;
        EXPECT_EQ(c.Disabled, Has("Doc", "open", kDisabledValueName)) << c.Name;
        EXPECT_EQ(c.Disabled, Has("Doc", "edit", kDisabledValueName)) << c.Name;
    }
    EXPECT_FALSE(classes.HasValue("exefile\\shell\\open", kDisabledValueName));
    Command(IDM_ENABLE);
}

TEST_F(CommandTest, AnEmptyListStillWarnsBeforeDisabling) {
    Open();  // the private tree holds nothing
    std::vector<std::string> texts;
    DialogWatcher watcher([&](HWND box) {
        texts.push_back(TextOf(GetDlgItem(box, kBoxText)));
        PressButton(box, IDOK);
    });
    Key(VK_F7);
    watcher.WaitFor(1, 3000);
    EXPECT_EQ(std::vector<std::string>{lang::String(IDS_WARN_DISABLE_ALL)}, texts);
}

TEST_F(CommandTest, SaveWritesTheChosenFilterFormatAndRemembersIt) {
    AddTypeVerb("Save", "edit", "x.exe \"%1\"", nullptr);
    Open(true);
    Select({ItemOf("Save", "edit")});
    const std::string path = TempFilePath("morvane_saved.txt");
    const std::string xml = TempFilePath("morvane_saved.xml");
    DeleteFileA(path.c_str());
    DeleteFileA(xml.c_str());
    // Opened without sharing: writing it fails with a sharing violation.
    const std::string held = TempFilePath("morvane_held.txt");
    WriteWholeFile(held, "x");
    win::UniqueFile holder(CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder.valid());
    const struct {
        const char* Name;
        std::string File;
        int Filter;
        const char* Starts;
        bool ErrorBox;
    } cases[] = {
        {"HTML whatever the typed extension", path, 4, "<!DOCTYPE", false},
        {"XML", xml, 6, "<?xml", false},
        {"a file that another program holds open", held, 2, nullptr, true},
    };
    int shownFilter = -1;
    for (const auto& c : cases) {
        std::vector<std::string> boxes;
        DialogWatcher watcher([&](HWND dialog) {
            HWND types = GetDlgItem(dialog, kFileTypeBox);
            if (types == nullptr) {  // a message box: the overwrite question or the error
                boxes.push_back(TextOf(GetDlgItem(dialog, kBoxText)));
                PressButton(dialog, GetDlgItem(dialog, IDYES) != nullptr ? IDYES : IDOK);
                return;
            }
            shownFilter = static_cast<int>(SendMessageA(types, CB_GETCURSEL, 0, 0)) + 1;
            SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(c.Filter - 1), 0);
            for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK})
                SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeBox, code), reinterpret_cast<LPARAM>(types));
            SetDlgItemTextA(dialog, kFileNameBox, c.File.c_str());
            SetDlgItemTextA(dialog, kFileNameEdit, c.File.c_str());
            PressButton(dialog, IDOK);
            // The overwrite question belongs to the file dialog: answered Yes here. Should the
            // dialog not take the name, it is cancelled rather than left open.
            for (int i = 0; i < 50 && IsWindow(dialog); ++i) {
                if (HWND question = OwnedBox(dialog)) PressButton(question, IDYES);
                Sleep(100);
            }
            if (IsWindow(dialog)) PressButton(dialog, IDCANCEL);
        });
        Key('S', true);
        watcher.WaitFor(c.ErrorBox ? 2 : 1, 8000);
        EXPECT_EQ(c.Filter, window->Settings().SaveFilterIndex) << c.Name;
        if (c.Starts != nullptr) {
            EXPECT_EQ(0u, ReadWholeFile(c.File).find(c.Starts)) << c.Name;
        } else {
            ASSERT_FALSE(boxes.empty()) << c.Name;
            EXPECT_EQ(0u, boxes.back().find("Error 32:")) << boxes.back();
        }
    }
    EXPECT_EQ(6, shownFilter) << "the dialog starts on the last chosen filter";
    Close();
    EXPECT_NE(std::string::npos, ReadWholeFile(ConfigPath()).find("SaveFilterIndex=2")) << "kept for the next start";
    DeleteFileA(path.c_str());
    DeleteFileA(xml.c_str());
    holder.reset();
    DeleteFileA(held.c_str());
}

TEST_F(CommandTest, CopySelectFindAutoSizeReportsAndLookUp) {
    AddTypeVerb("Find", "alpha", "x.exe \"%1\"", ".mvfind");
    AddTypeVerb("Find", "needle", "x.exe \"%1\"", nullptr);
    AddTypeVerb("Find", "omega", "x.exe \"%1\"", nullptr);
    const std::string odd = prefix + "Odd";
    classes.SetString(".m#v?f&" + prefix, "", odd);
    classes.SetString(odd + "\\shell\\look\\command", "", "x.exe \"%1\"");
    Open(true);
    win::ListView view(window->ListView());

    // Ctrl+A, Ctrl+D.
    Key('A', true);
    EXPECT_EQ(view.ItemCount(), view.SelectedCount());
    Key('D', true);
    EXPECT_EQ(0, view.SelectedCount());
    EXPECT_GT(view.ItemCount(), 0) << "deselect all deletes nothing";

    // Ctrl+C: the selected rows, tab-delimited.
    Select({ItemOf("Find", "needle")});
    Key('C', true);
    ASSERT_TRUE(OpenClipboard(window->Handle()));
    std::string copied;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        copied = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    EXPECT_EQ(0u, copied.find("needle\t")) << copied;
    EXPECT_EQ(1u, SplitLines(copied).size() - 1) << "one row and its line end";

    // Ctrl+F: one modeless find dialog; find next from the current row; its end gives the
    // focus back to the list.
    Select({ItemOf("Find", "alpha")});
    int found = -1;
    HWND second = nullptr;
    DialogWatcher watcher([&](HWND dialog) {
        SetDlgItemTextA(dialog, kFindWhat, "NEEDLE");
        PressButton(dialog, IDOK);
        Sleep(300);
        found = view.FirstSelected();
        PostMessageA(window->Handle(), WM_COMMAND, MAKEWPARAM(IDM_FIND, 1), 0);
        Sleep(300);
        second = window->FindDialog() != dialog ? window->FindDialog() : nullptr;
        PressButton(dialog, IDCANCEL);
    });
    Key('F', true);
    ASSERT_EQ(1, watcher.WaitFor(1));
    PumpMessages(500);
    EXPECT_EQ(ItemOf("Find", "needle"), found);
    EXPECT_EQ(nullptr, second) << "a second Ctrl+F opens no second dialog";
    EXPECT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(nullptr, window->FindDialog());
    EXPECT_EQ(window->ListView(), GetFocus());

    // Ctrl+numeric plus: hidden columns stay hidden.
    view.SetColumnWidth(3, 0);
    view.SetColumnWidth(0, 5);
    Key(VK_ADD, true);
    EXPECT_EQ(0, view.ColumnWidth(3));
    EXPECT_GT(view.ColumnWidth(0), 5);

    // The HTML report of the selected rows, opened by the HTML viewer; deleted at the end.
    Command(IDM_HTML_SELECTED);
    const std::string report = window->ReportPath();
    EXPECT_NE(std::string::npos, Recorded().find("report.html")) << Recorded();
    EXPECT_NE(std::string::npos, ReadWholeFile(report).find("needle"));
    EXPECT_EQ(std::string::npos, ReadWholeFile(report).find(">omega<")) << "only the selected row";
    DeleteFileA(RecordPath().c_str());

    // F9: the lookup page for the first extension, encoded.
    Select({ItemOf("Odd", "look")});
    Key(VK_F9);
    EXPECT_NE(std::string::npos, Recorded().find("https://fileinfo.com/extension/m%23v%3Ff%26")) << Recorded();

    Close();
    EXPECT_FALSE(FileExists(report)) << "the HTML report goes with the window";
}

}  // namespace
