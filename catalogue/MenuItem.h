// One static shell verb found in the classes hive, and the list of them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <unordered_map>

#include "report/ReportList.h"


enum MenuItemColumn {
    kColumnMenuName = 0,
    kColumnExtensions,
    kColumnMenuKey,
    kColumnFileType,
    kColumnTypeDescription,
    kColumnSystemAssociation,
    kColumnDisabled,
    kColumnExtended,
    kColumnModifiedTime,
    kColumnProgramPath,
    kColumnCommandLine,
    kColumnFileDescription,
    kColumnFileVersion,
    kColumnProductName,
    kColumnCompanyName,
    kMenuItemColumnCount
};

class ItemRecord : public RowRecord {
public:
    const char* ColumnText(int column, char* buffer, int capacity) const override;
    const char* StoredText(int column) const override;
    int CompareOnColumn(int column, const RowRecord& other) const override;

    int IsDisabled = 0;
    int IsExtended = 0;
    char MenuKey[128] = {};
    char MenuName[128] = {};
    char FileType[128] = {};
    char Extensions[512] = {};
    char FileDescription[128] = {};
    char FileVersion[128] = {};
    char ProductName[128] = {};
    char CompanyName[128] = {};
    char ProgramPath[261] = {};
    char CommandLine[512] = {};
    char TypeDescription[256] = {};
    int IsSystemAssociation = 0;
    FILETIME ModifiedTime = {};
};

// "N/A" for times in 1985 or earlier or that do not convert; the user's short date and
// time format otherwise. A zero time gives the empty text.
void FormatModifiedTime(const FILETIME& time, char* buffer, int capacity);

// The same texts, kept for the seconds met so far: the text shows whole seconds, and the
// keys an installer writes share a few of them.
class TimeTextCache {
public:
    void Format(const FILETIME& time, char* buffer, int capacity);

private:
    std::unordered_map<ULONGLONG, std::string> formatted_;
    // Rows next to each other mostly share their second: the last one is checked first,
    // and the same time again needs no division (a 64-bit one is a library call here).
    ULONGLONG lastTicks_ = ~0ULL;
    ULONGLONG lastSecond_ = ~0ULL;
    const std::string* lastText_ = nullptr;
};

class MenuItemList : public ReportList {
public:
    // hideStandardItems points at the option (owned by the program's settings), read at
    // every scan; null means the standard verbs are listed.
    explicit MenuItemList(const int* hideStandardItems) : hideStandardItems_(hideStandardItems) {}

    // Binds to the main window's list view (or to none) with the menu item list's settings.
    void Attach(HWND listView);

    // Runs the registry scan below the given root.
    void Scan(HKEY root);
    // The root that LoadRows scans: the classes root unless a test gives another.
    void SetScanRoot(HKEY root) { scanRoot_ = root; }
    void LoadRows() override;

    int RowSize() const override { return sizeof(ItemRecord); }
    int IconForRow(RowRecord& row) override;
    void CellColors(const RowRecord& row, NMLVCUSTOMDRAW& draw) override;
    const char* ProgressFormat() const override;
    bool RowMatchesKey(const void* key, const RowRecord& row) const override;
    bool IsColumnSearched(int column) const override;
    void WriteHtmlFooter(ReportFile& file, int format) override;
    void WriteHtmlHeader(ReportFile& file, int format) override;
    const COLORREF* ColorTable(int format) const override;
    int ColorTableSize(int format) const override;

    ItemRecord* ItemAt(int index) const { return static_cast<ItemRecord*>(RowAt(index)); }
    bool HidesStandardItems() const { return hideStandardItems_ != nullptr && *hideStandardItems_ != 0; }
    const char* RowText(const RowRecord& row, int column, char* buffer, int capacity) override;

protected:
    const ColumnDef* ColumnTable(int* count) const override;

private:
    const int* hideStandardItems_;
    HKEY scanRoot_ = HKEY_CLASSES_ROOT;
    TimeTextCache timeTexts_;
    // A row that carries the icon of each program, by folded path.
    std::unordered_map<std::string, int> iconRowByProgram_;
    int iconGeneration_ = -1;
};
