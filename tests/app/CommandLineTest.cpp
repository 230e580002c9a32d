// The program run as a separate process over the real classes root of the test prefix.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "TestProcess.h"
#include "TestRegistry.h"
#include "framework/ErrorBox.h"

namespace {

const char kSettingsKey[] = "Software\\Kestrune\\Morvane";
// Captions and texts in code page 936.
const std::string kMenuNameCaption = "\xB2\xCB\xB5\xA5\xC3\xFB\xB3\xC6";
const std::string kCommandCaption = "\xC3\xFC\xC1\xEE";
const std::string kYes = "\xCA\xC7";
const std::string kNo = "\xB7\xF1";
const std::string kEditName = "\xB1\xE0\xBC\xAD\xCE\xC4\xBC\xFE";  // "edit file"
const int kTabularWidths[15] = {50, 20, 20, 20, 20, 20, 100, 100, 20, 100, 100, 50, 50, 50, 50};

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        cells.push_back(line.substr(start, tab - start));
    return cells;
}

// Uniquely named classes keys of this run in HKEY_CLASSES_ROOT, removed afterwards.
class CommandLineTest : public ::testing::Test {
protected:
    CommandLineTest() : classes(HKEY_CLASSES_ROOT) {
        type = UniqueName("MorvaneType");
        extA = "." + UniqueName("mvta");
        extB = "." + UniqueName("mvtb");
        classes.SetString(extA, "", type);
        classes.SetString(extB, "", type);
        classes.SetString(type, "", "Morvane test type");
        classes.SetString(type + "\\shell\\edit", "", kEditName);
        classes.SetString(type + "\\shell\\edit\\command", "", "notepad.exe %1");
        classes.SetString(type + "\\shell\\open\\command", "", "hidden.exe %1");
        classes.SetString(type + "\\shell\\zap", "LegacyDisable", "");
        classes.SetString(type + "\\shell\\zap", "Extended", "");
        classes.SetString(type + "\\shell\\zap\\command", "", "%SystemRoot%\\zap.exe \"%1\"", REG_EXPAND_SZ);
        classes.SetString(type + "\\shell\\%s%n", "", "%s %n %d");
        classes.SetString(type + "\\shell\\%s%n\\command", "", "fmt.exe %s %n %d %x %1");
    }
    ~CommandLineTest() override {
        for (const std::string& file : files) DeleteFileA(file.c_str());
    }

    std::string OutputPath(const std::string& name) {
        files.push_back(TempFilePath(name));
        return files.back();
    }

    // The tab-delimited rows of this test's file type.
    std::vector<std::vector<std::string>> OurRows(const std::string& report) {
        std::vector<std::vector<std::string>> rows;
        for (const std::string& line : SplitLines(report)) {
            std::vector<std::string> cells = SplitTabs(line);
            if (cells.size() == 15 && cells[3] == type) rows.push_back(cells);
        }
        return rows;
    }

    // One column of this test's rows, in report order.
    std::vector<std::string> Column(const std::string& report, int column) {
        std::vector<std::string> cells;
        for (const auto& row : OurRows(report)) cells.push_back(row[column]);
        return cells;
    }

    ScratchKeys classes;
    std::string type, extA, extB;
    std::vector<std::string> files;
};

