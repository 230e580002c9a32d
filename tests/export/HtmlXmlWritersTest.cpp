#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TestProcess.h"
#include "catalogue/MenuItem.h"
#include "export/HtmlText.h"
#include "export/ReportFile.h"
#include "report/ReportList.h"

namespace {

// Texts in code page 936.
const std::string kTitle = "\xB2\xCB\xB5\xA5\xCF\xEE\xC4\xBF\xC1\xD0\xB1\xED";
const std::string kMenuName = "\xB2\xCB\xB5\xA5\xC3\xFB\xB3\xC6";
const std::string kExtensions = "\xC0\xA9\xD5\xB9";
const std::string kCreatedBy = "\xCA\xB9\xD3\xC3\xB4\xB4\xBD\xA8";

std::string Join(const std::vector<std::string>& lines) {
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) joined += lines[i] + (i + 1 < lines.size() ? "\r\n" : "");
    return joined;
}

class StructuredWriterTest : public ::testing::Test {
protected:
    StructuredWriterTest() : list(nullptr) {
        list.Attach(nullptr);
        static int counter = 0;
        path = TempFilePath("structured" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter));
    }
    ~StructuredWriterTest() override { DeleteFileA(path.c_str()); }

    void ShowOnly(std::initializer_list<int> columns) {
        for (auto& entry : list.State().Entries) entry.Width = 0;
        std::int16_t position = 0;
        for (int column : columns) {
            list.State().Entries[column].Width = 100;
            list.State().Entries[column].Position = position++;
        }
    }

    ItemRecord& AddRow(const char* menuName, const char* extensions) {
        ItemRecord record;
        std::strcpy(record.MenuName, menuName);
        std::strcpy(record.Extensions, extensions);
        return *static_cast<ItemRecord*>(list.AppendRow(record));
    }

    std::string Write(int format) {
        EXPECT_TRUE(list.WriteStoredRows(path.c_str(), format));
        return ReadWholeFile(path);
    }

    std::string Credit() const {
        return "<br><h4>" + kCreatedBy + " <a href=\"" + html::kHomePage + "\" target=\"newwin\">Morvane</a></h4><p>";
    }

    MenuItemList list;
    std::string path;
};

TEST_F(StructuredWriterTest, WorkedExampleOneRowPerRecord) {
    ShowOnly({kColumnMenuName, kColumnExtensions});
    AddRow("Edit", ".txt,.log");
    EXPECT_EQ(Join({"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">",
                    "<html><head><title>" + kTitle + "</title></head>", "<body>", " <h3>" + kTitle + "</h3>",
                    Credit() + "<table border=\"1\" cellpadding=\"5\"><tr bgcolor=\"E0E0E0\">", "<th>" + kMenuName,
                    "<th>" + kExtensions,
                    "<tr><td bgcolor=#FFFFF0 nowrap>Edit<td bgcolor=#FFFDF0 nowrap>.txt,.log", "</table>", "",
                    "</body></html>"}),
              Write(kFormatHtmlRows));
}

TEST_F(StructuredWriterTest, WorkedExampleOneTablePerRecord) {
    ShowOnly({kColumnMenuName, kColumnExtensions});
    AddRow("Edit", ".txt,.log");
    EXPECT_EQ(Join({"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">",
                    "<html><head><title>" + kTitle + "</title></head>", "<body>", " <h3>" + kTitle + "</h3>",
                    Credit() + "<table border=\"1\" cellpadding=\"5\">",
                    "<tr><td bgcolor=\"E0E0E0\" nowrap><b>" + kMenuName + "</b><td bgcolor=#FFFFF0 nowrap>Edit",
                    "<tr><td bgcolor=\"E0E0E0\" nowrap><b>" + kExtensions +
                        "</b><td bgcolor=#FFFDF0 nowrap>.txt,.log",
                    "</table><p>", "", "</body></html>"}),
              Write(kFormatHtmlTables));
}

