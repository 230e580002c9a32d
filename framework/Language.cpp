#include "framework/Language.h"

#include <windows.h>

#include <cstring>

namespace lang {
namespace {

constexpr int kCacheEntries = 256;
constexpr int kArenaBytes = 32768;
constexpr int kScratchBytes = 4096;

struct StringCache {
    unsigned keys[kCacheEntries];
    const char* texts[kCacheEntries];
    int count = 0;
    char arena[kArenaBytes];
    int used = 0;

    const char* Find(unsigned key) const {
        for (int i = 0; i < count; ++i)
            if (keys[i] == key) return texts[i];
        return nullptr;
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
        return copy;
    }
};

StringCache cache;

struct LanguageState {
    bool RightToLeft = false;
    char Charset[64] = {};
    char TranslatorName[64] = {};
    char TranslatorUrl[256] = {};
};

LanguageState state;

void LoadBuiltIn(unsigned id, char* buffer) {
    buffer[0] = '\0';
    // One byte short of the buffer, so at most 4094 characters of text.
    if (LoadStringA(GetModuleHandleA(nullptr), id & 0xFFFF, buffer, kScratchBytes - 1) <= 0)
        buffer[0] = '\0';
}

}  // namespace

const char* String(unsigned id) {
    if (const char* cached = cache.Find(id)) return cached;
    char scratch[kScratchBytes];
    LoadBuiltIn(id, scratch);
    if (scratch[0] == '\0') return "";
    const char* kept = cache.Add(id, scratch);
    return kept != nullptr ? kept : "";
}

bool RightToLeft() { return state.RightToLeft; }
const char* Charset() { return state.Charset; }
const char* TranslatorName() { return state.TranslatorName; }
const char* TranslatorUrl() { return state.TranslatorUrl; }

}  // namespace lang
