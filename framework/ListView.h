// A thin, non-owning wrapper over a report-view list view control: one short operation
// per message.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace win {

class ListView {
public:
    ListView(HWND hwnd = nullptr) : hwnd_(hwnd) {}
    HWND Handle() const { return hwnd_; }
    explicit operator bool() const { return hwnd_ != nullptr; }

    int ItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
    int SelectedCount() const { return static_cast<int>(Send(LVM_GETSELECTEDCOUNT)); }
    HWND Header() const { return reinterpret_cast<HWND>(Send(LVM_GETHEADER)); }
    int HeaderItemCount() const {
        return static_cast<int>(SendMessageA(Header(), HDM_GETITEMCOUNT, 0, 0));
    }

    // Item -1 means every item.
    bool SetItemState(int item, UINT state, UINT mask) const {
        LVITEMA lv = {};
        lv.stateMask = mask;
        lv.state = state;
        return Send(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv)) != 0;
    }
    UINT ItemState(int item, UINT mask) const {
        return static_cast<UINT>(Send(LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask));
    }
    bool ItemData(int item, LPARAM* data) const {
        LVITEMA lv = {};
        lv.mask = LVIF_PARAM;
        lv.iItem = item;
        if (item < 0 || !Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lv))) return false;
        *data = lv.lParam;
        return true;
    }
    int InsertColumn(int index, const char* caption, UINT mask, int format, int width) const {
        LVCOLUMNA column = {};
        column.mask = mask;
        column.fmt = format;
        column.cx = width;
        column.pszText = const_cast<char*>(caption);
        column.cchTextMax = static_cast<int>(lstrlenA(caption));
        return static_cast<int>(Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
    }
    int InsertItem(const char* text, UINT mask, int image, LPARAM data) const {
        LVITEMA lv = {};
        lv.mask = mask;
        lv.iItem = 65535;
        lv.pszText = const_cast<char*>(text);
        lv.iImage = image;
        lv.lParam = data;
        return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lv)));
    }
    bool DeleteItem(int item) const { return Send(LVM_DELETEITEM, static_cast<WPARAM>(item)) != 0; }
    bool DeleteAllItems() const { return Send(LVM_DELETEALLITEMS) != 0; }
    bool SetItemText(int item, int column, const char* text) const {
        LVITEMA lv = {};
        lv.iSubItem = column;
        lv.pszText = const_cast<char*>(text);
        return Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv)) != 0;
    }
    int ItemText(int item, int column, char* text, int limit) const {
        if (limit > 0) text[0] = '\0';
        LVITEMA lv = {};
        lv.iSubItem = column;
        lv.pszText = text;
        lv.cchTextMax = limit;
        return static_cast<int>(Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv)));
    }
    // The first selected item and its data; -1 when none is selected.
    int FirstSelected(LPARAM* data = nullptr) const {
        int item = static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        if (item >= 0 && data != nullptr) ItemData(item, data);
        return item;
    }
    bool ColumnCaption(int column, char* text, int limit) const {
        if (limit > 0) text[0] = '\0';
        LVCOLUMNA lv = {};
        lv.mask = LVCF_TEXT;
        lv.pszText = text;
        lv.cchTextMax = limit;
        return Send(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lv)) != 0;
    }
    bool ColumnWidthAndPosition(int column, int* width, int* position) const {
        LVCOLUMNA lv = {};
        lv.mask = LVCF_WIDTH | LVCF_ORDER;
        if (!Send(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lv))) return false;
        *width = lv.cx;
        *position = lv.iOrder;
        return true;
    }
    bool SetColumnWidthAndPosition(int column, int width, int position) const {
        LVCOLUMNA lv = {};
        lv.mask = LVCF_WIDTH | LVCF_ORDER;
        lv.cx = width;
        lv.iOrder = position;
        return Send(LVM_SETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lv)) != 0;
    }
    int ColumnWidth(int column) const { return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column))); }
    bool SetColumnWidth(int column, int width) const {
        return Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)) != 0;
    }
    bool SetHeaderFormatAndImage(int index, UINT mask, int format, int image) const {
        HDITEMA item = {};
        item.mask = mask;
        item.fmt = format;
        item.iImage = image;
        return SendMessageA(Header(), HDM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
    }
    // 0 unchecked, 1 checked: the state image index minus one.
    int CheckState(int item) const { return static_cast<int>((ItemState(item, LVIS_STATEIMAGEMASK) >> 12) - 1); }
    bool SetCheckState(int item, bool checked) const {
        return SetItemState(item, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    bool ToggleCheckState(int item) const { return SetCheckState(item, CheckState(item) != 1); }
    bool SwapItems(int a, int b) const;
    bool MoveSelectedUp() const;
    bool MoveSelectedDown() const;
    DWORD ExtendedStyle() const { return static_cast<DWORD>(Send(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    void SetExtendedStyleBits(DWORD bits, bool on) const {
        DWORD style = ExtendedStyle();
        style = on ? (style | bits) : (style & ~bits);
        Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style);
    }
    bool EnsureVisible(int item) const { return Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE) != 0; }
    HIMAGELIST SetImageList(HIMAGELIST list, int which) const {
        return reinterpret_cast<HIMAGELIST>(Send(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(list)));
    }
    // The header keeps the sort arrows; it never destroys its image list.
    HIMAGELIST SetHeaderImageList(HIMAGELIST list) const {
        return reinterpret_cast<HIMAGELIST>(
            SendMessageA(Header(), HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list)));
    }
    // Sorts the items by their item data; context reaches the comparison as its third argument.
    bool SortItems(PFNLVCOMPARE compare, LPARAM context) const {
        return Send(LVM_SORTITEMS, static_cast<WPARAM>(context), reinterpret_cast<LPARAM>(compare)) != 0;
    }
    void SetRedraw(bool on) const { Send(WM_SETREDRAW, on ? TRUE : FALSE); }
    HIMAGELIST ImageList(int which) const {
        return reinterpret_cast<HIMAGELIST>(Send(LVM_GETIMAGELIST, static_cast<WPARAM>(which)));
    }

private:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageA(hwnd_, message, wParam, lParam);
    }

    HWND hwnd_;
};

}  // namespace win
