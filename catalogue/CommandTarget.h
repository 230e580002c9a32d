// From a verb's command line to the program it runs, and that program's version strings.
#pragma once

class ItemRecord;

// The version strings the item record keeps, as read from a program's version record.
struct VersionStrings {
    char ProductName[256] = {};
    char FileDescription[256] = {};
    char FileVersion[256] = {};
    char CompanyName[256] = {};
};

// Works out ProgramPath from CommandLine: text rules only, apart from a search of the
// Windows and system directories for a bare program name.
void ResolveTarget(ItemRecord& record);

// Reads the version record of a file; false when it has none. A record that cannot be
// read after its size was known counts as one without strings.
bool ReadVersionRecord(const char* path, VersionStrings& strings);

// Fills the record's four version strings from ProgramPath's file, when it exists and has
// a version record; otherwise they stay as they were.
void ReadVersionStrings(ItemRecord& record);

// Copies the four version strings of one record into another.
void CopyVersionStrings(const ItemRecord& from, ItemRecord& to);
