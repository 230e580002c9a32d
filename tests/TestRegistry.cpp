#include "TestRegistry.h"

#include <gtest/gtest.h>

namespace {
const char kTestsBase[] = "Software\\MorvaneTests";
}

std::string UniqueName(const char* prefix) {
    static int counter = 0;
    return std::string(prefix) + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
}

ScratchKeys::ScratchKeys() : ownsRoot_(true) {
    rootPath_ = std::string(kTestsBase) + "\\" + UniqueName("Root");
    // A run that crashed may have left a root of the same name (process ids repeat).
    RegDeleteTreeA(HKEY_CURRENT_USER, rootPath_.c_str());
    LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, rootPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, ownedRoot_.put(), nullptr);
    root_ = ownedRoot_.get();
    EXPECT_EQ(ERROR_SUCCESS, status) << "cannot create " << rootPath_;
}

ScratchKeys::ScratchKeys(HKEY base) : root_(base) {}

ScratchKeys::~ScratchKeys() {
    if (ownsRoot_) {
        ownedRoot_.reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, rootPath_.c_str());
        return;
    }
    for (const std::string& name : topLevel_) RegDeleteTreeA(root_, name.c_str());
}

win::UniqueKey ScratchKeys::Create(const std::string& path) {
    topLevel_.insert(path.substr(0, path.find('\\')));
    win::UniqueKey key;
    LONG status = RegCreateKeyExA(root_, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    if (!acceptRefusals_) {
        EXPECT_EQ(ERROR_SUCCESS, status) << "cannot create " << path;
    }
    return key;
}

void ScratchKeys::CreateKey(const std::string& path) { Create(path); }

void ScratchKeys::SetBytes(const std::string& path, const char* name, DWORD type, const void* data, DWORD size) {
    win::UniqueKey key = Create(path);
    if (!key) return;
    LONG status = RegSetValueExA(key.get(), name, 0, type, static_cast<const BYTE*>(data), size);
    if (!acceptRefusals_) {
        EXPECT_EQ(ERROR_SUCCESS, status);
    }
}

void ScratchKeys::SetString(const std::string& path, const char* name, const std::string& data, DWORD type) {
    SetBytes(path, name, type, data.c_str(), static_cast<DWORD>(data.size() + 1));
}

void ScratchKeys::SetDword(const std::string& path, const char* name, DWORD value) {
    SetBytes(path, name, REG_DWORD, &value, sizeof value);
}

void ScratchKeys::DeleteValue(const std::string& path, const char* name) {
    win::UniqueKey key;
    if (RegOpenKeyExA(root_, path.c_str(), 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) return;
    RegDeleteValueA(key.get(), name);
}

void ScratchKeys::DeleteTree(const std::string& path) { RegDeleteTreeA(root_, path.c_str()); }

bool ScratchKeys::HasValue(const std::string& path, const char* name) const {
    win::UniqueKey key;
    if (RegOpenKeyExA(root_, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
    return RegQueryValueExA(key.get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}
