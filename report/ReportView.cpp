// The report list bound to its list view: columns, image lists, items and painting.
#include <cstring>
#include <vector>

#include "framework/Handles.h"
#include "report/ReportList.h"
#include "report/SettingsExchange.h"
#include "resources/resource.h"

namespace {
constexpr int kIconSize = 16;
constexpr int kWidestAppliedColumn = 1999;
}  // namespace

void ReportList::InsertListColumns() {
    win::ListView view(listView_);
    if (!view) return;
    for (int c = 0; c < columnCount_; ++c) {
        const ColumnDescriptor& d = descriptors_[c];
        view.InsertColumn(c, d.Caption, static_cast<UINT>(d.Mask), d.Format, d.DefaultWidth);
    }
}

void ReportList::CreateImageLists() {
    win::ListView view(listView_);
    if (!view) return;

    // A list view without LVS_SHAREIMAGELISTS destroys its small image list with itself,
    // so the new list is the view's from here on; the one it held before is freed.
    HIMAGELIST small = ImageList_Create(kIconSize, kIconSize, ILC_COLOR24 | ILC_MASK, 1, 1);
    ImageList_SetImageCount(small, 1);
    win::UniqueImageList previous(view.SetImageList(small, LVSIL_SMALL));
    smallImages_ = small;

    win::UniqueImageList arrows(ImageList_Create(kIconSize, kIconSize, ILC_COLOR24 | ILC_MASK, 1, 1));
    ImageList_RemoveAll(arrows.get());
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (int id : {IDB_SORT_UP, IDB_SORT_DOWN}) {
        win::UniqueBitmap arrow(static_cast<HBITMAP>(
            LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, kIconSize, kIconSize, LR_LOADMAP3DCOLORS)));
        ImageList_AddMasked(arrows.get(), arrow.get(), GetSysColor(COLOR_BTNFACE));
    }
    view.SetHeaderImageList(arrows.get());
    headerImages_ = std::move(arrows);
}

void ReportList::RefreshView(bool sortAndSelect) {
    win::ListView view(listView_);
    if (!view) return;
    for (int i = 0; i < rowCount_; ++i) RowAt(i)->DisplayMarker = IsRowShown(*RowAt(i), i) ? 1 : 0;

    for (int n = view.ItemCount() - 1; n >= 0; --n) {
        LPARAM data = 0;
        RowRecord* row = view.ItemData(n, &data) ? RowAt(static_cast<int>(data)) : nullptr;
        if (row == nullptr || row->DisplayMarker == 0) {
            view.DeleteItem(n);
            continue;
        }
        row->DisplayMarker = 0;
        UpdateRowTexts(*row, n);
    }

    for (int i = 0; i < rowCount_; ++i) {
        RowRecord& row = *RowAt(i);
        if (row.DisplayMarker != 1) continue;
        row.DisplayMarker = 0;
        row.IconIndex = IconForRow(row);
        char* scratch = TextBuffer(0);
        if (scratch != nullptr) scratch[0] = '\0';
        const char* text = RowText(row, 0, scratch, TextBufferCapacity(0));
        int item = view.InsertItem(text != nullptr ? text : "", LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, row.IconIndex, i);
        if (item >= 0) SetNewRowTexts(row, item);
    }

    if (!sortAndSelect) return;
    if (sortAfterRefresh_) SortBy(savedSortSpec_, true);
    if (selectFirstAfterRefresh_) view.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// An item just inserted shows its first column only: each other text is set once, and an
// empty one not at all, without reading back what the list view holds.
void ReportList::SetNewRowTexts(const RowRecord& row, int item) {
    win::ListView view(listView_);
    char* current = TextBuffer(1);
    if (!view || current == nullptr) return;
    for (int c = 1; c < columnCount_; ++c) {
        current[0] = '\0';
        const char* text = RowText(row, c, current, TextBufferCapacity(1));
        if (text != nullptr && text[0] != '\0') view.SetItemText(item, c, text);
    }
}

void ReportList::UpdateRowTexts(const RowRecord& row, int item) {
    win::ListView view(listView_);
    char* shown = TextBuffer(0);
    char* current = TextBuffer(1);
    if (!view || shown == nullptr || current == nullptr) return;
    for (int c = 0; c < columnCount_; ++c) {
        view.ItemText(item, c, shown, TextBufferCapacity(0));
        current[0] = '\0';
        const char* text = RowText(row, c, current, TextBufferCapacity(1));
        if (text == nullptr) text = "";
        if (std::strcmp(shown, text) != 0) view.SetItemText(item, c, text);
    }
}

LRESULT ReportList::CustomDraw(NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        ComputeVisibleColumns();
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        if (const RowRecord* row = RowAt(static_cast<int>(draw.nmcd.lItemlParam))) CellColors(*row, draw);
        return CDRF_NEWFONT;
    default:
        return 0;
    }
}

