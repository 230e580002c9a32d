#include "app/MainWindow.h"

#include "app/ConfigStore.h"
#include "framework/Containers.h"
#include "framework/Handles.h"
#include "framework/Text.h"
#include "resources/resource.h"

const char kLegacySettingsKey[] = "Software\\Kestrune\\Morvane";

namespace {

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

}  // namespace

MainWindow::MainWindow() : items_(&settings_.HideStandardItems) {
    icon_ = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAIN));
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
        if (window_ != nullptr) {
            placement_.length = sizeof placement_;
            GetWindowPlacement(window_, &placement_);
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
    if (window_ == nullptr) return;
    const RECT& r = placement_.rcNormalPosition;
    if (r.right - r.left > 20 && r.bottom - r.top > 20 && r.right > 5 && r.top >= -10 &&
        r.left + 20 < GetSystemMetrics(SM_CXSCREEN) && r.top + 20 < GetSystemMetrics(SM_CYSCREEN) &&
        placement_.showCmd != 0)
        SetWindowPos(window_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOOWNERZORDER);
}

bool MainWindow::CommandLineExport() {
    items_.Attach(nullptr);
    window_ = nullptr;

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
