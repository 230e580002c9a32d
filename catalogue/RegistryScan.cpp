#include "catalogue/RegistryScan.h"

#include <cstring>
#include <vector>

#include "catalogue/CommandTarget.h"
#include "catalogue/MenuItem.h"
#include "catalogue/Registry.h"
#include "catalogue/VerbChanges.h"
#include "framework/CodePage.h"
#include "framework/Text.h"

namespace {

// Byte capacities of the values the scan reads.
constexpr DWORD kTypeDescriptionCapacity = 255;
constexpr DWORD kFileTypeNameCapacity = 255;
constexpr DWORD kMenuNameCapacity = 127;
// A command line is read whole, so that the program path and the cut text come from the
// same command; a value larger than any command line is treated as unreadable.
constexpr DWORD kMostCommandBytes = 64 * 1024;
constexpr std::size_t kExtensionsLimit = 511;

const char kShellKey[] = "Shell";
const char kCommandKey[] = "Command";
const char kSystemAssociationsKey[] = "SystemFileAssociations";
const char* const kStandardVerbs[] = {"open", "new", "print", "printto"};

// Dotted programmatic identifiers are left to the extensions that name them.
bool IsScannedRootName(const char* name) {
    return name[0] == '.' || name[0] == '*' || std::strchr(name, '.') == nullptr;
}

// The whole command text, expanded when stored as an expandable string; null when the
// value is missing or unreadable. The two buffers are reused from verb to verb.
const char* ReadCommandText(HKEY command, std::vector<char>& stored, std::vector<char>& expanded) {
    DWORD type = REG_NONE;
    const char* text = reg::ReadLongValue(command, "", stored, kMostCommandBytes, &type);
    if (text == nullptr || text[0] == '\0' || type != REG_EXPAND_SZ) return text;
    const DWORD needed = ExpandEnvironmentStringsA(text, nullptr, 0);
    if (needed == 0) return text;
    if (expanded.size() < needed + 1) expanded.resize(needed + 1);
    const DWORD length = ExpandEnvironmentStringsA(text, expanded.data(), needed + 1);
    return length == 0 || length > needed + 1 ? text : expanded.data();
}

}  // namespace

DWORD WindowsMajorVersion() {
    static const DWORD major = [] {
        OSVERSIONINFOA info = {};
        info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        return GetVersionExA(&info) ? info.dwMajorVersion : 0UL;
#pragma GCC diagnostic pop
    }();
    return major;
}

void RegistryScan::Run() {
    rowsByType_.clear();
    firstRowByProgram_.clear();
    for (int i = 0; i < list_.RowCount(); ++i) IndexRow(i);
    ScanRootKeys();
    if (WindowsMajorVersion() >= 6) ScanSystemAssociations();
}

void RegistryScan::ScanRootKeys() {
    reg::SubkeyNames names(root_);
    while (const char* name = names.Next()) {
        if (!IsScannedRootName(name)) continue;
        win::UniqueKey key;
        if (reg::OpenKey(root_, name, key) != ERROR_SUCCESS) continue;

        char fileType[kFileTypeNameCapacity] = {};
        text::Copy(fileType, name);
        if (name[0] == '.') {
            char target[kFileTypeNameCapacity];
            if (reg::ReadValue(key.get(), "", target, sizeof target) && target[0] != '\0') {
                win::UniqueKey typeKey;
                if (reg::OpenKey(root_, target, typeKey) == ERROR_SUCCESS) {
                    key = std::move(typeKey);
                    text::Copy(fileType, target);
                }
            }
        }
        ScanFileType(key.get(), name, fileType, false);
    }
}

void RegistryScan::ScanSystemAssociations() {
    win::UniqueKey associations;
    if (reg::OpenKey(root_, kSystemAssociationsKey, associations) != ERROR_SUCCESS) return;
    reg::SubkeyNames names(associations.get());
    while (const char* name = names.Next()) {
        win::UniqueKey key;
        if (reg::OpenKey(associations.get(), name, key) != ERROR_SUCCESS) continue;
        ScanFileType(key.get(), name, name, true);
    }
}

void RegistryScan::IndexRow(int row) {
    const ItemRecord& item = *list_.ItemAt(row);
    rowsByType_[text::FoldedKey(item.FileType)].push_back(row);
    if (item.ProgramPath[0] != '\0') firstRowByProgram_.emplace(text::FoldedKey(item.ProgramPath), row);
}