void ReportList::CellColors(const RowRecord&, NMLVCUSTOMDRAW&) {}

bool ApplyColumnEntries(HWND listView, const std::vector<ColumnStateEntry>& entries) {
    win::ListView view(listView);
    if (!view) return false;
    const int n = static_cast<int>(entries.size());
    int atZero = 0;
    for (const ColumnStateEntry& entry : entries)
        if (entry.Position == 0) ++atZero;
    if (atZero >= 2) return false;
    for (int i = 0; i < n; ++i) {
        const ColumnStateEntry& entry = entries[i];
        if (entry.Width < 0 || entry.Width > kWidestAppliedColumn || entry.Position < 0 || entry.Position >= n)
            continue;
        view.SetColumnWidthAndPosition(i, entry.Width, entry.Position);
    }
    return true;
}

void ReadColumnEntries(HWND listView, std::vector<ColumnStateEntry>& entries) {
    win::ListView view(listView);
    if (!view) return;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        ColumnStateEntry& entry = entries[i];
        entry = ColumnStateEntry{0, 0};
        int width = 0, position = 0;
        if (view.ColumnWidthAndPosition(static_cast<int>(i), &width, &position)) {
            entry.Width = static_cast<std::int16_t>(width);
            entry.Position = static_cast<std::int16_t>(position);
        }
    }
}

void ReportList::ApplyColumnState() { ApplyColumnEntries(listView_, columnState_.Entries); }

void ReportList::ReadColumnState() { ReadColumnEntries(listView_, columnState_.Entries); }

void ReportList::ExchangeSettings(SettingsExchange& store) {
    if (store.Saving()) ReadColumnState();
    // Width, then position, each a signed 16-bit little-endian number, per column.
    std::vector<unsigned char> bytes(columnState_.Entries.size() * 4);
    for (std::size_t i = 0; i < columnState_.Entries.size(); ++i) {
        const ColumnStateEntry& entry = columnState_.Entries[i];
        const std::uint16_t width = static_cast<std::uint16_t>(entry.Width);
        const std::uint16_t position = static_cast<std::uint16_t>(entry.Position);
        bytes[i * 4 + 0] = static_cast<unsigned char>(width & 0xFF);
        bytes[i * 4 + 1] = static_cast<unsigned char>(width >> 8);
        bytes[i * 4 + 2] = static_cast<unsigned char>(position & 0xFF);
        bytes[i * 4 + 3] = static_cast<unsigned char>(position >> 8);
    }
    store.BinaryValue("Columns", bytes.data(), static_cast<int>(bytes.size()));
    store.IntValue("Sort", &savedSortSpec_, 0);
    if (store.Saving()) return;

    // A hand-edited sort naming no column, or with stray bits, falls back to the first.
    if ((savedSortSpec_ & ~(kSortColumnMask | kDescending)) != 0 || (savedSortSpec_ & kSortColumnMask) >= columnCount_)
        savedSortSpec_ = 0;

    std::vector<ColumnStateEntry> loaded(columnState_.Entries.size());
    int atZero = 0;
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        loaded[i].Width = static_cast<std::int16_t>(bytes[i * 4] | (bytes[i * 4 + 1] << 8));
        loaded[i].Position = static_cast<std::int16_t>(bytes[i * 4 + 2] | (bytes[i * 4 + 3] << 8));
        if (loaded[i].Position == 0) ++atZero;
    }
    // A layout with two columns at the first place is rejected as a whole, also for the
    // reports written without a window, which take their columns from it.
    if (atZero >= 2) return;
    columnState_.Entries = loaded;
    ApplyColumnState();
}

void ReportList::SetExtendedStyle(DWORD bits, bool on) { win::ListView(listView_).SetExtendedStyleBits(bits, on); }

void ReportList::Invalidate() {
    if (listView_ != nullptr) InvalidateRect(listView_, nullptr, FALSE);
}
