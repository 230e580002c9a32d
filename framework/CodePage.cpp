#include "framework/CodePage.h"

#include <windows.h>

#include <cstdio>

namespace codepage {

namespace {

UINT AnsiCodePage() {
    static const UINT page = GetACP();
    return page;
}

}  // namespace

std::size_t CharacterLength(const char* p) {
    const unsigned char lead = static_cast<unsigned char>(*p);
    if (lead < 0x80) return 1;
    std::size_t length = 1;
    if (AnsiCodePage() == CP_UTF8) {
        length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    } else if (IsDBCSLeadByte(lead)) {
        length = 2;
    }
    for (std::size_t i = 1; i < length; ++i)
        if (p[i] == '\0') return i;
    return length;
}

std::size_t CutLength(const char* text, std::size_t most) {
    std::size_t length = 0;
    while (text[length] != '\0') {
        const std::size_t step = CharacterLength(text + length);
        if (length + step > most) break;
        length += step;
    }
    return length;
}

bool IsDefined(const char* p, std::size_t n) {
    const unsigned char first = static_cast<unsigned char>(p[0]);
    if (n == 1 && first < 0x80) return true;
    // Characters of one or two bytes are asked of the system once each and remembered.
    static unsigned char known[256 * 256];  // 0 not asked yet, 1 defined, 2 not defined
    unsigned char* answer = nullptr;
    if (n == 1) answer = &known[first];
    if (n == 2) answer = &known[(first << 8) | static_cast<unsigned char>(p[1])];
    if (answer != nullptr && *answer != 0) return *answer == 1;
    // Private-use characters (code page 936's user-defined area among them) count as not
    // defined: other readers of the same code page map them differently or not at all.
    WCHAR wide[4];
    const int converted = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, p, static_cast<int>(n), wide, 4);
    const bool defined = converted > 0 && !(wide[0] >= 0xE000 && wide[0] <= 0xF8FF);
    if (answer != nullptr) *answer = defined ? 1 : 2;
    return defined;
}

const char* EncodingName() {
    static char name[32];
    const UINT page = AnsiCodePage();
    const struct {
        UINT Page;
        const char* Name;
    } known[] = {
        {1252, "ISO-8859-1"}, {936, "GBK"},      {932, "Shift_JIS"}, {949, "EUC-KR"},
        {950, "Big5"},        {65001, "UTF-8"}, {874, "TIS-620"},   {28591, "ISO-8859-1"},
    };
    for (const auto& k : known)
        if (k.Page == page) return k.Name;
    std::snprintf(name, sizeof name, "windows-%u", page);
    return name;
}

}  // namespace codepage
