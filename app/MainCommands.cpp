// The commands of the menus, the toolbar and the accelerators: one table from command id
// to the member that carries it out.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "app/MainWindow.h"
#include "app/RegistryEditor.h"
#include "catalogue/PropertiesDialog.h"
#include "catalogue/VerbChanges.h"
#include "framework/AboutDialog.h"
#include "framework/ErrorBox.h"
#include "framework/Language.h"
#include "framework/ListView.h"
#include "framework/Text.h"
#include "report/ColumnSettingsDialog.h"
#include "resources/resource.h"

namespace {

const char kProductName[] = "Morvane";
const char kLookupBase[] = "https://fileinfo.com/extension/";
const char kDefaultExtension[] = "txt";
constexpr std::size_t kFilterCapacity = 1024;

struct SaveFilter {
    int NameId;
    const char* Pattern;
};

// By format code: the filter index is the format.
const SaveFilter kSaveFilters[] = {
    {IDS_FORMAT_TEXT, "*.txt"},           {IDS_FORMAT_TAB, "*.txt"},
    {IDS_FORMAT_TABULAR, "*.txt"},        {IDS_FORMAT_HTML_ROWS, "*.htm;*.html"},
    {IDS_FORMAT_HTML_TABLES, "*.htm;*.html"}, {IDS_FORMAT_XML, "*.xml"},
};

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

}  // namespace

bool ExtensionLookupAddress(const char* extensions, char* address, std::size_t capacity) {
    if (capacity == 0) return false;
    address[0] = '\0';
    if (extensions == nullptr || extensions[0] != '.') return false;
    std::string url = kLookupBase;
    for (const char* p = extensions + 1; *p != '\0' && *p != ','; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (IsUnreserved(c)) {
            url += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            url += escaped;
        }
    }
    if (url.size() >= capacity || url.compare(0, sizeof kLookupBase - 1, kLookupBase) != 0) return false;
    text::Copy(address, capacity, url.c_str());
    return true;
}

struct MainWindow::CommandEntry {
    int Command;
    void (MainWindow::*Action)();
};

const MainWindow::CommandEntry MainWindow::kCommands[] = {
    {IDM_SAVE_SELECTED, &MainWindow::SaveSelected},
    {IDM_EXIT, &MainWindow::Exit},
    {IDM_ABOUT, &MainWindow::About},
    {IDM_REFRESH, &MainWindow::Refresh},
    {IDM_GRID_LINES, &MainWindow::ToggleGridLines},
    {IDM_HTML_ALL, &MainWindow::HtmlReportAll},
    {IDM_SELECT_ALL, &MainWindow::SelectAll},
    {IDM_COPY, &MainWindow::Copy},
    {IDM_PROPERTIES, &MainWindow::Properties},
    {IDM_HTML_SELECTED, &MainWindow::HtmlReportSelected},
    {IDM_CHOOSE_COLUMNS, &MainWindow::ChooseColumns},
    {IDM_AUTO_SIZE, &MainWindow::AutoSize},
    {IDM_FIND, &MainWindow::Find},
    {IDM_DESELECT_ALL, &MainWindow::DeselectAll},
    {IDM_HIDE_STANDARD, &MainWindow::ToggleHideStandard},
    {IDM_DISABLE, &MainWindow::Disable},
    {IDM_ENABLE, &MainWindow::Enable},
    {IDM_INFO_TIPS, &MainWindow::ToggleInfoTips},
    {IDM_OPEN_IN_REGEDIT, &MainWindow::OpenInEditor},
    {IDM_SET_EXTENDED, &MainWindow::SetExtendedMode},
    {IDM_REMOVE_EXTENDED, &MainWindow::RemoveExtendedMode},
    {IDM_LOOK_UP_EXTENSION, &MainWindow::LookUpExtension},
    {0, nullptr},
};

bool MainWindow::RunCommand(int command) {
    for (const CommandEntry* entry = kCommands; entry->Action != nullptr; ++entry) {
        if (entry->Command == command) {
            (this->*entry->Action)();
            return true;
        }
    }
    return false;
}

bool MainWindow::HasCommand(int command) {
    for (const CommandEntry* entry = kCommands; entry->Action != nullptr; ++entry)
        if (entry->Command == command) return true;
    return false;
}

int MainWindow::CommandCount() {
    int count = 0;
    for (const CommandEntry* entry = kCommands; entry->Action != nullptr; ++entry) ++count;
    return count;
}

void MainWindow::OnCommand(int notifyCode, WPARAM wParam, LPARAM) {
    // Menus send code 0 and accelerators 1; control notifications are not commands. Once
    // the list is released, messages still queued do nothing.
    if ((notifyCode != 0 && notifyCode != 1) || released_) return;
    if (RunCommand(LOWORD(wParam))) SetHandled(0);
}

void MainWindow::Exit() { SendMessageA(hwnd_, WM_CLOSE, 0, 0); }
void MainWindow::Refresh() { PostToSelf(kReload); }
void MainWindow::SelectAll() { win::ListView(listView_).SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED); }
void MainWindow::DeselectAll() { win::ListView(listView_).SetItemState(-1, 0, LVIS_SELECTED); }
void MainWindow::AutoSize() { items_.AutoSizeColumns(); }

void MainWindow::ToggleGridLines() {
    settings_.ShowGridLines = settings_.ShowGridLines == 0;
    UpdateMenuStates();
    ApplyViewSettings();
}

