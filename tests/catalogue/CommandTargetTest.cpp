#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "TestProcess.h"
#include "TestRegistry.h"
#include "app/Settings.h"
#include "catalogue/CommandTarget.h"
#include "catalogue/MenuItem.h"

namespace {

std::string WindowsFolder() {
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

std::string SystemFolder() {
    char folder[MAX_PATH];
    GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

std::string Resolve(const std::string& commandLine) {
    ItemRecord record;
    std::strncpy(record.CommandLine, commandLine.c_str(), sizeof record.CommandLine - 1);
    ResolveTarget(record);
    return record.ProgramPath;
}

TEST(ResolveTarget, FollowsTheTextRules) {
    const std::string longPath = "C:\\" + std::string(300, 'p') + ".exe";
    const struct {
        std::string CommandLine;
        std::string Expected;
    } cases[] = {
        // The first "." lies in the file name, so the inner blank stays.
        {"D:\\Program Files\\App\\app.exe %1", "D:\\Program Files\\App\\app.exe"},
        // Quoted as a whole: exactly the quoted text, no extension added.
        {"\"C:\\Some Dir\\tool\" --flag %1", "C:\\Some Dir\\tool"},
        {"\"C:\\unterminated %1", ""},
        // A bare name found in the Windows directory.
        {"notepad %1", WindowsFolder() + "\\notepad.exe"},
        // The Windows directory lacks it; the system directory has it.
        {"rundll32.exe shell32.dll,Control_RunDLL \"%1\"", SystemFolder() + "\\rundll32.exe"},
        // A lone placeholder: no extension, no directory match.
        {"%1", "%1"},
        // An unexpanded variable stays as it is.
        {"%SystemRoot%\\system32\\tool.exe %1", "%SystemRoot%\\system32\\tool.exe"},
        // The path ends at the first blank after the first ".", then gets ".exe".
        {"D:\\My.Tools\\Sub Dir\\app.exe %1", "D:\\My.Tools\\Sub.exe"},
        {"C:\\dir.d\\file %1", "C:\\dir.d\\file.exe"},
        // No "." at all: up to the first blank, unless the blank comes first.
        {"C:\\tools\\app %1", "C:\\tools\\app.exe"},
        {" leading blank", " leading blank.exe"},
        // A bare name found nowhere keeps its text.
        {"nosuchprogram", "nosuchprogram.exe"},
        // Cut to 260 characters; no extension fits after that.
        {longPath, longPath.substr(0, 260)},
    };
    for (const auto& c : cases) EXPECT_EQ(c.Expected, Resolve(c.CommandLine)) << "for " << c.CommandLine;
}

struct VersionCase {
    const char* Fixture;
    bool HasRecord;
    const char* Product;
    const char* Description;
    const char* Version;
    const char* Company;
};

TEST(VersionRecord, ReadsTheStringsOfTheFixturePrograms) {
    const VersionCase cases[] = {
        {"version_blanks.exe", true, "Blank Product", "Blank Description", "1.2.3.4", ""},
        {"version_missing_table.exe", true, "Fallback Product", "Fallback Description", "5.6", "Fallback Company"},
        {"version_unicode_table.exe", true, "Right Table", "Unicode Table", "7.0", "Kestrune Fixtures"},
        {"no_version.exe", false, "", "", "", ""},
    };
    for (const VersionCase& c : cases) {
        VersionStrings strings;
        std::string path = FixturePath(c.Fixture);
        ASSERT_TRUE(FileExists(path)) << path;
        EXPECT_EQ(c.HasRecord, ReadVersionRecord(path.c_str(), strings)) << c.Fixture;
        EXPECT_STREQ(c.Product, strings.ProductName) << c.Fixture;
        EXPECT_STREQ(c.Description, strings.FileDescription) << c.Fixture;
        EXPECT_STREQ(c.Version, strings.FileVersion) << c.Fixture;
        EXPECT_STREQ(c.Company, strings.CompanyName) << c.Fixture;
    }
}

TEST(VersionRecord, WineOwnProgramsAreRead) {
    VersionStrings strings;
    ASSERT_TRUE(ReadVersionRecord((SystemFolder() + "\\msiexec.exe").c_str(), strings));
    EXPECT_STREQ("Wine Installer", strings.ProductName);
    EXPECT_FALSE(std::string(strings.FileVersion).empty());
    EXPECT_FALSE(ReadVersionRecord((WindowsFolder() + "\\notepad.exe").c_str(), strings))
        << "Wine's notepad carries no version record";
}

TEST(VersionRecord, StringsAreKeptOnlyForExistingFilesWithARecord) {
    ItemRecord record;
    std::strcpy(record.ProductName, "kept");
    std::strcpy(record.ProgramPath, "C:\\no\\such\\program.exe");
    ReadVersionStrings(record);
    EXPECT_STREQ("kept", record.ProductName);

    std::strcpy(record.ProgramPath, FixturePath("no_version.exe").c_str());
    ReadVersionStrings(record);
    EXPECT_STREQ("kept", record.ProductName);

    std::strcpy(record.ProgramPath, FixturePath("version_blanks.exe").c_str());
    ReadVersionStrings(record);
    EXPECT_STREQ("Blank Product", record.ProductName);
    EXPECT_STREQ("", record.CompanyName);
}

TEST(VersionRecord, TheScanGivesEveryRowItsProgramAndStrings) {
    MainSettings settings;
    settings.SetDefaults();
    MenuItemList list(&settings.HideStandardItems);
    list.Attach(nullptr);
    ScratchKeys tree;
    std::string fixture = FixturePath("version_unicode_table.exe");
    std::string upper = fixture;
    for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    tree.SetString("FixType\\shell\\a\\command", "", "\"" + fixture + "\" %1");
    tree.SetString("FixType\\shell\\b\\command", "", upper + " %1");
    tree.SetString("FixType\\shell\\c\\command", "", "%1");
    list.Scan(tree.Root());
    ASSERT_EQ(3, list.RowCount());
    EXPECT_EQ(fixture, list.ItemAt(0)->ProgramPath);
    EXPECT_STREQ("Right Table", list.ItemAt(0)->ProductName);
    EXPECT_EQ(upper, list.ItemAt(1)->ProgramPath);
    EXPECT_STREQ("Right Table", list.ItemAt(1)->ProductName) << "paths that differ in case share strings";
    EXPECT_STREQ("Kestrune Fixtures", list.ItemAt(1)->CompanyName);
    EXPECT_STREQ("%1", list.ItemAt(2)->ProgramPath);
    EXPECT_STREQ("", list.ItemAt(2)->ProductName);
}

}  // namespace
