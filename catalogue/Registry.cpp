#include "catalogue/Registry.h"

namespace reg {

LONG OpenKey(HKEY parent, const char* name, win::UniqueKey& key, REGSAM access) {
    LONG status = RegOpenKeyExA(parent, name, 0, access, key.put());
    if (status != ERROR_SUCCESS) key.release();
    return status;
}

bool ReadValue(HKEY key, const char* name, char* dest, DWORD capacity, DWORD* type) {
    if (capacity == 0) return false;
    dest[0] = '\0';
    DWORD size = capacity;
    DWORD storedType = REG_NONE;
    LONG status = RegQueryValueExA(key, name, nullptr, &storedType, reinterpret_cast<BYTE*>(dest), &size);
    if (type != nullptr) *type = storedType;
    if (status != ERROR_SUCCESS || size > capacity) {
        dest[0] = '\0';
        return false;
    }
    // Text values normally carry their terminator. Data without one (a string written
    // without it, binary data, a number) keeps all its bytes when there is room for a
    // terminator after them; only data that fills the capacity loses its last byte.
    if (size == 0)
        dest[0] = '\0';
    else if (dest[size - 1] != '\0' && size < capacity)
        dest[size] = '\0';
    else
        dest[size - 1] = '\0';
    return true;
}

const char* ReadLongValue(HKEY key, const char* name, std::vector<char>& buffer, DWORD most, DWORD* type) {
    // The buffer keeps its size between calls, so a caller that reuses it reads most values
    // with one call; only a larger value makes it grow, to the size the registry asks for.
    // The value may grow between the two calls, so that is tried a few times.
    constexpr std::size_t kFirstRead = 1024;
    if (buffer.size() < kFirstRead) buffer.resize(kFirstRead);
    for (int attempt = 0; attempt < 4; ++attempt) {
        // One byte is kept back, so that data stored without a terminator still gets one.
        DWORD size = static_cast<DWORD>(buffer.size() - 1);
        DWORD storedType = REG_NONE;
        const LONG status =
            RegQueryValueExA(key, name, nullptr, &storedType, reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (status == ERROR_SUCCESS && size < buffer.size() && size <= most) {
            buffer[size] = '\0';
            if (type != nullptr) *type = storedType;
            return buffer.data();
        }
        if (status != ERROR_MORE_DATA || size > most) break;
        buffer.resize(static_cast<std::size_t>(size) + 2);
    }
    return nullptr;
}

bool HasValue(HKEY key, const char* name) {
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size);
    return status == ERROR_SUCCESS || status == ERROR_MORE_DATA;
}

const char* SubkeyNames::Next() {
    for (;;) {
        DWORD length = kKeyNameCapacity;
        LONG status = RegEnumKeyExA(key_, index_++, name_, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_SUCCESS) return name_;
        if (status != ERROR_MORE_DATA) return nullptr;
    }
}

}  // namespace reg
