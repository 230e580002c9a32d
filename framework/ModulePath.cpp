#include "framework/ModulePath.h"

#include <windows.h>

#include <cstring>

#include "framework/Text.h"

namespace module {

void SiblingPath(const char* modulePath, const char* suffix, char* out, std::size_t capacity) {
    char path[kPathCapacity];
    text::Copy(path, modulePath);
    if (char* dot = std::strrchr(path, '.')) *dot = '\0';
    if (std::strlen(path) + std::strlen(suffix) < kPathCapacity - 1) text::Append(path, suffix);
    text::Copy(out, capacity, path);
}

void OwnSiblingPath(const char* suffix, char* out, std::size_t capacity) {
    char own[kPathCapacity] = {};
    DWORD length = GetModuleFileNameA(nullptr, own, kPathCapacity - 1);
    if (length == 0 || length >= kPathCapacity - 1) own[0] = '\0';
    SiblingPath(own, suffix, out, capacity);
}

}  // namespace module
