#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Containers.h"
#include "framework/Text.h"

namespace {

std::vector<std::string> Split(const char* commandLine) {
    StringList list;
    int count = list.Split(commandLine);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(list.Get(i));
    return arguments;
}

struct SplitCase {
    const char* CommandLine;
    std::vector<std::string> Arguments;
};

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, GivesTheArgumentsOfTheQuotingRule) {
    EXPECT_EQ(GetParam().Arguments, Split(GetParam().CommandLine)) << "for " << GetParam().CommandLine;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SplitTest,
    ::testing::Values(SplitCase{"/stext  c:\\out.txt", {"/stext", "c:\\out.txt"}},
                      SplitCase{"/stext \"c:\\my files\\out.txt\"", {"/stext", "c:\\my files\\out.txt"}},
                      SplitCase{"/sort \"  Name\"", {"/sort", "Name"}},
                      SplitCase{"a\"\"b", {"ab"}},
                      SplitCase{"\"\" x", {"", "x"}},
                      SplitCase{"x \"\"", {"x"}},
                      SplitCase{"a\"b c\"d", {"ab cd"}},
                      SplitCase{"", {}},
                      SplitCase{"   lead  trail   ", {"lead", "trail"}},
                      SplitCase{"a \"\" b", {"a", "", "b"}},
                      SplitCase{"back\\slash \\\"q", {"back\\slash", "\\q"}},
                      SplitCase{"\"unbalanced quote", {"unbalanced quote"}},
                      SplitCase{"tab\there", {"tab\there"}}));

TEST(StringList, FindIgnoresAsciiCaseAndGetPastTheEndIsEmpty) {
    StringList list;
    list.Split("/STEXT out.txt /NoSort");
    EXPECT_EQ(0, list.Find("/stext"));
    EXPECT_EQ(2, list.Find("/nosort"));
    EXPECT_EQ(-1, list.Find("/sort"));
    EXPECT_STREQ("", list.Get(3));
    EXPECT_STREQ("", list.Get(-1));
}

TEST(StringList, HoldsManyLongArgumentsAfterGrowing) {
    std::string commandLine;
    for (int i = 0; i < 2000; ++i) commandLine += "argument" + std::to_string(i) + " ";
    StringList list;
    ASSERT_EQ(2000, list.Split(commandLine.c_str()));
    EXPECT_STREQ("argument0", list.Get(0));
    EXPECT_STREQ("argument1999", list.Get(1999));
}

TEST(StringList, ClearEmptiesTheList) {
    StringList list;
    list.Split("a b c");
    list.Clear();
    EXPECT_EQ(0, list.Count());
    EXPECT_STREQ("", list.Get(0));
}

TEST(TextBuffer, EnsuredTo8192HoldsThatManyCharactersAndTheZero) {
    TextBuffer buffer;
    EXPECT_STREQ("", buffer.Text());
    ASSERT_TRUE(buffer.Ensure(8192));
    EXPECT_GT(buffer.Capacity(), 8192);
    EXPECT_STREQ("", buffer.Text());
    std::string full(8192, 'x');
    std::copy(full.begin(), full.end(), buffer.Data());
    buffer.Data()[8192] = '\0';
    EXPECT_EQ(full, buffer.Text());
    buffer.Ensure(-1);
    EXPECT_EQ(0, buffer.Capacity());
    EXPECT_STREQ("", buffer.Text());
}

TEST(GrowableArray, GrowsInStepsAndKeepsItsContents) {
    GrowableArray array(sizeof(int), 8);
    ASSERT_TRUE(array.Grow(0));
    EXPECT_EQ(8, array.Capacity());
    static_cast<int*>(array.Storage())[7] = 42;
    ASSERT_TRUE(array.Grow(8));
    EXPECT_EQ(16, array.Capacity());
    EXPECT_EQ(42, static_cast<int*>(array.Storage())[7]);
    ASSERT_TRUE(array.Grow(40));
    EXPECT_EQ(48, array.Capacity());
}

struct CopyCase {
    const char* Source;
    std::size_t Capacity;
    const char* Expected;
};

TEST(Text, CopiesAreCutToTheCapacityMinusOne) {
    const CopyCase cases[] = {
        {"abcdef", 4, "abc"}, {"abc", 4, "abc"}, {"", 4, ""}, {nullptr, 4, ""}, {"abc", 1, ""},
    };
    for (const CopyCase& c : cases) {
        char dest[8];
        std::fill(std::begin(dest), std::end(dest), '#');
        text::Copy(dest, c.Capacity, c.Source);
        EXPECT_STREQ(c.Expected, dest);
        EXPECT_EQ('#', dest[c.Capacity]) << "wrote past the capacity";
    }
    char dest[6] = "ab";
    text::Append(dest, "cdefgh");
    EXPECT_STREQ("abcde", dest);
}

TEST(Text, CompareNoCaseFoldsAsciiOnly) {
    EXPECT_EQ(0, text::CompareNoCase("ExeFile", "exefile"));
    EXPECT_LT(text::CompareNoCase("_a", "a"), 0) << "underscore sorts before letters";
    EXPECT_NE(0, text::CompareNoCase("\xC4", "\xE4")) << "only ASCII letters are folded";
}

}  // namespace
