#include "app/ConfigStore.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "framework/ModulePath.h"
#include "framework/Text.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

void EncodeBinary(const void* data, std::size_t size, char* text, std::size_t capacity) {
    static const char kDigits[] = "0123456789ABCDEF";
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    std::size_t used = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const std::size_t needed = (i > 0 ? 1 : 0) + 2;
        if (used + needed >= capacity || used + needed > kMaxValueText) break;
        if (i > 0) text[used++] = ' ';
        text[used++] = kDigits[bytes[i] >> 4];
        text[used++] = kDigits[bytes[i] & 0x0F];
    }
    if (capacity > 0) text[used] = '\0';
}

std::size_t DecodeBinary(const char* text, void* data, std::size_t capacity) {
    unsigned char* bytes = static_cast<unsigned char*>(data);
    std::size_t decoded = 0;
    for (const char* p = text; *p != '\0' && decoded < capacity;) {
        if (*p == ' ') {
            ++p;
            continue;
        }
        // The pair converts as a hexadecimal number up to its first non-digit.
        int value = 0;
        int high = HexDigit(p[0]);
        if (high >= 0) {
            value = high;
            int low = p[1] != '\0' ? HexDigit(p[1]) : -1;
            if (low >= 0) value = value * 16 + low;
        }
        bytes[decoded++] = static_cast<unsigned char>(value);
        p += p[1] != '\0' ? 2 : 1;
    }
    return decoded;
}

void ConfigFilePath(char* path, std::size_t capacity) { module::OwnSiblingPath(".cfg", path, capacity); }

ConfigStore::ConfigStore(int mode, const char* path, const char* section) : mode_(mode) {
    text::Copy(path_, path);
    text::Copy(section_, section);
}

int ConfigStore::LongValue(const char* key, long* value, long defaultValue) {
    int number = static_cast<int>(*value);
    IntValue(key, &number, static_cast<int>(defaultValue));
    *value = number;
    return 1;
}

int ConfigStore::BoolValue(const char* key, int* value, int defaultValue) {
    return IntValue(key, value, defaultValue);
}

int ConfigStore::IntValue(const char* key, int* value, int defaultValue) {
    if (mode_ == kLoad) {
        *value = static_cast<int>(GetPrivateProfileIntA(section_, key, defaultValue, path_));
    } else {
        char number[16];
        std::snprintf(number, sizeof number, "%d", *value);
        WritePrivateProfileStringA(section_, key, number, path_);
    }
    return 1;
}

int ConfigStore::BinaryValue(const char* key, void* data, int size) {
    if (size <= 0) return 1;
    std::vector<char> value(kMaxValueText + 1);
    if (mode_ == kLoad) {
        GetPrivateProfileStringA(section_, key, "", value.data(), static_cast<DWORD>(value.size()), path_);
        DecodeBinary(value.data(), data, static_cast<std::size_t>(size));
    } else {
        EncodeBinary(data, static_cast<std::size_t>(size), value.data(), value.size());
        WritePrivateProfileStringA(section_, key, value.data(), path_);
    }
    return 1;
}

int ConfigStore::StringValue(const char* key, char* buffer, const char* defaultValue, int bufferSize) {
    if (mode_ == kLoad)
        GetPrivateProfileStringA(section_, key, defaultValue, buffer, static_cast<DWORD>(bufferSize), path_);
    else
        WritePrivateProfileStringA(section_, key, buffer, path_);
    return 1;
}

int ConfigStore::UShortValue(const char* key, std::uint16_t* value, int defaultValue) {
    int number = *value;
    IntValue(key, &number, defaultValue);
    *value = static_cast<std::uint16_t>(number);
    return 1;
}

int ConfigStore::ShortValue(const char* key, std::int16_t* value, int defaultValue) {
    long number = *value;
    LongValue(key, &number, defaultValue);
    *value = static_cast<std::int16_t>(number);
    return 1;
}

int ConfigStore::DeleteValue(const char* key) {
    WritePrivateProfileStringA(section_, key, nullptr, path_);
    return 1;
}
