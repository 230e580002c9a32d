#include "app/MainWindow.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "app/ConfigStore.h"
#include "framework/Containers.h"
#include "framework/Controls.h"
#include "framework/Language.h"
#include "framework/Text.h"
#include "resources/resource.h"

const char kLegacySettingsKey[] = "Software\\Kestrune\\Morvane";

namespace {

const char kProductName[] = "Morvane";
const char kReportFileName[] = "report.html";
const char kFindMessageName[] = "commdlg_FindReplace";
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;
constexpr int kToolbarImages = 8;
constexpr int kToolbarImageSize = 16;
constexpr int kTooltipTextLimit = 79;
constexpr WORD kTooltipPopDown = 65535;
constexpr WORD kTooltipInitial = 10;
constexpr WORD kTooltipReshow = 10;

struct ExportOption {
    const char* Name;
    int Format;
};

const ExportOption kExportOptions[] = {
    {"/stext", kFormatText},
    {"/stab", kFormatTabDelimited},
    {"/stabular", kFormatTabular},
    {"/shtml", kFormatHtmlRows},
    {"/sverhtml", kFormatHtmlTables},
    {"/sxml", kFormatXml},
};

// Image and command of each toolbar position; image -1 is a separator.
struct ToolbarEntry {
    int Image;
    int Command;
};

const ToolbarEntry kToolbarEntries[] = {
    {-1, 0},
    {7, IDM_DISABLE},
    {6, IDM_ENABLE},
    {-1, 0},
    {1, IDM_SAVE_SELECTED},
    {5, IDM_REFRESH},
    {2, IDM_COPY},
    {3, IDM_PROPERTIES},
    {0, IDM_FIND},
    {4, IDM_EXIT},
};

}  // namespace

MainWindow::MainWindow() : items_(&settings_.HideStandardItems) {
    text::Copy(className_, kProductName);
    icon_ = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAIN));
}

bool MainWindow::Create() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    if (!GetClassInfoA(instance, className_, &windowClass)) {
        windowClass.lpfnWndProc = Window::Procedure;
        windowClass.hInstance = instance;
        windowClass.hIcon = icon_;
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = className_;
        if (RegisterClassA(&windowClass) == 0) return false;
    }
    return CreateWindowExA(0, className_, className_, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           kDefaultWidth, kDefaultHeight, nullptr, nullptr, instance, this) != nullptr;
}

void MainWindow::Show() {
    ShowWindow(hwnd_, placement_.showCmd == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOW);
    UpdateWindow(hwnd_);
    accelerators_ = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_MAIN));
    PostToSelf(kReload);
}

int MainWindow::RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (accelerators_ != nullptr && TranslateAcceleratorA(hwnd_, accelerators_, &message)) continue;
        if (findDialog_ != nullptr && IsDialogMessageA(findDialog_, &message)) continue;
        if (hwnd_ != nullptr && IsDialogMessageA(hwnd_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

void MainWindow::CreateToolbar() {
    TBBUTTON buttons[sizeof kToolbarEntries / sizeof kToolbarEntries[0]] = {};
    int count = 0;
    for (const ToolbarEntry& entry : kToolbarEntries) {
        TBBUTTON& button = buttons[count++];
        button.iBitmap = entry.Image < 0 ? 0 : entry.Image;
        button.idCommand = entry.Command;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = entry.Image < 0 ? BTNS_SEP : BTNS_BUTTON;
    }
    // A shared image: the system frees it with the program.
    HBITMAP images = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_TOOLBAR),
                                                     IMAGE_BITMAP, 0, 0,
                                                     LR_SHARED | LR_LOADMAP3DCOLORS | LR_DEFAULTSIZE | LR_LOADTRANSPARENT));
    toolbar_ = CreateToolbarEx(hwnd_, WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS, IDC_TOOLBAR,
                               kToolbarImages, nullptr, reinterpret_cast<UINT_PTR>(images), buttons, count,
                               kToolbarImageSize, kToolbarImageSize, kToolbarImages * kToolbarImageSize,
                               kToolbarImageSize, sizeof(TBBUTTON));
}

