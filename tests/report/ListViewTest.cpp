// The report list bound to a real list view in a hidden window.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "TestProcess.h"
#include "catalogue/MenuItem.h"
#include "resources/resource.h"

namespace {

class ListViewTest : public ::testing::Test {
protected:
    ListViewTest() : list(nullptr) {
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&classes);
        window = CreateWindowExA(0, "STATIC", "list view test", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        listView = CreateWindowExA(0, "SysListView32", "",
                                   WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_ALIGNLEFT,
                                   0, 0, 780, 560, window, reinterpret_cast<HMENU>(IDC_LIST_VIEW), GetModuleHandleA(nullptr),
                                   nullptr);
        list.Attach(listView);
        list.InsertListColumns();
        list.CreateImageLists();
        list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP, true);
    }
    ~ListViewTest() override { DestroyWindow(window); }

    ItemRecord& Add(const char* menuName, const char* menuKey = "", int disabled = 0) {
        ItemRecord record;
        std::strcpy(record.MenuName, menuName);
        std::strcpy(record.MenuKey, menuKey);
        record.IsDisabled = disabled;
        return *static_cast<ItemRecord*>(list.AppendRow(record));
    }

    std::string Text(int item, int column) {
        char text[512];
        win::ListView(listView).ItemText(item, column, text, sizeof text);
        return text;
    }

    std::vector<std::string> Column(int column) {
        std::vector<std::string> texts;
        for (int i = 0; i < list.ItemCount(); ++i) texts.push_back(Text(i, column));
        return texts;
    }

    std::vector<int> Selected() {
        std::vector<int> items;
        for (int i = 0; i < list.ItemCount(); ++i)
            if (list.SelectedRowAtItem(i) != nullptr) items.push_back(i);
        return items;
    }

    void SelectOnly(std::initializer_list<int> items) {
        list.SetItemState(-1, 0, LVIS_SELECTED);
        for (int item : items) list.SetItemState(item, LVIS_SELECTED, LVIS_SELECTED);
    }

    HWND window = nullptr;
    HWND listView = nullptr;
    MenuItemList list;
};

TEST_F(ListViewTest, RefreshShowsEveryRowSortedAndSelectsTheFirst) {
    list.RefreshView(true);
    EXPECT_EQ(0, list.ItemCount()) << "no rows, no items";
    EXPECT_EQ(0, list.SelectedCount());

    Add("beta", "b");
    ItemRecord& alpha = Add("Alpha", "a", 1);
    std::strcpy(alpha.CommandLine, "alpha.exe %1");
    Add("gamma", "g");
    list.RefreshView(true);
    ASSERT_EQ(3, list.ItemCount());
    EXPECT_EQ((std::vector<std::string>{"Alpha", "beta", "gamma"}), Column(kColumnMenuName));
    EXPECT_EQ("alpha.exe %1", Text(0, kColumnCommandLine));
    EXPECT_EQ("\xCA\xC7", Text(0, kColumnDisabled));
    EXPECT_EQ(&alpha, list.RowAtItem(0)) << "items carry their row index";
    EXPECT_EQ((std::vector<int>{0}), Selected());
    EXPECT_EQ(LVIS_FOCUSED, win::ListView(listView).ItemState(0, LVIS_FOCUSED));

    list.RefreshView(true);
    EXPECT_EQ(3, list.ItemCount()) << "a second refresh adds nothing";
}

