#include "report/ColumnSettingsDialog.h"

#include "framework/ListView.h"
#include "resources/resource.h"

namespace {

constexpr int kListColumnWidth = 200;
constexpr int kWidthDigits = 3;
constexpr UINT kLargestWidth = 999;
constexpr int kCaptionLimit = 256;

}  // namespace

ColumnSettingsDialog::ColumnSettingsDialog(const ReportList& list, std::vector<ColumnStateEntry>& working)
    : Dialog(IDD_COLUMNS), list_(list), working_(working) {}

void ColumnSettingsDialog::FillList() {
    win::ListView view(GetDlgItem(hwnd_, IDC_COLUMNS_LIST));
    win::ListView source(list_.ListView());
    view.DeleteAllItems();
    SendMessageA(view.Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, static_cast<WPARAM>(-1),
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES);
    while (SendMessageA(view.Handle(), LVM_DELETECOLUMN, 0, 0)) {
    }
    view.InsertColumn(0, "", LVCF_FMT | LVCF_WIDTH | LVCF_TEXT, LVCFMT_LEFT, kListColumnWidth);

    const int n = static_cast<int>(working_.size());
    for (int position = 0; position < n; ++position) {
        for (int c = 0; c < n; ++c) {
            if (working_[c].Position != position) continue;
            char caption[kCaptionLimit] = {};
            if (!source.ColumnCaption(c, caption, sizeof caption)) continue;
            const int item = view.InsertItem(caption, LVIF_TEXT | LVIF_PARAM, 0, c);
            if (item < 0) continue;
            view.SetCheckState(item, working_[c].Width > 0);
            // Shown again, a hidden column gets its default width.
            if (working_[c].Width == 0)
                working_[c].Width = static_cast<std::int16_t>(list_.Descriptor(c).DefaultWidth);
        }
    }
    // The one column fills the list, so no horizontal scroll bar shows beside the vertical one.
    view.SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER);
    view.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SetFocus(view.Handle());
}

void ColumnSettingsDialog::ShowWidth(int column) {
    if (column < 0 || column >= static_cast<int>(working_.size())) return;
    settingWidth_ = true;
    SetDlgItemInt(hwnd_, IDC_COLUMNS_WIDTH, static_cast<UINT>(working_[column].Width), FALSE);
    settingWidth_ = false;
}

void ColumnSettingsDialog::OnItemChanged(const NMLISTVIEW& change) {
    win::ListView view(GetDlgItem(hwnd_, IDC_COLUMNS_LIST));
    const bool becameSelected = (change.uNewState & LVIS_SELECTED) != 0 && (change.uOldState & LVIS_SELECTED) == 0;
    const bool checkChanged = ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) != 0;
    if (becameSelected || checkChanged) {
        if (view.ItemState(change.iItem, LVIS_SELECTED) & LVIS_SELECTED) {
            const bool checked = view.CheckState(change.iItem) == 1;
            EnableControl(*this, IDC_COLUMNS_SHOW, !checked);
            EnableControl(*this, IDC_COLUMNS_HIDE, checked);
        }
    }
    if (becameSelected) {
        EnableControl(*this, IDC_COLUMNS_UP, change.iItem > 0);
        EnableControl(*this, IDC_COLUMNS_DOWN, change.iItem < view.ItemCount() - 1);
        LPARAM column = 0;
        if (view.ItemData(change.iItem, &column)) ShowWidth(static_cast<int>(column));
    }
}

void ColumnSettingsDialog::OnWidthChanged() {
    if (settingWidth_) return;
    BOOL read = FALSE;
    const UINT width = GetDlgItemInt(hwnd_, IDC_COLUMNS_WIDTH, &read, FALSE);
    win::ListView view(GetDlgItem(hwnd_, IDC_COLUMNS_LIST));
    if (!read || width < 1 || width > kLargestWidth || view.SelectedCount() != 1) return;
    LPARAM column = 0;
    if (view.ItemData(view.FirstSelected(), &column) && column >= 0 && column < static_cast<LPARAM>(working_.size()))
        working_[column].Width = static_cast<std::int16_t>(width);
}

void ColumnSettingsDialog::StoreOrder() {
    win::ListView view(GetDlgItem(hwnd_, IDC_COLUMNS_LIST));
    for (int item = 0; item < view.ItemCount(); ++item) {
        LPARAM column = 0;
        if (!view.ItemData(item, &column) || column < 0 || column >= static_cast<LPARAM>(working_.size())) continue;
        working_[column].Position = static_cast<std::int16_t>(item);
        if (view.CheckState(item) != 1) working_[column].Width = 0;
    }
}

INT_PTR ColumnSettingsDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    win::ListView view(GetDlgItem(hwnd_, IDC_COLUMNS_LIST));
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(hwnd_, IDC_COLUMNS_WIDTH, EM_LIMITTEXT, kWidthDigits, 0);
        FillList();
        return FALSE;  // the focus is set
    case WM_NOTIFY: {
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.idFrom != IDC_COLUMNS_LIST) return 0;
        if (header.code == NM_DBLCLK) {
            const int item = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
            if (item >= 0) view.ToggleCheckState(item);
        } else if (header.code == LVN_ITEMCHANGED) {
            OnItemChanged(reinterpret_cast<const NMLISTVIEW&>(header));
        }
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_COLUMNS_WIDTH) {
            if (HIWORD(wParam) == EN_CHANGE) OnWidthChanged();
            return 0;
        }
        if (HIWORD(wParam) != BN_CLICKED) return 0;
        switch (LOWORD(wParam)) {
        case IDC_COLUMNS_UP: view.MoveSelectedUp(); return 1;
        case IDC_COLUMNS_DOWN: view.MoveSelectedDown(); return 1;
        case IDC_COLUMNS_SHOW: view.SetCheckState(view.FirstSelected(), true); return 1;
        case IDC_COLUMNS_HIDE: view.SetCheckState(view.FirstSelected(), false); return 1;
        case IDC_COLUMNS_DEFAULT:
            for (std::size_t c = 0; c < working_.size(); ++c) {
                working_[c].Position = static_cast<std::int16_t>(c);
                working_[c].Width = static_cast<std::int16_t>(list_.Descriptor(static_cast<int>(c)).DefaultWidth);
            }
            FillList();
            return 1;
        case IDOK:
            StoreOrder();
            EndDialog(hwnd_, IDOK);
            return 1;
        case IDCANCEL:
            EndDialog(hwnd_, IDCANCEL);
            return 1;
        }
        return 0;
    }
    return 0;
}

bool OpenColumnSettings(ReportList& list, HWND owner) {
    win::ListView view(list.ListView());
    std::vector<ColumnStateEntry> working(static_cast<std::size_t>(view.HeaderItemCount()), ColumnStateEntry{0, 0});
    ReadColumnEntries(view.Handle(), working);
    bool applied = false;
    {
        ColumnSettingsDialog dialog(list, working);
        applied = dialog.RunModal(owner);
        TeardownDialog(dialog);
    }
    if (applied) {
        ApplyColumnEntries(view.Handle(), working);
        InvalidateRect(view.Handle(), nullptr, FALSE);
    }
    SetFocus(view.Handle());
    return applied;
}
