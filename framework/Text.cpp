#include "framework/Text.h"

#include <cstring>

namespace text {

void CopyN(char* dest, std::size_t capacity, const char* src, std::size_t count) {
    if (dest == nullptr || capacity == 0) return;
    std::size_t n = 0;
    if (src != nullptr) {
        while (n < count && n + 1 < capacity && src[n] != '\0') ++n;
        std::memcpy(dest, src, n);
    }
    dest[n] = '\0';
}

void Copy(char* dest, std::size_t capacity, const char* src) {
    CopyN(dest, capacity, src, static_cast<std::size_t>(-1));
}

void Append(char* dest, std::size_t capacity, const char* src) {
    if (dest == nullptr || capacity == 0) return;
    std::size_t used = strnlen(dest, capacity - 1);
    CopyN(dest + used, capacity - used, src, static_cast<std::size_t>(-1));
}

int CompareNoCase(const char* a, const char* b) {
    auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; };
    for (;; ++a, ++b) {
        int ca = fold(static_cast<unsigned char>(*a));
        int cb = fold(static_cast<unsigned char>(*b));
        if (ca != cb) return ca - cb;
        if (ca == 0) return 0;
    }
}

std::string FoldedKey(const char* s) {
    std::string key(s != nullptr ? s : "");
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key;
}

}  // namespace text