TEST_F(ListViewTest, HeaderClicksSortAndReverse) {
    Add("b", "2");
    Add("a", "3");
    Add("c", "1");
    list.RefreshView(true);
    list.SortBy(kColumnMenuKey, false);
    EXPECT_EQ((std::vector<std::string>{"1", "2", "3"}), Column(kColumnMenuKey));
    list.SortBy(kColumnMenuKey, false);
    EXPECT_EQ((std::vector<std::string>{"3", "2", "1"}), Column(kColumnMenuKey));
    EXPECT_EQ(kColumnMenuKey | ReportList::kDescending, list.SavedSortSpec());
    list.SortBy(kColumnMenuKey, false);
    EXPECT_EQ((std::vector<std::string>{"1", "2", "3"}), Column(kColumnMenuKey)) << "twice returns to ascending";
    list.SortBy(kColumnMenuKey, false);
    list.SortBy(kColumnMenuName, false);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), Column(kColumnMenuName)) << "another column starts ascending";

    HWND header = win::ListView(listView).Header();
    for (int c = 0; c < kMenuItemColumnCount; ++c) {
        HDITEMA item = {};
        item.mask = HDI_FORMAT | HDI_IMAGE;
        SendMessageA(header, HDM_GETITEMA, c, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(c == kColumnMenuName, (item.fmt & HDF_IMAGE) != 0) << "arrow on column " << c;
        if (c == kColumnMenuName) {
            EXPECT_EQ(0, item.iImage) << "the upward arrow";
        }
    }
    HIMAGELIST arrows = reinterpret_cast<HIMAGELIST>(SendMessageA(header, HDM_GETIMAGELIST, 0, 0));
    EXPECT_EQ(2, ImageList_GetImageCount(arrows));
}

TEST_F(ListViewTest, TheTimeColumnSortsByValue) {
    const WORD years[] = {2010, 1999, 2020};
    for (WORD year : years) {
        ItemRecord& row = Add(std::to_string(year).c_str());
        SYSTEMTIME fields = {year, 6, 0, 1, 12, 0, 0, 0};
        SystemTimeToFileTime(&fields, &row.ModifiedTime);
    }
    list.RefreshView(true);
    list.SortBy(kColumnModifiedTime, false);
    EXPECT_EQ((std::vector<std::string>{"1999", "2010", "2020"}), Column(kColumnMenuName));
}

TEST_F(ListViewTest, ChangedCellsAreRefreshed) {
    ItemRecord& row = Add("verb");
    list.RefreshView(true);
    EXPECT_EQ("\xB7\xF1", Text(0, kColumnDisabled));
    row.IsDisabled = 1;
    list.UpdateRowTexts(row, 0);
    EXPECT_EQ("\xCA\xC7", Text(0, kColumnDisabled));
}

TEST_F(ListViewTest, SelectionOperations) {
    for (const char* name : {"a", "b", "c", "d"}) Add(name);
    list.RefreshView(true);
    list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(4, list.SelectedCount());
    EXPECT_EQ(nullptr, list.SingleSelectedRow());
    list.SetItemState(-1, 0, LVIS_SELECTED);
    EXPECT_EQ(0, list.SelectedCount());
    EXPECT_EQ(4, list.ItemCount()) << "deselecting removes nothing";
    SelectOnly({2});
    ASSERT_NE(nullptr, list.SingleSelectedRow());
    EXPECT_STREQ("c", static_cast<ItemRecord*>(list.SingleSelectedRow())->MenuName);
    EXPECT_EQ(nullptr, list.SelectedRowAtItem(1));
    EXPECT_EQ(nullptr, list.RowAtItem(4));
}

