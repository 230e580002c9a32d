// How the report list keeps its column layout and sort between runs: one call per value
// either loads it or saves it, so one routine serves both directions. The program's
// settings store implements it over the configuration file.
#pragma once

class SettingsExchange {
public:
    virtual bool Saving() const = 0;
    virtual int IntValue(const char* key, int* value, int defaultValue) = 0;
    // Loading decodes at most size bytes; bytes not decoded keep their content.
    virtual int BinaryValue(const char* key, void* data, int size) = 0;

protected:
    ~SettingsExchange() = default;
};
