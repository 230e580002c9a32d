// The program's one main object: it owns the settings and the menu item list and takes
// the command-line report road.
#pragma once

#include <windows.h>

#include "app/Settings.h"
#include "catalogue/MenuItem.h"

class StringList;

class MainWindow {
public:
    MainWindow();

    void SetArguments(const StringList* arguments) { arguments_ = arguments; }

    // Writes the report that an export option asks for, without a window. Returns false
    // when the command line holds no export option with a file name after it.
    bool CommandLineExport();

    // Mode 0 loads the settings from the configuration file, 1 saves them there.
    void LoadSaveSettings(int mode);

    MainSettings& Settings() { return settings_; }
    WINDOWPLACEMENT& Placement() { return placement_; }
    MenuItemList& Items() { return items_; }

private:
    void RestorePosition();

    HWND window_ = nullptr;
    HICON icon_ = nullptr;
    MainSettings settings_;
    WINDOWPLACEMENT placement_ = {};
    MenuItemList items_;
    const StringList* arguments_ = nullptr;
};

// The registry key of an older version's settings, deleted on request.
extern const char kLegacySettingsKey[];