TEST_F(ListViewTest, FindGoesUpAndDownWithWrapAround) {
    Add("Alpha one", "x");
    Add("beta", "needle");
    Add("gamma", "y");
    Add("omega alpha", "z");
    list.RefreshView(true);
    char what[256];
    FINDREPLACEA request = {};
    request.lpstrFindWhat = what;
    const struct {
        const char* Text;
        DWORD Flags;
        int From;
        int Found;  // -1: no match, the selection stays
    } cases[] = {
        {"alpha", FR_DOWN, 0, 3},
        {"alpha", FR_DOWN, 3, 0},                      // past the last, on at the first
        {"alpha", 0, 0, 3},                            // up from the first, on at the last
        {"alpha", 0, 3, 0},
        {"ALPHA", FR_DOWN | FR_MATCHCASE, 0, -1},
        {"Alpha", FR_DOWN | FR_MATCHCASE, 1, 0},
        {"alpha", FR_DOWN | FR_WHOLEWORD, 0, -1},      // part of a cell is not the whole cell
        {"BETA", FR_DOWN | FR_WHOLEWORD, 0, 1},
        {"needle", FR_DOWN, 0, 1},                     // any column is searched
        {"nowhere", FR_DOWN, 2, -1},
        {"gamma", FR_DOWN, 2, 2},                      // the only match is the selected row
    };
    for (const auto& c : cases) {
        std::strcpy(what, c.Text);
        request.Flags = c.Flags;
        SelectOnly({c.From});
        EXPECT_EQ(c.Found >= 0, list.FindNext(request)) << c.Text << " from " << c.From;
        EXPECT_EQ(std::vector<int>{c.Found >= 0 ? c.Found : c.From}, Selected()) << c.Text << " from " << c.From;
    }
}

TEST_F(ListViewTest, CopyPutsTheSelectedRowsOnTheClipboardInListOrder) {
    for (auto& entry : list.State().Entries) entry.Width = 0;
    list.State().Entries[kColumnMenuName].Width = 100;
    list.State().Entries[kColumnMenuKey].Width = 100;
    list.ApplyColumnState();
    Add("b", "two");
    Add("a", "one");
    Add("c", "three");
    list.RefreshView(true);
    SelectOnly({0, 2});
    ASSERT_TRUE(list.CopySelected(window));
    ASSERT_TRUE(OpenClipboard(window));
    HANDLE data = GetClipboardData(CF_TEXT);
    std::string text = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : "";
    if (data != nullptr) GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ("a\tone\t\r\nc\tthree\t\r\n", text);
}

TEST_F(ListViewTest, TheWindowReportFollowsTheScreen) {
    Add("b");
    Add("a");
    list.RefreshView(true);
    list.SortBy(kColumnMenuName, false);  // already sorted on it: now descending
    for (auto& entry : list.State().Entries) entry.Width = 0;
    list.State().Entries[kColumnMenuName].Width = 80;
    list.ApplyColumnState();
    std::string path = TempFilePath("list_rows.txt");
    ASSERT_TRUE(list.WriteListRows(path.c_str(), kFormatTabDelimited, false));
    EXPECT_EQ("b\t\r\na\t\r\n", ReadWholeFile(path));
    SelectOnly({});
    ASSERT_TRUE(list.WriteListRows(path.c_str(), kFormatTabDelimited, true));
    EXPECT_EQ("", ReadWholeFile(path)) << "selected only, nothing selected";
    ASSERT_TRUE(list.WriteListRows(path.c_str(), kFormatHtmlRows, true));
    std::string html = ReadWholeFile(path);
    EXPECT_NE(std::string::npos, html.find("<th>")) << "the header row stays";
    EXPECT_EQ(std::string::npos, html.find("<td"));
    EXPECT_FALSE(list.WriteListRows("Z:\\no\\such\\folder\\x.txt", kFormatText, false));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());
    DeleteFileA(path.c_str());
}

TEST_F(ListViewTest, ColumnStateGoesToAndFromTheListView) {
    auto& entries = list.State().Entries;
    entries[kColumnExtensions] = {0, 1};
    entries[kColumnMenuName] = {123, 2};
    entries[kColumnMenuKey] = {77, 0};
    entries[kColumnFileType] = {2500, 3};  // too wide: not applied
    list.ApplyColumnState();
    list.ComputeVisibleColumns();
    ASSERT_GE(list.VisibleCount(), 2);
    EXPECT_EQ(kColumnMenuKey, list.VisibleColumn(0));
    EXPECT_EQ(kColumnMenuName, list.VisibleColumn(1)) << "the hidden column is left out";
    EXPECT_EQ(kMenuItemColumnCount - 1, list.VisibleCount());

    for (auto& entry : entries) entry = {55, 55};
    list.ReadColumnState();
    EXPECT_EQ(123, entries[kColumnMenuName].Width);
    EXPECT_EQ(2, entries[kColumnMenuName].Position);
    EXPECT_EQ(0, entries[kColumnExtensions].Width);
    EXPECT_EQ(80, entries[kColumnFileType].Width) << "kept its default width";

    // Two columns at position 0: the whole state is rejected.
    for (auto& entry : entries) entry = {10, 0};
    list.ApplyColumnState();
    list.ReadColumnState();
    EXPECT_EQ(123, entries[kColumnMenuName].Width);
}

