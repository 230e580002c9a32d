#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestProcess.h"
#include "framework/Handles.h"
#include "framework/Language.h"
#include "framework/ModulePath.h"
#include "resources/resource.h"

namespace {

const std::string kBuiltInTitle = "\xB2\xCB\xB5\xA5\xCF\xEE\xC4\xBF\xC1\xD0\xB1\xED";
const std::string kBuiltInYes = "\xCA\xC7";

// A language file beside the test program, loaded for one test and removed after it.
class LanguageTest : public ::testing::Test {
protected:
    LanguageTest() {
        char path[261];
        module::OwnSiblingPath("_lng.ini", path, sizeof path);
        file = path;
        DeleteFileA(file.c_str());
    }
    ~LanguageTest() override {
        DeleteFileA(file.c_str());
        lang::Load();
    }

    void Use(const std::string& text) {
        WriteWholeFile(file, text);
        lang::Load();
    }

    std::string MenuText(HMENU menu, UINT item, bool byPosition) {
        char text[256] = {};
        GetMenuStringA(menu, item, text, sizeof text, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
        return text;
    }

    std::string file;
};

TEST_F(LanguageTest, StringsAreTranslatedUnlessAskedForTheBuiltInText) {
    Use("[strings]\r\n8=Menu items\r\n9=\r\n");
    EXPECT_EQ(file, lang::FilePath());
    EXPECT_STREQ("Menu items", lang::String(IDS_REPORT_TITLE));
    EXPECT_EQ(kBuiltInTitle, lang::String(IDS_REPORT_TITLE | lang::kUntranslated));
    EXPECT_EQ(kBuiltInYes, lang::String(IDS_YES)) << "an empty value gives the built-in text";

    DeleteFileA(file.c_str());
    lang::Load();
    EXPECT_STREQ("", lang::FilePath());
    EXPECT_EQ(kBuiltInTitle, lang::String(IDS_REPORT_TITLE));
}

TEST_F(LanguageTest, GeneralValues) {
    const struct {
        const char* Rtl;
        bool On;
    } cases[] = {{"1", true}, {"2", false}, {"yes", false}, {"0", false}};
    for (const auto& c : cases) {
        Use(std::string("[general]\r\nrtl=") + c.Rtl + "\r\ncharset=gb2312\r\nTranslatorName=" +
            std::string(100, 'n') + "\r\nTranslatorURL=https://example.org/\r\n");
        EXPECT_EQ(c.On, lang::RightToLeft()) << c.Rtl;
    }
    EXPECT_STREQ("gb2312", lang::Charset());
    EXPECT_EQ(std::string(62, 'n'), lang::TranslatorName()) << "at most 62 characters are read";
    EXPECT_STREQ("https://example.org/", lang::TranslatorUrl());
}

TEST_F(LanguageTest, MenuTextsKeepTheBuiltInShortcut) {
    Use("[menu_102]\r\n40001=Save\r\n40014=Find\tX\r\n70001=File\r\n99999=nothing\r\n");
    win::UniqueMenu owned(lang::LoadMenu(IDM_MAIN));
    HMENU menu = owned.get();
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ("File", MenuText(menu, 0, true));
    EXPECT_EQ("Save\tCtrl+S", MenuText(menu, IDM_SAVE_SELECTED, false));
    EXPECT_EQ("Find\tX\tCtrl+F", MenuText(menu, IDM_FIND, false)) << "the built-in suffix follows a translated one";
    EXPECT_EQ("\xCD\xCB\xB3\xF6(&X)", MenuText(menu, IDM_EXIT, false)) << "untranslated items keep their text";
    EXPECT_NE(nullptr, GetSubMenu(menu, 0)) << "a translated pop-up keeps its sub-menu";

    win::UniqueMenu ownedPopup(lang::LoadMenu(IDM_POPUP));
    HMENU popup = ownedPopup.get();
    EXPECT_EQ("\xB1\xA3\xB4\xE6\xCB\xF9\xD1\xA1\xCF\xEE\xC4\xBF(&S)\tCtrl+S", MenuText(popup, IDM_SAVE_SELECTED, false))
        << "sections are per menu";
}

INT_PTR CALLBACK TranslateOnInit(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) lang::TranslateDialog(dialog);
    return FALSE;
}

TEST_F(LanguageTest, DialogCaptionAndControlsAreTranslated) {
    Use("[dialog_1096]\r\ncaption=Columns\r\n1003=Up\r\n4242=no such control\r\n");
    lang::SetCurrentDialog(IDD_COLUMNS);
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_COLUMNS), nullptr,
                                     TranslateOnInit, 0);
    ASSERT_NE(nullptr, dialog);
    char text[256];
    GetWindowTextA(dialog, text, sizeof text);
    EXPECT_STREQ("Columns", text);
    GetDlgItemTextA(dialog, IDC_COLUMNS_UP, text, sizeof text);
    EXPECT_STREQ("Up", text);
    GetDlgItemTextA(dialog, IDC_COLUMNS_DOWN, text, sizeof text);
    EXPECT_STREQ("\xCF\xC2\xD2\xC6(&D)", text);
    DestroyWindow(dialog);
}