TEST_F(CommandLineTest, TabDelimitedReportOfTheClassesRoot) {
    std::string out = OutputPath("cli tab report.txt");
    ProcessResult run = RunMorvane("/stab \"" + out + "\" /nosort");
    ASSERT_TRUE(run.Started);
    EXPECT_FALSE(run.TimedOut);
    EXPECT_EQ(0u, run.ExitCode);
    EXPECT_TRUE(run.Boxes.empty());

    auto rows = OurRows(ReadWholeFile(out));
    ASSERT_EQ(3u, rows.size()) << "the standard verb open is hidden by default";
    const auto& format = rows[0];
    EXPECT_EQ("%s %n %d", format[0]) << "registry texts are never format strings";
    EXPECT_EQ("%s%n", format[2]);
    EXPECT_EQ("fmt.exe %s %n %d %x %1", format[10]);
    rows.erase(rows.begin());
    const auto& edit = rows[0];
    EXPECT_EQ(kEditName, edit[0]);
    EXPECT_EQ(extA + "," + extB, edit[1]);
    EXPECT_EQ("edit", edit[2]);
    EXPECT_EQ("Morvane test type", edit[4]);
    EXPECT_EQ(kNo, edit[5]);
    EXPECT_EQ(kNo, edit[6]);
    EXPECT_EQ(kNo, edit[7]);
    EXPECT_FALSE(edit[8].empty()) << "the command key's modified time";
    EXPECT_EQ("notepad.exe %1", edit[10]);

    const auto& zap = rows[1];
    EXPECT_EQ("zap", zap[0]);
    EXPECT_EQ(kYes, zap[6]);
    EXPECT_EQ(kYes, zap[7]);
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(std::string(windows) + "\\zap.exe \"%1\"", zap[10]);
}

TEST_F(CommandLineTest, TextReportHasPaddedChineseCaptions) {
    std::string out = OutputPath("cli_text.txt");
    ProcessResult run = RunMorvane("/STEXT " + out);
    EXPECT_EQ(0u, run.ExitCode);
    std::string report = ReadWholeFile(out);
    std::string record = std::string(50, '=') + "\r\n" + kMenuNameCaption + std::string(10, ' ') + ": " +
                         kEditName + "\r\n";
    std::size_t at = report.find(record);
    ASSERT_NE(std::string::npos, at) << "no record for the edit verb";
    std::vector<std::string> lines = SplitLines(report.substr(at));
    ASSERT_GE(lines.size(), 18u);
    EXPECT_EQ(kCommandCaption + std::string(14, ' ') + ": notepad.exe %1", lines[11]);
    EXPECT_EQ(std::string(50, '='), lines[16]);
    EXPECT_EQ("", lines[17]);
}

TEST_F(CommandLineTest, TabularReportHasFixedWidths) {
    std::string out = OutputPath("cli_tabular.txt");
    ProcessResult run = RunMorvane("/stabular \"" + out + "\"");
    EXPECT_EQ(0u, run.ExitCode);
    std::size_t lineLength = 0;
    for (int width : kTabularWidths) lineLength += width + 1;
    std::string ours;
    for (const std::string& line : SplitLines(ReadWholeFile(out))) {
        if (!line.empty()) {
            EXPECT_EQ(lineLength, line.size());
        }
        if (line.compare(0, kEditName.size(), kEditName) == 0 && line.find(type) != std::string::npos) ours = line;
    }
    ASSERT_FALSE(ours.empty());
    std::size_t at = 0;
    std::vector<std::string> cells;
    for (int width : kTabularWidths) {
        cells.push_back(ours.substr(at, width));
        EXPECT_EQ(' ', ours[at + width]);
        at += width + 1;
    }
    EXPECT_EQ(kEditName + std::string(50 - kEditName.size(), ' '), cells[0]);
    EXPECT_EQ("edit" + std::string(16, ' '), cells[2]);
    EXPECT_EQ((type + std::string(20, ' ')).substr(0, 20), cells[3]);
}

TEST_F(CommandLineTest, WithoutSortKeysTheReportIsSortedByMenuName) {
    std::string out = OutputPath("cli_sorted.txt");
    RunMorvane("/stab " + out);
    EXPECT_EQ((std::vector<std::string>{"%s %n %d", "zap", kEditName}), Column(ReadWholeFile(out), 0));
}

