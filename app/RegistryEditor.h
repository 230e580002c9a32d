// The hand-off to the system registry editor: its windows are found (the editor is
// started when it is not running) and its tree is walked to a key with keystrokes.
#pragma once

#include <windows.h>

#include <cstddef>

class ItemRecord;

struct RegEditWindows {
    HWND Main = nullptr;
    HWND Tree = nullptr;
    HWND List = nullptr;
    bool Complete() const { return Main != nullptr && Tree != nullptr && List != nullptr; }
};

bool FindRegEditWindows(RegEditWindows& windows);
// Shows the key in the editor; false when no complete editor could be found or started.
bool OpenKeyInRegEdit(const char* keyPath);
// Shows the verb's command key in the editor; false when no editor was found.
bool OpenInRegistryEditor(const ItemRecord& item);
// The key the editor shows as selected, read from its status bar without the computer's
// name; empty when the status bar is hidden or gives no text in time.
void SelectedRegEditKey(const RegEditWindows& windows, char* path, std::size_t capacity);
// Types the path into the editor's tree, one component at a time.
bool NavigateRegEditTree(const char* keyPath, const RegEditWindows& windows);

// The path with a short root name (HKLM, HKCU, HKCR, HKCC, HKU) replaced by the full one.
void ExpandRootName(const char* keyPath, char* expanded, std::size_t capacity);
