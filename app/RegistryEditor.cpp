#include "app/RegistryEditor.h"

#include <cstring>

#include "catalogue/VerbChanges.h"
#include "framework/Text.h"

namespace {

const char kEditorClass[] = "RegEdit_RegEdit";
const char kEditorProgram[] = "regedit.exe";
constexpr int kCollapseSteps = 50;
constexpr DWORD kSettleMilliseconds = 100;
// The tree's type-ahead search collects the characters typed in quick succession. Windows
// starts afresh at every key press; Wine's tree keeps collecting across the key that
// expands an item until it has seen no character for 450 ms. Pausing longer than that
// before each component (the first too: an earlier walk may have just typed) lets each one
// be searched on its own on both.
constexpr DWORD kTypeAheadPause = 600;
// Where the editor answers the typed characters slowly, its type-ahead search can start
// afresh within a component and show another key: the walk is then made once more.
constexpr int kWalkAttempts = 2;
// How long the editor's status bar may take to give its text.
constexpr UINT kStatusTimeout = 2000;
// A freshly started editor needs a moment before its windows exist.
constexpr int kStartAttempts = 50;
constexpr DWORD kStartPoll = 100;

struct RootName {
    const char* Short;
    const char* Full;
};

const RootName kRootNames[] = {
    {"HKLM", "HKEY_LOCAL_MACHINE"}, {"HKCU", "HKEY_CURRENT_USER"}, {"HKCR", "HKEY_CLASSES_ROOT"},
    {"HKCC", "HKEY_CURRENT_CONFIG"}, {"HKU", "HKEY_USERS"},
};

bool HasClass(HWND window, const char* name) {
    char className[256] = {};
    GetClassNameA(window, className, sizeof className);
    return text::EqualNoCase(className, name);
}

BOOL CALLBACK FindControls(HWND child, LPARAM param) {
    RegEditWindows* windows = reinterpret_cast<RegEditWindows*>(param);
    if (HasClass(child, "SysListView32")) windows->List = child;
    if (HasClass(child, "SysTreeView32")) windows->Tree = child;
    return TRUE;
}

BOOL CALLBACK FindEditor(HWND window, LPARAM param) {
    RegEditWindows* windows = reinterpret_cast<RegEditWindows*>(param);
    if (!HasClass(window, kEditorClass)) return TRUE;
    windows->Main = window;
    windows->Tree = windows->List = nullptr;
    EnumChildWindows(window, FindControls, param);
    return windows->Complete() ? FALSE : TRUE;
}

void PressKey(HWND tree, WPARAM key) {
    SendMessageA(tree, WM_KEYDOWN, key, 1);
    SendMessageA(tree, WM_KEYUP, key, 1);
}

}  // namespace

void ExpandRootName(const char* keyPath, char* expanded, std::size_t capacity) {
    // Only a root of at most four characters before the first backslash is replaced:
    // the short names by their full ones, anything else by nothing.
    const char* backslash = std::strchr(keyPath, '\\');
    if (backslash == nullptr || backslash - keyPath > 4) {
        text::Copy(expanded, capacity, keyPath);
        return;
    }
    const char* root = "";
    for (const RootName& name : kRootNames) {
        if (_strnicmp(keyPath, name.Short, std::strlen(name.Short)) == 0) {
            root = name.Full;
            break;
        }
    }
    text::Copy(expanded, capacity, root);
    text::Append(expanded, capacity, backslash);
}

bool FindRegEditWindows(RegEditWindows& windows) {
    windows = RegEditWindows{};
    EnumWindows(FindEditor, reinterpret_cast<LPARAM>(&windows));
    if (!windows.Complete()) windows = RegEditWindows{};
    return windows.Complete();
}

bool NavigateRegEditTree(const char* keyPath, const RegEditWindows& windows) {
    if (!windows.Complete()) return false;
    char path[1024];
    ExpandRootName(keyPath, path, sizeof path);

    for (int i = 0; i < kCollapseSteps; ++i) PressKey(windows.Tree, VK_LEFT);
    PressKey(windows.Tree, VK_RIGHT);

    for (char* component = path; component != nullptr;) {
        char* next = std::strchr(component, '\\');
        if (next != nullptr) *next++ = '\0';
        if (*component != '\0') {
            Sleep(kTypeAheadPause);
            for (const char* c = component; *c != '\0'; ++c) {
                char typed = (*c >= 'a' && *c <= 'z') ? static_cast<char>(*c - 'a' + 'A') : *c;
                SendMessageA(windows.Tree, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(typed)), 1);
            }
            // Expand the item unless this was the last component.
            bool last = true;
            for (const char* rest = next; rest != nullptr && *rest != '\0'; ++rest)
                if (*rest != '\\') last = false;
            if (!last) PressKey(windows.Tree, VK_RIGHT);
        }
        component = next;
    }
    return true;
}

void SelectedRegEditKey(const RegEditWindows& windows, char* path, std::size_t capacity) {
    if (capacity == 0) return;
    path[0] = '\0';
    HWND status = FindWindowExA(windows.Main, nullptr, "msctls_statusbar32", nullptr);
    if (status == nullptr || !IsWindowVisible(status)) return;
    char text[1024] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(status, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             kStatusTimeout, &copied))
        return;
    text[sizeof text - 1] = '\0';
    const char* afterComputer = std::strchr(text, '\\');
    text::Copy(path, capacity, afterComputer != nullptr ? afterComputer + 1 : text);
}

bool OpenKeyInRegEdit(const char* keyPath) {
    RegEditWindows windows;
    if (!FindRegEditWindows(windows)) {
        WinExec(kEditorProgram, SW_SHOW);
        for (int attempt = 0; attempt < kStartAttempts && !FindRegEditWindows(windows); ++attempt) Sleep(kStartPoll);
        if (!windows.Complete()) return false;
    }
    if (GetWindowLongA(windows.Main, GWL_STYLE) & WS_MINIMIZE) ShowWindow(windows.Main, SW_RESTORE);
    SetForegroundWindow(windows.Main);
    char expected[1024];
    ExpandRootName(keyPath, expected, sizeof expected);
    for (int walk = 0; walk < kWalkAttempts; ++walk) {
        NavigateRegEditTree(keyPath, windows);
        Sleep(kSettleMilliseconds);
        char shown[1024];
        SelectedRegEditKey(windows, shown, sizeof shown);
        if (shown[0] == '\0' || text::EqualNoCase(shown, expected)) break;
    }

    const DWORD editorThread = GetWindowThreadProcessId(windows.List, nullptr);
    const DWORD ownThread = GetCurrentThreadId();
    if (AttachThreadInput(ownThread, editorThread, TRUE)) {
        SetFocus(windows.List);
        AttachThreadInput(ownThread, editorThread, FALSE);
    }
    return true;
}

bool OpenInRegistryEditor(const ItemRecord& item) {
    char path[1024];
    RegistryEditorPath(item, path, sizeof path);
    return OpenKeyInRegEdit(path);
}
