// Thin, non-owning wrappers over the main window's toolbar and status bar: one short
// operation per message.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace win {

class Toolbar {
public:
    Toolbar(HWND hwnd = nullptr) : hwnd_(hwnd) {}
    HWND Handle() const { return hwnd_; }

    HWND Tooltips() const { return reinterpret_cast<HWND>(SendMessageA(hwnd_, TB_GETTOOLTIPS, 0, 0)); }
    int ButtonCount() const { return static_cast<int>(SendMessageA(hwnd_, TB_BUTTONCOUNT, 0, 0)); }

private:
    HWND hwnd_;
};

class StatusBar {
public:
    StatusBar(HWND hwnd = nullptr) : hwnd_(hwnd) {}
    HWND Handle() const { return hwnd_; }

    void SetText(int part, const char* text) const {
        SendMessageA(hwnd_, SB_SETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    }
    // One part that reaches the right edge.
    void SetSinglePart() const {
        int edge = -1;
        SendMessageA(hwnd_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&edge));
    }

private:
    HWND hwnd_;
};

}  // namespace win