TEST_F(CommandLineTest, SortKeysByPositionAndName) {
    // Position 2 is the menu key; ~10 is the command, descending.
    const struct {
        std::string Keys;
        std::vector<std::string> MenuKeys;
    } cases[] = {
        {"/sort 2", {"%s%n", "edit", "zap"}},
        {"/sort ~2", {"zap", "edit", "%s%n"}},
        {"/sort \"\xB2\xCB\xB5\xA5\xBC\xFC\"", {"%s%n", "edit", "zap"}},  // the menu key's caption
        // Disabled (no before yes), then the command line: zap is the one disabled row.
        {"/sort 6 /sort ~10", {"edit", "%s%n", "zap"}},
        {"/sort 6 /sort 10", {"%s%n", "edit", "zap"}},
    };
    for (const auto& c : cases) {
        std::string out = OutputPath("cli_sort_keys.txt");
        ProcessResult run = RunMorvane("/stab " + out + " " + c.Keys);
        EXPECT_EQ(0u, run.ExitCode);
        EXPECT_EQ(c.MenuKeys, Column(ReadWholeFile(out), 2)) << c.Keys;
    }
}

TEST_F(CommandLineTest, MoreSortKeysThanTheTableHoldsAreIgnored) {
    std::string keys = "/sort ~2";
    for (int i = 0; i < 40; ++i) keys += " /sort 0";
    std::string out = OutputPath("cli_many_keys.txt");
    ProcessResult run = RunMorvane("/stab " + out + " " + keys);
    EXPECT_EQ(0u, run.ExitCode);
    EXPECT_EQ((std::vector<std::string>{"zap", "edit", "%s%n"}), Column(ReadWholeFile(out), 2));
}

TEST_F(CommandLineTest, AFileNameInChineseIsUsedAsGiven) {
    std::string out = OutputPath("\xB1\xA8\xB8\xE6 \xD2\xBB.txt");  // "report one"
    ProcessResult run = RunMorvane("/stab \"" + out + "\"");
    EXPECT_EQ(0u, run.ExitCode);
    EXPECT_EQ(3u, OurRows(ReadWholeFile(out)).size());
}

TEST_F(CommandLineTest, TheLastExportOptionWins) {
    std::string first = OutputPath("cli_first.txt");
    std::string second = OutputPath("cli_second.txt");
    ProcessResult run = RunMorvane("/stext " + first + " /stab " + second);
    EXPECT_EQ(0u, run.ExitCode);
    EXPECT_FALSE(FileExists(first));
    EXPECT_EQ(3u, OurRows(ReadWholeFile(second)).size());
}

TEST_F(CommandLineTest, AnExportOptionWithoutAFileNameStartsTheWindow) {
    ProcessResult run = RunMorvane("/stab");
    EXPECT_EQ(0u, run.ExitCode);
    EXPECT_FALSE(run.TimedOut);
    EXPECT_TRUE(run.WindowShown);
    EXPECT_TRUE(run.Boxes.empty());
}

TEST_F(CommandLineTest, AReportIntoAMissingFolderShowsTheErrorBoxAndExitsWithZero) {
    ProcessResult run = RunMorvane("/stab \"C:\\no such folder\\report.txt\"");
    EXPECT_FALSE(run.TimedOut);
    EXPECT_EQ(0u, run.ExitCode);
    ASSERT_EQ(1u, run.Boxes.size());
    EXPECT_EQ("Error", run.Boxes[0].Caption);
    char message[1024];
    SystemErrorText(ERROR_PATH_NOT_FOUND, message, sizeof message);
    std::string expected = std::string("Error 3: ") + message;
    while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r')) expected.pop_back();
    EXPECT_EQ(expected, run.Boxes[0].Text.substr(0, expected.size()));
}

TEST_F(CommandLineTest, WineOwnVbsFileVerbsAreListed) {
    std::string out = OutputPath("cli_wine.txt");
    RunMorvane("/stab " + out);
    bool found = false;
    for (const std::string& line : SplitLines(ReadWholeFile(out))) {
        std::vector<std::string> cells = SplitTabs(line);
        if (cells.size() != 15 || cells[3] != "VBSFile") continue;
        found = true;
        EXPECT_NE(std::string::npos, cells[1].find(".vbs")) << "reached through .vbs";
        EXPECT_FALSE(cells[10].empty());
    }
    EXPECT_TRUE(found) << "Wine ships verbs for VBSFile";
}

