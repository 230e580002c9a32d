// Hostile input: random classes trees, extreme command lines, files that cannot be
// written and language files full of junk. The program must list what it can, never
// overrun a field, and write well-formed reports. The figures are printed at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "TestProcess.h"
#include "TestRegistry.h"
#include "app/Settings.h"
#include "catalogue/MenuItem.h"

namespace {

struct Figures {
    int Cases = 0;
    int Crashes = 0;
    int Hangs = 0;
    int Malformed = 0;
};
Figures figures;

class FigureReporter : public ::testing::Environment {
public:
    void TearDown() override {
        std::printf("hostile input: %d cases tried, %d crashes, %d hangs, %d malformed outputs\n", figures.Cases,
                    figures.Crashes, figures.Hangs, figures.Malformed);
    }
};
const auto* const reporter = ::testing::AddGlobalTestEnvironment(new FigureReporter);

// Random names and values built from pieces that installers and attackers like.
class RandomTree {
public:
    explicit RandomTree(unsigned seed) : random_(seed) {}

    std::string Name(std::size_t longest) {
        static const char* const pieces[] = {".", "*", "a", "Z", "%s", "%n", "%d", " ", "_", "-", "\xB2\xCB",
                                             "\xC0\xA9", "exefile", "open", "shell", "x.y", "&<>\"", "\xB0"};
        // Whole pieces only: a name cut inside a double-byte character would swallow the
        // backslash after it and no longer be the path the test means.
        std::string name;
        const std::size_t length = 1 + random_() % longest;
        while (name.size() < length) name += pieces[random_() % (sizeof pieces / sizeof pieces[0])];
        return name;
    }

    void Value(ScratchKeys& tree, const std::string& key, const char* valueName) {
        static const DWORD types[] = {REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ, REG_NONE};
        const DWORD type = types[random_() % 6];
        static const std::size_t sizes[] = {0, 1, 4, 126, 127, 128, 254, 255, 256, 510, 511, 512, 600, 2000};
        std::string data;
        const std::size_t size = sizes[random_() % (sizeof sizes / sizeof sizes[0])];
        while (data.size() < size) data += random_() % 4 == 0 ? Name(8) : "notepad.exe %1 ";
        data.resize(size);
        if (random_() % 3 == 0 && !data.empty()) data.back() = '\0';
        if (type == REG_EXPAND_SZ && random_() % 2 == 0) data = "%SystemRoot%%SystemRoot%%SystemRoot%\\" + data;
        tree.SetBytes(key, valueName, type, data.data(), static_cast<DWORD>(data.size()));
    }

