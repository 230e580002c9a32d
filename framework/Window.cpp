#include "framework/Window.h"

#include <commctrl.h>

#include "diagnostics/ExceptionGuard.h"
#include "framework/HandleRegistry.h"
#include "framework/Language.h"

Window::~Window() { WindowRegistry().Unregister(this); }

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (Window* object = static_cast<Window*>(create->lpCreateParams)) {
            object->hwnd_ = window;
            WindowRegistry().Register(object, window);
        }
    }
    Window* object = static_cast<Window*>(WindowRegistry().Find(window));
    // WM_NCCREATE, WM_GETMINMAXINFO and the like come before the object is bound.
    if (object == nullptr) return DefWindowProcA(window, message, wParam, lParam);

    const LRESULT result =
        diagnostics::Guarded(window, [&]() { return object->HandleMessage(message, wParam, lParam); });
    // Also after a reported fault in the handler, so no message reaches a gone object.
    if (message == WM_DESTROY) WindowRegistry().Unregister(object);
    return result;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    handled_ = false;
    message_ = message;
    wParam_ = wParam;
    lParam_ = lParam;
    switch (message) {
    case WM_CREATE:
        lang::ApplyRightToLeft(hwnd_, 0);
        OnCreate();
        created_ = true;
        break;
    case WM_DESTROY:
    case WM_QUERYENDSESSION:
        OnDestroy();
        break;
    case WM_SIZE:
        if (created_) OnSize();
        break;
    case WM_NOTIFY:
        OnNotify(static_cast<int>(wParam), *reinterpret_cast<NMHDR*>(lParam));
        break;
    case WM_COMMAND:
        OnCommand(HIWORD(wParam), wParam, lParam);
        break;
    default:
        break;
    }
    return handled_ ? handledResult_ : DefWindowProcA(hwnd_, message, wParam, lParam);
}

HWND Window::CreateChild(DWORD exStyle, const char* className, DWORD style, int x, int y, int width,
                         int height) const {
    return CreateWindowExA(exStyle, className, "", style, x, y, width, height, hwnd_, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

void EnableMenuCommand(HMENU menu, int command, bool enable) {
    EnableMenuItem(menu, static_cast<UINT>(command), MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}

void EnableToolbarButton(HWND toolbar, int command, bool enable) {
    LRESULT state = SendMessageA(toolbar, TB_GETSTATE, static_cast<WPARAM>(command), 0);
    if (state == -1) return;
    state = enable ? (state | TBSTATE_ENABLED) : (state & ~TBSTATE_ENABLED);
    SendMessageA(toolbar, TB_SETSTATE, static_cast<WPARAM>(command), MAKELPARAM(state, 0));
}