TEST_F(StructuredWriterTest, WorkedExampleXml) {
    ShowOnly({kColumnMenuName, kColumnExtensions});
    AddRow("Edit", ".txt,.log");
    std::string xml = Write(kFormatXml);
    // Under code page 936 the declaration names the encoding of the bytes written.
    EXPECT_EQ(Join({"<?xml version=\"1.0\"  encoding=\"GBK\" ?>", "<" + kTitle + ">", "<item>",
                    "<" + kMenuName + ">Edit</" + kMenuName + ">", "<" + kExtensions + ">.txt,.log</" + kExtensions + ">",
                    "</item>", "</" + kTitle + ">", ""}),
              xml);
    EXPECT_TRUE(XmlIsWellFormed(path));
}

TEST_F(StructuredWriterTest, GradientSpreadsTheThreeStopsOverFifteenColumns) {
    const char* expected[] = {"FFFFF0", "FFFDF0", "FFFBF0", "FFF9F0", "FFF6F0", "FFF4F0", "FFF2F0", "FFF0F0",
                              "FDF0F2", "FBF0F4", "F9F0F6", "F6F0F9", "F4F0FB", "F2F0FD", "F0F0FF"};
    for (int p = 0; p < 15; ++p) {
        char hex[7];
        html::ColorHex(list.GradientColor(kFormatHtmlRows, p), hex);
        EXPECT_STREQ(expected[p], hex) << "position " << p;
    }
    std::string report = Write(kFormatHtmlRows);
    EXPECT_EQ(std::string::npos, report.find("<td")) << "no rows, no cells";
    AddRow("a", "b");
    report = Write(kFormatHtmlRows);
    for (const char* colour : expected) EXPECT_NE(std::string::npos, report.find(std::string("#") + colour));
}

TEST_F(StructuredWriterTest, HtmlCellsAreEscapedAndEmptyOnesFilled) {
    ShowOnly({kColumnMenuName, kColumnExtensions, kColumnMenuKey});
    ItemRecord& row = AddRow("a<b>&\"c\"", " lead");
    std::strcpy(row.MenuKey, "");
    ItemRecord& second = AddRow("line\r\nbreak", "\xB0\xA1 deg");
    std::strcpy(second.MenuKey, "x");
    std::string report = Write(kFormatHtmlRows);
    EXPECT_NE(std::string::npos, report.find("nowrap>a&lt;b&gt;&amp;&quot;c&quot;<td"));
    EXPECT_NE(std::string::npos, report.find("nowrap> lead&nbsp;<td"));
    EXPECT_NE(std::string::npos, report.find("nowrap>&nbsp;\r\n"));
    EXPECT_NE(std::string::npos, report.find("nowrap>line\r<br>break<td"));
    EXPECT_NE(std::string::npos, report.find("nowrap>\xB0\xA1 deg<td")) << "0xB0 leads a character here";
}

TEST(HtmlText, EscapingForHtmlAndXml) {
    const struct {
        const char* Text;
        const char* Html;
        const char* Xml;
    } cases[] = {
        {"plain", "plain", "plain"},
        {"a\nb", "a<br>b", "a\nb"},
        {"\r\n", "\r<br>", "\r\n"},
        {"<&>\"", "&lt;&amp;&gt;&quot;", "&lt;&amp;&gt;&quot;"},
        {"%s %n", "%s %n", "%s %n"},
        {"bell\x07tab\t", "bell\x07tab\t", "bell?tab\t"},
        {"\xB2\xCB", "\xB2\xCB", "\xB2\xCB"},
        {"cut\xB2", "cut\xB2", "cut?"},   // a lead byte without its trail byte
        {"\x81\x7F", "\x81\x7F", "?"},    // a pair the code page does not define
        {"\xAA\xDE", "\xAA\xDE", "?"},    // the user-defined area: private use
    };
    for (const auto& c : cases) {
        std::string out;
        html::AppendEscaped(out, c.Text, false);
        EXPECT_EQ(c.Html, out) << c.Text;
        out.clear();
        html::AppendEscaped(out, c.Text, true);
        EXPECT_EQ(c.Xml, out) << c.Text;
    }
}

