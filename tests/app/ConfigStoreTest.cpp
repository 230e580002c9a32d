#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TestProcess.h"
#include "app/ConfigStore.h"
#include "app/MainWindow.h"
#include "framework/ModulePath.h"

namespace {

std::vector<unsigned char> Decode(const char* text, std::size_t capacity) {
    std::vector<unsigned char> bytes(capacity, 0xEE);
    bytes.resize(DecodeBinary(text, bytes.data(), capacity));
    return bytes;
}

TEST(BinaryValue, DecodesPairsOfAnyShape) {
    const struct {
        const char* Text;
        std::size_t Capacity;
        std::vector<unsigned char> Bytes;
    } cases[] = {
        {"2C 00 00 00", 44, {0x2C, 0, 0, 0}},
        {"2c ff", 8, {0x2C, 0xFF}},
        {"0102", 8, {1, 2}},           // blanks are not needed between pairs
        {"  01   02 ", 8, {1, 2}},
        {"G1 1G", 8, {0, 1}},         // conversion stops at the first non-digit
        {"ABC", 8, {0xAB, 0x0C}},     // an odd last digit stands alone
        {"01 02 03", 2, {1, 2}},      // never more than the capacity
        {"", 8, {}},
        {"zz", 8, {0}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.Bytes, Decode(c.Text, c.Capacity)) << c.Text;
}

TEST(BinaryValue, EncodesUpperCaseHexSeparatedByBlanks) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    char text[kMaxValueText + 1];
    EncodeBinary(&placement, sizeof placement, text, sizeof text);
    EXPECT_EQ(0, std::strncmp(text, "2C 00 00 00 ", 12));
    EXPECT_EQ(131u, std::strlen(text));

    std::vector<unsigned char> columns(60, 0xAB);
    EncodeBinary(columns.data(), columns.size(), text, sizeof text);
    EXPECT_EQ(179u, std::strlen(text));
    EXPECT_NE(' ', text[178]);

    std::vector<unsigned char> huge(5000, 1);
    EncodeBinary(huge.data(), huge.size(), text, sizeof text);
    EXPECT_EQ(8192u, std::strlen(text)) << "2731 bytes at most";
    EXPECT_EQ(2731u, Decode(text, 5000).size());

    char small[8];
    EncodeBinary(huge.data(), huge.size(), small, sizeof small);
    EXPECT_STREQ("01 01", small) << "cut to the caller's buffer between bytes";
}

TEST(ConfigPath, ReplacesTheExtensionAtTheLastDot) {
    const struct {
        std::string Module;
        std::string Expected;
    } cases[] = {
        {"C:\\tools\\menus.exe", "C:\\tools\\menus.cfg"},
        {"C:\\my.tools\\menus", "C:\\my.cfg"},  // no extension: the cut falls in the folder
        {"C:\\tools\\menus", "C:\\tools\\menus.cfg"},
        {"C:\\" + std::string(252, 'a') + ".exe", "C:\\" + std::string(252, 'a') + ".cfg"},
        {"C:\\" + std::string(254, 'a') + ".exe", "C:\\" + std::string(254, 'a')},  // no room
    };
    for (const auto& c : cases) {
        char path[261];
        module::SiblingPath(c.Module.c_str(), ".cfg", path, sizeof path);
        EXPECT_EQ(c.Expected, path) << c.Module;
    }
}

class SettingsFileTest : public ::testing::Test {
protected:
    SettingsFileTest() {
        char path[261];
        ConfigFilePath(path, sizeof path);
        file = path;
        DeleteFileA(file.c_str());
        window.Items().Attach(nullptr);
    }
    ~SettingsFileTest() override { DeleteFileA(file.c_str()); }

    void Write(const std::string& text) { WriteWholeFile(file, text); }

    std::string file;
    MainWindow window;
};

// A configuration file nobody may write still loads, and saving into it changes nothing.
TEST_F(SettingsFileTest, AnUnwritableFileLoadsAndIsLeftAsItWas) {
    const std::string text = "[General]\r\nShowGridLines=1\r\nSort=3\r\n";
    Write(text);
    if (!SetUnwritable(file, true)) GTEST_SKIP() << "this file system cannot make a file unwritable for root";
    window.LoadSaveSettings(ConfigStore::kLoad);
    EXPECT_EQ(1, window.Settings().ShowGridLines);
    EXPECT_EQ(3, window.Items().SavedSortSpec());
    window.Settings().ShowGridLines = 0;
    window.LoadSaveSettings(ConfigStore::kSave);
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());  // flush the profile cache
    EXPECT_EQ(text, ReadWholeFile(file));
    EXPECT_TRUE(SetUnwritable(file, false));
}

