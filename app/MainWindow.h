// The program's one main object and its window: a menu bar, a flat toolbar, the list view
// of the menu item list and a one-part status bar. It owns the settings and the list, and
// also takes the command-line report road without any window.
#pragma once

#include <windows.h>

#include <cstddef>

#include "app/Settings.h"
#include "catalogue/MenuItem.h"
#include "framework/Handles.h"
#include "framework/Window.h"

class StringList;

class MainWindow : public Window {
public:
    // Posted to the window with both parameters 0.
    static constexpr UINT kSelectionUpdate = WM_USER + 2;
    static constexpr UINT kReload = WM_USER + 21;
    static constexpr UINT kRestoreFocus = WM_USER + 28;

    MainWindow();

    void SetArguments(const StringList* arguments) { arguments_ = arguments; }

    // Writes the report that an export option asks for, without a window. Returns false
    // when the command line holds no export option with a file name after it.
    bool CommandLineExport();

    // Registers the window class and creates the window (hidden); false when it fails.
    bool Create();
    // Shows the window as the saved placement says and posts the first reload.
    void Show();
    // Runs the message loop until the quit message; its exit code.
    int RunMessageLoop();

    // Mode 0 loads the settings from the configuration file, 1 saves them there.
    void LoadSaveSettings(int mode);

    void UpdateMenuStates(HMENU popup = nullptr);
    void UpdateStatusBar();
    void ReloadList();

    MainSettings& Settings() { return settings_; }
    MenuItemList& Items() { return items_; }
    HWND StatusBar() const { return statusBar_; }
    HWND Toolbar() const { return toolbar_; }
    HWND ListView() const { return listView_; }
    HMENU MainMenu() const { return mainMenu_; }
    HMENU PopupMenu() const { return popupMenu_.get(); }
    HWND FindDialog() const { return findDialog_; }
    const char* ReportPath() const { return reportPath_; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Whether a command id has an action, and how many have one.
    static bool HasCommand(int command);
    static int CommandCount();

protected:
    void OnCommand(int notifyCode, WPARAM wParam, LPARAM lParam) override;
    void OnNotify(int controlId, NMHDR& header) override;
    void OnDestroy() override;
    void OnSize() override;
    void OnCreate() override;

private:
    void RestorePosition();
    void CreateToolbar();
    void WorkOutReportPath();
    void ShowPopupMenu();
    void ApplyViewSettings();
    bool RunCommand(int command);
    void OnFindMessage(const FINDREPLACEA& request);

    // The commands (MainCommands.cpp), one member each; the four row changes share one.
    struct CommandEntry;
    static const CommandEntry kCommands[];
    void Exit();
    void Refresh();
    void SelectAll();
    void DeselectAll();
    void AutoSize();
    void ToggleGridLines();
    void ToggleInfoTips();
    void ToggleHideStandard();
    void Properties();
    void ChooseColumns();
    void About();
    void Disable();
    void Enable();
    void SetExtendedMode();
    void RemoveExtendedMode();
    void ChangeSelectedRows(int command);
    void SaveSelected();
    void Copy();
    void HtmlReportAll();
    void HtmlReportSelected();
    void HtmlReport(bool selectedOnly);
    void Find();
    void OpenInEditor();
    void LookUpExtension();

    MainSettings settings_;
    MenuItemList items_;
    HWND statusBar_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND listView_ = nullptr;
    // The menu bar belongs to the window; the popup menu is held by no window.
    HMENU mainMenu_ = nullptr;
    win::UniqueMenu popupMenu_;
    HACCEL accelerators_ = nullptr;
    int selectionUpdatePending_ = 0;
    char reportPath_[261] = {};
    UINT findMessage_ = 0;
    HWND findDialog_ = nullptr;
    HWND focusBeforeDeactivation_ = nullptr;
    // Set once OnDestroy has released the list: messages still queued after that (after
    // WM_QUERYENDSESSION the window lives on until the loop ends) must not reach it.
    bool released_ = false;
    const StringList* arguments_ = nullptr;
};

// The registry key of an older version's settings, deleted on request.
extern const char kLegacySettingsKey[];

// The extension lookup page for the first extension of a row's extension list ("" and
// false unless the list begins with "."). The extension comes from the registry: every
// byte but letters, digits, "-", ".", "_" and "~" is percent-encoded, so that nothing in
// it can change the address.
bool ExtensionLookupAddress(const char* extensions, char* address, std::size_t capacity);
