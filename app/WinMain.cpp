// The entry routine: prepares the common controls, splits the command line and takes one
// of the start-up roads.
#include <windows.h>
#include <commctrl.h>

#include "app/MainWindow.h"
#include "framework/Containers.h"
#include "framework/ErrorBox.h"
#include "framework/Handles.h"
#include "framework/Language.h"
#include "resources/resource.h"

namespace {

constexpr DWORD kAllControlClasses = 0xFF;
const char kCommonControlsError[] = "Error: Cannot load the common control classes.";

bool InitCommonControlClasses() {
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    win::UniqueLibrary library(LoadLibraryA("comctl32.dll"));
    InitFunction init = library ? reinterpret_cast<InitFunction>(
                                      reinterpret_cast<void*>(GetProcAddress(library.get(), "InitCommonControlsEx")))
                                : nullptr;
    if (init == nullptr) {
        InitCommonControls();
        return true;
    }
    INITCOMMONCONTROLSEX classes = {sizeof classes, kAllControlClasses};
    return init(&classes) != FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    if (!InitCommonControlClasses()) {
        MessageBoxA(nullptr, kCommonControlsError, kErrorCaption, MB_OK | MB_ICONWARNING);
        return 1;
    }

    MainWindow mainWindow;
    StringList arguments;
    arguments.Split(commandLine);
    mainWindow.SetArguments(&arguments);

    if (arguments.Find("/savelangfile") >= 0) {
        // The exception report is shown without the framework and is never translated.
        const int untranslated[] = {IDD_EXCEPTION};
        lang::WriteTemplate(untranslated, 1);
        return 0;
    }
    lang::Load();

    if (arguments.Find("/deleteregkey") >= 0) {
        RegDeleteKeyA(HKEY_CURRENT_USER, kLegacySettingsKey);
        return 0;
    }
    if (arguments.Count() > 1 && mainWindow.CommandLineExport()) return 0;

    if (!mainWindow.Create()) return 0;
    mainWindow.Show();
    return mainWindow.RunMessageLoop();
}
