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
        items_.ClearRows();
        items_.LoadRows();
    }
    items_.WriteStoredRows(fileName, format);
    items_.ReleaseRows();
    return true;
}
