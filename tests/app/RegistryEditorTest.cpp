// The hand-off to Wine's own registry editor, driven under Xvfb.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "TestRegistry.h"
#include "app/RegistryEditor.h"
#include "catalogue/MenuItem.h"
#include "catalogue/VerbChanges.h"

namespace {

TEST(RootNames, ShortNamesAreExpanded) {
    const struct {
        const char* Path;
        const char* Expanded;
    } cases[] = {
        {"HKCU\\Software\\Wine", "HKEY_CURRENT_USER\\Software\\Wine"},
        {"hklm\\Software", "HKEY_LOCAL_MACHINE\\Software"},
        {"HKCR\\txtfile", "HKEY_CLASSES_ROOT\\txtfile"},
        {"HKCC\\System", "HKEY_CURRENT_CONFIG\\System"},
        {"HKU\\.DEFAULT", "HKEY_USERS\\.DEFAULT"},
        {"ABC\\x", "\\x"},                               // an unknown short root: none
        {"HKEY_CURRENT_USER\\Software", "HKEY_CURRENT_USER\\Software"},
        {"HKCU", "HKCU"},                                // no backslash: as it is
    };
    for (const auto& c : cases) {
        char expanded[1024];
        ExpandRootName(c.Path, expanded, sizeof expanded);
        EXPECT_STREQ(c.Expanded, expanded) << c.Path;
    }
}

void StopEditors() {
    RegEditWindows windows;
    while (FindRegEditWindows(windows)) {
        DWORD process = 0;
        GetWindowThreadProcessId(windows.Main, &process);
        HANDLE handle = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process);
        if (handle == nullptr) return;
        TerminateProcess(handle, 0);
        WaitForSingleObject(handle, 5000);
        CloseHandle(handle);
        Sleep(200);
    }
}

std::string SelectedKey(const RegEditWindows& windows) {
    char path[1024];
    SelectedRegEditKey(windows, path, sizeof path);
    return path;
}

bool SameKey(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

class RegistryEditorTest : public ::testing::Test {
protected:
    RegistryEditorTest() : classes(HKEY_CLASSES_ROOT) { StopEditors(); }
    ~RegistryEditorTest() override { StopEditors(); }
    ScratchKeys classes;
};

TEST_F(RegistryEditorTest, StartsTheEditorAndWalksToTheKey) {
    ScratchKeys user;  // a private root below HKEY_CURRENT_USER\Software\MorvaneTests
    user.CreateKey("deeper\\Command");
    const std::string own = user.RootPath() + "\\deeper\\Command";

    ASSERT_TRUE(OpenKeyInRegEdit(("HKCU\\" + own).c_str()));
    RegEditWindows windows;
    ASSERT_TRUE(FindRegEditWindows(windows));
    EXPECT_TRUE(SameKey("HKEY_CURRENT_USER\\" + own, SelectedKey(windows))) << SelectedKey(windows);
}

TEST_F(RegistryEditorTest, RestoresAMinimizedEditorAndShowsTheVerbsCommandKey) {
    const std::string type = UniqueName("MorvaneEditorType");
    classes.SetString(type + "\\shell\\edit\\command", "", "x.exe");
    ItemRecord item;
    std::strcpy(item.FileType, type.c_str());
    std::strcpy(item.MenuKey, "edit");

    ASSERT_TRUE(OpenInRegistryEditor(item));
    RegEditWindows windows;
    ASSERT_TRUE(FindRegEditWindows(windows));
    EXPECT_TRUE(SameKey("HKEY_CLASSES_ROOT\\" + type + "\\shell\\edit\\command", SelectedKey(windows)))
        << SelectedKey(windows);
    ShowWindow(windows.Main, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(windows.Main));

    ASSERT_TRUE(OpenInRegistryEditor(item));
    EXPECT_FALSE(IsIconic(windows.Main)) << "the editor is restored";
    EXPECT_TRUE(SameKey("HKEY_CLASSES_ROOT\\" + type + "\\shell\\edit\\command", SelectedKey(windows)))
        << SelectedKey(windows);
}

}  // namespace