void RegistryScan::Append(const ItemRecord& record) {
    if (list_.AppendRow(record) != nullptr) IndexRow(list_.RowCount() - 1);
}

bool RegistryScan::MergeIntoListedType(const char* keyName, const char* fileType) {
    auto listed = rowsByType_.find(text::FoldedKey(fileType));
    if (listed == rowsByType_.end()) return false;
    if (keyName[0] != '.') return true;
    const std::size_t nameLength = std::strlen(keyName);
    for (int i : listed->second) {
        ItemRecord& row = *list_.ItemAt(i);
        std::size_t used = std::strlen(row.Extensions);
        // The separator goes in only together with the name it separates.
        std::size_t piece = nameLength + (used > 0 ? 1 : 0);
        if (used + piece >= kExtensionsLimit) continue;
        if (used > 0) text::Append(row.Extensions, ",");
        text::Append(row.Extensions, keyName);
    }
    return true;
}

// Version records are read once per program: a later row running the same program copies
// the strings of the first row that has them.
void RegistryScan::TakeVersionStrings(ItemRecord& record) {
    auto first = firstRowByProgram_.find(text::FoldedKey(record.ProgramPath));
    if (first != firstRowByProgram_.end())
        CopyVersionStrings(*list_.ItemAt(first->second), record);
    else
        ReadVersionStrings(record);
}

bool RegistryScan::IsHiddenStandardVerb(const char* verb) const {
    if (!list_.HidesStandardItems()) return false;
    for (const char* standard : kStandardVerbs)
        if (text::EqualNoCase(verb, standard)) return true;
    return false;
}

void RegistryScan::ScanFileType(HKEY typeKey, const char* keyName, const char* fileType,
                                bool fromSystemAssociations) {
    // A type already listed through an earlier key only gains this key as an extension;
    // its description is read only when its verbs are listed.
    if (!fromSystemAssociations && fileType[0] != '.' && MergeIntoListedType(keyName, fileType)) return;
    char typeDescription[kTypeDescriptionCapacity] = {};
    if (!fromSystemAssociations) reg::ReadValue(typeKey, "", typeDescription, sizeof typeDescription);

    win::UniqueKey shell;
    if (reg::OpenKey(typeKey, kShellKey, shell) != ERROR_SUCCESS) return;

    std::vector<char> storedCommand, expandedCommand;
    reg::SubkeyNames verbs(shell.get());
    while (const char* verb = verbs.Next()) {
        if (IsHiddenStandardVerb(verb)) continue;

        ItemRecord record;
        text::Copy(record.Extensions, keyName);
        text::Copy(record.FileType, fileType);
        text::Copy(record.MenuKey, verb);

        win::UniqueKey verbKey;
        if (reg::OpenKey(shell.get(), verb, verbKey) != ERROR_SUCCESS) continue;
        reg::ReadValue(verbKey.get(), "", record.MenuName, kMenuNameCapacity);
        if (record.MenuName[0] == '\0') text::Copy(record.MenuName, verb);
        record.IsDisabled = reg::HasValue(verbKey.get(), kDisabledValueName) ? 1 : 0;
        record.IsExtended = reg::HasValue(verbKey.get(), kExtendedValueName) ? 1 : 0;

        win::UniqueKey command;
        if (reg::OpenKey(verbKey.get(), kCommandKey, command) != ERROR_SUCCESS) continue;
        const char* commandText = ReadCommandText(command.get(), storedCommand, expandedCommand);
        if (text::IsEmpty(commandText)) continue;
        text::CopyN(record.CommandLine, sizeof record.CommandLine, commandText,
                    codepage::CutLength(commandText, sizeof record.CommandLine - 1));

        if (RegQueryInfoKeyA(command.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, &record.ModifiedTime) != ERROR_SUCCESS)
            record.ModifiedTime = FILETIME{};

        ResolveTarget(record);
        if (record.ProgramPath[0] != '\0') TakeVersionStrings(record);

        text::Copy(record.TypeDescription, typeDescription);
        record.IsSystemAssociation = fromSystemAssociations ? 1 : 0;
        Append(record);
    }
}
