#include "app/MainWindow.h"

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

MainWindow::MainWindow() : items_(&settings_) {
    icon_ = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAIN));
}

void MainWindow::LoadSettings() { settings_.SetDefaults(); }

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

    LoadSettings();
    {
        win::WaitCursor wait;
        items_.SetSavedSortSpec(0);
        ReportList::ClearSortKeys();
        for (int i = 0; i < count; ++i) {
            if (!text::EqualNoCase(arguments_->Get(i), "/sort")) continue;
            const char* key = arguments_->Get(i + 1);
            const bool descending = key[0] == '~';
            items_.AddSortKey(descending ? key + 1 : key, descending);
        }
        items_.ClearRows();
        items_.LoadRows();
        if (arguments_->Find("/nosort") < 0) {
            if (ReportList::SortKeyCount() == 0) ReportList::AddSortSpec(items_.SavedSortSpec());
            items_.SortStoredRows();
        }
    }
    items_.WriteStoredRows(fileName, format);
    items_.ReleaseRows();
    return true;
}
