#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "TestRegistry.h"
#include "app/Settings.h"
#include "catalogue/MenuItem.h"
#include "catalogue/VerbChanges.h"

namespace {

ItemRecord Item(const char* fileType, const char* menuKey, int systemAssociation = 0) {
    ItemRecord item;
    std::strcpy(item.FileType, fileType);
    std::strcpy(item.MenuKey, menuKey);
    item.IsSystemAssociation = systemAssociation;
    return item;
}

TEST(ItemPaths, NameTheVerbKeyOfEitherPass) {
    const struct {
        ItemRecord Record;
        const char* KeyPath;
        const char* EditorPath;
    } cases[] = {
        {Item("txtfile", "edit"), "txtfile\\shell\\edit", "HKEY_CLASSES_ROOT\\txtfile\\shell\\edit\\Command"},
        {Item("image", "edit", 1), "SystemFileAssociations\\image\\shell\\edit",
         "HKEY_CLASSES_ROOT\\SystemFileAssociations\\image\\shell\\edit\\Command"},
        {Item("%s%n", "%d"), "%s%n\\shell\\%d", "HKEY_CLASSES_ROOT\\%s%n\\shell\\%d\\Command"},
    };
    for (const auto& c : cases) {
        char path[1024];
        ItemKeyPath(c.Record, path, sizeof path);
        EXPECT_STREQ(c.KeyPath, path);
        RegistryEditorPath(c.Record, path, sizeof path);
        EXPECT_STREQ(c.EditorPath, path);
    }
}

class VerbChangeTest : public ::testing::Test {
protected:
    VerbChangeTest() {
        for (const char* type : {"plain", "exefile", "image", "SystemFileAssociations\\image"}) {
            tree.SetString(std::string(type) + "\\shell\\open\\command", "", "x.exe");
            tree.SetString(std::string(type) + "\\shell\\edit\\command", "", "x.exe");
        }
    }

    bool Has(const std::string& key, const char* value) { return tree.HasValue(key, value); }

    ScratchKeys tree;
};

TEST_F(VerbChangeTest, ValuesAreWrittenAndReadBack) {
    enum Change { kDisable, kEnable, kExtend, kUnextend };
    const struct {
        const char* Type;
        const char* Verb;
        int SystemAssociation;
        Change Action;
        bool ValueBefore;
        bool ValueAfter;
        const char* Key;
    } cases[] = {
        {"plain", "edit", 0, kDisable, false, true, "plain\\shell\\edit"},
        {"plain", "edit", 0, kDisable, true, true, "plain\\shell\\edit"},   // rewriting keeps it
        {"plain", "edit", 0, kEnable, true, false, "plain\\shell\\edit"},
        {"plain", "edit", 0, kEnable, false, false, "plain\\shell\\edit"},  // nothing to remove
        {"plain", "open", 0, kExtend, false, true, "plain\\shell\\open"},
        {"plain", "open", 0, kUnextend, true, false, "plain\\shell\\open"},
        {"exefile", "open", 0, kDisable, false, false, "exefile\\shell\\open"},  // never disabled
        {"EXEFILE", "Open", 0, kDisable, false, false, "exefile\\shell\\open"},  // in any case
        {"exefile", "open", 0, kEnable, true, false, "exefile\\shell\\open"},    // enabling is allowed
        {"exefile", "open", 0, kExtend, false, true, "exefile\\shell\\open"},
        {"exefile", "edit", 0, kDisable, false, true, "exefile\\shell\\edit"},
        {"image", "edit", 1, kDisable, false, true, "SystemFileAssociations\\image\\shell\\edit"},
        {"image", "edit", 1, kExtend, false, true, "SystemFileAssociations\\image\\shell\\edit"},
    };
    for (const auto& c : cases) {
        const bool disabling = c.Action == kDisable || c.Action == kEnable;
        const char* value = disabling ? "LegacyDisable" : "Extended";
        if (c.ValueBefore)
            tree.SetString(c.Key, value, "");
        else
            tree.DeleteValue(c.Key, value);
        ItemRecord item = Item(c.Type, c.Verb, c.SystemAssociation);
        item.IsDisabled = item.IsExtended = c.ValueBefore ? 1 : 0;
        switch (c.Action) {
        case kDisable: SetDisabled(item, true, tree.Root()); break;
        case kEnable: SetDisabled(item, false, tree.Root()); break;
        case kExtend: SetExtended(item, true, tree.Root()); break;
        case kUnextend: SetExtended(item, false, tree.Root()); break;
        }
        const std::string what = std::string(c.Type) + "/" + c.Verb + " action " + std::to_string(c.Action);
        EXPECT_EQ(c.ValueAfter, Has(c.Key, value)) << what;
        EXPECT_EQ(c.ValueAfter ? 1 : 0, disabling ? item.IsDisabled : item.IsExtended) << what;
    }
    EXPECT_FALSE(Has("image\\shell\\edit", "LegacyDisable")) << "the top-level key of the same name is untouched";
    EXPECT_FALSE(Has("image\\shell\\edit", "Extended"));
}

TEST_F(VerbChangeTest, TheWrittenValueIsAnEmptyString) {
    ItemRecord item = Item("plain", "edit");
    SetDisabled(item, true, tree.Root());
    win::UniqueKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(tree.Root(), "plain\\shell\\edit", 0, KEY_READ, key.put()));
    DWORD type = 0, size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key.get(), kDisabledValueName, nullptr, &type, nullptr, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(1u, size);
}

