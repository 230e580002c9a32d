#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "TestProcess.h"
#include "TestRegistry.h"
#include "app/Settings.h"
#include "catalogue/MenuItem.h"
#include "catalogue/Registry.h"
#include "catalogue/VerbChanges.h"

using namespace std::string_literals;

namespace {

// Scans a private classes tree and gives the rows by "FileType/MenuKey".
class ScanTest : public ::testing::Test {
protected:
    ScanTest() : list(&settings.HideStandardItems) {
        settings.SetDefaults();
        list.Attach(nullptr);
    }

    void AddVerb(const std::string& type, const std::string& verb, const std::string& command,
                 const char* menuName = nullptr) {
        std::string path = type + "\\shell\\" + verb;
        if (menuName != nullptr) tree.SetString(path, "", menuName);
        tree.SetString(path + "\\command", "", command);
    }

    void Scan() {
        list.ClearRows();
        list.Scan(tree.Root());
        rows.clear();
        order.clear();
        for (int i = 0; i < list.RowCount(); ++i) {
            const ItemRecord& row = *list.ItemAt(i);
            std::string key = std::string(row.IsSystemAssociation ? "SFA:" : "") + row.FileType + "/" + row.MenuKey;
            EXPECT_EQ(0u, rows.count(key)) << "listed twice: " << key;
            rows[key] = row;
            order.push_back(key);
        }
    }

    const ItemRecord* Row(const std::string& key) const {
        auto found = rows.find(key);
        return found != rows.end() ? &found->second : nullptr;
    }

