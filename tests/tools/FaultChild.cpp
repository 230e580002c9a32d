// A window that faults in the handler of a posted message, for the tests of what the
// exception report's buttons do to a process. It ends with exit code 0 when it is closed.
#include <windows.h>

#include "framework/Window.h"

namespace {

constexpr UINT kFault = WM_APP + 1;

class FaultingWindow : public Window {
public:
    bool Create() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Window::Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "MorvaneFaultChild";
        RegisterClassA(&windowClass);
        return CreateWindowExA(0, "MorvaneFaultChild", "fault child", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                               200, nullptr, nullptr, GetModuleHandleA(nullptr), this) != nullptr;
    }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kFault) {
            int* volatile nowhere = reinterpret_cast<int*>(0x10);
            *nowhere = 1;
        }
        return Dispatch(message, wParam, lParam);
    }

protected:
    void OnDestroy() override { PostQuitMessage(0); }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    FaultingWindow window;
    if (!window.Create()) return 3;
    PostMessageA(window.Handle(), kFault, 0, 0);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
