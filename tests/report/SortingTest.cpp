#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "catalogue/MenuItem.h"

namespace {

class SortKeyTest : public ::testing::Test {
protected:
    SortKeyTest() : list(nullptr) {
        list.Attach(nullptr);
        list.ClearSortKeys();
    }
    ~SortKeyTest() override { list.ClearSortKeys(); }

    void Add(const char* menuName, const char* extensions, int day = 1) {
        ItemRecord record;
        std::strcpy(record.MenuName, menuName);
        std::strcpy(record.Extensions, extensions);
        SYSTEMTIME fields = {2020, 1, 0, static_cast<WORD>(day), 0, 0, 0, 0};
        SystemTimeToFileTime(&fields, &record.ModifiedTime);
        list.AppendRow(record);
    }

    std::vector<std::string> MenuNames() const {
        std::vector<std::string> names;
        for (int i = 0; i < list.RowCount(); ++i) names.push_back(list.ItemAt(i)->MenuName);
        return names;
    }

    MenuItemList list;
};

TEST_F(SortKeyTest, ArgumentsNameColumnsByPositionOrCaption) {
    // Column 4 hidden and column 3 moved to the front: visible order 3, 0, 1, 2, 5, ...
    auto& entries = list.State().Entries;
    entries[kColumnTypeDescription].Width = 0;
    entries[kColumnFileType].Position = 0;
    entries[kColumnMenuName].Position = 1;
    entries[kColumnExtensions].Position = 2;
    entries[kColumnMenuKey].Position = 3;
    const struct {
        const char* Argument;
        int Column;
    } cases[] = {
        {"0", kColumnFileType},
        {"2", kColumnExtensions},
        {"4", kColumnSystemAssociation},
        {"13", kColumnCompanyName},
        {"14", 0},                                     // past the visible columns
        {"99", 0},
        {"123", 0},                                    // three digits: a name, and none matches
        {"\xB2\xCB\xB5\xA5\xBC\xFC", kColumnMenuKey},  // the menu key's caption, exactly
        {"\xC0\xA9\xD5\xB9", kColumnExtensions},       // exact before the longer "extended mode"
        {"\xC3\xFB\xB3\xC6", kColumnProductName},      // part of two captions: the higher one
        {"\xC4\xA3\xCA\xBD", kColumnExtended},         // part of one caption
        {"", 0},
        {"no such column", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.Column, list.ColumnFromArgument(c.Argument)) << c.Argument;
}

TEST_F(SortKeyTest, RowsEqualOnTheFirstKeyAreOrderedByTheSecond) {
    Add("b", ".z");
    Add("a", ".y");
    Add("B", ".x");
    Add("A", ".w");
    ASSERT_TRUE(list.AddSortKey("0", false));
    ASSERT_TRUE(list.AddSortKey("1", true));
    list.SortStoredRows();
    EXPECT_EQ((std::vector<std::string>{"a", "A", "b", "B"}), MenuNames());
}

TEST_F(SortKeyTest, TimesAreComparedByValue) {
    Add("late", "", 20);
    Add("early", "", 3);
    Add("middle", "", 10);
    list.AddSortSpec(kColumnModifiedTime);
    list.SortStoredRows();
    EXPECT_EQ((std::vector<std::string>{"early", "middle", "late"}), MenuNames());
    list.ClearSortKeys();
    list.AddSortSpec(kColumnModifiedTime | ReportList::kDescending);
    list.SortStoredRows();
    EXPECT_EQ((std::vector<std::string>{"late", "middle", "early"}), MenuNames());
}

TEST_F(SortKeyTest, DoubleByteCharactersCompareAsUnits) {
    // A trail byte that is an ASCII capital must not be folded: \xB0\x41 and \xB0\x61 are
    // two different characters, and \xB0\x61 sorts after \xB0\x41.
    Add("\xB0\x61", "");
    Add("\xB0\x41", "");
    list.AddSortKey("0", false);
    list.SortStoredRows();
    EXPECT_EQ((std::vector<std::string>{"\xB0\x41", "\xB0\x61"}), MenuNames());
}

TEST_F(SortKeyTest, TheTableHoldsThirtyTwoKeys) {
    for (int i = 0; i < ReportList::kMaxSortKeys; ++i) EXPECT_TRUE(list.AddSortKey("1", false));
    EXPECT_FALSE(list.AddSortKey("2", false));
    EXPECT_FALSE(list.AddSortSpec(3));
    EXPECT_EQ(ReportList::kMaxSortKeys, list.SortKeyCount());
    EXPECT_EQ(kColumnExtensions, list.SortKey(ReportList::kMaxSortKeys - 1));
}

// Many rows with repeated keys, under every key shape: afterwards each adjacent pair is in
// order under the keys, and every record is still there once, whole.
TEST_F(SortKeyTest, EveryKeyShapeLeavesEachAdjacentPairInOrderAndEveryRecordWhole) {
    const char* const names[] = {"alpha", "Alpha", "beta", "\xB0\x41", "\xB0\x61", "\xB2\xCB", "", "10", "9", "z"};
    unsigned seed = 12345;
    const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    constexpr int kRows = 3000;
    for (int i = 0; i < kRows; ++i) {
        Add(names[next() % 10], names[next() % 10], static_cast<int>(next() % 28) + 1);
        ItemRecord& row = *list.ItemAt(i);
        std::snprintf(row.MenuKey, sizeof row.MenuKey, "%d", i);  // the record's identity
        std::snprintf(row.CommandLine, sizeof row.CommandLine, "command of %d", i);
    }
    const std::vector<std::vector<int>> shapes = {
        {kColumnMenuName},
        {kColumnMenuName | ReportList::kDescending},
        {kColumnModifiedTime},
        {kColumnModifiedTime | ReportList::kDescending, kColumnMenuName},
        {kColumnExtensions, kColumnMenuName | ReportList::kDescending, kColumnModifiedTime},
    };
    for (std::size_t s = 0; s < shapes.size(); ++s) {
        list.ClearSortKeys();
        for (int spec : shapes[s]) list.AddSortSpec(spec);
        list.SortStoredRows();
        ASSERT_EQ(kRows, list.RowCount());
        std::vector<int> seen(kRows, 0);
        for (int i = 0; i < kRows; ++i) {
            const ItemRecord& row = *list.ItemAt(i);
            const int id = std::atoi(row.MenuKey);
            ASSERT_TRUE(id >= 0 && id < kRows) << "shape " << s;
            ++seen[static_cast<std::size_t>(id)];
            EXPECT_EQ("command of " + std::to_string(id), row.CommandLine) << "shape " << s;
            if (i > 0) {
                EXPECT_LE(list.CompareByKeys(*list.ItemAt(i - 1), row), 0) << "shape " << s << ", rows " << i;
            }
        }
        EXPECT_EQ(std::vector<int>(kRows, 1), seen) << "shape " << s;
    }
}

}  // namespace
