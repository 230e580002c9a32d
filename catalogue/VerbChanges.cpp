#include "catalogue/VerbChanges.h"

#include <cstdio>

#include "catalogue/MenuItem.h"
#include "catalogue/Registry.h"
#include "framework/Text.h"

namespace {

// Writes (as an empty string) or deletes one marker value, then reports whether the
// registry now holds it.
int ChangeMarker(const ItemRecord& item, const char* name, bool present, HKEY root, int current) {
    win::UniqueKey key;
    if (OpenItemKey(item, key, root) != ERROR_SUCCESS) return current;
    if (present)
        RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    else
        RegDeleteValueA(key.get(), name);
    return reg::HasValue(key.get(), name) ? 1 : 0;
}

}  // namespace

void ItemKeyPath(const ItemRecord& item, char* path, std::size_t capacity) {
    std::snprintf(path, capacity, item.IsSystemAssociation ? "SystemFileAssociations\\%s\\shell\\%s" : "%s\\shell\\%s",
                  item.FileType, item.MenuKey);
}

void RegistryEditorPath(const ItemRecord& item, char* path, std::size_t capacity) {
    std::snprintf(path, capacity,
                  item.IsSystemAssociation ? "HKEY_CLASSES_ROOT\\SystemFileAssociations\\%s\\shell\\%s\\Command"
                                           : "HKEY_CLASSES_ROOT\\%s\\shell\\%s\\Command",
                  item.FileType, item.MenuKey);
}

LONG OpenItemKey(const ItemRecord& item, win::UniqueKey& key, HKEY root) {
    char path[1024];
    ItemKeyPath(item, path, sizeof path);
    return reg::OpenKey(root, path, key, reg::kChangeAccess);
}

void SetDisabled(ItemRecord& item, bool disable, HKEY root) {
    if (disable && text::EqualNoCase(item.FileType, "exefile") && text::EqualNoCase(item.MenuKey, "open")) return;
    item.IsDisabled = ChangeMarker(item, kDisabledValueName, disable, root, item.IsDisabled);
}

void SetExtended(ItemRecord& item, bool extend, HKEY root) {
    item.IsExtended = ChangeMarker(item, kExtendedValueName, extend, root, item.IsExtended);
}

// The product name of the system's own programs holds "®", which most ANSI code pages
// (936 among them) cannot hold: the version record's Unicode text reaches the program
// converted through the ANSI code page, so the name is converted the same way from its
// Unicode form before the two are compared, whatever the code page.
bool IsEssentialOpenVerb(const ItemRecord& item) {
    static const wchar_t kSystemProduct[] = L"Microsoft\u00AE Windows\u00AE Operating System";
    char product[128] = {};
    if (WideCharToMultiByte(CP_ACP, 0, kSystemProduct, -1, product, sizeof product, nullptr, nullptr) == 0)
        return false;
    return text::EqualNoCase(item.MenuKey, "open") && text::EqualNoCase(item.ProductName, product);
}
