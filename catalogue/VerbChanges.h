// The two reversible changes the program makes to a verb, each one registry value in the
// verb's key: LegacyDisable hides it, Extended shows it only with Shift held.
#pragma once

#include <windows.h>

#include <cstddef>

#include "framework/Handles.h"

class ItemRecord;

// The two marker values; the shell looks only at whether they are there.
constexpr char kDisabledValueName[] = "LegacyDisable";
constexpr char kExtendedValueName[] = "Extended";

// The verb's key below the classes root: "<type>\shell\<verb>", or below
// SystemFileAssociations for rows found there.
void ItemKeyPath(const ItemRecord& item, char* path, std::size_t capacity);
// The verb's command key as the registry editor shows it, root name first.
void RegistryEditorPath(const ItemRecord& item, char* path, std::size_t capacity);

// Opens the verb's key for reading and writing; the registry status, 0 on success.
LONG OpenItemKey(const ItemRecord& item, win::UniqueKey& key, HKEY root = HKEY_CLASSES_ROOT);

// Adds or removes the value, then reads the flag back from the registry, so the record
// shows the registry's state whether or not the change went through. The "open" verb of
// "exefile" is never disabled.
void SetDisabled(ItemRecord& item, bool disable, HKEY root = HKEY_CLASSES_ROOT);
void SetExtended(ItemRecord& item, bool extend, HKEY root = HKEY_CLASSES_ROOT);

// Whether the row is an "open" verb whose program belongs to the operating system itself,
// which the user is warned about before disabling it.
bool IsEssentialOpenVerb(const ItemRecord& item);
