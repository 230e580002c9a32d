// Every field of one menu item as a label and a read-only value box per column, laid out
// at run time from two hidden template controls.
#pragma once

#include <windows.h>

#include "framework/Dialog.h"

class ItemRecord;
class MenuItemList;

class PropertiesDialog : public FullDialog {
public:
    static constexpr int kLinesPerValue = 1;
    static constexpr int kRowGap = 4;

    PropertiesDialog(const ItemRecord& item, const MenuItemList& list);

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    INT_PTR OnInitDialog() override;

private:
    void LayOutRows();

    const ItemRecord& item_;
    const MenuItemList& list_;
};

// Shows the dialog modally over owner for the item.
void ShowProperties(const ItemRecord& item, const MenuItemList& list, HWND owner);