void MainWindow::OnCreate() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    mainMenu_ = lang::LoadMenu(IDM_MAIN);
    SetMenu(hwnd_, mainMenu_);

    statusBar_ = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "", hwnd_, IDC_STATUS_BAR);
    win::StatusBar(statusBar_).SetSinglePart();
    CreateToolbar();
    listView_ = CreateWindowExA(0, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS |
                                    LVS_ALIGNLEFT,
                                0, 0, 400, 200, hwnd_, reinterpret_cast<HMENU>(IDC_LIST_VIEW), instance, nullptr);

    items_.Attach(listView_);
    items_.InsertListColumns();
    items_.CreateImageLists();
    win::UniqueIcon rowIcon(static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_DEFAULT_ROW), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
    ImageList_ReplaceIcon(items_.SmallImages(), 0, rowIcon.get());

    popupMenu_.reset(lang::LoadMenu(IDM_POPUP));
    if (arguments_ != nullptr && text::EqualNoCase(arguments_->Get(0), "/noloadsettings"))
        RegDeleteKeyA(HKEY_CURRENT_USER, kLegacySettingsKey);
    LoadSaveSettings(ConfigStore::kLoad);
    SetFocus(listView_);
    WorkOutReportPath();

    win::ListView(listView_).SetExtendedStyleBits(LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP, true);
    ApplyViewSettings();
    findMessage_ = RegisterWindowMessageA(kFindMessageName);
    HWND tips = reinterpret_cast<HWND>(SendMessageA(listView_, LVM_GETTOOLTIPS, 0, 0));
    SendMessageA(tips, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(kTooltipPopDown, 0));
    SendMessageA(tips, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(kTooltipInitial, 0));
    SendMessageA(tips, TTM_SETDELAYTIME, TTDT_RESHOW, MAKELPARAM(kTooltipReshow, 0));
    UpdateMenuStates();
}

void MainWindow::ApplyViewSettings() {
    win::ListView view(listView_);
    view.SetExtendedStyleBits(LVS_EX_GRIDLINES, settings_.ShowGridLines != 0);
    view.SetExtendedStyleBits(LVS_EX_INFOTIP, settings_.ShowInfoTip != 0);
}

// report.html in the program's folder, or in the temporary folder when the program's is
// read-only (or cannot be asked); empty when the path would not fit.
void MainWindow::WorkOutReportPath() {
    char folder[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, folder, sizeof folder - 1);
    if (char* backslash = std::strrchr(folder, '\\')) *backslash = '\0';
    if (GetFileAttributesA(folder) & FILE_ATTRIBUTE_READONLY) {
        DWORD length = GetTempPathA(sizeof folder, folder);
        if (length == 0 || length >= sizeof folder) folder[0] = '\0';
    }
    reportPath_[0] = '\0';
    const std::size_t length = std::strlen(folder);
    if (length + sizeof kReportFileName >= sizeof reportPath_ - 1) return;
    text::Copy(reportPath_, folder);
    if (length == 0 || folder[length - 1] != '\\') text::Append(reportPath_, "\\");
    text::Append(reportPath_, kReportFileName);
}