    MainSettings settings;
    MenuItemList list;
    ScratchKeys tree;
    std::map<std::string, ItemRecord> rows;
    std::vector<std::string> order;
};

TEST_F(ScanTest, ExtensionsOfOneTypeAreMergedIntoItsRows) {
    tree.SetString(".log", "", "txtfile");
    tree.SetString(".txt", "", "TXTFILE");
    tree.SetString("txtfile", "", "Text Document");
    AddVerb("txtfile", "edit", "notepad.exe %1", "Edit it");
    AddVerb("txtfile", "view", "viewer.exe %1");
    Scan();

    ASSERT_EQ(2u, rows.size());
    const ItemRecord* edit = Row("txtfile/edit");
    ASSERT_NE(nullptr, edit);
    EXPECT_STREQ(".log,.txt", edit->Extensions);
    EXPECT_STREQ("Text Document", edit->TypeDescription);
    EXPECT_STREQ("Edit it", edit->MenuName);
    EXPECT_STREQ("notepad.exe %1", edit->CommandLine);
    EXPECT_EQ(0, edit->IsSystemAssociation);
    EXPECT_NE(0u, edit->ModifiedTime.dwHighDateTime) << "the command key's last-write time";
    EXPECT_STREQ(".log,.txt", Row("txtfile/view")->Extensions);
    EXPECT_STREQ("view", Row("txtfile/view")->MenuName) << "an empty default value gives the verb name";
}

TEST_F(ScanTest, TypesReachedDirectlyUseTheirOwnName) {
    AddVerb("Directory", "find", "finder.exe %1");
    AddVerb("*", "scan", "scanner.exe %1");
    AddVerb("App.Document", "edit", "app.exe %1");
    Scan();
    ASSERT_NE(nullptr, Row("Directory/find"));
    EXPECT_STREQ("Directory", Row("Directory/find")->Extensions);
    ASSERT_NE(nullptr, Row("*/scan"));
    EXPECT_STREQ("*", Row("*/scan")->Extensions);
    EXPECT_EQ(nullptr, Row("App.Document/edit")) << "dotted names are only reached through extensions";
    EXPECT_EQ(2u, rows.size());
}

TEST_F(ScanTest, DottedTypeIsReachedThroughItsExtension) {
    tree.SetString(".appdoc", "", "App.Document");
    AddVerb("App.Document", "edit", "app.exe %1");
    Scan();
    ASSERT_NE(nullptr, Row("App.Document/edit"));
    EXPECT_STREQ(".appdoc", Row("App.Document/edit")->Extensions);
}

TEST_F(ScanTest, ExtensionWithoutATypeIsItsOwnType) {
    tree.SetString(".missing", "", "NoSuchType");
    AddVerb(".missing", "run", "run.exe %1");
    tree.CreateKey(".empty");
    AddVerb(".empty", "run", "run.exe %1");
    Scan();
    const ItemRecord* missing = Row(".missing/run");
    ASSERT_NE(nullptr, missing);
    EXPECT_STREQ(".missing", missing->Extensions);
    EXPECT_STREQ("NoSuchType", missing->TypeDescription);
    ASSERT_NE(nullptr, Row(".empty/run"));
    EXPECT_STREQ("", Row(".empty/run")->TypeDescription);
}

TEST_F(ScanTest, StandardVerbsAreHiddenOnlyWhenAsked) {
    for (const char* verb : {"open", "Open2", "NEW", "print", "PrintTo", "edit"})
        AddVerb("StdType", verb, "std.exe %1");
    Scan();
    std::vector<std::string> shown(order.begin(), order.end());
    EXPECT_EQ((std::vector<std::string>{"StdType/edit", "StdType/Open2"}), shown);

    settings.HideStandardItems = 0;
    Scan();
    EXPECT_EQ(6u, rows.size());
}

TEST_F(ScanTest, MenuNameFallsBackToTheVerbWhenEmptyOrTooLong) {
    AddVerb("NameType", "fits", "x.exe", std::string(126, 'a').c_str());
    AddVerb("NameType", "toolong", "x.exe", std::string(127, 'b').c_str());
    Scan();
    EXPECT_EQ(std::string(126, 'a'), Row("NameType/fits")->MenuName);
    EXPECT_STREQ("toolong", Row("NameType/toolong")->MenuName);
}

// A marker value counts by its presence alone: any type, any amount of data (the shell
// hides a verb whose LegacyDisable holds 300 bytes just as one holding nothing).
TEST_F(ScanTest, FlagsFollowThePresenceOfTheirValuesOfEveryTypeAndSize) {
    struct Case {
        const char* verb;
        DWORD type;
        std::size_t size;
    };
    const Case cases[] = {
        {"sz0", REG_SZ, 0},           {"sz1", REG_SZ, 1},          {"sz254", REG_SZ, 254},
        {"sz255", REG_SZ, 255},       {"sz256", REG_SZ, 256},      {"sz5000", REG_SZ, 5000},
        {"bin0", REG_BINARY, 0},      {"bin300", REG_BINARY, 300}, {"dword", REG_DWORD, 4},
        {"qword", REG_QWORD, 8},      {"multi", REG_MULTI_SZ, 600}, {"expand", REG_EXPAND_SZ, 40},
        {"none", REG_NONE, 0},
    };
    const char* const markers[] = {"LegacyDisable", "Extended"};
    AddVerb("FlagType", "plain", "x.exe");
    for (const char* marker : markers)
        for (const Case& c : cases) {
            const std::string verb = std::string(marker) + "_" + c.verb;
            AddVerb("FlagType", verb.c_str(), "x.exe");
            std::string data(c.size, 'z');
            if (c.type == REG_MULTI_SZ && c.size >= 2) data[c.size / 2] = data[c.size - 1] = '\0';
            tree.SetBytes(("FlagType\\shell\\" + verb).c_str(), marker, c.type, data.data(),
                          static_cast<DWORD>(c.size));
        }
    Scan();
    ASSERT_NE(nullptr, Row("FlagType/plain"));
    EXPECT_EQ(0, Row("FlagType/plain")->IsDisabled);
    EXPECT_EQ(0, Row("FlagType/plain")->IsExtended);
    for (const char* marker : markers)
        for (const Case& c : cases) {
            const std::string key = std::string("FlagType/") + marker + "_" + c.verb;
            const ItemRecord* row = Row(key.c_str());
            ASSERT_NE(nullptr, row) << key;
            const bool disabled = std::string(marker) == "LegacyDisable";
            EXPECT_EQ(disabled ? 1 : 0, row->IsDisabled) << key;
            EXPECT_EQ(disabled ? 0 : 1, row->IsExtended) << key;
        }
}

// Every default value the scan reads, at one below, at and one above its capacity, in
// every shape an installer may store it: the text is read whole when it fits (a value
// without terminator that fills the capacity loses its last byte) and never otherwise.
TEST_F(ScanTest, DefaultValuesAtEachCapacityInEveryShape) {
    struct Shape {
        const char* Name;
        DWORD Type;
        int Terminators;  // trailing zero bytes among the stored bytes
    };
    const Shape shapes[] = {
        {"sz", REG_SZ, 1}, {"bare", REG_SZ, 0}, {"bin", REG_BINARY, 0}, {"multi", REG_MULTI_SZ, 2},
        {"expand", REG_EXPAND_SZ, 1},
    };
    enum Field { kMenuName, kTypeDescription, kFileTypeName };
    const struct {
        Field Which;
        const char* Name;
        std::size_t Capacity;
    } fields[] = {
        {kMenuName, "menu", 127}, {kTypeDescription, "desc", 255}, {kFileTypeName, "ext", 255}};
    struct Expectation {
        std::string Type, Verb, Text;
        Field Which;
        bool Fits;
    };
    std::vector<Expectation> expected;
    int serial = 0;
    for (const auto& field : fields)
        for (const Shape& shape : shapes)
            for (std::size_t size : {field.Capacity - 1, field.Capacity, field.Capacity + 1}) {
                // A file type name is only found when a terminator ends it.
                if (field.Which == kFileTypeName && shape.Terminators == 0) continue;
                const std::string type = std::string("Cap") + field.Name + std::to_string(serial++);
                std::string data;
                if (field.Which == kFileTypeName)
                    data = type + std::string(shape.Terminators > 0 ? 1 : 0, '\0');  // the name, padded
                while (data.size() + shape.Terminators < size) data += 'm';
                data.append(static_cast<std::size_t>(shape.Terminators), '\0');
                // Wine converts a string without terminator to ANSI with room for the
                // terminator it adds, so one that fills the capacity no longer fits there.
                const bool fits = size <= field.Capacity &&
                                  !(shape.Type == REG_SZ && shape.Terminators == 0 && size == field.Capacity);
                std::string text = data.substr(0, data.find('\0'));
                if (shape.Terminators == 0 && size == field.Capacity) text.pop_back();
                const void* bytes = data.data();
                const DWORD length = static_cast<DWORD>(data.size());
                switch (field.Which) {
                case kMenuName:
                    AddVerb(type, "verb", "x.exe");
                    tree.SetBytes(type + "\\shell\\verb", "", shape.Type, bytes, length);
                    break;
                case kTypeDescription:
                    AddVerb(type, "verb", "x.exe");
                    tree.SetBytes(type, "", shape.Type, bytes, length);
                    break;
                case kFileTypeName:
                    AddVerb(type, "verb", "x.exe");
                    tree.SetBytes("." + type, "", shape.Type, bytes, length);
                    text = "." + type;
                    break;
                }
                expected.push_back({type, "verb", text, field.Which, fits});
            }
    Scan();
    for (const Expectation& e : expected) {
        const std::string key = e.Type + "/" + e.Verb;
        const ItemRecord* row = Row(key);
        ASSERT_NE(nullptr, row) << key;
        switch (e.Which) {
        case kMenuName: EXPECT_EQ(e.Fits ? e.Text : "verb", row->MenuName) << key; break;
        case kTypeDescription: EXPECT_EQ(e.Fits ? e.Text : "", row->TypeDescription) << key; break;
        case kFileTypeName:  // unlinked, the type is still listed under its own name
            EXPECT_EQ(e.Fits ? e.Text : e.Type, row->Extensions) << key;
            break;
        default: break;
        }
    }
}

TEST_F(ScanTest, VerbsWithoutACommandLineGiveNoRow) {
    tree.CreateKey("CmdType\\shell\\nocommand");
    AddVerb("CmdType", "emptycommand", "");
    tree.SetBytes("CmdType\\shell\\zerofirst\\command", "", REG_BINARY, "\0abc", 4);
    AddVerb("CmdType", "kept", "kept.exe");
    tree.CreateKey("NoShellType");
    Scan();
    EXPECT_EQ((std::vector<std::string>{"CmdType/kept"}), order);
}

TEST_F(ScanTest, ExpandableCommandsAreExpanded) {
    AddVerb("ExpandType", "run", "");
    tree.SetString("ExpandType\\shell\\run\\command", "", "%SystemRoot%\\x.exe %1", REG_EXPAND_SZ);
    AddVerb("ExpandType", "plain", "%SystemRoot%\\x.exe %1");
    Scan();
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(std::string(windows) + "\\x.exe %1", Row("ExpandType/run")->CommandLine);
    EXPECT_STREQ("%SystemRoot%\\x.exe %1", Row("ExpandType/plain")->CommandLine)
        << "a plain string keeps its variables";
}

// A command of any length up to 64 KB gives a row, whatever its type: CommandLine holds its
// first 511 bytes (an expandable one expanded first), never ending in the first byte of a
// double-byte character, and the program path is the one that cut text leads to.
TEST_F(ScanTest, LongCommandsAreCutNotLeftOut) {
    const std::string program = "D:\\Program Files\\App\\app.exe";
    const std::string quoted = "\"" + program + "\" ";
    const auto padded = [](std::string text, std::size_t size) {
        while (text.size() < size) text += static_cast<char>('0' + text.size() % 10);
        return text;
    };
    // "中" in code page 936; after the even-length start below one begins at byte 510.
    std::string wide = quoted + " ";
    while (wide.size() < 600) wide += "\xD6\xD0";
    std::string longPath = "\"C:\\";
    longPath.append(2000, 'p');
    longPath += "\\tool.exe\" %1";
    SetEnvironmentVariableA("MORVANE_LONG", std::string(600, 'v').c_str());
    SetEnvironmentVariableA("MORVANE_SHORT", "s");

    const struct {
        const char* Name;
        DWORD Type;
        std::string Stored;    // the value's bytes, terminators included
        std::string Command;   // the whole command text the row stands for
        std::size_t Length;    // bytes of it in CommandLine; 0 for no row
        std::string Program;
    } cases[] = {
        {"sz510", REG_SZ, padded(quoted, 510) + '\0', padded(quoted, 510), 510, program},
        {"sz511", REG_SZ, padded(quoted, 511) + '\0', padded(quoted, 511), 511, program},
        {"sz512", REG_SZ, padded(quoted, 512) + '\0', padded(quoted, 512), 511, program},
        {"sz4096", REG_SZ, padded(quoted, 4096) + '\0', padded(quoted, 4096), 511, program},
        {"sz40000", REG_SZ, padded(quoted, 40000) + '\0', padded(quoted, 40000), 511, program},
        {"sz70000", REG_SZ, padded(quoted, 70000) + '\0', "", 0, ""},
        {"double-byte", REG_SZ, wide + '\0', wide, 510, program},
        {"long path", REG_SZ, longPath + '\0', longPath, 511, ""},
        {"expands past", REG_EXPAND_SZ, quoted + "%MORVANE_LONG%\0"s, quoted + std::string(600, 'v'), 511, program},
        {"expandable over", REG_EXPAND_SZ, padded(quoted + "%MORVANE_SHORT%", 4096) + '\0',
         quoted + "s" + padded(quoted + "%MORVANE_SHORT%", 4096).substr(quoted.size() + 15), 511, program},
        {"multi", REG_MULTI_SZ, padded(quoted, 4096) + "\0second\0\0"s, padded(quoted, 4096), 511, program},
        {"binary", REG_BINARY, padded(quoted, 600), padded(quoted, 600), 511, program},
    };
    for (const auto& c : cases)
        tree.SetBytes(std::string("LongType\\shell\\") + c.Name + "\\command", "", c.Type, c.Stored.data(),
                      static_cast<DWORD>(c.Stored.size()));
    Scan();
    for (const auto& c : cases) {
        const ItemRecord* row = Row(std::string("LongType/") + c.Name);
        ASSERT_EQ(c.Length != 0, row != nullptr) << c.Name;
        if (row == nullptr) continue;
        EXPECT_EQ(c.Command.substr(0, c.Length), row->CommandLine) << c.Name;
        EXPECT_EQ(c.Program, row->ProgramPath) << c.Name;
    }

    // Such a row is changed, and named for the registry editor, like any other.
    ItemRecord row = *Row("LongType/sz40000");
    char editorPath[1024];
    RegistryEditorPath(row, editorPath, sizeof editorPath);
    EXPECT_STREQ("HKEY_CLASSES_ROOT\\LongType\\shell\\sz40000\\Command", editorPath);
    SetDisabled(row, true, tree.Root());
    SetExtended(row, true, tree.Root());
    Scan();
    EXPECT_EQ(1, Row("LongType/sz40000")->IsDisabled);
    EXPECT_EQ(1, Row("LongType/sz40000")->IsExtended);
}

TEST_F(ScanTest, SystemAssociationRowsStayApart) {
    tree.SetString(".pic", "", "image");
    tree.SetString("image", "", "Picture");
    AddVerb("image", "edit", "paint.exe %1");
    AddVerb("SystemFileAssociations\\image", "edit", "viewer.exe %1");
    Scan();
    ASSERT_EQ(2u, list.RowCount());
    const ItemRecord& first = *list.ItemAt(0);
    const ItemRecord& second = *list.ItemAt(1);
    EXPECT_EQ(0, first.IsSystemAssociation);
    EXPECT_STREQ(".pic", first.Extensions);
    EXPECT_EQ(1, second.IsSystemAssociation);
    EXPECT_STREQ("image", second.FileType);
    EXPECT_STREQ("image", second.Extensions);
    EXPECT_STREQ("", second.TypeDescription);
    EXPECT_STREQ("viewer.exe %1", second.CommandLine);
}

TEST_F(ScanTest, ExtensionsThatNoLongerFitAreLeftOutAndShorterOnesStillJoin) {
    // Enumeration is sorted without case: .a000... come first, the short one last.
    std::vector<std::string> names;
    for (int i = 0; i < 13; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, ".a%02d%s", i, std::string(40, 'x').c_str());
        names.push_back(name);
        tree.SetString(name, "", "SharedType");
    }
    tree.SetString(".zz", "", "SharedType");
    AddVerb("SharedType", "edit", "x.exe");
    Scan();
    const ItemRecord* row = Row("SharedType/edit");
    ASSERT_NE(nullptr, row);
    std::string expected;
    for (const std::string& name : names) {
        std::string next = expected.empty() ? name : expected + "," + name;
        if (next.size() < 511) expected = next;
    }
    expected += ",.zz";
    EXPECT_EQ(expected, row->Extensions);
    EXPECT_LT(std::strlen(row->Extensions), 511u);
    EXPECT_NE(',', row->Extensions[std::strlen(row->Extensions) - 1]);
}

