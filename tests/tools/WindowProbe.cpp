// A helper for scripts/run-main.sh, which cannot see into Windows windows:
//   window-probe wait SECONDS FILE  waits until the main window's first reload has filled
//                                   the status bar and writes the status text to FILE;
//                                   exit code 1 when that does not happen in time
//   window-probe close              asks the main window to close (WM_CLOSE)
//   window-probe command ID         posts the menu command ID to the main window
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND MainWindow() { return FindWindowA("Morvane", nullptr); }

bool StatusText(HWND window, char* text, int capacity) {
    HWND status = FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr);
    if (status == nullptr) return false;
    const int length = LOWORD(SendMessageA(status, SB_GETTEXTLENGTHA, 0, 0));
    if (length == 0 || length >= capacity) return false;
    // SB_GETTEXTA cannot reach into another process; WM_GETTEXT is carried across, and a
    // status bar answers it with its first part. GetWindowTextA would not send it at all.
    return SendMessageA(status, WM_GETTEXT, static_cast<WPARAM>(capacity), reinterpret_cast<LPARAM>(text)) > 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "wait") == 0) {
        const DWORD limit = static_cast<DWORD>(std::atoi(argv[2])) * 1000;
        char text[512] = {};
        for (DWORD waited = 0; waited < limit; waited += 100) {
            HWND window = MainWindow();
            if (window != nullptr && IsWindowVisible(window) && StatusText(window, text, sizeof text)) {
                FILE* out = std::fopen(argv[3], "wb");
                if (out == nullptr) return 1;
                std::fputs(text, out);
                std::fclose(out);
                return 0;
            }
            Sleep(100);
        }
        return 1;
    }
    if (argc >= 2 && std::strcmp(argv[1], "close") == 0) {
        HWND window = MainWindow();
        return window != nullptr && PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (argc >= 3 && std::strcmp(argv[1], "command") == 0) {
        HWND window = MainWindow();
        return window != nullptr && PostMessageA(window, WM_COMMAND, MAKEWPARAM(std::atoi(argv[2]), 0), 0) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: window-probe wait SECONDS FILE | close | command ID\n");
    return 2;
}