TEST_F(SettingsFileTest, AFirstStartGivesTheDefaults) {
    window.Settings() = MainSettings{};
    window.LoadSaveSettings(ConfigStore::kLoad);
    EXPECT_EQ(1, window.Settings().HideStandardItems);
    EXPECT_EQ(0, window.Settings().ShowGridLines);
    EXPECT_EQ(1, window.Settings().ShowInfoTip);
    EXPECT_EQ(0, window.Settings().SaveFilterIndex);
    EXPECT_EQ(0u, window.Placement().length);
    EXPECT_EQ(0, window.Items().SavedSortSpec());
    EXPECT_EQ(100, window.Items().State().Entries[5].Width);
    EXPECT_FALSE(FileExists(file)) << "loading writes nothing";
}

TEST_F(SettingsFileTest, SavingWritesTheKeysInOrder) {
    window.Settings() = MainSettings{-3, 1, 0, 4};
    window.Items().State().Entries[2] = {0, 7};
    window.Items().SetSavedSortSpec(4100);
    window.LoadSaveSettings(ConfigStore::kSave);
    std::vector<std::string> lines = SplitLines(ReadWholeFile(file));
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ("[General]", lines[0]);
    EXPECT_EQ("ShowGridLines=1", lines[1]);
    EXPECT_EQ("SaveFilterIndex=4", lines[2]);
    EXPECT_EQ("HideStandardItems=-3", lines[3]);
    EXPECT_EQ("ShowInfoTip=0", lines[4]);
    EXPECT_EQ(0u, lines[5].find("WinPos=00 00 00 00 ")) << "no window: the placement is written as it is";
    EXPECT_EQ(7u + 131u, lines[5].size());
    EXPECT_EQ(8u + 179u, lines[6].size());
    EXPECT_EQ(0u, lines[6].find("Columns=64 00 00 00 64 00 01 00 00 00 07 00 "));
    EXPECT_EQ("Sort=4100", lines[7]);

    MainWindow again;
    again.Items().Attach(nullptr);
    again.LoadSaveSettings(ConfigStore::kLoad);
    EXPECT_EQ(-3, again.Settings().HideStandardItems) << "negative numbers read back";
    EXPECT_EQ(4, again.Settings().SaveFilterIndex);
    EXPECT_EQ(4100, again.Items().SavedSortSpec());
    EXPECT_EQ(0, again.Items().State().Entries[2].Width);
    EXPECT_EQ(7, again.Items().State().Entries[2].Position);
}

TEST_F(SettingsFileTest, HandEditedValuesAreReadAsFarAsTheyMakeSense) {
    Write("[General]\r\nShowGridLines=1\r\nWinPos=2C 00 00 00 01\r\nSort=99\r\nSaveFilterIndex=junk\r\n"
          "Columns=00 00 00 00 32 00 00 00\r\n");
    window.LoadSaveSettings(ConfigStore::kLoad);
    EXPECT_EQ(1, window.Settings().ShowGridLines);
    EXPECT_EQ(44u, window.Placement().length);
    EXPECT_EQ(1u, window.Placement().flags) << "a short value fills only the first bytes";
    EXPECT_EQ(0u, window.Placement().showCmd);
    EXPECT_EQ(0, window.Items().SavedSortSpec()) << "column 99 does not exist";
    EXPECT_EQ(0, window.Settings().SaveFilterIndex);
    EXPECT_EQ(100, window.Items().State().Entries[0].Width) << "two columns at position 0: ignored";
}

TEST_F(SettingsFileTest, AShortColumnsValueReplacesOnlyTheFirstColumns) {
    Write("[General]\r\nColumns=20 00 01 00 30 00 00 00\r\nSort=4097\r\n");
    window.LoadSaveSettings(ConfigStore::kLoad);
    const auto& entries = window.Items().State().Entries;
    EXPECT_EQ(32, entries[0].Width);
    EXPECT_EQ(1, entries[0].Position);
    EXPECT_EQ(48, entries[1].Width);
    EXPECT_EQ(0, entries[1].Position);
    EXPECT_EQ(100, entries[2].Width);
    EXPECT_EQ(2, entries[2].Position);
    EXPECT_EQ(4097, window.Items().SavedSortSpec());
}

TEST_F(SettingsFileTest, GarbageLoadsWhatItCan) {
    std::string text = "[General]\r\n";
    for (int i = 0; i < 10000; ++i) text += "Junk" + std::to_string(i) + "=" + std::to_string(i * 7) + "\r\n";
    text += "ShowInfoTip=0\r\nWinPos=" + std::string(9000, 'F') + "\r\nColumns=ZZ Q 1\r\nShowGridLines=99999999999999\r\n";
    Write(text);
    window.LoadSaveSettings(ConfigStore::kLoad);
    EXPECT_EQ(0, window.Settings().ShowInfoTip);
    EXPECT_EQ(0xFFFFFFFFu, window.Placement().length) << "44 bytes decoded, no more";
    EXPECT_EQ(0xFFFFFFFFu, window.Placement().rcNormalPosition.bottom);
    EXPECT_EQ(0, window.Items().State().Entries[0].Width) << "ZZ and Q decode to zeros";
    EXPECT_EQ(1, window.Items().State().Entries[0].Position) << "then 1";
}

}  // namespace
