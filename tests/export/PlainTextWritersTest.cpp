#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "TestProcess.h"
#include "catalogue/MenuItem.h"
#include "export/HtmlText.h"
#include "framework/ErrorBox.h"
#include "resources/resource.h"

namespace {

// Captions in code page 936.
const std::string kMenuNameCaption = "\xB2\xCB\xB5\xA5\xC3\xFB\xB3\xC6";
const std::string kExtensionsCaption = "\xC0\xA9\xD5\xB9";
const std::string kSeparator(50, '=');

class WriterTest : public ::testing::Test {
protected:
    WriterTest() : list(nullptr), path(TempFilePath(UniqueFileName())) { list.Attach(nullptr); }
    ~WriterTest() override { DeleteFileA(path.c_str()); }

    static std::string UniqueFileName() {
        static int counter = 0;
        return "writer" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter) + ".txt";
    }

    // Only the given columns stay visible, in the given order.
    void ShowOnly(std::initializer_list<int> columns) {
        for (auto& entry : list.State().Entries) entry.Width = 0;
        int position = 0;
        for (int column : columns) {
            list.State().Entries[column].Width = 100;
            list.State().Entries[column].Position = static_cast<std::int16_t>(position++);
        }
    }

    ItemRecord& AddRow(const char* menuName, const char* extensions) {
        ItemRecord record;
        std::strcpy(record.MenuName, menuName);
        std::strcpy(record.Extensions, extensions);
        return *static_cast<ItemRecord*>(list.AppendRow(record));
    }

    std::string Write(int format, bool expectSuccess = true) {
        EXPECT_EQ(expectSuccess, list.WriteStoredRows(path.c_str(), format)) << "format " << format;
        return ReadWholeFile(path);
    }

    MenuItemList list;
    std::string path;
};

TEST_F(WriterTest, WorkedExampleInTheThreePlainFormats) {
    ShowOnly({kColumnMenuName, kColumnExtensions});
    AddRow("Edit", ".txt,.log");

    EXPECT_EQ(kSeparator + "\r\n" + kMenuNameCaption + std::string(10, ' ') + ": Edit\r\n" + kExtensionsCaption +
                  std::string(14, ' ') + ": .txt,.log\r\n" + kSeparator + "\r\n\r\n",
              Write(kFormatText));
    EXPECT_EQ("Edit\t.txt,.log\t\r\n", Write(kFormatTabDelimited));
    std::string tabular = Write(kFormatTabular);
    EXPECT_EQ("Edit" + std::string(46, ' ') + " .txt,.log" + std::string(11, ' ') + " \r\n", tabular);
    EXPECT_EQ(72u, tabular.size() - 2);
}

TEST_F(WriterTest, AnEmptyListGivesAnEmptyFile) {
    for (int format : {kFormatText, kFormatTabDelimited, kFormatTabular}) {
        bool exists = false;
        EXPECT_TRUE(list.WriteStoredRows(path.c_str(), format));
        EXPECT_EQ("", ReadWholeFile(path, &exists));
        EXPECT_TRUE(exists);
    }
}

TEST_F(WriterTest, WithEveryColumnHiddenOnlyTheFramesRemain) {
    ShowOnly({});
    AddRow("a", "b");
    AddRow("c", "d");
    const std::string frame = kSeparator + "\r\n" + kSeparator + "\r\n\r\n";
    EXPECT_EQ(frame + frame, Write(kFormatText));
    EXPECT_EQ("\r\n\r\n", Write(kFormatTabDelimited));
    EXPECT_EQ("\r\n\r\n", Write(kFormatTabular));
}

TEST_F(WriterTest, TabularCellsAreCutAtExactlyTheirWidthInBytes) {
    ShowOnly({kColumnMenuName});
    std::string chinese;
    for (int i = 0; i < 30; ++i) chinese += "\xB2\xCB";  // 60 bytes
    std::string odd = "x" + chinese.substr(0, 58);      // 59 bytes: the cut splits a character
    AddRow(chinese.c_str(), "");
    AddRow(odd.c_str(), "");
    AddRow("short", "");
    std::vector<std::string> lines = SplitLines(Write(kFormatTabular));
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ(chinese.substr(0, 50) + " ", lines[0]);
    EXPECT_EQ(odd.substr(0, 50) + " ", lines[1]);
    EXPECT_EQ("short" + std::string(45, ' ') + " ", lines[2]);
    EXPECT_EQ("", lines[3]);
}

