// The load operation of the menu item list: every static verb with a command line found
// under a file type's Shell key below a classes root becomes one row.
#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>
#include <vector>

class ItemRecord;
class MenuItemList;

class RegistryScan {
public:
    RegistryScan(MenuItemList& list, HKEY root) : list_(list), root_(root) {}

    // First the keys directly under the root, then the subkeys of SystemFileAssociations.
    void Run();

    // Adds the rows of one file type reached through keyName.
    void ScanFileType(HKEY typeKey, const char* keyName, const char* fileType, bool fromSystemAssociations);

private:
    void ScanRootKeys();
    void ScanSystemAssociations();
    // Appends keyName to the rows already listed for fileType; false when there are none.
    bool MergeIntoListedType(const char* keyName, const char* fileType);
    bool IsHiddenStandardVerb(const char* verb) const;
    void TakeVersionStrings(ItemRecord& record);
    void Append(const ItemRecord& record);
    void IndexRow(int row);

    MenuItemList& list_;
    HKEY root_;
    // The rows of each file type, and the first row of each program, by folded name:
    // the same rows, in the same order, as a walk over the list would find.
    std::unordered_map<std::string, std::vector<int>> rowsByType_;
    std::unordered_map<std::string, int> firstRowByProgram_;
};

// The Windows major version, asked of the system once.
DWORD WindowsMajorVersion();
