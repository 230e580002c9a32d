#include "report/ReportList.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>

#include "export/ReportFile.h"
#include "framework/ErrorBox.h"
#include "framework/Handles.h"
#include "framework/Language.h"

int RowRecord::CompareOnColumn(int, const RowRecord&) const { return kCompareTexts; }
bool RowRecord::MatchesKey(const void*) const { return false; }
void RowRecord::Release() {}

ReportList::ReportList() = default;

ReportList::~ReportList() {
    // The header never destroys its image list: it lets go of it before the list frees it.
    // The small image list belongs to the list view (see CreateImageLists).
    if (listView_ != nullptr && IsWindow(listView_)) win::ListView(listView_).SetHeaderImageList(nullptr);
    ReleaseRows();
    for (auto& buffer : textBuffers_) buffer.Release();
}

void ReportList::ReleaseRows() {
    for (int i = 0; i < rowCount_; ++i) RowAt(i)->Release();
    std::free(rowBlock_);
    rowBlock_ = nullptr;
    rowCount_ = 0;
    capacity_ = 0;
    ++rowGeneration_;
}

int ReportList::IndexOfRow(const RowRecord* row) const {
    const unsigned char* at = reinterpret_cast<const unsigned char*>(row);
    if (rowBlock_ == nullptr || rowSize_ <= 0 || at < rowBlock_) return -1;
    const std::size_t offset = static_cast<std::size_t>(at - rowBlock_);
    if (offset % rowSize_ != 0 || offset / rowSize_ >= static_cast<std::size_t>(rowCount_)) return -1;
    return static_cast<int>(offset / rowSize_);
}

int ReportList::IconForRow(RowRecord&) { return 2; }

const char* ReportList::RowText(const RowRecord& row, int column, char* buffer, int capacity) {
    return row.ColumnText(column, buffer, capacity);
}
COLORREF ReportList::HeaderCellColor() const { return 0xE0E0E0; }
COLORREF ReportList::HeaderTextColor() const { return kNoColor; }

const char* ReportList::ReportTitle() const {
    return titleId_ != 0 ? lang::String(static_cast<unsigned>(titleId_)) : "";
}

const char* ReportList::ReportTagName() const {
    if (titleId_ == 0) return ReportTitle();
    return lang::String(static_cast<unsigned>(titleId_) | lang::kUntranslated);
}

bool ReportList::IncludeInReport(const RowRecord&) const { return true; }
void ReportList::RowAppended() {}
const char* ReportList::ProgressFormat() const { return nullptr; }
int ReportList::TextBufferSize() const { return kDefaultTextBufferSize; }
bool ReportList::RowMatchesKey(const void* key, const RowRecord& row) const { return row.MatchesKey(key); }

RowRecord* ReportList::FindRowByKey(const void* key) {
    for (int i = 0; i < rowCount_; ++i)
        if (RowMatchesKey(key, *RowAt(i))) return RowAt(i);
    return nullptr;
}

void ReportList::LoadRows() {}
bool ReportList::IsColumnSearched(int column) const { return column == 0; }
bool ReportList::IsRowShown(const RowRecord&, int) const { return true; }

int ReportList::CompareRows(int column, const RowRecord& a, const RowRecord& b) const {
    return a.CompareOnColumn(column, b);
}

void ReportList::Attach(HWND listView, int descendingImage) {
    rowSize_ = RowSize();
    capacity_ = 0;
    listView_ = listView;

    int count = 0;
    const ColumnDef* table = ColumnTable(&count);
    columnCount_ = count;
    descriptors_.assign(count, ColumnDescriptor{});
    attributes_.assign(count, ReportAttributes{});
    for (int i = 0; i < count; ++i) {
        const ColumnDef& def = table[i];
        if (def.Number < 0 || def.Number >= count) continue;
        ColumnDescriptor& descriptor = descriptors_[def.Number];
        descriptor.Number = def.Number;
        descriptor.Mask = def.Mask;
        descriptor.Format = def.Format;
        descriptor.DefaultWidth = def.DefaultWidth;
        ReportAttributes& attributes = attributes_[def.Number];
        std::memcpy(attributes.HtmlWidth, def.HtmlWidth, sizeof attributes.HtmlWidth);
        attributes.HtmlWidth[sizeof attributes.HtmlWidth - 1] = '\0';
        attributes.NoWrap = def.NoWrap;
        attributes.TabularWidth = def.TabularWidth;
        if (def.CaptionId >= 0 && def.CaptionId < 0x10000) {
            descriptor.Caption = lang::String(static_cast<unsigned>(def.CaptionId));
            attributes.Name = lang::String(static_cast<unsigned>(def.CaptionId) | lang::kUntranslated);
        }
    }

    elementNames_.clear();
    gradientFormat_ = -1;
    ascendingImage_ = 0;
    descendingImage_ = descendingImage;
    visibleCount_ = count;
    growthStep_ = 32;
    visibleOrder_.assign(count, 0);
    for (int i = 0; i < count; ++i) visibleOrder_[i] = i;

    columnState_.ListView = listView;
    columnState_.Entries.assign(count, ColumnStateEntry{100, 0});
    for (int i = 0; i < count; ++i) columnState_.Entries[i].Position = static_cast<std::int16_t>(i);

    sortAfterRefresh_ = 1;
    selectFirstAfterRefresh_ = 1;
    int size = TextBufferSize();
    for (auto& buffer : textBuffers_) {
        buffer.Ensure(size);
        if (buffer.Data() != nullptr) buffer.Data()[0] = '\0';
    }
}