void MainWindow::ToggleInfoTips() {
    settings_.ShowInfoTip = settings_.ShowInfoTip == 0;
    UpdateMenuStates();
    ApplyViewSettings();
}

void MainWindow::ToggleHideStandard() {
    settings_.HideStandardItems = settings_.HideStandardItems == 0;
    UpdateMenuStates();
    PostToSelf(kReload);
}

void MainWindow::Properties() {
    if (const RowRecord* row = items_.SingleSelectedRow())
        ShowProperties(static_cast<const ItemRecord&>(*row), items_, hwnd_);
    SetFocus(listView_);
}

void MainWindow::ChooseColumns() { OpenColumnSettings(items_, hwnd_); }

void MainWindow::About() {
    ShowAbout(hwnd_);
    SetFocus(listView_);
}

void MainWindow::Disable() {
    win::ListView view(listView_);
    bool goAhead = true;
    if (view.SelectedCount() == view.ItemCount()) {
        MessageBoxA(hwnd_, lang::String(IDS_WARN_DISABLE_ALL), kProductName, MB_OK | MB_ICONWARNING);
        goAhead = false;
    }
    for (int item = view.ItemCount() - 1; item >= 0; --item) {
        const RowRecord* row = items_.SelectedRowAtItem(item);
        if (row == nullptr || !IsEssentialOpenVerb(static_cast<const ItemRecord&>(*row))) continue;
        if (MessageBoxA(hwnd_, lang::String(IDS_WARN_DISABLE_OPEN), kProductName,
                        MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDNO)
            goAhead = false;
        break;
    }
    if (goAhead) ChangeSelectedRows(IDM_DISABLE);
    SetFocus(listView_);
}

void MainWindow::Enable() { ChangeSelectedRows(IDM_ENABLE); }
void MainWindow::SetExtendedMode() { ChangeSelectedRows(IDM_SET_EXTENDED); }
void MainWindow::RemoveExtendedMode() { ChangeSelectedRows(IDM_REMOVE_EXTENDED); }

// From the last row to the first: the registry change, the flags read back, and the cells
// whose text changed set again. A refused change leaves its row as it was.
void MainWindow::ChangeSelectedRows(int command) {
    win::ListView view(listView_);
    for (int item = view.ItemCount() - 1; item >= 0; --item) {
        RowRecord* row = items_.SelectedRowAtItem(item);
        if (row == nullptr) continue;
        ItemRecord& record = static_cast<ItemRecord&>(*row);
        switch (command) {
        case IDM_DISABLE: SetDisabled(record, true); break;
        case IDM_ENABLE: SetDisabled(record, false); break;
        case IDM_SET_EXTENDED: SetExtended(record, true); break;
        case IDM_REMOVE_EXTENDED: SetExtended(record, false); break;
        default: return;
        }
        items_.UpdateRowTexts(record, item);
    }
    InvalidateRect(listView_, nullptr, FALSE);
}

void MainWindow::SaveSelected() {
    char filters[kFilterCapacity] = {};
    std::size_t used = 0;
    for (const SaveFilter& filter : kSaveFilters) {
        char entry[512];
        const int length = std::snprintf(entry, sizeof entry, "%s (%s)%c%s", lang::String(filter.NameId), filter.Pattern,
                                         '\0', filter.Pattern);
        // Each entry keeps its terminator, and the list one more at its end.
        if (length <= 0 || used + static_cast<std::size_t>(length) + 2 >= sizeof filters) break;
        std::memcpy(filters + used, entry, static_cast<std::size_t>(length) + 1);
        used += static_cast<std::size_t>(length) + 1;
    }
    char path[MAX_PATH] = {};
    OPENFILENAMEA request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = hwnd_;
    request.lpstrFilter = filters;
    request.nFilterIndex = static_cast<DWORD>(settings_.SaveFilterIndex);
    request.lpstrFile = path;
    request.nMaxFile = sizeof path;
    request.lpstrTitle = lang::String(IDS_SAVE_TITLE);
    request.lpstrDefExt = kDefaultExtension;
    request.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameA(&request)) return;
    settings_.SaveFilterIndex = static_cast<int>(request.nFilterIndex);
    if (!items_.WriteListRows(path, settings_.SaveFilterIndex, true)) ShowErrorBox(0, hwnd_);
}

void MainWindow::Copy() { items_.CopySelected(hwnd_); }
void MainWindow::HtmlReportAll() { HtmlReport(false); }
void MainWindow::HtmlReportSelected() { HtmlReport(true); }

void MainWindow::HtmlReport(bool selectedOnly) {
    if (items_.WriteListRows(reportPath_, kFormatHtmlRows, selectedOnly))
        ShellExecuteA(hwnd_, "open", reportPath_, "", "", SW_SHOW);
    else
        ShowErrorBox(0, hwnd_);
}

void MainWindow::Find() {
    if (findDialog_ == nullptr) findDialog_ = items_.OpenFindDialog(hwnd_);
}

void MainWindow::OpenInEditor() {
    if (const RowRecord* row = items_.SingleSelectedRow()) OpenInRegistryEditor(static_cast<const ItemRecord&>(*row));
}

void MainWindow::LookUpExtension() {
    const RowRecord* row = items_.SingleSelectedRow();
    char address[1024];
    if (row == nullptr ||
        !ExtensionLookupAddress(static_cast<const ItemRecord&>(*row).Extensions, address, sizeof address))
        return;
    ShellExecuteA(hwnd_, nullptr, address, nullptr, nullptr, SW_SHOW);
}
