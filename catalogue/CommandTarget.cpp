#include "catalogue/CommandTarget.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "catalogue/MenuItem.h"
#include "framework/Text.h"

namespace {

constexpr std::size_t kPathLimit = 260;
const char kDefaultStringTable[] = "040904E4";
const char kExecutableExtension[] = ".exe";

struct SystemFolders {
    char Windows[MAX_PATH] = {};
    char System[MAX_PATH] = {};
};

// Asked of the system the first time a bare name has to be searched.
const SystemFolders& Folders() {
    static const SystemFolders folders = [] {
        SystemFolders f;
        if (GetWindowsDirectoryA(f.Windows, sizeof f.Windows) >= sizeof f.Windows) f.Windows[0] = '\0';
        if (GetSystemDirectoryA(f.System, sizeof f.System) >= sizeof f.System) f.System[0] = '\0';
        return f;
    }();
    return folders;
}

bool FileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

long LastIndex(const char* s, char c) {
    const char* found = std::strrchr(s, c);
    return found != nullptr ? static_cast<long>(found - s) : -1;
}

// folder\name into path when it stays below the path limit and names an existing file.
bool FoundIn(const char* folder, const char* name, char* path) {
    std::size_t folderLength = std::strlen(folder);
    if (folderLength == 0 || folderLength + std::strlen(name) + 1 >= kPathLimit) return false;
    char candidate[kPathLimit + 1];
    text::Copy(candidate, folder);
    if (candidate[folderLength - 1] != '\\') text::Append(candidate, "\\");
    text::Append(candidate, name);
    if (!FileExists(candidate)) return false;
    text::Copy(path, kPathLimit + 1, candidate);
    return true;
}

void TrimBlanks(char* s) {
    std::size_t start = 0;
    while (s[start] == ' ') ++start;
    std::size_t end = std::strlen(s);
    while (end > start && s[end - 1] == ' ') --end;
    std::memmove(s, s + start, end - start);
    s[end - start] = '\0';
}

}  // namespace

void ResolveTarget(ItemRecord& record) {
    const char* command = record.CommandLine;
    char* path = record.ProgramPath;
    const std::size_t capacity = sizeof record.ProgramPath;
    path[0] = '\0';

    if (command[0] == '"') {
        const char* closing = std::strchr(command + 1, '"');
        if (closing != nullptr) text::CopyN(path, capacity, command + 1, closing - command - 1);
        return;
    }

    std::size_t end = std::strlen(command);
    if (const char* dot = std::strchr(command, '.')) {
        if (const char* space = std::strchr(dot, ' ')) end = space - command;
    } else if (const char* space = std::strchr(command, ' ')) {
        if (space != command) end = space - command;
    }
    text::CopyN(path, capacity, command, end);

    const long dot = LastIndex(path, '.');
    const long backslash = LastIndex(path, '\\');
    const long percent = LastIndex(path, '%');
    if (percent != 0 && (dot == -1 || dot < backslash) &&
        std::strlen(path) + std::strlen(kExecutableExtension) < kPathLimit)
        text::Append(path, capacity, kExecutableExtension);

    if (backslash != -1) return;
    const SystemFolders& folders = Folders();
    if (!FoundIn(folders.Windows, path, path)) FoundIn(folders.System, path, path);
}

bool ReadVersionRecord(const char* path, VersionStrings& strings) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return false;
    strings = VersionStrings{};
    std::vector<char> record(size);
    if (!GetFileVersionInfoA(path, 0, size, record.data())) return true;

    char table[16];
    text::Copy(table, kDefaultStringTable);
    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueA(record.data(), "\\VarFileInfo\\Translation", &value, &length) && value != nullptr &&
        length >= 2 * sizeof(WORD)) {
        const WORD* translation = static_cast<const WORD*>(value);
        char named[16];
        std::snprintf(named, sizeof named, "%4.4X%4.4X", translation[0], translation[1]);
        char block[64];
        std::snprintf(block, sizeof block, "\\StringFileInfo\\%s\\", named);
        if (VerQueryValueA(record.data(), block, &value, &length)) text::Copy(table, named);
    }

    const struct {
        const char* Name;
        char* Target;
    } fields[] = {
        {"ProductName", strings.ProductName},
        {"FileDescription", strings.FileDescription},
        {"FileVersion", strings.FileVersion},
        {"CompanyName", strings.CompanyName},
    };
    for (const auto& field : fields) {
        char query[96];
        std::snprintf(query, sizeof query, "\\StringFileInfo\\%s\\%s", table, field.Name);
        value = nullptr;
        length = 0;
        if (VerQueryValueA(record.data(), query, &value, &length) && value != nullptr) {
            text::Copy(field.Target, sizeof strings.ProductName, static_cast<const char*>(value));
            TrimBlanks(field.Target);
        }
    }
    return true;
}

void ReadVersionStrings(ItemRecord& record) {
    if (record.ProgramPath[0] == '\0' || !FileExists(record.ProgramPath)) return;
    VersionStrings strings;
    if (!ReadVersionRecord(record.ProgramPath, strings)) return;
    text::Copy(record.ProductName, strings.ProductName);
    text::Copy(record.CompanyName, strings.CompanyName);
    text::Copy(record.FileVersion, strings.FileVersion);
    text::Copy(record.FileDescription, strings.FileDescription);
}

void CopyVersionStrings(const ItemRecord& from, ItemRecord& to) {
    text::Copy(to.FileDescription, from.FileDescription);
    text::Copy(to.FileVersion, from.FileVersion);
    text::Copy(to.ProductName, from.ProductName);
    text::Copy(to.CompanyName, from.CompanyName);
}