RowRecord* ReportList::AppendRow(const RowRecord& record) {
    if (rowCount_ >= capacity_) {
        // The block grows by the growth step at first and then doubles, so that appending
        // stays cheap however many rows there are. A block that cannot grow keeps its
        // rows, and the new row is not added.
        const long long step = growthStep_ > 0 ? growthStep_ : 1;
        long long capacity = capacity_ + step;
        if (capacity < 2LL * capacity_) capacity = 2LL * capacity_;
        if (capacity * rowSize_ > 0x7FFFFFFF) return nullptr;
        unsigned char* grown = static_cast<unsigned char*>(std::realloc(rowBlock_, static_cast<std::size_t>(capacity) * rowSize_));
        if (grown == nullptr) return nullptr;
        rowBlock_ = grown;
        capacity_ = static_cast<int>(capacity);
    }
    unsigned char* slot = rowBlock_ + static_cast<std::size_t>(rowCount_) * rowSize_;
    // Rows are plain records apart from their row type's dispatch pointer, which the
    // byte copy carries along, so the copy behaves as the original.
    std::memcpy(static_cast<void*>(slot), static_cast<const void*>(&record), rowSize_);
    RowRecord* stored = reinterpret_cast<RowRecord*>(slot);
    stored->IconIndex = -1;
    ++rowCount_;
    RowAppended();
    return stored;
}

RowRecord* ReportList::RowAt(int index) const {
    if (index < 0 || index >= rowCount_) return nullptr;
    return reinterpret_cast<RowRecord*>(rowBlock_ + static_cast<std::size_t>(index) * rowSize_);
}

const CellPieces& ReportList::BuildPieces(int format, int position, COLORREF background, CellPieces& pieces) {
    pieces.Background = background;
    pieces.Open.clear();
    pieces.Close.clear();
    if (format == kFormatText)
        BuildTextPieces(position, pieces);
    else
        BuildMarkupPieces(format, position, pieces);
    pieces.Pad();
    pieces.Built = true;
    return pieces;
}

void ReportList::ComputeVisibleColumns() {
    const int n = columnCount_;
    std::vector<int> width(n, 0), position(n, 0);
    for (int c = 0; c < n; ++c) {
        if (listView_ != nullptr) {
            win::ListView(listView_).ColumnWidthAndPosition(c, &width[c], &position[c]);
        } else if (c < static_cast<int>(columnState_.Entries.size())) {
            width[c] = columnState_.Entries[c].Width;
            position[c] = columnState_.Entries[c].Position;
        }
        if (position[c] < 0) position[c] = 0;
        if (position[c] > n - 1) position[c] = n - 1;
    }
    visibleCount_ = 0;
    for (int p = 0; p < n; ++p)
        for (int c = 0; c < n; ++c)
            if (width[c] > 0 && position[c] == p) visibleOrder_[visibleCount_++] = c;
    storedTexts_.Find(RowAt(0), rowSize_, columnCount_, visibleOrder_.data(), visibleCount_);
    cellPieces_.Forget();
}

bool ReportList::WriteStoredRows(const char* fileName, int format) {
    ComputeVisibleColumns();
    HWND owner = listView_ != nullptr ? GetParent(listView_) : nullptr;

    ReportFile file;
    if (!file.Create(fileName)) {
        ShowErrorBox(file.LastError(), owner);
        return false;
    }
    win::WaitCursor wait;
    WriteHeader(file, format);
    bool written = true;
    for (int i = 0; i < rowCount_; ++i) {
        storedTexts_.ReadAhead(RowAt(i + StoredTextOffsets::kRowsAhead));
        const RowRecord& row = *RowAt(i);
        if (!IncludeInReport(row)) continue;
        if (!WriteRow(file, row, format)) {
            written = false;
            ShowErrorBox(file.LastError(), owner);
            break;
        }
    }
    WriteFooter(file, format);
    if (!file.Close() && written) {
        written = false;
        ShowErrorBox(file.LastError(), owner);
    }
    return written;
}
