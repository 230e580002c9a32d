#include "report/ReportCaches.h"

#include "report/ReportList.h"

void StoredTextOffsets::Find(const RowRecord* sample, int rowSize, int columnCount, const int* visibleOrder,
                             int visibleCount) {
    rowSize_ = rowSize;
    offset_.assign(static_cast<std::size_t>(columnCount), -1);
    ahead_.clear();
    if (sample == nullptr) return;
    const char* base = reinterpret_cast<const char*>(sample);
    for (int c = 0; c < columnCount; ++c) {
        const char* field = sample->StoredText(c);
        if (field >= base && field < base + rowSize) offset_[c] = field - base;
    }
    for (int p = 0; p < visibleCount; ++p)
        if (offset_[visibleOrder[p]] >= 0) ahead_.push_back(offset_[visibleOrder[p]]);
}