// An installer's marker with a long value is still the marker: disabling leaves the verb
// disabled (reported as such), and enabling removes it.
TEST_F(VerbChangeTest, MarkersWithLargeDataCountAsPresent) {
    const std::string big(4000, 'q');
    for (const char* value : {"LegacyDisable", "Extended"}) {
        const bool disabling = std::string(value) == "LegacyDisable";
        tree.SetBytes("plain\\shell\\edit", value, REG_BINARY, big.data(), static_cast<DWORD>(big.size()));
        ItemRecord item = Item("plain", "edit");
        if (disabling)
            SetDisabled(item, true, tree.Root());
        else
            SetExtended(item, true, tree.Root());
        EXPECT_EQ(1, disabling ? item.IsDisabled : item.IsExtended) << value;
        if (disabling)
            SetDisabled(item, false, tree.Root());
        else
            SetExtended(item, false, tree.Root());
        EXPECT_EQ(0, disabling ? item.IsDisabled : item.IsExtended) << value;
        EXPECT_FALSE(Has("plain\\shell\\edit", value)) << value;
    }
}

TEST_F(VerbChangeTest, AVerbDeletedSinceTheScanKeepsItsFlags) {
    ItemRecord item = Item("plain", "gone");
    item.IsDisabled = 1;
    SetDisabled(item, false, tree.Root());
    SetExtended(item, true, tree.Root());
    EXPECT_EQ(1, item.IsDisabled);
    EXPECT_EQ(0, item.IsExtended);
    win::UniqueKey key;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(tree.Root(), "plain\\shell\\gone", 0, KEY_READ, key.put()))
        << "no key is created";
}

TEST(VerbChanges, RowsOfTheRealClassesRootAreChangedThere) {
    ScratchKeys classes(HKEY_CLASSES_ROOT);
    const std::string type = UniqueName("MorvaneVerbType");
    classes.SetString(type + "\\shell\\edit\\command", "", "x.exe");
    classes.SetString("SystemFileAssociations\\" + type + "\\shell\\edit\\command", "", "y.exe");
    classes.Forget("SystemFileAssociations");
    MainSettings settings;
    settings.SetDefaults();
    MenuItemList list(&settings.HideStandardItems);
    list.Attach(nullptr);
    list.LoadRows();
    int changed = 0;
    for (int i = 0; i < list.RowCount(); ++i) {
        ItemRecord& row = *list.ItemAt(i);
        if (type != row.FileType) continue;
        SetDisabled(row, true, HKEY_CLASSES_ROOT);
        EXPECT_EQ(1, row.IsDisabled);
        ++changed;
    }
    EXPECT_EQ(2, changed) << "one row of each pass";
    EXPECT_TRUE(classes.HasValue(type + "\\shell\\edit", "LegacyDisable"));
    EXPECT_TRUE(classes.HasValue("SystemFileAssociations\\" + type + "\\shell\\edit", "LegacyDisable"));
    classes.DeleteTree("SystemFileAssociations\\" + type);
}

}  // namespace