TEST_F(ScanTest, AnOverlongKeyNameDoesNotHideTheKeysAfterIt) {
    // 130 double-byte characters: 260 bytes in code page 936, more than a name may take.
    std::string longName;
    for (int i = 0; i < 130; ++i) longName += "\xB2\xCB";
    AddVerb(longName, "edit", "x.exe");
    // Sorted by code point: the short name, the long one, then this one.
    const std::string after = "\xB2\xCB\xC1\xFA";
    AddVerb("\xB2\xCB", "edit", "x.exe");
    AddVerb(after, "edit", "x.exe");
    Scan();
    EXPECT_NE(nullptr, Row("\xB2\xCB/edit"));
    EXPECT_NE(nullptr, Row(after + "/edit")) << "the key after the long name is still scanned";
    EXPECT_EQ(2u, rows.size());
}

TEST_F(ScanTest, RowsComeInEnumerationOrder) {
    AddVerb("bType", "z", "x.exe");
    AddVerb("bType", "a", "x.exe");
    AddVerb("aType", "only", "x.exe");
    Scan();
    EXPECT_EQ((std::vector<std::string>{"aType/only", "bType/a", "bType/z"}), order);
}

struct ValueCase {
    const char* Name;
    DWORD Type;
    std::string Data;
    DWORD Capacity;
    bool Fits;
    std::string Expected;
};

