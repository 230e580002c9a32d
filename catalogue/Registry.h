// How the catalogue reads the registry: keys opened for reading, values read against a
// byte capacity, subkeys enumerated by index.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/Handles.h"

namespace reg {

constexpr REGSAM kReadAccess = KEY_READ;
constexpr REGSAM kChangeAccess = KEY_READ | KEY_WRITE;
// Key names are read into this many bytes, terminator included.
constexpr DWORD kKeyNameCapacity = 255;

// Opens parent\name into key (closing what key held); the registry status, 0 on success.
LONG OpenKey(HKEY parent, const char* name, win::UniqueKey& key, REGSAM access = kReadAccess);

// Reads a value of any type that fits in capacity bytes as text: true when it exists and
// fits. On failure dest is left empty. type receives the stored type when not null.
bool ReadValue(HKEY key, const char* name, char* dest, DWORD capacity, DWORD* type = nullptr);
// Reads a value of any type whole, however long, into buffer (reused from call to call):
// the text up to its first zero byte, or null when the value is missing or holds more
// than most bytes. type receives the stored type on success when not null.
const char* ReadLongValue(HKEY key, const char* name, std::vector<char>& buffer, DWORD most, DWORD* type = nullptr);
// True when the key holds a value of that name, whatever its type and however much data
// it carries (the shell looks at nothing more for its marker values).
bool HasValue(HKEY key, const char* name);

// Enumerates subkey names from index 0 on. A name that does not fit the capacity is passed
// over, so one over-long name cannot hide the keys after it; any other failure ends it.
class SubkeyNames {
public:
    explicit SubkeyNames(HKEY key) : key_(key) {}
    // The next name, or null at the end.
    const char* Next();

private:
    HKEY key_;
    DWORD index_ = 0;
    char name_[kKeyNameCapacity] = {};
};

}  // namespace reg
