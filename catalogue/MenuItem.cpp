#include "catalogue/MenuItem.h"

#include <commctrl.h>

#include <shellapi.h>

#include "catalogue/RegistryScan.h"
#include "framework/Handles.h"
#include "framework/Language.h"
#include "framework/Text.h"
#include "resources/resource.h"

namespace {

constexpr int kColumnMask = LVCF_TEXT | LVCF_WIDTH;
constexpr int kDescendingImage = 1;
constexpr int kGrowthStep = 64;

// Column number, list-view mask, format, default width, caption, HTML width, no-wrap,
// tabular width, name.
const ColumnDef kColumns[kMenuItemColumnCount] = {
    {kColumnMenuName, kColumnMask, 0, 150, IDS_COL_MENU_NAME, "", 1, 50, nullptr},
    {kColumnExtensions, kColumnMask, 0, 80, IDS_COL_EXTENSIONS, "", 1, 20, nullptr},
    {kColumnMenuKey, kColumnMask, 0, 80, IDS_COL_MENU_KEY, "", 1, 20, nullptr},
    {kColumnFileType, kColumnMask, 0, 80, IDS_COL_FILE_TYPE, "", 1, 20, nullptr},
    {kColumnTypeDescription, kColumnMask, 0, 150, IDS_COL_TYPE_DESC, "", 1, 20, nullptr},
    {kColumnSystemAssociation, kColumnMask, 0, 80, IDS_COL_SYSTEM_ASSOC, "", 1, 20, nullptr},
    {kColumnDisabled, kColumnMask, 0, 60, IDS_COL_DISABLED, "", 1, 100, nullptr},
    {kColumnExtended, kColumnMask, 0, 60, IDS_COL_EXTENDED, "", 1, 100, nullptr},
    {kColumnModifiedTime, kColumnMask, 0, 120, IDS_COL_MODIFIED, "", 1, 20, nullptr},
    {kColumnProgramPath, kColumnMask, 0, 250, IDS_COL_FILE_NAME, "", 1, 100, nullptr},
    {kColumnCommandLine, kColumnMask, 0, 250, IDS_COL_COMMAND, "", 1, 100, nullptr},
    {kColumnFileDescription, kColumnMask, 0, 150, IDS_COL_DESCRIPTION, "", 1, 50, nullptr},
    {kColumnFileVersion, kColumnMask, 0, 150, IDS_COL_VERSION, "", 1, 50, nullptr},
    {kColumnProductName, kColumnMask, 0, 150, IDS_COL_PRODUCT, "", 1, 50, nullptr},
    {kColumnCompanyName, kColumnMask, 0, 150, IDS_COL_COMPANY, "", 1, 50, nullptr},
};

const COLORREF kDisabledBackground = RGB(224, 224, 224);
const COLORREF kCellColors[] = {RGB(255, 255, 240), RGB(255, 240, 240), RGB(240, 240, 255)};

const char* YesNo(int flag) { return lang::String(flag != 0 ? IDS_YES : IDS_NO); }

bool IsZero(const FILETIME& time) { return time.dwLowDateTime == 0 && time.dwHighDateTime == 0; }

ULONGLONG AsNumber(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The time in the user's short date and time formats, or N/A.
void FormatTimeOnce(const FILETIME& time, char* buffer, int capacity) {
    buffer[0] = '\0';
    FILETIME local;
    SYSTEMTIME fields;
    if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &fields) ||
        fields.wYear <= 1985) {
        text::Copy(buffer, capacity, "N/A");
        return;
    }
    char date[128] = {};
    char clock[128] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &fields, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &fields, nullptr, clock, sizeof clock);
    text::Copy(buffer, capacity, date);
    text::Append(buffer, capacity, " ");
    text::Append(buffer, capacity, clock);
}

}  // namespace

void FormatModifiedTime(const FILETIME& time, char* buffer, int capacity) {
    if (capacity <= 0) return;
    buffer[0] = '\0';
    if (!IsZero(time)) FormatTimeOnce(time, buffer, capacity);
}

void TimeTextCache::Format(const FILETIME& time, char* buffer, int capacity) {
    if (capacity <= 0) return;
    buffer[0] = '\0';
    if (IsZero(time)) return;
    constexpr ULONGLONG kTicksPerSecond = 10000000;
    constexpr std::size_t kKeptSeconds = 4096;
    const ULONGLONG ticks = AsNumber(time);
    const ULONGLONG second = ticks == lastTicks_ ? lastSecond_ : ticks / kTicksPerSecond;
    lastTicks_ = ticks;
    if (second != lastSecond_ || lastText_ == nullptr) {
        auto known = formatted_.find(second);
        if (known == formatted_.end()) {
            if (formatted_.size() >= kKeptSeconds) formatted_.clear();
            char text[300];
            FormatTimeOnce(time, text, sizeof text);
            known = formatted_.emplace(second, text).first;
        }
        lastSecond_ = second;
        lastText_ = &known->second;
    }
    text::CopyN(buffer, static_cast<std::size_t>(capacity), lastText_->data(), lastText_->size());
}