TEST(RegistryValue, ReadsAnyTypeThatFitsAsText) {
    ScratchKeys tree;
    const ValueCase cases[] = {
        {"terminated", REG_SZ, std::string("abc\0", 4), 8, true, "abc"},
        {"unterminated", REG_SZ, "abcd", 8, true, "abcd"},
        {"exactly full", REG_SZ, std::string("abcdefg\0", 8), 8, true, "abcdefg"},
        {"full, no terminator", REG_BINARY, "abcdefgh", 8, true, "abcdefg"},
        {"one over", REG_SZ, std::string("abcdefgh\0", 9), 8, false, ""},
        {"empty", REG_BINARY, "", 8, true, ""},
        {"multi", REG_MULTI_SZ, std::string("one\0two\0\0", 9), 16, true, "one"},
    };
    for (const ValueCase& c : cases)
        tree.SetBytes("values", c.Name, c.Type, c.Data.data(), static_cast<DWORD>(c.Data.size()));
    win::UniqueKey key;
    ASSERT_EQ(ERROR_SUCCESS, reg::OpenKey(tree.Root(), "values", key));
    for (const ValueCase& c : cases) {
        char dest[32];
        std::memset(dest, '#', sizeof dest);
        EXPECT_EQ(c.Fits, reg::ReadValue(key.get(), c.Name, dest, c.Capacity)) << c.Name;
        EXPECT_EQ(c.Expected, dest) << c.Name;
    }
    char dest[8] = "junk";
    EXPECT_FALSE(reg::ReadValue(key.get(), "absent", dest, sizeof dest));
    EXPECT_STREQ("", dest);
}

}  // namespace

