#include "GuiHelpers.h"

#include <algorithm>

int PumpMessages(DWORD limitMs, UINT counted) {
    int seen = 0;
    const DWORD start = GetTickCount();
    MSG message;
    DWORD idleSince = GetTickCount();
    while (GetTickCount() - start < limitMs) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            if (counted != 0 && message.message == counted) ++seen;
            TranslateMessage(&message);
            DispatchMessageA(&message);
            idleSince = GetTickCount();
        } else {
            if (GetTickCount() - idleSince > 100) break;
            Sleep(5);
        }
    }
    return seen;
}

void DrainQueue() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

std::string TextOf(HWND window) {
    char text[8192] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

DialogWatcher::DialogWatcher(Action action, DWORD limitMs) : action_(std::move(action)), limit_(limitMs) {
    InitializeCriticalSection(&lock_);
    thread_ = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
}

DialogWatcher::~DialogWatcher() {
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    DeleteCriticalSection(&lock_);
}

std::vector<DialogSeen> DialogWatcher::Seen() {
    EnterCriticalSection(&lock_);
    std::vector<DialogSeen> copy = seen_;
    LeaveCriticalSection(&lock_);
    return copy;
}

int DialogWatcher::WaitFor(int count, DWORD limitMs) {
    const DWORD start = GetTickCount();
    int seen = 0;
    while ((seen = static_cast<int>(Seen().size())) < count && GetTickCount() - start < limitMs) {
        // The dialogs this thread owns need their messages served while it waits.
        PumpMessages(50);
    }
    return seen;
}

namespace {

struct Search {
    std::vector<HWND> Found;
};

BOOL CALLBACK FindDialogs(HWND window, LPARAM param) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && std::string(className) == "#32770")
        reinterpret_cast<Search*>(param)->Found.push_back(window);
    return TRUE;
}

}  // namespace

DWORD WINAPI DialogWatcher::Watch(void* self) {
    DialogWatcher& watcher = *static_cast<DialogWatcher*>(self);
    const DWORD start = GetTickCount();
    std::vector<HWND> handled;
    while (!watcher.stop_ && GetTickCount() - start < watcher.limit_) {
        Search search;
        EnumWindows(FindDialogs, reinterpret_cast<LPARAM>(&search));
        for (HWND dialog : search.Found) {
            if (std::find(handled.begin(), handled.end(), dialog) != handled.end()) continue;
            handled.push_back(dialog);
            const std::string caption = TextOf(dialog);
            watcher.action_(dialog);
            // Counted once its action is done, so that WaitFor also waits for the action.
            EnterCriticalSection(&watcher.lock_);
            watcher.seen_.push_back(DialogSeen{dialog, caption});
            LeaveCriticalSection(&watcher.lock_);
        }
        Sleep(50);
    }
    return 0;
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