void MainWindow::OnSize() {
    RECT client = {}, status = {}, tools = {};
    GetClientRect(hwnd_, &client);
    GetWindowRect(statusBar_, &status);
    GetWindowRect(toolbar_, &tools);
    const int width = client.right - client.left, height = client.bottom - client.top;
    const int statusHeight = status.bottom - status.top + 1;
    const int toolbarHeight = tools.bottom - tools.top + 1;
    HDWP positions = BeginDeferWindowPos(3);
    positions = DeferWindowPos(positions, toolbar_, nullptr, 0, 0, width, toolbarHeight, SWP_NOZORDER);
    positions = DeferWindowPos(positions, statusBar_, nullptr, 0, 0, width, statusHeight, SWP_NOZORDER | SWP_NOMOVE);
    positions = DeferWindowPos(positions, listView_, nullptr, 0, toolbarHeight, width,
                               height - toolbarHeight - statusHeight, SWP_NOZORDER);
    EndDeferWindowPos(positions);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATEAPP:
        if (wParam == FALSE)
            focusBeforeDeactivation_ = GetFocus();
        else
            PostToSelf(kRestoreFocus);
        break;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == listView_ && !released_) {
            ShowPopupMenu();
            return 0;
        }
        break;
    case kSelectionUpdate:
        selectionUpdatePending_ = 0;
        if (released_) return 0;
        UpdateStatusBar();
        UpdateMenuStates();
        return 0;
    case kReload:
        if (released_) return 0;
        ReloadList();
        UpdateMenuStates();
        return 0;
    case kRestoreFocus:
        if (focusBeforeDeactivation_ != nullptr && IsWindow(focusBeforeDeactivation_)) SetFocus(focusBeforeDeactivation_);
        return 0;
    default:
        if (message == findMessage_ && findMessage_ != 0) {
            OnFindMessage(*reinterpret_cast<const FINDREPLACEA*>(lParam));
            return 0;
        }
        break;
    }
    return Dispatch(message, wParam, lParam);
}

void MainWindow::OnFindMessage(const FINDREPLACEA& request) {
    if (request.Flags & FR_FINDNEXT) {
        if (!released_) items_.FindNext(request);
    } else if (request.Flags & FR_DIALOGTERM) {
        findDialog_ = nullptr;
        SetFocus(listView_);
    }
}

void MainWindow::ShowPopupMenu() {
    HMENU menu = GetSubMenu(popupMenu_.get(), 0);
    if (menu == nullptr) return;
    UpdateMenuStates(menu);
    POINT cursor = {};
    GetCursorPos(&cursor);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, hwnd_, nullptr);
}

void MainWindow::OnNotify(int controlId, NMHDR& header) {
    if (header.code == TTN_NEEDTEXTA && header.hwndFrom == win::Toolbar(toolbar_).Tooltips()) {
        NMTTDISPINFOA& request = reinterpret_cast<NMTTDISPINFOA&>(header);
        request.szText[0] = '\0';
        GetMenuStringA(mainMenu_, static_cast<UINT>(header.idFrom), request.szText, kTooltipTextLimit + 1,
                       MF_BYCOMMAND);
        request.lpszText = request.szText;
        request.hinst = nullptr;
        return;
    }
    if (controlId != IDC_LIST_VIEW) return;
    switch (header.code) {
    case NM_CUSTOMDRAW:
        // Rows that were released are drawn plainly.
        SetHandled(released_ ? CDRF_DODEFAULT : items_.CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header)));
        break;
    case NM_DBLCLK:
        if (!released_) RunCommand(IDM_PROPERTIES);
        break;
    case LVN_COLUMNCLICK:
        if (!released_) items_.SortBy(reinterpret_cast<NMLISTVIEW&>(header).iSubItem, false);
        break;
    case LVN_ITEMCHANGED: {
        const NMLISTVIEW& change = reinterpret_cast<NMLISTVIEW&>(header);
        if (((change.uOldState ^ change.uNewState) & LVIS_SELECTED) != 0 && !selectionUpdatePending_) {
            selectionUpdatePending_ = 1;
            PostToSelf(kSelectionUpdate);
        }
        break;
    }
    default:
        break;
    }
}

void MainWindow::UpdateStatusBar() {
    if (hwnd_ == nullptr) return;
    win::ListView view(listView_);
    char status[300];
    std::snprintf(status, sizeof status, lang::NumberFormat(IDS_STATUS_ITEMS), view.ItemCount());
    const int selected = view.SelectedCount();
    if (selected > 0) {
        char part[200];
        std::snprintf(part, sizeof part, lang::NumberFormat(IDS_STATUS_SELECTED), selected);
        text::Append(status, part);
    }
    win::StatusBar(statusBar_).SetText(0, status);
}