const char* ItemRecord::ColumnText(int column, char* buffer, int capacity) const {
    if (buffer != nullptr && capacity > 0) buffer[0] = '\0';
    switch (column) {
    case kColumnMenuName: return MenuName;
    case kColumnExtensions: return Extensions;
    case kColumnMenuKey: return MenuKey;
    case kColumnFileType: return FileType;
    case kColumnTypeDescription: return TypeDescription;
    case kColumnSystemAssociation: return YesNo(IsSystemAssociation);
    case kColumnDisabled: return YesNo(IsDisabled);
    case kColumnExtended: return YesNo(IsExtended);
    case kColumnModifiedTime:
        if (buffer == nullptr) return "";
        FormatModifiedTime(ModifiedTime, buffer, capacity);
        return buffer;
    case kColumnProgramPath: return ProgramPath;
    case kColumnCommandLine: return CommandLine;
    case kColumnFileDescription: return FileDescription;
    case kColumnFileVersion: return FileVersion;
    case kColumnProductName: return ProductName;
    case kColumnCompanyName: return CompanyName;
    default: return buffer != nullptr ? buffer : "";
    }
}

const char* ItemRecord::StoredText(int column) const {
    switch (column) {
    case kColumnSystemAssociation:
    case kColumnDisabled:
    case kColumnExtended:
    case kColumnModifiedTime: return nullptr;
    default: return column >= 0 && column < kMenuItemColumnCount ? ColumnText(column, nullptr, 0) : nullptr;
    }
}

int ItemRecord::CompareOnColumn(int column, const RowRecord& other) const {
    if (column != kColumnModifiedTime) return kCompareTexts;
    ULONGLONG mine = AsNumber(ModifiedTime);
    ULONGLONG theirs = AsNumber(static_cast<const ItemRecord&>(other).ModifiedTime);
    return mine < theirs ? -1 : (mine > theirs ? 1 : 0);
}

void MenuItemList::Attach(HWND listView) {
    ReportList::Attach(listView, kDescendingImage);
    growthStep_ = kGrowthStep;
    titleId_ = IDS_REPORT_TITLE;
}

void MenuItemList::Scan(HKEY root) {
    RegistryScan scan(*this, root);
    scan.Run();
}

void MenuItemList::LoadRows() { Scan(scanRoot_); }

const char* MenuItemList::RowText(const RowRecord& row, int column, char* buffer, int capacity) {
    if (column != kColumnModifiedTime || buffer == nullptr) return ReportList::RowText(row, column, buffer, capacity);
    timeTexts_.Format(static_cast<const ItemRecord&>(row).ModifiedTime, buffer, capacity);
    return buffer;
}

const char* MenuItemList::ProgressFormat() const { return lang::NumberFormat(IDS_LOADING); }
bool MenuItemList::RowMatchesKey(const void*, const RowRecord&) const { return false; }
bool MenuItemList::IsColumnSearched(int) const { return true; }

// Rows that run the same program share its image; the first row of a program extracts
// its small icon into the list view's image list. Image 0 is the default row icon.
int MenuItemList::IconForRow(RowRecord& row) {
    ItemRecord& item = static_cast<ItemRecord&>(row);
    if (iconGeneration_ != RowGeneration()) {
        iconRowByProgram_.clear();
        iconGeneration_ = RowGeneration();
    }
    const std::string program = text::FoldedKey(item.ProgramPath);
    auto known = iconRowByProgram_.find(program);
    if (known != iconRowByProgram_.end()) {
        const ItemRecord* owner = ItemAt(known->second);
        if (owner != nullptr && owner->IconIndex != -1) item.IconIndex = owner->IconIndex;
    }
    if (item.IconIndex != -1) return item.IconIndex;

    int index = 0;
    HIMAGELIST images = win::ListView(ListView()).ImageList(LVSIL_SMALL);
    if (item.ProgramPath[0] != '\0' && images != nullptr) {
        HICON small = nullptr;
        if (ExtractIconExA(item.ProgramPath, 0, nullptr, &small, 1) > 0 && small != nullptr) {
            win::UniqueIcon icon(small);
            int added = ImageList_AddIcon(images, icon.get());
            index = added >= 0 ? added : 0;
        }
    }
    item.IconIndex = index;
    const int self = IndexOfRow(&item);
    if (self >= 0) iconRowByProgram_.emplace(program, self);
    return index;
}

void MenuItemList::CellColors(const RowRecord& row, NMLVCUSTOMDRAW& draw) {
    if (static_cast<const ItemRecord&>(row).IsDisabled != 0) draw.clrTextBk = kDisabledBackground;
}

void MenuItemList::WriteHtmlFooter(ReportFile& file, int format) { WriteHtmlDocumentFooter(file, format); }
void MenuItemList::WriteHtmlHeader(ReportFile& file, int format) { WriteHtmlDocumentHeader(file, format); }
const COLORREF* MenuItemList::ColorTable(int) const { return kCellColors; }
int MenuItemList::ColorTableSize(int) const { return 3; }

const ColumnDef* MenuItemList::ColumnTable(int* count) const {
    *count = kMenuItemColumnCount;
    return kColumns;
}
