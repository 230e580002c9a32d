#include "framework/Language.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "framework/Handles.h"
#include "framework/ModulePath.h"
#include "framework/Text.h"

namespace lang {
namespace {

constexpr int kCacheEntries = 256;
constexpr int kArenaBytes = 32768;
constexpr int kValueBytes = 4096;
constexpr int kTopLevelPopupBase = 70001;
constexpr int kNestedPopupBase = 71000;
constexpr int kLastStringId = 65535;

const char kGeneralSection[] = "general";
const char kStringsSection[] = "strings";
const char kLanguageSuffix[] = "_lng.ini";

struct StringCache {
    unsigned keys[kCacheEntries];
    const char* texts[kCacheEntries];
    int count = 0;
    char arena[kArenaBytes];
    int used = 0;
    // Reports ask for the same few texts for every row: small ids find their entry
    // directly (entry number plus one; 0 when not cached), by translated and built-in text.
    static constexpr unsigned kDirectIds = 2048;
    short direct[2][kDirectIds] = {};

    short* DirectSlot(unsigned key) {
        const unsigned id = key & 0xFFFF;
        if ((key & ~(0xFFFFu | kUntranslated)) != 0 || id >= kDirectIds) return nullptr;
        return &direct[(key & kUntranslated) != 0 ? 1 : 0][id];
    }

    const char* Find(unsigned key) {
        if (short* slot = DirectSlot(key)) return *slot > 0 ? texts[*slot - 1] : nullptr;
        for (int i = 0; i < count; ++i)
            if (keys[i] == key) return texts[i];
        return nullptr;
    }

    void Reset() {
        count = 0;
        std::memset(direct, 0, sizeof direct);
    }