TEST_F(CommandLineTest, StructuredReportsOfTheWholeRegistry) {
    std::string html = OutputPath("cli_report.htm");
    std::string xml = OutputPath("cli_report.xml");
    ProcessResult run = RunMorvane("/shtml " + html + " /sxml " + xml);
    EXPECT_EQ(0u, run.ExitCode);
    EXPECT_FALSE(FileExists(html)) << "the last export option wins";
    std::string report = ReadWholeFile(xml);
    EXPECT_EQ(0u, report.find("<?xml version=\"1.0\"  encoding=\"GBK\" ?>\r\n"));
    EXPECT_NE(std::string::npos, report.find(">%s %n %d</")) << "registry texts are written as they are";
    EXPECT_TRUE(XmlIsWellFormed(xml));

    for (const char* option : {"/shtml", "/sverhtml"}) {
        ASSERT_EQ(0u, RunMorvane(std::string(option) + " " + html).ExitCode);
        std::string page = ReadWholeFile(html);
        EXPECT_EQ(0u, page.find("<!DOCTYPE HTML PUBLIC")) << option;
        EXPECT_NE(std::string::npos, page.find("nowrap>" + kEditName)) << option;
        EXPECT_EQ(page.size() - 14, page.rfind("</body></html>")) << option;
    }
}

TEST_F(CommandLineTest, WineOwnProgramsGiveVersionStrings) {
    std::string out = OutputPath("cli_versions.txt");
    RunMorvane("/stab " + out);
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    int msiRows = 0;
    for (const std::string& line : SplitLines(ReadWholeFile(out))) {
        std::vector<std::string> cells = SplitTabs(line);
        if (cells.size() != 15 || cells[3] != "Msi.Package") continue;
        ++msiRows;
        EXPECT_EQ(std::string(system) + "\\msiexec.exe", cells[9]);
        EXPECT_EQ("Wine Installer", cells[13]);
        EXPECT_FALSE(cells[12].empty()) << "file version";
    }
    EXPECT_GE(msiRows, 2) << "Wine's installer package verbs";
}