// The writes are collected in a buffer of 256 KB: texts of every length from 1 to 127
// bytes make every kind of write (text, character, repeated character) end the buffer at
// some byte of its own, in reports of several buffers.
TEST_F(WriterTest, ReportsLargerThanTheWriteBufferLoseNoByteAtItsEdges) {
    ShowOnly({kColumnMenuName, kColumnExtensions});
    std::string tab, text;
    for (int i = 0; i < 30000; ++i) {
        const std::string name(static_cast<std::size_t>(i % 127 + 1), static_cast<char>('a' + i % 26));
        const std::string extensions = "." + std::to_string(i);
        AddRow(name.c_str(), extensions.c_str());
        tab += name + "\t" + extensions + "\t\r\n";
        text += kSeparator + "\r\n" + kMenuNameCaption + std::string(10, ' ') + ": " + name + "\r\n" +
                kExtensionsCaption + std::string(14, ' ') + ": " + extensions + "\r\n" + kSeparator + "\r\n\r\n";
    }
    ASSERT_GT(tab.size(), 2u * 1024 * 1024);
    const std::string writtenTab = Write(kFormatTabDelimited);
    EXPECT_EQ(tab.size(), writtenTab.size());
    EXPECT_TRUE(writtenTab == tab) << "first difference at byte " << FirstDifference(tab, writtenTab);
    const std::string writtenText = Write(kFormatText);
    EXPECT_EQ(text.size(), writtenText.size());
    EXPECT_TRUE(writtenText == text) << "first difference at byte " << FirstDifference(text, writtenText);
}

TEST_F(WriterTest, TabAndLineBreaksInsideATextAreWrittenUnchanged) {
    ShowOnly({kColumnMenuName, kColumnExtensions});
    AddRow("a\tb", "c\r\nd");
    EXPECT_EQ("a\tb\tc\r\nd\t\r\n", Write(kFormatTabDelimited));
}

TEST_F(WriterTest, ColumnsFollowTheSavedDisplayOrder) {
    ShowOnly({kColumnExtensions, kColumnMenuName});
    AddRow("Edit", ".txt");
    EXPECT_EQ(".txt\tEdit\t\r\n", Write(kFormatTabDelimited));

    // Two columns on one position: the lower column number first.
    ShowOnly({kColumnMenuName, kColumnExtensions});
    list.State().Entries[kColumnExtensions].Position = 0;
    list.State().Entries[kColumnMenuName].Position = 0;
    EXPECT_EQ("Edit\t.txt\t\r\n", Write(kFormatTabDelimited));

    // Positions beyond the last column are clamped to it.
    ShowOnly({kColumnExtensions, kColumnMenuName});
    list.State().Entries[kColumnExtensions].Position = 99;
    EXPECT_EQ("Edit\t.txt\t\r\n", Write(kFormatTabDelimited));
}

TEST_F(WriterTest, AllFifteenColumnsByDefault) {
    ItemRecord& row = AddRow("Edit", ".txt");
    std::strcpy(row.CompanyName, "Last");
    std::string line = Write(kFormatTabDelimited);
    EXPECT_EQ(15, std::count(line.begin(), line.end(), '\t'));
    EXPECT_EQ(0u, line.find("Edit\t.txt\t"));
    EXPECT_NE(std::string::npos, line.find("\tLast\t\r\n"));
}

TEST_F(WriterTest, AnExistingFileIsReplaced) {
    ShowOnly({kColumnMenuName});
    AddRow("new", "");
    WriteWholeFile(path, "old old old old old");
    EXPECT_EQ("new\t\r\n", Write(kFormatTabDelimited));
}

TEST_F(WriterTest, AnUnknownFormatFailsOnTheFirstRow) {
    BoxWatcher boxes;
    EXPECT_TRUE(list.WriteStoredRows(path.c_str(), 9)) << "no rows: nothing to fail";
    EXPECT_EQ("", ReadWholeFile(path));
    AddRow("a", "b");
    EXPECT_FALSE(list.WriteStoredRows(path.c_str(), 9));
    EXPECT_EQ("", ReadWholeFile(path));
    EXPECT_EQ(1u, boxes.Boxes().size());
}

struct FailureCase {
    const char* Path;
    DWORD Code;
};

TEST_F(WriterTest, FailuresShowTheErrorBoxWithTheSystemText) {
    ShowOnly({kColumnMenuName});
    // Over 2 MB, so that the failure comes from a flush of a full buffer, not from Close.
    for (int i = 0; i < 50000; ++i) AddRow("a row long enough to fill the write buffer more than once", "");
    const FailureCase cases[] = {
        {"Z:\\no\\such\\folder\\out.txt", ERROR_PATH_NOT_FOUND},
        {"Z:\\dev\\full", ERROR_DISK_FULL},
    };
    for (const FailureCase& c : cases) {
        BoxWatcher boxes;
        EXPECT_FALSE(list.WriteStoredRows(c.Path, kFormatTabular)) << c.Path;
        std::vector<MessageBoxSeen> seen = boxes.Boxes();
        ASSERT_EQ(1u, seen.size()) << c.Path;
        EXPECT_EQ("Error", seen[0].Caption);
        char message[1024];
        SystemErrorText(c.Code, message, sizeof message);
        std::string expected = "Error " + std::to_string(c.Code) + ": " + message;
        while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r')) expected.pop_back();
        EXPECT_EQ(expected, seen[0].Text.substr(0, expected.size())) << c.Path;
    }
}