void MainWindow::ReloadList() {
    win::ListView view(listView_);
    view.SetRedraw(false);
    {
        win::WaitCursor wait;
        items_.ClearRows();
        view.DeleteAllItems();
        items_.LoadRows();
        ImageList_SetImageCount(items_.SmallImages(), 1);
        items_.RefreshView(true);
        UpdateStatusBar();
    }
    SetFocus(listView_);
    view.SetRedraw(true);
}

void MainWindow::OnDestroy() {
    if (released_) return;
    DeleteFileA(reportPath_);
    LoadSaveSettings(ConfigStore::kSave);
    items_.ReleaseRows();
    released_ = true;
    PostQuitMessage(0);
}

void MainWindow::LoadSaveSettings(int mode) {
    char path[261];
    ConfigFilePath(path, sizeof path);
    ConfigStore store(mode, path, "General");
    store.BoolValue("ShowGridLines", &settings_.ShowGridLines, 0);
    store.IntValue("SaveFilterIndex", &settings_.SaveFilterIndex, 0);
    store.BoolValue("HideStandardItems", &settings_.HideStandardItems, 1);
    store.BoolValue("ShowInfoTip", &settings_.ShowInfoTip, 1);

    if (store.Saving()) {
        if (hwnd_ != nullptr) {
            placement_.length = sizeof placement_;
            GetWindowPlacement(hwnd_, &placement_);
        }
        store.BinaryValue("WinPos", &placement_, sizeof placement_);
    } else {
        placement_ = WINDOWPLACEMENT{};
        store.BinaryValue("WinPos", &placement_, sizeof placement_);
        RestorePosition();
    }
    items_.ExchangeSettings(store);
}

// Only a placement that is large enough and at least partly on the screen is used.
void MainWindow::RestorePosition() {
    if (hwnd_ == nullptr) return;
    const RECT& r = placement_.rcNormalPosition;
    if (r.right - r.left > 20 && r.bottom - r.top > 20 && r.right > 5 && r.top >= -10 &&
        r.left + 20 < GetSystemMetrics(SM_CXSCREEN) && r.top + 20 < GetSystemMetrics(SM_CYSCREEN) &&
        placement_.showCmd != 0)
        SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOOWNERZORDER);
}

bool MainWindow::CommandLineExport() {
    items_.Attach(nullptr);
    hwnd_ = nullptr;

    int format = 0;
    const char* fileName = nullptr;
    const int count = arguments_ != nullptr ? arguments_->Count() : 0;
    for (int i = 0; i + 1 < count; ++i) {
        for (const ExportOption& option : kExportOptions) {
            if (text::EqualNoCase(arguments_->Get(i), option.Name)) {
                format = option.Format;
                fileName = arguments_->Get(i + 1);
            }
        }
    }
    if (format == 0) return false;

    LoadSaveSettings(ConfigStore::kLoad);
    {
        win::WaitCursor wait;
        items_.SetSavedSortSpec(0);
        items_.ClearSortKeys();
        for (int i = 0; i < count; ++i) {
            if (!text::EqualNoCase(arguments_->Get(i), "/sort")) continue;
            const char* key = arguments_->Get(i + 1);
            const bool descending = key[0] == '~';
            items_.AddSortKey(descending ? key + 1 : key, descending);
        }
        items_.ClearRows();
        items_.LoadRows();
        if (arguments_->Find("/nosort") < 0) {
            if (items_.SortKeyCount() == 0) items_.AddSortSpec(items_.SavedSortSpec());
            items_.SortStoredRows();
        }
    }
    items_.WriteStoredRows(fileName, format);
    items_.ReleaseRows();
    return true;
}
