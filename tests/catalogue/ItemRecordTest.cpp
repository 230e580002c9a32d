#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "catalogue/MenuItem.h"
#include "framework/Language.h"
#include "resources/resource.h"

namespace {

// The yes and no texts in code page 936.
const char kYes[] = "\xCA\xC7";
const char kNo[] = "\xB7\xF1";

FILETIME UtcTime(WORD year, WORD month, WORD day, WORD hour = 12) {
    SYSTEMTIME fields = {};
    fields.wYear = year;
    fields.wMonth = month;
    fields.wDay = day;
    fields.wHour = hour;
    FILETIME time = {};
    SystemTimeToFileTime(&fields, &time);
    return time;
}

ItemRecord SampleRecord() {
    ItemRecord record;
    std::strcpy(record.MenuName, "Edit");
    std::strcpy(record.Extensions, ".txt,.log");
    std::strcpy(record.MenuKey, "edit");
    std::strcpy(record.FileType, "txtfile");
    std::strcpy(record.TypeDescription, "Text Document");
    record.IsSystemAssociation = 0;
    record.IsDisabled = 1;
    record.IsExtended = 0;
    std::strcpy(record.ProgramPath, "C:\\windows\\notepad.exe");
    std::strcpy(record.CommandLine, "notepad.exe %1");
    std::strcpy(record.FileDescription, "Notepad");
    std::strcpy(record.FileVersion, "6.1");
    std::strcpy(record.ProductName, "Wine");
    std::strcpy(record.CompanyName, "Wine team");
    return record;
}

TEST(ItemRecord, EachColumnShowsItsField) {
    const ItemRecord record = SampleRecord();
    const struct {
        int Column;
        const char* Expected;
    } cases[] = {
        {kColumnMenuName, "Edit"},
        {kColumnExtensions, ".txt,.log"},
        {kColumnMenuKey, "edit"},
        {kColumnFileType, "txtfile"},
        {kColumnTypeDescription, "Text Document"},
        {kColumnSystemAssociation, kNo},
        {kColumnDisabled, kYes},
        {kColumnExtended, kNo},
        {kColumnModifiedTime, ""},
        {kColumnProgramPath, "C:\\windows\\notepad.exe"},
        {kColumnCommandLine, "notepad.exe %1"},
        {kColumnFileDescription, "Notepad"},
        {kColumnFileVersion, "6.1"},
        {kColumnProductName, "Wine"},
        {kColumnCompanyName, "Wine team"},
        {15, ""},
        {-1, ""},
    };
    for (const auto& c : cases) {
        char buffer[300] = "left over";
        EXPECT_STREQ(c.Expected, record.ColumnText(c.Column, buffer, sizeof buffer)) << "column " << c.Column;
    }
}

TEST(ItemRecord, NewRecordIsAllZero) {
    ItemRecord record;
    const char* fields[] = {record.MenuKey, record.MenuName, record.FileType, record.Extensions,
                            record.ProgramPath, record.CommandLine, record.TypeDescription};
    for (const char* field : fields) EXPECT_STREQ("", field);
    EXPECT_EQ(0, record.IsDisabled + record.IsExtended + record.IsSystemAssociation);
    EXPECT_EQ(0u, record.ModifiedTime.dwLowDateTime | record.ModifiedTime.dwHighDateTime);
    EXPECT_EQ(-1, record.IconIndex);
}

TEST(ItemRecord, ModifiedTimeTextIsEmptyForZeroAndNotAvailableUpTo1985) {
    ItemRecord record;
    char buffer[300];
    EXPECT_STREQ("", record.ColumnText(kColumnModifiedTime, buffer, sizeof buffer));

    record.ModifiedTime = UtcTime(1985, 6, 1);
    EXPECT_STREQ("N/A", record.ColumnText(kColumnModifiedTime, buffer, sizeof buffer));

    record.ModifiedTime = UtcTime(2021, 3, 4);
    std::string shown = record.ColumnText(kColumnModifiedTime, buffer, sizeof buffer);
    EXPECT_NE(std::string::npos, shown.find("2021")) << shown;
    EXPECT_NE(std::string::npos, shown.find(' ')) << "date and time are separated by a blank: " << shown;
}

TEST(ItemRecord, TimeTextIsCutToTheCallersBuffer) {
    ItemRecord record;
    record.ModifiedTime = UtcTime(2021, 3, 4);
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    record.ColumnText(kColumnModifiedTime, buffer, 5);
    EXPECT_EQ(4u, std::strlen(buffer));
    EXPECT_EQ('#', buffer[5]);
}

TEST(ItemRecord, ComparesTimesByValueAndOtherColumnsAsTexts) {
    ItemRecord early, late, same;
    early.ModifiedTime = UtcTime(2000, 1, 1);
    late.ModifiedTime = UtcTime(2020, 1, 1);
    same.ModifiedTime = early.ModifiedTime;
    EXPECT_EQ(-1, early.CompareOnColumn(kColumnModifiedTime, late));
    EXPECT_EQ(1, late.CompareOnColumn(kColumnModifiedTime, early));
    EXPECT_EQ(0, early.CompareOnColumn(kColumnModifiedTime, same));
    for (int column : {kColumnMenuName, kColumnDisabled, kColumnCompanyName})
        EXPECT_EQ(RowRecord::kCompareTexts, early.CompareOnColumn(column, late));
}

TEST(MenuItemList, AttachTakesCaptionsAndNamesFromTheStringTable) {
    MenuItemList list(nullptr);
    list.Attach(nullptr);
    ASSERT_EQ(kMenuItemColumnCount, list.ColumnCount());
    EXPECT_STREQ("\xB2\xCB\xB5\xA5\xC3\xFB\xB3\xC6", list.Descriptor(kColumnMenuName).Caption);
    EXPECT_STREQ(list.Descriptor(kColumnMenuName).Caption, list.Attributes(kColumnMenuName).Name);
    EXPECT_EQ(250, list.Descriptor(kColumnProgramPath).DefaultWidth);
    EXPECT_EQ(100, list.Attributes(kColumnDisabled).TabularWidth);
    EXPECT_EQ(1, list.Attributes(kColumnCompanyName).NoWrap);
    EXPECT_STREQ("\xB2\xCB\xB5\xA5\xCF\xEE\xC4\xBF\xC1\xD0\xB1\xED", list.ReportTitle());
    EXPECT_STREQ(list.ReportTitle(), list.ReportTagName());
    for (int c = 0; c < kMenuItemColumnCount; ++c) {
        EXPECT_EQ(100, list.State().Entries[c].Width);
        EXPECT_EQ(c, list.State().Entries[c].Position);
    }
}

TEST(MenuItemList, The65thRowGrowsTheBlockAndKeepsEveryRow) {
    MenuItemList list(nullptr);
    list.Attach(nullptr);
    for (int i = 0; i < 65; ++i) {
        ItemRecord record;
        std::snprintf(record.MenuName, sizeof record.MenuName, "row %d", i);
        record.IconIndex = 7;
        ASSERT_NE(nullptr, list.AppendRow(record));
        if (i == 63) {
            EXPECT_EQ(64, list.RowCapacity());
        }
    }
    EXPECT_EQ(128, list.RowCapacity());
    ASSERT_EQ(65, list.RowCount());
    for (int i = 0; i < 65; ++i) {
        EXPECT_EQ("row " + std::to_string(i), list.ItemAt(i)->MenuName);
        EXPECT_EQ(-1, list.ItemAt(i)->IconIndex) << "appending resets the icon index";
    }
    char buffer[16];
    EXPECT_STREQ("row 64", list.RowAt(64)->ColumnText(kColumnMenuName, buffer, sizeof buffer))
        << "a stored row still dispatches to its row type";
    EXPECT_EQ(nullptr, list.RowAt(65));
}

TEST(StringLookup, UntranslatedFlagGivesTheBuiltInText) {
    EXPECT_STREQ(lang::String(IDS_REPORT_TITLE), lang::String(IDS_REPORT_TITLE | lang::kUntranslated));
    EXPECT_STREQ("%d \xB8\xF6\xB2\xCB\xB5\xA5\xCF\xEE\xC4\xBF", lang::String(IDS_STATUS_ITEMS));
    EXPECT_STREQ("", lang::String(3)) << "an id without a text";
    EXPECT_EQ(lang::String(IDS_YES), lang::String(IDS_YES)) << "the cached text is handed out again";
}

}  // namespace
