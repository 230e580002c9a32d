// The program's integer settings, kept in the configuration file beside the program.
#pragma once

struct MainSettings {
    int HideStandardItems = 0;
    int ShowGridLines = 0;
    int ShowInfoTip = 0;
    int SaveFilterIndex = 0;

    // The values a start without a configuration file gives.
    void SetDefaults() {
        HideStandardItems = 1;
        ShowGridLines = 0;
        ShowInfoTip = 1;
        SaveFilterIndex = 0;
    }
};
