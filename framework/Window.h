// Window objects: one shared window procedure finds the object of a handle and hands
// each message to its HandleMessage, inside the exception guard. The dispatcher turns the
// messages a window cares about into the On... operations, whose defaults do nothing.
#pragma once

#include <windows.h>

class Window {
public:
    Window() = default;
    // A window that outlives its object gets the default handling from then on.
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }
    bool Created() const { return created_; }
    WINDOWPLACEMENT& Placement() { return placement_; }

    // Registered with the window class of every window object; the object arrives as the
    // creation parameter of CreateWindowExA and is bound at WM_CREATE.
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Every message; the default is the platform's default handling.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Routes WM_CREATE, WM_DESTROY, WM_QUERYENDSESSION, WM_SIZE, WM_NOTIFY and WM_COMMAND
    // to the operations below; returns the handled result, or the default handling's.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    virtual void OnCommand(int notifyCode, WPARAM wParam, LPARAM lParam) {}
    virtual void OnNotify(int controlId, NMHDR& header) {}
    virtual void OnDestroy() {}
    virtual void OnSize() {}
    virtual void OnCreate() {}

    // A handler that has dealt with the message fully gives its result this way.
    void SetHandled(LRESULT result) {
        handled_ = true;
        handledResult_ = result;
    }

    // A child of this window without title, id or creation parameter.
    HWND CreateChild(DWORD exStyle, const char* className, DWORD style, int x, int y, int width, int height) const;
    void PostToSelf(UINT message) const { PostMessageA(hwnd_, message, 0, 0); }

    char className_[256] = {};
    HICON icon_ = nullptr;
    HWND hwnd_ = nullptr;
    bool handled_ = false;
    LRESULT handledResult_ = 0;
    UINT message_ = 0;
    WPARAM wParam_ = 0;
    LPARAM lParam_ = 0;
    bool created_ = false;
    WINDOWPLACEMENT placement_ = {};
};

// Enables or greys a command of a menu.
void EnableMenuCommand(HMENU menu, int command, bool enable);
// Sets or clears the enabled state of a toolbar button.
void EnableToolbarButton(HWND toolbar, int command, bool enable);