// The file's buffer holds 256 KB: runs of plain bytes of every length up to 127, each
// followed by a byte to escape, end the buffer at every kind of byte of their own.
TEST(HtmlText, EscapingIntoTheFileGivesTheBytesOfEscapingIntoAString) {
    const std::string path = TempFilePath("escape" + std::to_string(GetCurrentProcessId()) + ".xml");
    const char escaped[] = {'&', '<', '\x07', '\n'};
    std::string expected;
    {
        ReportFile file;
        ASSERT_TRUE(file.Create(path.c_str()));
        for (int i = 0; expected.size() < 2u * 1024 * 1024 + 300; ++i) {
            std::string text(static_cast<std::size_t>(i % 127), static_cast<char>('a' + i % 26));
            text += escaped[i % 4];
            text += "\xB2\xCB";
            html::WriteEscapedXml(file, text.c_str());
            html::AppendEscaped(expected, text.c_str(), true);
        }
        ASSERT_TRUE(file.Close());
    }
    const std::string written = ReadWholeFile(path);
    DeleteFileA(path.c_str());
    EXPECT_EQ(expected.size(), written.size());
    EXPECT_TRUE(written == expected) << "first difference at byte " << FirstDifference(expected, written);
}

TEST(HtmlText, ElementNames) {
    const struct {
        const char* Text;
        const char* Name;
    } cases[] = {
        {"File Name", "file_name"},
        {"A/B", "a_b"},
        {"C:\\Path", "c:_path"},
        {"\x95\x5C\xB0\x41", "\x95\x5C\xB0\x41"},  // trail bytes that look like "\" and "A"
    };
    for (const auto& c : cases) {
        char name[256];
        html::ElementName(c.Text, name);
        EXPECT_STREQ(c.Name, name) << c.Text;
    }
    std::string longText;
    for (int i = 0; i < 200; ++i) longText += "\xB2\xCB";
    char name[256];
    html::ElementName(longText.c_str(), name);
    EXPECT_EQ(254u, std::strlen(name)) << "cut between characters, within 255 bytes";
}

TEST(HtmlText, DecorationFollowsTheStyle) {
    std::string out;
    CellStyleRecord plain;
    html::Decorate(plain, "x", out);
    EXPECT_EQ("x", out);
    CellStyleRecord styled;
    styled.FontColor = RGB(0x12, 0x34, 0x56);
    styled.FontSize = 3;
    styled.Bold = true;
    html::Decorate(styled, "x", out);
    EXPECT_EQ("<font size=\"3\" color=\"#123456\"><b>x</b></font>", out);
}

TEST_F(StructuredWriterTest, XmlStaysWellFormedWhateverTheCellsHold) {
    ItemRecord& row = AddRow("ctrl\x01\x1F<&>\"\xB0", "lone lead \xB2");
    std::strcpy(row.CommandLine, "\x81\x7F %s %n \r\n");
    std::strcpy(row.FileType, "\xB2\xCB\xB5\xA5");
    EXPECT_TRUE(XmlIsWellFormed((Write(kFormatXml), path)));
}

// A report list without header colours.
class PlainHeaderList : public MenuItemList {
public:
    PlainHeaderList() : MenuItemList(nullptr) {}
    COLORREF HeaderCellColor() const override { return static_cast<COLORREF>(-1); }
};

TEST(StructuredWriter, WithoutAHeaderColourTheHeaderCellsHaveNone) {
    PlainHeaderList list;
    list.Attach(nullptr);
    ItemRecord record;
    list.AppendRow(record);
    std::string path = TempFilePath("plain_header.htm");
    ASSERT_TRUE(list.WriteStoredRows(path.c_str(), kFormatHtmlRows));
    EXPECT_NE(std::string::npos, ReadWholeFile(path).find("cellpadding=\"5\"><tr>\r\n<th>"));
    ASSERT_TRUE(list.WriteStoredRows(path.c_str(), kFormatHtmlTables));
    EXPECT_NE(std::string::npos, ReadWholeFile(path).find("<tr><td nowrap><b>"));
    DeleteFileA(path.c_str());
}