TEST_F(ListViewTest, AutoSizeLeavesHiddenColumnsHidden) {
    Add("a fairly long menu name to fit");
    list.RefreshView(true);
    win::ListView(listView).SetColumnWidth(kColumnExtensions, 0);
    list.AutoSizeColumns();
    EXPECT_EQ(0, win::ListView(listView).ColumnWidth(kColumnExtensions));
    EXPECT_GT(win::ListView(listView).ColumnWidth(kColumnMenuName), 0);
}

TEST_F(ListViewTest, DisabledRowsAreDrawnGrey) {
    Add("on");
    Add("off", "", 1);
    NMLVCUSTOMDRAW draw = {};
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(CDRF_NOTIFYITEMDRAW, list.CustomDraw(draw));
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    EXPECT_EQ(CDRF_NOTIFYSUBITEMDRAW, list.CustomDraw(draw));
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
    for (int row : {0, 1}) {
        draw.nmcd.lItemlParam = row;
        draw.clrTextBk = RGB(1, 2, 3);
        EXPECT_EQ(CDRF_NEWFONT, list.CustomDraw(draw));
        EXPECT_EQ(row == 1 ? RGB(224, 224, 224) : RGB(1, 2, 3), draw.clrTextBk);
    }
    draw.nmcd.dwDrawStage = CDDS_POSTPAINT;
    EXPECT_EQ(0, list.CustomDraw(draw));
}

TEST_F(ListViewTest, RowsOfOneProgramShareItsIcon) {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    std::string notepad = std::string(windows) + "\\notepad.exe";
    std::string upper = notepad;
    for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    std::strcpy(Add("first").ProgramPath, notepad.c_str());
    std::strcpy(Add("second").ProgramPath, upper.c_str());
    Add("no program");
    std::strcpy(Add("no icon").ProgramPath, FixturePath("no_version.exe").c_str());
    list.RefreshView(false);
    EXPECT_EQ(1, list.ItemAt(0)->IconIndex) << "notepad's icon after the default one";
    EXPECT_EQ(1, list.ItemAt(1)->IconIndex) << "paths that differ in case share it";
    EXPECT_EQ(0, list.ItemAt(2)->IconIndex);
    EXPECT_EQ(0, list.ItemAt(3)->IconIndex);
    EXPECT_EQ(2, ImageList_GetImageCount(list.SmallImages()));
}

TEST_F(ListViewTest, AfterAReloadIconsAreAssignedAfresh) {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string notepad = std::string(windows) + "\\notepad.exe";
    std::strcpy(Add("first").ProgramPath, notepad.c_str());
    list.RefreshView(false);
    EXPECT_EQ(1, list.ItemAt(0)->IconIndex);

    // The reload: rows forgotten, items deleted, the image list cut back to the default icon.
    list.ClearRows();
    win::ListView(listView).DeleteAllItems();
    ImageList_SetImageCount(list.SmallImages(), 1);
    Add("no program");
    std::strcpy(Add("again").ProgramPath, notepad.c_str());
    list.RefreshView(false);
    EXPECT_EQ(0, list.ItemAt(0)->IconIndex);
    EXPECT_EQ(1, list.ItemAt(1)->IconIndex) << "not the index of the row that held it before the reload";
    EXPECT_EQ(2, ImageList_GetImageCount(list.SmallImages()));
}

}  // namespace