    // Keeps a copy of text under key; null when the cache is full.
    const char* Add(unsigned key, const char* text) {
        int length = static_cast<int>(std::strlen(text));
        if (used + length + 2 >= kArenaBytes || count >= kCacheEntries) return nullptr;
        char* copy = arena + used;
        std::memcpy(copy, text, length + 1);
        used += length + 1;
        keys[count] = key;
        texts[count] = copy;
        ++count;
        if (short* slot = DirectSlot(key)) *slot = static_cast<short>(count);
        return copy;
    }
};

struct LanguageState {
    char Path[module::kPathCapacity] = {};
    char Section[64] = {};
    int CurrentDialog = 0;
    bool RightToLeft = false;
    char Charset[63] = {};
    char TranslatorName[63] = {};
    char TranslatorUrl[255] = {};
    int PopupCounter = 0;
};

StringCache cache;
LanguageState state;

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

void SetSection(const char* format, int id) { std::snprintf(state.Section, sizeof state.Section, format, id); }

// The value of a key of the current section; false when it is absent or empty.
bool ReadValue(const char* section, const char* key, char* value, DWORD capacity) {
    value[0] = '\0';
    if (state.Path[0] == '\0') return false;
    GetPrivateProfileStringA(section, key, "", value, capacity, state.Path);
    return value[0] != '\0';
}

bool ReadValue(const char* section, int key, char* value, DWORD capacity) {
    char name[16];
    std::snprintf(name, sizeof name, "%d", key);
    return ReadValue(section, name, value, capacity);
}

// Writes a key only when it has no value yet, so that translations are kept.
void WriteIfAbsent(const char* section, const char* key, const char* value) {
    char existing[kValueBytes];
    if (ReadValue(section, key, existing, sizeof existing)) return;
    WritePrivateProfileStringA(section, key, value, state.Path);
}

void WriteIfAbsent(const char* section, int key, const char* value) {
    char name[16];
    std::snprintf(name, sizeof name, "%d", key);
    WriteIfAbsent(section, name, value);
}

void LoadBuiltIn(unsigned id, char* buffer) {
    buffer[0] = '\0';
    // One byte short of the buffer, so at most 4094 characters of text.
    if (LoadStringA(Module(), id & 0xFFFF, buffer, kValueBytes - 1) <= 0) buffer[0] = '\0';
}

enum class MenuWalk { Translate, WriteTemplate };

// Visits every item of a menu and its sub-menus in order. Pop-ups have no id of their
// own: those on the bar get 70001 + their position, deeper ones 71000 + a running count.
void WalkMenu(HMENU menu, bool topLevel, MenuWalk walk) {
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        char text[kValueBytes] = {};
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = sizeof text - 1;
        if (!GetMenuItemInfoA(menu, position, TRUE, &item)) continue;

        if (text[0] != '\0' && (item.fType & MFT_SEPARATOR) == 0) {
            const int id = item.hSubMenu == nullptr ? static_cast<int>(item.wID)
                           : topLevel              ? kTopLevelPopupBase + position
                                                   : kNestedPopupBase + ++state.PopupCounter;
            char* shortcut = std::strchr(text, '\t');
            if (walk == MenuWalk::WriteTemplate) {
                if (shortcut != nullptr) *shortcut = '\0';
                WriteIfAbsent(state.Section, id, text);
            } else {
                char translated[kValueBytes * 2];
                if (ReadValue(state.Section, id, translated, kValueBytes)) {
                    if (shortcut != nullptr) text::Append(translated, shortcut);
                    MENUITEMINFOA change = {};
                    change.cbSize = sizeof change;
                    change.fMask = MIIM_STRING;
                    change.dwTypeData = translated;
                    SetMenuItemInfoA(menu, position, TRUE, &change);
                }
            }
        }
        if (item.hSubMenu != nullptr) WalkMenu(item.hSubMenu, false, walk);
    }
}

BOOL CALLBACK TranslateControl(HWND child, LPARAM) {
    char value[kValueBytes];
    if (ReadValue(state.Section, GetDlgCtrlID(child), value, sizeof value)) SetWindowTextA(child, value);
    return TRUE;
}

BOOL CALLBACK WriteControl(HWND child, LPARAM) {
    const int id = GetDlgCtrlID(child);
    char className[64] = {};
    GetClassNameA(child, className, sizeof className);
    char value[kValueBytes] = {};
    GetWindowTextA(child, value, sizeof value);
    // A date picker's text is a date, not a label.
    if (id > 0 && value[0] != '\0' && !text::EqualNoCase(className, "sysdatetimepick32"))
        WriteIfAbsent(state.Section, id, value);
    return TRUE;
}

INT_PTR CALLBACK HandlesNothing(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

BOOL CALLBACK CollectId(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<int>*>(ids)->push_back(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

std::vector<int> ResourceIds(LPCSTR type) {
    std::vector<int> ids;
    EnumResourceNamesA(Module(), type, CollectId, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

}  // namespace

void Load() {
    // Texts handed out so far stay where they are; lookups start afresh.
    cache.Reset();
    state = LanguageState{};
    char path[module::kPathCapacity];
    module::OwnSiblingPath(kLanguageSuffix, path, sizeof path);
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return;
    text::Copy(state.Path, path);
    state.RightToLeft = GetPrivateProfileIntA(kGeneralSection, "rtl", 0, state.Path) == 1;
    ReadValue(kGeneralSection, "charset", state.Charset, sizeof state.Charset);
    ReadValue(kGeneralSection, "TranslatorName", state.TranslatorName, sizeof state.TranslatorName);
    ReadValue(kGeneralSection, "TranslatorURL", state.TranslatorUrl, sizeof state.TranslatorUrl);
}

const char* FilePath() { return state.Path; }

namespace {

// Kept out of line so that the cached path of String needs no large stack frame.
__attribute__((noinline)) const char* LoadUncached(unsigned id) {
    char scratch[kValueBytes];
    if ((id & kUntranslated) != 0 || !ReadValue(kStringsSection, static_cast<int>(id), scratch, sizeof scratch))
        LoadBuiltIn(id, scratch);
    if (scratch[0] == '\0') return "";
    const char* kept = cache.Add(id, scratch);
    return kept != nullptr ? kept : "";
}

}  // namespace

const char* String(unsigned id) {
    if (const char* cached = cache.Find(id)) return cached;
    return LoadUncached(id);
}

bool IsOneNumberFormat(const char* format) {
    int numbers = 0;
    // A trail byte of a double-byte character is never "%" (0x25) in the code pages the
    // program meets, so walking bytes finds every conversion.
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        if (*p != 'd') return false;
        ++numbers;
    }
    return numbers == 1;
}

const char* NumberFormat(unsigned id) {
    const char* translated = String(id);
    return IsOneNumberFormat(translated) ? translated : String(id | kUntranslated);
}

HMENU LoadMenu(int menuId) {
    HMENU menu = LoadMenuA(Module(), MAKEINTRESOURCEA(menuId));
    if (menu == nullptr || state.Path[0] == '\0') return menu;
    state.PopupCounter = 0;
    SetSection("menu_%d", menuId);
    WalkMenu(menu, true, MenuWalk::Translate);
    return menu;
}

void SetCurrentDialog(int dialogId) { state.CurrentDialog = dialogId; }

void TranslateDialog(HWND dialog) {
    if (state.Path[0] == '\0') return;
    SetSection("dialog_%d", state.CurrentDialog);
    char caption[kValueBytes];
    if (ReadValue(state.Section, "caption", caption, sizeof caption)) SetWindowTextA(dialog, caption);
    EnumChildWindows(dialog, TranslateControl, 0);
}

void ApplyRightToLeft(HWND window, int mode) {
    if (!state.RightToLeft || window == nullptr) return;
    RECT client = {};
    GetClientRect(window, &client);
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (mode & kChildrenRightToLeft)
            SetWindowLongA(child, GWL_EXSTYLE, GetWindowLongA(child, GWL_EXSTYLE) | WS_EX_LAYOUTRTL);
        if (mode & kMirrorChildren) {
            RECT bounds = {};
            GetWindowRect(child, &bounds);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&bounds), 2);
            const int left = client.right - bounds.right - client.left;
            SetWindowPos(child, nullptr, left, bounds.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_LAYOUTRTL);
}

void WriteTemplate(const int* skippedDialogs, int skippedCount) {
    module::OwnSiblingPath(kLanguageSuffix, state.Path, sizeof state.Path);
    WriteIfAbsent(kGeneralSection, "TranslatorName", "");
    WriteIfAbsent(kGeneralSection, "TranslatorURL", "");

    for (int id : ResourceIds(RT_MENU)) {
        win::UniqueMenu menu(LoadMenuA(Module(), MAKEINTRESOURCEA(id)));
        if (!menu) continue;
        SetSection("menu_%d", id);
        state.PopupCounter = 0;
        WalkMenu(menu.get(), true, MenuWalk::WriteTemplate);
    }

    for (int id : ResourceIds(RT_DIALOG)) {
        if (std::find(skippedDialogs, skippedDialogs + skippedCount, id) != skippedDialogs + skippedCount) continue;
        HWND dialog = CreateDialogParamA(Module(), MAKEINTRESOURCEA(id), nullptr, HandlesNothing, 0);
        if (dialog == nullptr) continue;
        SetSection("dialog_%d", id);
        char caption[kValueBytes] = {};
        GetWindowTextA(dialog, caption, sizeof caption);
        if (caption[0] != '\0') WriteIfAbsent(state.Section, "caption", caption);
        EnumChildWindows(dialog, WriteControl, 0);
        DestroyWindow(dialog);
    }

    for (int id = 0; id <= kLastStringId; ++id) {
        char text[kValueBytes];
        if (LoadStringA(Module(), static_cast<UINT>(id), text, sizeof text) > 0)
            WriteIfAbsent(kStringsSection, id, text);
    }
    // Flush Wine's and Windows' cached copy of the file.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, state.Path);
    state.Path[0] = '\0';
}

bool RightToLeft() { return state.RightToLeft; }
const char* Charset() { return state.Charset; }
const char* TranslatorName() { return state.TranslatorName; }
const char* TranslatorUrl() { return state.TranslatorUrl; }

}  // namespace lang