// A list whose cells take their background from the row: red, none, or the gradient.
class RowColouredList : public MenuItemList {
public:
    RowColouredList() : MenuItemList(nullptr) {}
    void CellStyle(int format, int position, const RowRecord& row, CellStyleRecord& style) const override {
        MenuItemList::CellStyle(format, position, row, style);
        const char first = static_cast<const ItemRecord&>(row).MenuName[0];
        if (first == 'r') style.Background = RGB(255, 0, 0);
        if (first == 'n') style.Background = static_cast<COLORREF>(-1);
    }
};

std::vector<std::string> LinesWith(const std::string& text, const std::string& part) {
    std::vector<std::string> found;
    for (const std::string& line : SplitLines(text))
        if (line.find(part) != std::string::npos) found.push_back(line);
    return found;
}

// Each cell names its own row's background, also when the rows before had another one;
// a cell without a background still opens with "<td".
TEST(StructuredWriter, CellBackgroundsFollowEachRow) {
    RowColouredList list;
    list.Attach(nullptr);
    for (auto& entry : list.State().Entries) entry.Width = 0;
    list.State().Entries[kColumnMenuName] = {100, 0};
    for (const char* name : {"red", "none", "red", "x", "none"}) {
        ItemRecord record;
        std::strcpy(record.MenuName, name);
        list.AppendRow(record);
    }
    const std::string path = TempFilePath("row_coloured.htm");
    ASSERT_TRUE(list.WriteStoredRows(path.c_str(), kFormatHtmlRows));
    EXPECT_EQ((std::vector<std::string>{"<tr><td bgcolor=#FF0000 nowrap>red", "<tr><td nowrap>none",
                                        "<tr><td bgcolor=#FF0000 nowrap>red", "<tr><td bgcolor=#FFFFF0 nowrap>x",
                                        "<tr><td nowrap>none"}),
              LinesWith(ReadWholeFile(path), "<tr><td"));
    ASSERT_TRUE(list.WriteStoredRows(path.c_str(), kFormatHtmlTables));
    const std::string caption = "<tr><td bgcolor=\"E0E0E0\" nowrap><b>" + kMenuName + "</b>";
    EXPECT_EQ((std::vector<std::string>{caption + "<td bgcolor=#FF0000 nowrap>red", caption + "<td nowrap>none",
                                        caption + "<td bgcolor=#FF0000 nowrap>red",
                                        caption + "<td bgcolor=#FFFFF0 nowrap>x", caption + "<td nowrap>none"}),
              LinesWith(ReadWholeFile(path), "<tr><td"));
    DeleteFileA(path.c_str());
}

}  // namespace

namespace {

TEST(XmlCheck, RejectsBrokenFilesAndLatinOneDeclaredChineseNames) {
    std::string path = TempFilePath("xml_check.xml");
    WriteWholeFile(path, "<a><b>broken</a>\r\n");
    EXPECT_FALSE(XmlIsWellFormed(path));
    // The fixed Latin-1 declaration over code page 936 names: why the writer declares GBK.
    WriteWholeFile(path, "<?xml version=\"1.0\"  encoding=\"ISO-8859-1\" ?>\r\n<" + kTitle + "></" + kTitle + ">\r\n");
    EXPECT_FALSE(XmlIsWellFormed(path));
    WriteWholeFile(path, "<?xml version=\"1.0\"  encoding=\"GBK\" ?>\r\n<" + kTitle + "></" + kTitle + ">\r\n");
    EXPECT_TRUE(XmlIsWellFormed(path));
    DeleteFileA(path.c_str());
}

}  // namespace
