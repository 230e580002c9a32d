// The settings store over the configuration file: each call either reads a value into
// memory (load) or writes it to the file (save), so one routine serves both directions.
#pragma once

#include <cstddef>
#include <cstdint>

#include "report/SettingsExchange.h"

class ConfigStore : public SettingsExchange {
public:
    enum Mode { kLoad = 0, kSave = 1 };

    ConfigStore(int mode, const char* path, const char* section);
    virtual ~ConfigStore() = default;

    virtual int LongValue(const char* key, long* value, long defaultValue);
    virtual int BoolValue(const char* key, int* value, int defaultValue);
    int IntValue(const char* key, int* value, int defaultValue) override;
    int BinaryValue(const char* key, void* data, int size) override;
    virtual int StringValue(const char* key, char* buffer, const char* defaultValue, int bufferSize);
    virtual int UShortValue(const char* key, std::uint16_t* value, int defaultValue);
    virtual int ShortValue(const char* key, std::int16_t* value, int defaultValue);
    virtual int DeleteValue(const char* key);

    bool Saving() const override { return mode_ == kSave; }

private:
    int mode_;
    char path_[261];
    char section_[64];
};

// The text of binary values: two upper-case hexadecimal digits a byte, separated by
// blanks; at most 8192 characters (2731 bytes).
constexpr std::size_t kMaxValueText = 8192;
void EncodeBinary(const void* data, std::size_t size, char* text, std::size_t capacity);
// Decodes into at most capacity bytes and returns how many were decoded. Blanks are
// skipped; any other character starts a pair with the one after it.
std::size_t DecodeBinary(const char* text, void* data, std::size_t capacity);

// The configuration file beside the program: its path with ".cfg" for the extension.
void ConfigFilePath(char* path, std::size_t capacity);
