// The real main window in a test: created hidden through the program's own code over a
// private classes tree (or the classes root), with helpers that read its controls back.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>

#include "GuiHelpers.h"
#include "TestProcess.h"
#include "TestRegistry.h"
#include "app/MainWindow.h"
#include "framework/Controls.h"
#include "framework/Language.h"
#include "framework/ListView.h"
#include "resources/resource.h"

namespace fixture {

// "%d 个菜单项目" and ", %d 个选择" filled in, in code page 936.
inline std::string StatusText(int rows, int selected) {
    char text[200];
    std::snprintf(text, sizeof text, "%d \xB8\xF6\xB2\xCB\xB5\xA5\xCF\xEE\xC4\xBF", rows);
    std::string status = text;
    if (selected > 0) {
        std::snprintf(text, sizeof text, ", %d \xB8\xF6\xD1\xA1\xD4\xF1", selected);
        status += text;
    }
    return status;
}

// Run by a timer inside the popup menu's loop: notes an open menu and closes it.
inline bool menuSeen = false;
inline void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu != nullptr && IsWindowVisible(menu)) menuSeen = true;
    EndMenu();
}

// The real main window, created hidden over a private classes tree, as the program
// creates it. The configuration file beside the test program starts absent.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() { DeleteFileA(ConfigPath().c_str()); }
    ~MainWindowTest() override {
        if (window && IsWindow(window->Handle())) DestroyWindow(window->Handle());
        DrainQueue();
        DeleteFileA(ConfigPath().c_str());
    }

    static std::string ConfigPath() {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, sizeof path);
        const std::string program = path;
        return program.substr(0, program.rfind('.')) + ".cfg";
    }

    // A type "verbs" whose verbs run a program that does not exist.
    void AddVerb(const std::string& verb, bool disabled = false) {
        keys.SetString(".verbs", "", "verbs");
        keys.SetString("verbs\\shell\\" + verb + "\\command", "", "x.exe \"%1\"");
        if (disabled) keys.SetString("verbs\\shell\\" + verb, "LegacyDisable", "");
    }

    // Over the private tree, or with classesRoot over the classes root itself.
    void Open(bool classesRoot = false) {
        window = std::make_unique<MainWindow>();
        if (!classesRoot) window->Items().SetScanRoot(keys.Root());
        ASSERT_TRUE(window->Create());
        SendMessageA(window->Handle(), MainWindow::kReload, 0, 0);
        PumpMessages();
    }

    void Close() {
        DestroyWindow(window->Handle());
        DrainQueue();
        window.reset();
    }

    void Command(int id) {
        SendMessageA(window->Handle(), WM_COMMAND, MAKEWPARAM(id, 1), 0);
        PumpMessages();
    }

    void Select(std::initializer_list<int> items) {
        win::ListView view(window->ListView());
        view.SetItemState(-1, 0, LVIS_SELECTED);
        for (int item : items) view.SetItemState(item, LVIS_SELECTED, LVIS_SELECTED);
        PumpMessages();
    }

    // The key as the message loop would meet it, through the real accelerator table; the
    // messages it posts are left queued. False when the table does not translate it.
    bool Accelerate(WORD key, bool control = false) {
        HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_MAIN));
        BYTE state[256] = {}, saved[256] = {};
        GetKeyboardState(saved);
        if (control) state[VK_CONTROL] = 0x80;
        SetKeyboardState(state);
        MSG message = {window->ListView(), WM_KEYDOWN, key, 1, 0, {}};
        const bool translated = TranslateAcceleratorA(window->Handle(), table, &message) != 0;
        SetKeyboardState(saved);
        return translated;
    }

    std::string Status() const { return TextOf(window->StatusBar()); }
    bool MenuEnabled(int id) const {
        return (GetMenuState(window->MainMenu(), static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED) == 0;
    }
    bool MenuChecked(int id) const {
        return (GetMenuState(window->MainMenu(), static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    bool ButtonEnabled(int id) const {
        return (SendMessageA(window->Toolbar(), TB_GETSTATE, static_cast<WPARAM>(id), 0) & TBSTATE_ENABLED) != 0;
    }
    std::string CellText(int item, int column) const {
        char text[1024];
        win::ListView(window->ListView()).ItemText(item, column, text, sizeof text);
        return text;
    }

    ScratchKeys keys;
    std::unique_ptr<MainWindow> window;
};

}  // namespace fixture
