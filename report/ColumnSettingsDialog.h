// The dialog in which the user chooses which columns of a report list show, in which
// order and how wide. Nothing changes until OK; the list view then holds the new layout,
// which the list reads back when the settings are saved.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/Dialog.h"
#include "report/ReportList.h"

class ColumnSettingsDialog : public Dialog {
public:
    ColumnSettingsDialog(const ReportList& list, std::vector<ColumnStateEntry>& working);

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FillList();
    void OnItemChanged(const NMLISTVIEW& change);
    void OnWidthChanged();
    void StoreOrder();
    void ShowWidth(int column);

    const ReportList& list_;
    std::vector<ColumnStateEntry>& working_;
    bool settingWidth_ = false;
};

// Runs the dialog over owner for the list's columns and applies the result when it ends
// with OK; the focus goes back to the list view in every case. True after OK.
bool OpenColumnSettings(ReportList& list, HWND owner);