    void Build(ScratchKeys& tree) {
        const int types = 3 + random_() % 6;
        std::vector<std::string> typeNames;
        for (int t = 0; t < types; ++t) {
            std::string type = Name(40);
            if (type.find('\\') != std::string::npos) continue;
            typeNames.push_back(type);
            Value(tree, type, "");
            const int verbs = 1 + random_() % 6;
            for (int v = 0; v < verbs; ++v) {
                const std::string verb = type + "\\shell\\" + Name(random_() % 5 == 0 ? 300 : 30);
                Value(tree, verb, "");
                if (random_() % 3 == 0) Value(tree, verb, "LegacyDisable");
                if (random_() % 3 == 0) Value(tree, verb, "Extended");
                if (random_() % 6 != 0) Value(tree, verb + "\\command", "");
            }
        }
        for (int e = 0; e < 10; ++e) {
            if (typeNames.empty()) break;
            tree.SetString("." + Name(20), "", typeNames[random_() % typeNames.size()]);
        }
        if (!typeNames.empty())
            Value(tree, "SystemFileAssociations\\" + typeNames[0] + "\\shell\\" + Name(10) + "\\command", "");
    }

private:
    std::mt19937 random_;
};

// Every text field of every row lies within its capacity; every row has a command.
bool RowsKeepTheirShape(const MenuItemList& list) {
    for (int i = 0; i < list.RowCount(); ++i) {
        const ItemRecord& row = *list.ItemAt(i);
        if (row.CommandLine[0] == '\0') return false;
        const struct {
            const char* Text;
            std::size_t Capacity;
        } fields[] = {{row.MenuKey, sizeof row.MenuKey},         {row.MenuName, sizeof row.MenuName},
                      {row.FileType, sizeof row.FileType},       {row.Extensions, sizeof row.Extensions},
                      {row.ProgramPath, sizeof row.ProgramPath}, {row.CommandLine, sizeof row.CommandLine},
                      {row.TypeDescription, sizeof row.TypeDescription}};
        for (const auto& field : fields)
            if (strnlen(field.Text, field.Capacity) >= field.Capacity) return false;
    }
    return true;
}

// In every HTML row, what is left after the markup the writer adds holds no markup.
bool HtmlCellsAreEscaped(const std::string& html) {
    for (const std::string& line : SplitLines(html)) {
        if (line.compare(0, 4, "<tr>") != 0 || line.compare(0, 8, "<tr><td ") == 0) continue;
        std::string rest = line.substr(4);
        for (std::size_t at; (at = rest.find("<td bgcolor=#")) != std::string::npos;) {
            std::size_t close = rest.find('>', at);
            if (close == std::string::npos) return false;
            rest.erase(at, close - at + 1);
        }
        for (std::size_t at; (at = rest.find("<br>")) != std::string::npos;) rest.erase(at, 4);
        if (rest.find_first_of("<>\"") != std::string::npos) return false;
    }
    return true;
}

TEST(HostileRegistry, RandomTreesGiveSoundRowsAndWellFormedReports) {
    MainSettings settings;
    settings.SetDefaults();
    const std::string xml = TempFilePath("hostile.xml");
    const std::string html = TempFilePath("hostile.htm");
    for (unsigned seed = 1; seed <= 12; ++seed) {
        ScratchKeys tree;
        tree.AcceptRefusals();
        RandomTree(seed).Build(tree);
        MenuItemList list(&settings.HideStandardItems);
        list.Attach(nullptr);
        list.Scan(tree.Root());

        ++figures.Cases;
        EXPECT_TRUE(RowsKeepTheirShape(list)) << "seed " << seed;
        ASSERT_TRUE(list.WriteStoredRows(xml.c_str(), kFormatXml));
        ASSERT_TRUE(list.WriteStoredRows(html.c_str(), kFormatHtmlRows));
        const bool wellFormed = XmlIsWellFormed(xml);
        const bool escaped = HtmlCellsAreEscaped(ReadWholeFile(html));
        if (!wellFormed || !escaped) ++figures.Malformed;
        EXPECT_TRUE(wellFormed) << "seed " << seed;
        EXPECT_TRUE(escaped) << "seed " << seed;
    }
    DeleteFileA(xml.c_str());
    DeleteFileA(html.c_str());
}

TEST(HostileRegistry, HundredsOfExtensionsAndThousandsOfVerbs) {
    ScratchKeys tree;
    for (int e = 0; e < 300; ++e) tree.SetString(".h" + std::to_string(e), "", "ManyType");
    for (int v = 0; v < 2000; ++v) tree.SetString("ManyType\\shell\\v" + std::to_string(v) + "\\command", "", "x.exe");
    MainSettings settings;
    settings.SetDefaults();
    MenuItemList list(&settings.HideStandardItems);
    list.Attach(nullptr);
    list.Scan(tree.Root());
    ++figures.Cases;
    ASSERT_EQ(2000, list.RowCount());
    EXPECT_TRUE(RowsKeepTheirShape(list));
    EXPECT_GT(std::strlen(list.ItemAt(0)->Extensions), 490u);
}

struct CommandLineCase {
    std::string Name;
    std::string Arguments;
};

TEST(HostileCommandLine, ExtremeArgumentsEndCleanly) {
    const std::string out = TempFilePath("hostile_cli.txt");
    std::string manyKeys;
    for (int i = 0; i < 40; ++i) manyKeys += " /sort ~" + std::to_string(i % 20);
    const std::vector<CommandLineCase> cases = {
        {"100,000 characters", "/stab " + out + " " + std::string(100000, 'x')},
        {"unbalanced quotes", "/stab \"" + out + " /sort \"~1"},
        {"40 sort keys", "/stab " + out + manyKeys},
        {"export option without a file", "/sxml"},
        {"non-ASCII bytes", "/stab " + out + " /sort \xB2\xCB\xB5\xA5 \xFF\xFE"},
        {"format strings", "/stab " + out + " /sort %s%n%d"},
    };
    for (const CommandLineCase& c : cases) {
        ProcessResult run = RunMorvane(c.Arguments, 60000);
        ++figures.Cases;
        if (run.TimedOut) ++figures.Hangs;
        if (!run.TimedOut && run.ExitCode != 0) ++figures.Crashes;
        EXPECT_FALSE(run.TimedOut) << c.Name;
        EXPECT_EQ(0u, run.ExitCode) << c.Name;
    }
    DeleteFileA(out.c_str());
}

// A read-only file is left out: Wine maps the attribute to Unix permissions, which do not
// stop root, and the tests run as root.
TEST(HostileFileSystem, UnwritableReportsShowTheErrorBoxAndTouchNothingElse) {
    const std::vector<CommandLineCase> cases = {
        {"missing folder", "/stab \"C:\\no such folder\\r.txt\""},
        {"full disk", "/stabular Z:\\dev\\full"},
        {"path over 260 characters", "/stab C:\\" + std::string(300, 'p') + ".txt"},
    };
    for (const CommandLineCase& c : cases) {
        ProcessResult run = RunMorvane(c.Arguments, 60000);
        ++figures.Cases;
        if (run.TimedOut) ++figures.Hangs;
        EXPECT_FALSE(run.TimedOut) << c.Name;
        EXPECT_EQ(0u, run.ExitCode) << c.Name;
        ASSERT_EQ(1u, run.Boxes.size()) << c.Name;
        EXPECT_EQ(0u, run.Boxes[0].Text.find("Error ")) << c.Name;
    }
}

// A report onto a file nobody may write: the error box, exit code 0 and the file as it was.
TEST(HostileFileSystem, AReportOntoAReadOnlyFileLeavesItAsItWas) {
    // Outside the build folder, so that a file left unwritable never stands in its way.
    const std::string path = WindowsPathOf(("/tmp/morvane-hostile-" + std::to_string(GetCurrentProcessId()) + ".txt").c_str());
    WriteWholeFile(path, "kept");
    if (!SetUnwritable(path, true)) {
        DeleteFileA(path.c_str());
        GTEST_SKIP() << "this file system cannot make a file unwritable for root";
    }
    ProcessResult run = RunMorvane("/stab " + path, 60000);
    ++figures.Cases;
    if (run.TimedOut) ++figures.Hangs;
    EXPECT_FALSE(run.TimedOut);
    EXPECT_EQ(0u, run.ExitCode);
    ASSERT_EQ(1u, run.Boxes.size());
    EXPECT_EQ(0u, run.Boxes[0].Text.find("Error "));
    EXPECT_EQ("kept", ReadWholeFile(path));
    EXPECT_TRUE(SetUnwritable(path, false));
    DeleteFileA(path.c_str());
}

TEST(HostileFiles, JunkLanguageAndConfigurationFilesAreSurvived) {
    std::string base = MorvaneExe();
    base = base.substr(0, base.rfind('.'));
    const std::string language = base + "_lng.ini", config = base + ".cfg";
    std::string junk = "[general]\r\nrtl=yes\r\ncharset=" + std::string(5000, 'c') + "\r\n[strings]\r\n";
    junk += "1001=" + std::string(6000, 'n') + "\r\n4=%s%s%s%n\r\n";
    for (int i = 0; i < 5000; ++i) junk += std::to_string(20000 + i) + "=x\r\n";
    junk += "[menu_999]\r\n1=none\r\n[dialog_4242]\r\ncaption=none\r\n";
    std::string badConfig = "[General]\r\nColumns=" + std::string(9000, '7') + "\r\nSort=-5\r\nWinPos=G\r\n";
    WriteWholeFile(language, junk);
    WriteWholeFile(config, badConfig);
    const std::string out = TempFilePath("hostile_files.htm");
    ProcessResult run = RunMorvane("/shtml " + out, 60000);
    ++figures.Cases;
    if (run.TimedOut) ++figures.Hangs;
    EXPECT_FALSE(run.TimedOut);
    EXPECT_EQ(0u, run.ExitCode);
    const std::string report = ReadWholeFile(out);
    EXPECT_NE(std::string::npos, report.find("<th>" + std::string(4095, 'n') + "\r\n"))
        << "a 6000-character caption is cut to what one read holds";
    DeleteFileA(language.c_str());
    DeleteFileA(config.c_str());
    DeleteFileA(out.c_str());
}

// Saved column layouts that no window ever wrote: every report still has one consistent
// set of at most 15 cells a line, and the XML stays well-formed.
TEST(HostileFiles, OutOfRangeColumnLayoutsGiveConsistentReports) {
    std::string base = MorvaneExe();
    base = base.substr(0, base.rfind('.'));
    const std::string config = base + ".cfg";
    const auto layout = [](int width, int position, int step) {
        std::string value;
        for (int c = 0; c < 15; ++c) {
            char entry[16];
            const int p = (position + c * step) & 0xFFFF;
            std::snprintf(entry, sizeof entry, "%s%02X %02X %02X %02X", c == 0 ? "" : " ", width & 0xFF,
                          (width >> 8) & 0xFF, p & 0xFF, p >> 8);
            value += entry;
        }
        return value;
    };
    const struct {
        std::string Name;
        std::string Columns;
        bool Visible;  // false: every column hidden, the rows are empty lines
    } cases[] = {
        {"positions far past the last column", layout(100, 0x7FFF, 0), true},
        {"negative positions", layout(100, 0xFFFF, -1), true},
        {"huge widths", layout(0x7FFF, 0, 1), true},
        {"negative widths", layout(0xFFFF, 0, 1), false},
        {"all hidden", layout(0, 0, 1), false},
        {"two columns at position 0", "64 00 00 00 64 00 00 00", true},
        {"odd number of digits", "64 00 0", true},
    };
    for (const auto& c : cases) {
        WriteWholeFile(config, "[General]\r\nColumns=" + c.Columns + "\r\nSort=2147483647\r\n");
        const std::string tab = TempFilePath("hostile_columns.txt"), xml = TempFilePath("hostile_columns.xml");
        ProcessResult run = RunMorvane("/stab " + tab, 60000);
        ProcessResult xmlRun = RunMorvane("/sxml " + xml, 60000);
        ++figures.Cases;
        if (run.TimedOut || xmlRun.TimedOut) ++figures.Hangs;
        EXPECT_FALSE(run.TimedOut || xmlRun.TimedOut) << c.Name;
        EXPECT_EQ(0u, run.ExitCode) << c.Name;
        EXPECT_TRUE(run.Boxes.empty() && xmlRun.Boxes.empty()) << c.Name;
        std::size_t cells = std::string::npos;
        bool consistent = true;
        for (const std::string& line : SplitLines(ReadWholeFile(tab))) {
            if (line.empty()) continue;
            const std::size_t tabs = static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t'));
            if (cells == std::string::npos) cells = tabs;
            consistent = consistent && tabs == cells && tabs <= 15;
        }
        const bool wellFormed = XmlIsWellFormed(xml);
        if (!consistent || !wellFormed) ++figures.Malformed;
        EXPECT_EQ(c.Visible, cells != std::string::npos) << c.Name << ": visible cells";
        EXPECT_TRUE(consistent) << c.Name;
        EXPECT_TRUE(wellFormed) << c.Name;
        DeleteFileA(tab.c_str());
        DeleteFileA(xml.c_str());
    }
    DeleteFileA(config.c_str());
}

}  // namespace
