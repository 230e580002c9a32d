// Driving real windows from a test: pumping this thread's messages to a limit, and a
// watcher thread that answers the dialogs this process opens, so that no test can hang.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Dispatches this thread's queued messages until the queue stays empty or the limit has
// passed. Returns how many messages of the given id (0: none counted) it dispatched.
int PumpMessages(DWORD limitMs = 2000, UINT counted = 0);
// Removes a WM_QUIT (and anything else) left in this thread's queue.
void DrainQueue();

// The text of a window, read with WM_GETTEXT (also across threads).
std::string TextOf(HWND window);

struct DialogSeen {
    HWND Dialog;
    std::string Caption;
};

// While it lives, a thread looks every 50 ms for visible dialogs (class #32770) of this
// process that it has not seen before and calls the action on each, once. It gives up
// after the limit.
class DialogWatcher {
public:
    using Action = std::function<void(HWND dialog)>;
    explicit DialogWatcher(Action action, DWORD limitMs = 30000);
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // The dialogs whose action has run.
    std::vector<DialogSeen> Seen();
    // Waits until the action has run on at least count dialogs, or the limit; the number.
    int WaitFor(int count, DWORD limitMs = 10000);

private:
    static DWORD WINAPI Watch(void* self);

    Action action_;
    DWORD limit_;
    HANDLE thread_ = nullptr;
    volatile LONG stop_ = 0;
    CRITICAL_SECTION lock_;
    std::vector<DialogSeen> seen_;
};

// Presses a button of a dialog as a click would (works from another thread).
void PressButton(HWND dialog, int id);
