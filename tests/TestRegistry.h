// Registry fixtures for tests: keys written below a base key and removed again.
#pragma once

#include <windows.h>

#include <set>
#include <string>

#include "framework/Handles.h"

// Writes keys and values below a base key and deletes, at destruction, every top-level
// key it created there. With no base given it makes a private, uniquely named root
// below HKEY_CURRENT_USER and removes that root as a whole.
class ScratchKeys {
public:
    ScratchKeys();                 // a private root
    explicit ScratchKeys(HKEY base);  // keys directly below base (for HKEY_CLASSES_ROOT)
    ~ScratchKeys();
    ScratchKeys(const ScratchKeys&) = delete;
    ScratchKeys& operator=(const ScratchKeys&) = delete;

    HKEY Root() const { return root_; }
    // The private root's path below HKEY_CURRENT_USER.
    const std::string& RootPath() const { return rootPath_; }

    void CreateKey(const std::string& path);
    void SetString(const std::string& path, const char* name, const std::string& data,
                   DWORD type = REG_SZ);
    void SetBytes(const std::string& path, const char* name, DWORD type, const void* data, DWORD size);
    void SetDword(const std::string& path, const char* name, DWORD value);
    void DeleteValue(const std::string& path, const char* name);
    void DeleteTree(const std::string& path);
    bool HasValue(const std::string& path, const char* name) const;
    // Leaves a top-level key in place at destruction (a shared key such as
    // SystemFileAssociations, whose own subkeys the test removes itself).
    void Forget(const std::string& topLevel) { topLevel_.erase(topLevel); }
    // Keys the registry refuses (names too long, say) are passed over without a failure.
    void AcceptRefusals() { acceptRefusals_ = true; }

private:
    win::UniqueKey Create(const std::string& path);

    HKEY root_ = nullptr;
    win::UniqueKey ownedRoot_;
    bool ownsRoot_ = false;  // ownedRoot_ holds it
    bool acceptRefusals_ = false;
    std::string rootPath_;
    std::set<std::string> topLevel_;
};

// A name no other test run uses: prefix, process id and a counter.
std::string UniqueName(const char* prefix);