// A generic report list of one column, captioned with 18 bytes or more, over rows of the
// given type, with the given tabular width.
template <typename Row, int TabularWidth>
class OneColumnList : public ReportList {
public:
    int RowSize() const override { return sizeof(Row); }
    void WriteHtmlFooter(ReportFile& file, int format) override { WriteHtmlDocumentFooter(file, format); }
    void WriteHtmlHeader(ReportFile& file, int format) override { WriteHtmlDocumentHeader(file, format); }

protected:
    const ColumnDef* ColumnTable(int* count) const override {
        static const ColumnDef table[] = {{0, 6, 0, 100, IDS_SAVE_TITLE, "", 0, TabularWidth, nullptr}};
        *count = 1;
        return table;
    }
};

struct NoteRow : RowRecord {
    char Text[16] = {};
    const char* ColumnText(int, char*, int) const override { return Text; }
};
using NoteList = OneColumnList<NoteRow, 4>;

TEST(GenericReportList, ALongCaptionIsFollowedDirectlyByTheColon) {
    NoteList list;
    list.Attach(nullptr, 1);
    NoteRow row;
    std::strcpy(row.Text, "value");
    list.AppendRow(row);
    std::string path = TempFilePath("note_report.txt");
    ASSERT_TRUE(list.WriteStoredRows(path.c_str(), kFormatText));
    std::vector<std::string> lines = SplitLines(ReadWholeFile(path));
    std::string caption = list.Descriptor(0).Caption;
    ASSERT_EQ(18u, caption.size());
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(caption + ": value", lines[1]);
    ASSERT_TRUE(list.WriteStoredRows(path.c_str(), kFormatTabular));
    EXPECT_EQ("valu \r\n", ReadWholeFile(path)) << "the tabular width is the column's own";
    EXPECT_STREQ("", list.ReportTitle()) << "a list without a title id has an empty title";
    DeleteFileA(path.c_str());
}

// A row whose one text may be long and may start at any byte of a machine word.
struct LongRow : RowRecord {
    char Text[8192] = {};
    int Shift = 0;
    const char* ColumnText(int, char*, int) const override { return Text + Shift; }
};
using LongList = OneColumnList<LongRow, 1500>;

// Texts are copied a word at a time up to 1 KB and piece by piece beyond: every length
// around the word size, that kilobyte and the tabular width, at every start in a word,
// with bytes that XML escapes among them, gives the same bytes in every format.
TEST(GenericReportList, TextsOfEveryLengthAndStartKeepTheirBytes) {
    LongList list;
    list.Attach(nullptr, 1);
    const std::string caption = list.Descriptor(0).Caption;
    const std::string separator(50, '=');
    char element[256];
    html::ElementName(list.Attributes(0).Name, element);
    const std::string name = element;
    std::string text, tab, tabular, xml;
    const char escaped[] = "&<>\"\n\x07";
    int n = 0;
    for (std::size_t length : {0, 1, 7, 8, 9, 15, 16, 17, 1023, 1024, 1025, 1031, 1032, 1033, 1499, 1500, 1501, 5000})
        for (int shift = 0; shift < 8; ++shift, ++n) {
            LongRow row;
            row.Shift = shift;
            for (std::size_t i = 0; i < length; ++i)
                row.Text[shift + i] = (n + i) % 29 == 3 ? escaped[(n + i) % 6] : static_cast<char>('a' + (n + i) % 26);
            // Bytes after the terminator must never show.
            std::memset(row.Text + shift + length + 1, 'X', 16);
            list.AppendRow(row);
            const std::string value(row.Text + shift, length);
            text += separator + "\r\n" + caption + ": " + value + "\r\n" + separator + "\r\n\r\n";
            tab += value + "\t\r\n";
            const std::string cut = value.substr(0, 1500);
            tabular += cut + std::string(1500 - cut.size() + 1, ' ') + "\r\n";
            std::string item;
            html::AppendEscaped(item, value.c_str(), true);
            xml += "<item>\r\n<" + name + ">" + item + "</" + name + ">\r\n</item>\r\n";
        }
    const std::string path = TempFilePath("long_report.txt");
    const struct {
        int Format;
        const std::string& Expected;
    } cases[] = {{kFormatText, text}, {kFormatTabDelimited, tab}, {kFormatTabular, tabular}, {kFormatXml, xml}};
    for (const auto& c : cases) {
        ASSERT_TRUE(list.WriteStoredRows(path.c_str(), c.Format)) << c.Format;
        std::string written = ReadWholeFile(path);
        if (c.Format == kFormatXml) {
            // The rows between the root element's tags.
            const std::size_t first = written.find("<item>"), last = written.rfind("</item>\r\n");
            ASSERT_NE(std::string::npos, first);
            ASSERT_NE(std::string::npos, last);
            written = written.substr(first, last + 9 - first);
        }
        EXPECT_EQ(c.Expected.size(), written.size()) << c.Format;
        EXPECT_TRUE(written == c.Expected) << c.Format << ": first difference at byte "
                                           << FirstDifference(c.Expected, written);
    }
    DeleteFileA(path.c_str());
}

}  // namespace