TEST_F(LanguageTest, RightToLeftLayoutMirrorsTheChildren) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 10, 5, 50, 20, window, nullptr, nullptr, nullptr);
    lang::ApplyRightToLeft(window, lang::kMirrorChildren | lang::kChildrenRightToLeft);
    EXPECT_EQ(0, GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) << "no language file: nothing changes";

    Use("[general]\r\nrtl=1\r\n");
    lang::ApplyRightToLeft(window, lang::kMirrorChildren | lang::kChildrenRightToLeft);
    EXPECT_NE(0, GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    EXPECT_NE(0, GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    DestroyWindow(window);
}

TEST_F(LanguageTest, TheTemplateHoldsEveryTextAndKeepsTranslations) {
    const int skipped[] = {IDD_EXCEPTION};
    lang::WriteTemplate(skipped, 1);
    EXPECT_STREQ("", lang::FilePath()) << "no language file is in use afterwards";
    std::vector<std::string> lines = SplitLines(ReadWholeFile(file));
    const std::vector<std::string> beginning = {
        "[general]", "TranslatorName=", "TranslatorURL=", "[menu_102]", "70001=\xCE\xC4\xBC\xFE(&F)",
        "40023=\xBD\xFB\xD3\xC3\xCB\xF9\xD1\xA1\xCF\xEE\xC4\xBF",
    };
    ASSERT_GT(lines.size(), beginning.size());
    EXPECT_EQ(beginning, std::vector<std::string>(lines.begin(), lines.begin() + beginning.size()));
    std::string all = ReadWholeFile(file);
    EXPECT_EQ(std::string::npos, all.find("[dialog_107]"));
    EXPECT_NE(std::string::npos, all.find("[dialog_105]\r\ncaption=\xCA\xF4\xD0\xD4\r\n1=\xC8\xB7\xB6\xA8\r\n[dialog_112]"));
    EXPECT_NE(std::string::npos, all.find("\r\n8=" + kBuiltInTitle + "\r\n"));
    EXPECT_NE(std::string::npos, all.find("\r\n1015="));
    EXPECT_EQ(std::string::npos, all.find("\t")) << "shortcuts are cut off";

    // A second run over a translated file keeps the translations and adds what is missing.
    std::string translated = all;
    translated.replace(translated.find("8=" + kBuiltInTitle), 2 + kBuiltInTitle.size(), "8=Menu items");
    translated.replace(translated.find("TranslatorName="), 15, "TranslatorName=Someone");
    std::size_t yes = translated.find("\r\n9=");
    translated.erase(yes, translated.find("\r\n", yes + 2) - yes);
    WriteWholeFile(file, translated);
    lang::WriteTemplate(skipped, 1);
    all = ReadWholeFile(file);
    EXPECT_NE(std::string::npos, all.find("\r\n8=Menu items\r\n"));
    EXPECT_NE(std::string::npos, all.find("TranslatorName=Someone\r\n"));
    EXPECT_NE(std::string::npos, all.find("\r\n9=" + kBuiltInYes + "\r\n")) << "the missing key is added";
    EXPECT_EQ(1u, [&] {
        std::size_t count = 0;
        for (std::size_t at = all.find("TranslatorURL="); at != std::string::npos; at = all.find("TranslatorURL=", at + 1))
            ++count;
        return count;
    }());
}

}  // namespace

namespace {

TEST(NumberFormat, OnlyOneNumberAndNoOtherConversionIsTaken) {
    const struct {
        const char* Format;
        bool Taken;
    } cases[] = {
        {"%d items", true},  {"100%% of %d", true}, {", %d", true},    {"%s items", false}, {"%d of %d", false},
        {"%n%d", false},     {"no number", false},  {"%", false},      {"%x", false},       {"%5d", false},
        {"%d%", false},      {"%%d", false},        {"%ld", false},    {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.Taken, lang::IsOneNumberFormat(c.Format)) << c.Format;
}

TEST_F(LanguageTest, AStatusTextWithAnyOtherConversionFallsBackToTheBuiltInOne) {
    Use("[strings]\r\n4=%s items %n\r\n5=, %d chosen\r\n");
    EXPECT_STREQ(lang::String(IDS_STATUS_ITEMS | lang::kUntranslated), lang::NumberFormat(IDS_STATUS_ITEMS));
    EXPECT_STREQ(", %d chosen", lang::NumberFormat(IDS_STATUS_SELECTED));
}

}  // namespace