namespace {

// Trees where a lookup by name could go wrong: several keys naming one type in mixed
// letter case, a type reached directly before its extensions, and programs whose paths
// differ only in case.
TEST_F(ScanTest, TypesNamedInMixedCaseAreListedOnceWithEveryExtension) {
    tree.SetString(".a", "", "MixType");
    tree.SetString(".B", "", "mixtype");
    tree.SetString(".c", "", "MIXTYPE");
    AddVerb("MixType", "one", "one.exe");
    AddVerb("MixType", "two", "two.exe");
    AddVerb("-Dash", "run", "run.exe");
    tree.SetString(".d", "", "-DASH");
    tree.SetString(".e", "", "-dash");
    Scan();
    EXPECT_EQ((std::vector<std::string>{"-Dash/run", "MixType/one", "MixType/two"}), order);
    EXPECT_STREQ("-Dash,.d,.e", Row("-Dash/run")->Extensions) << "reached directly first, then by extensions";
    EXPECT_STREQ(".a,.B,.c", Row("MixType/one")->Extensions);
    EXPECT_STREQ(".a,.B,.c", Row("MixType/two")->Extensions);
}

TEST_F(ScanTest, RowsOfOneProgramInAnyCaseShareItsStrings) {
    const std::string fixture = FixturePath("version_missing_table.exe");
    std::string lower = fixture;
    for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    AddVerb("ProgA", "run", "\"" + fixture + "\"");
    AddVerb("ProgB", "run", "\"" + lower + "\" %1");
    AddVerb("ProgC", "run", "\"C:\\missing\\NONE.exe\"");
    AddVerb("ProgD", "run", "\"c:\\MISSING\\none.EXE\"");
    Scan();
    for (const char* key : {"ProgA/run", "ProgB/run"}) {
        ASSERT_NE(nullptr, Row(key));
        EXPECT_STREQ("Fallback Product", Row(key)->ProductName) << key;
        EXPECT_STREQ("Fallback Company", Row(key)->CompanyName) << key;
    }
    EXPECT_STREQ("", Row("ProgD/run")->ProductName);
}

}  // namespace