// Files beside morvane.exe, removed after the test.
class BesideTheProgram {
public:
    explicit BesideTheProgram(const char* suffix) {
        path_ = MorvaneExe();
        path_ = path_.substr(0, path_.rfind('.')) + suffix;
    }
    ~BesideTheProgram() { DeleteFileA(path_.c_str()); }
    void Write(const std::string& text) const { WriteWholeFile(path_, text); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

TEST_F(CommandLineTest, TheReportFollowsTheSavedColumnsAndStandardVerbs) {
    BesideTheProgram config(".cfg");
    // Column 2 first, then column 0; every other column hidden (at its own position, since
    // two columns at position 0 reject the layout). The saved sort is ignored.
    std::string columns = "64 00 01 00 00 00 02 00 64 00 00 00";
    for (int c = 3; c < 15; ++c) {
        char entry[16];
        std::snprintf(entry, sizeof entry, " 00 00 %02X 00", c);
        columns += entry;
    }
    config.Write("[General]\r\nHideStandardItems=0\r\nColumns=" + columns + "\r\nSort=4098\r\n");
    std::string out = OutputPath("cli_saved_columns.txt");
    ASSERT_EQ(0u, RunMorvane("/stab " + out).ExitCode);
    std::vector<std::string> ours;
    for (const std::string& line : SplitLines(ReadWholeFile(out))) {
        std::vector<std::string> cells = SplitTabs(line);
        if (!line.empty()) {
            EXPECT_EQ(2u, cells.size()) << line;
        }
        if (cells.size() == 2 && (cells[0] == "open" || cells[0] == "edit" || cells[0] == "zap" || cells[0] == "%s%n"))
            ours.push_back(cells[0] + "/" + cells[1]);
    }
    // Sorted by menu name (column 0), not by the saved sort on column 2.
    EXPECT_NE(ours.end(), std::find(ours.begin(), ours.end(), "open/open")) << "the standard verb is listed";
    std::size_t zap = std::find(ours.begin(), ours.end(), "zap/zap") - ours.begin();
    std::size_t edit = std::find(ours.begin(), ours.end(), "edit/" + kEditName) - ours.begin();
    EXPECT_LT(zap, edit);
    std::string text = ReadWholeFile(config.Path());
    EXPECT_NE(std::string::npos, text.find("Sort=4098")) << "a command-line report never saves";
}

TEST_F(CommandLineTest, ALanguageFileTranslatesCaptionsButNotXmlNames) {
    BesideTheProgram language("_lng.ini");
    language.Write("[general]\r\ncharset=gb2312\r\n[strings]\r\n1001=Name\r\n8=Verbs\r\n");
    std::string out = OutputPath("cli_language.txt");
    ASSERT_EQ(0u, RunMorvane("/stext " + out).ExitCode);
    EXPECT_NE(std::string::npos, ReadWholeFile(out).find("\r\nName              : " + kEditName + "\r\n"));
    ASSERT_EQ(0u, RunMorvane("/shtml " + out).ExitCode);
    std::string html = ReadWholeFile(out);
    EXPECT_EQ(0u, html.find("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">\r\n<html><head><meta "
                            "http-equiv='content-type' content='text/html;charset=gb2312'><title>Verbs</title>"));
    EXPECT_NE(std::string::npos, html.find("<th>Name\r\n"));
    ASSERT_EQ(0u, RunMorvane("/sxml " + out).ExitCode);
    std::string xml = ReadWholeFile(out);
    EXPECT_NE(std::string::npos, xml.find("<" + kMenuNameCaption + ">" + kEditName + "</" + kMenuNameCaption + ">"));
    EXPECT_EQ(std::string::npos, xml.find("Verbs"));
}

TEST(SaveLangFile, WritesOnlyTheLanguageFile) {
    BesideTheProgram language("_lng.ini");
    std::string out = TempFilePath("savelangfile.txt");
    DeleteFileA(out.c_str());
    ProcessResult run = RunMorvane("/stab " + out + " /savelangfile");
    EXPECT_EQ(0u, run.ExitCode);
    EXPECT_FALSE(FileExists(out));
    std::string text = ReadWholeFile(language.Path());
    EXPECT_EQ(0u, text.find("[general]\r\nTranslatorName=\r\nTranslatorURL=\r\n[menu_102]\r\n70001="));
    EXPECT_NE(std::string::npos, text.find("[dialog_1096]\r\ncaption="));
    EXPECT_NE(std::string::npos, text.find("\r\n1015="));
}

TEST(NoLoadSettings, DeletesTheOldKeyOnlyAsTheFirstArgument) {
    const struct {
        const char* Arguments;
        bool Deleted;
    } cases[] = {{"/noloadsettings", true}, {"/x /noloadsettings", false}, {"/NoLoadSettings", true}};
    for (const auto& c : cases) {
        win::UniqueKey key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, key.put(), nullptr));
        key.reset();
        ProcessResult run = RunMorvane(c.Arguments);
        EXPECT_EQ(0u, run.ExitCode);
        EXPECT_TRUE(run.WindowShown) << "the window starts all the same";
        bool exists = RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
        EXPECT_EQ(!c.Deleted, exists) << c.Arguments;
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Kestrune");
}

TEST(DeleteRegKey, DeletesTheOldSettingsKeyAndWritesNothingElse) {
    win::UniqueKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, key.put(), nullptr));
    RegSetValueExA(key.get(), "Left", 0, REG_SZ, reinterpret_cast<const BYTE*>("over"), 5);
    key.reset();
    std::string out = TempFilePath("deleteregkey.txt");
    DeleteFileA(out.c_str());
    ProcessResult run = RunMorvane("/deleteregkey /stab " + out);
    EXPECT_EQ(0u, run.ExitCode);
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, key.put()));
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Kestrune", 0, KEY_READ, key.put()));
    EXPECT_FALSE(FileExists(out)) << "the export option after it is not run";
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Kestrune");
}

}  // namespace
