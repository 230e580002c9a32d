// Sorting of the report list's rows.
#include <mbstring.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/Text.h"
#include "report/ReportList.h"

namespace {

const unsigned char* Bytes(const char* s) { return reinterpret_cast<const unsigned char*>(s); }

bool EqualsNoCase(const char* a, const char* b) { return _mbsicmp(Bytes(a), Bytes(b)) == 0; }

// Case-insensitive substring test that never matches across a double-byte character.
bool ContainsNoCase(const char* text, const char* part) {
    std::string folded(text), needle(part);
    _mbslwr(reinterpret_cast<unsigned char*>(&folded[0]));
    _mbslwr(reinterpret_cast<unsigned char*>(&needle[0]));
    return _mbsstr(Bytes(folded.c_str()), Bytes(needle.c_str())) != nullptr;
}

}  // namespace

int ReportList::ColumnFromArgument(const char* argument) {
    ComputeVisibleColumns();
    if (argument[0] >= '0' && argument[0] <= '9' && std::strlen(argument) < 3) {
        const int n = std::atoi(argument);
        return n < visibleCount_ ? visibleOrder_[n] : 0;
    }
    // An empty name would be part of every caption; it names no column.
    if (argument[0] == '\0') return 0;
    int column = -1;
    for (int c = 0; c < columnCount_; ++c)
        if (EqualsNoCase(descriptors_[c].Caption, argument) || EqualsNoCase(attributes_[c].Name, argument))
            column = c;
    if (column >= 0) return column;
    for (int c = 0; c < columnCount_; ++c)
        if (ContainsNoCase(descriptors_[c].Caption, argument) || ContainsNoCase(attributes_[c].Name, argument))
            column = c;
    return column >= 0 ? column : 0;
}

bool ReportList::AddSortSpec(int spec) {
    if (sortKeyCount_ >= kMaxSortKeys) return false;
    sortKeys_[sortKeyCount_++] = spec;
    return true;
}

bool ReportList::AddSortKey(const char* argument, bool descending) {
    if (sortKeyCount_ >= kMaxSortKeys) return false;
    const int column = ColumnFromArgument(argument != nullptr ? argument : "");
    return AddSortSpec(column | (descending ? kDescending : 0));
}

int ReportList::CompareByKeys(const RowRecord& a, const RowRecord& b) const {
    char textA[kDefaultTextBufferSize];
    char textB[kDefaultTextBufferSize];
    for (int k = 0; k < sortKeyCount_; ++k) {
        const int spec = sortKeys_[k];
        const int column = spec & kSortColumnMask;
        int r = CompareRows(column, a, b);
        if (r == RowRecord::kCompareTexts) {
            textA[0] = textB[0] = '\0';
            const char* left = a.ColumnText(column, textA, sizeof textA);
            const char* right = b.ColumnText(column, textB, sizeof textB);
            r = _mbsicmp(Bytes(left != nullptr ? left : ""), Bytes(right != nullptr ? right : ""));
        }
        if (spec & kDescending) r = -r;
        if (r != 0) return r;
    }
    return 0;
}

// The rows are large records: their indices are sorted, and each record then moves once,
// cycle by cycle, through one spare row. A merge sort never reads outside the array even
// when a comparison of odd registry texts is not consistent.
void ReportList::SortStoredRows() {
    if (rowCount_ < 2) return;
    std::vector<int> order(static_cast<std::size_t>(rowCount_));
    for (int i = 0; i < rowCount_; ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return CompareByKeys(*RowAt(a), *RowAt(b)) < 0; });

    std::vector<unsigned char> spare(static_cast<std::size_t>(rowSize_));
    auto slot = [this](int i) { return rowBlock_ + static_cast<std::size_t>(i) * rowSize_; };
    for (int start = 0; start < rowCount_; ++start) {
        if (order[start] == start) continue;
        std::memcpy(spare.data(), slot(start), rowSize_);
        int to = start;
        for (;;) {
            const int from = order[to];
            order[to] = to;
            if (from == start) {
                std::memcpy(slot(to), spare.data(), rowSize_);
                break;
            }
            std::memcpy(slot(to), slot(from), rowSize_);
            to = from;
        }
    }
}

void ReportList::SortBy(int spec, bool keepDirection) {
    if (spec == kSavedSortSpec) spec = savedSortSpec_;
    if (!keepDirection) {
        if ((spec & kSortColumnMask) == (savedSortSpec_ & kSortColumnMask))
            spec = savedSortSpec_ ^ kDescending;
        else
            spec &= kSortColumnMask;
    }
    savedSortSpec_ = spec;

    win::ListView view(listView_);
    if (!view) return;
    for (int c = 0; c < columnCount_; ++c) view.SetHeaderFormatAndImage(c, HDI_FORMAT, HDF_STRING, 0);
    const bool descending = (spec & kDescending) != 0;
    view.SetHeaderFormatAndImage(spec & kSortColumnMask, HDI_FORMAT | HDI_IMAGE,
                                 HDF_STRING | HDF_IMAGE | HDF_BITMAP_ON_RIGHT,
                                 descending ? descendingImage_ : ascendingImage_);
    activeSortSpec_ = spec;
    view.SortItems(CompareItems, reinterpret_cast<LPARAM>(this));
}

int CALLBACK ReportList::CompareItems(LPARAM dataA, LPARAM dataB, LPARAM listParam) {
    ReportList* list = reinterpret_cast<ReportList*>(listParam);
    const RowRecord* a = list->RowAt(static_cast<int>(dataA));
    const RowRecord* b = list->RowAt(static_cast<int>(dataB));
    if (a == nullptr || b == nullptr) return 0;
    const int column = list->activeSortSpec_ & kSortColumnMask;
    int r = list->CompareRows(column, *a, *b);
    if (r == RowRecord::kCompareTexts) {
        char* first = list->TextBuffer(0);
        char* second = list->TextBuffer(1);
        if (first == nullptr || second == nullptr) return 0;
        first[0] = second[0] = '\0';
        const char* left = a->ColumnText(column, first, list->TextBufferCapacity(0));
        const char* right = b->ColumnText(column, second, list->TextBufferCapacity(1));
        r = text::CompareNoCase(left != nullptr ? left : "", right != nullptr ? right : "");
    }
    return (list->activeSortSpec_ & kDescending) ? -r : r;
}
