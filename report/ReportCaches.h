// What the reports keep between rows so that a cell costs little: where a row type keeps
// the texts it shows as they are, reading those texts ahead, and the fixed texts around
// each cell.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

class RowRecord;

// The offsets of the columns' stored texts within a row, found once per report from one
// row (every row of a list has the same type), so a report reads such a text straight
// from the row instead of asking the row for it.
class StoredTextOffsets {
public:
    static constexpr int kRowsAhead = 4;

    // sample may be null (no rows): then every text is worked out.
    void Find(const RowRecord* sample, int rowSize, int columnCount, const int* visibleOrder, int visibleCount);

    // The column's text in the row, or null when the row works it out.
    const char* Text(const RowRecord& row, int column) const {
        if (static_cast<std::size_t>(column) < offset_.size() && offset_[column] >= 0)
            return reinterpret_cast<const char*>(&row) + offset_[column];
        return nullptr;
    }

    // Asks the memory for two bytes of each stored text of a row that a report writes a
    // few rows later: the first, and the one 32 bytes on, which lies in the next cache line
    // when a text begins late in one. The texts of a row lie in separate lines of a large
    // block, and a copy that stops at a terminator would wait for each line in turn. The
    // compiler emits no prefetch for this target (it assumes no SSE), so the instruction
    // is written out; every processor the program runs on has it.
    void ReadAhead(const RowRecord* row) const {
        if (row == nullptr) return;
        const char* base = reinterpret_cast<const char*>(row);
        for (std::ptrdiff_t offset : ahead_) {
            Prefetch(base + offset);
            if (offset + 32 < rowSize_) Prefetch(base + offset + 32);
        }
    }

    // Asks the memory for the cache line that holds address.
    static void Prefetch(const char* address) { __asm__ volatile("prefetcht0 %0" : : "m"(*address)); }

private:
    int rowSize_ = 0;
    std::vector<std::ptrdiff_t> offset_;
    // The offsets of the stored texts of the visible columns.
    std::vector<std::ptrdiff_t> ahead_;
};

// The fixed texts before and after one visible cell of a report. Their storage reaches a
// machine word beyond their text (Pad), so that they are copied a word at a time.
struct CellPieces {
    bool Built = false;
    COLORREF Background = static_cast<COLORREF>(-1);
    std::string Open;
    std::string Close;

    void Pad() {
        Open.reserve(Open.size() + sizeof(void*));
        Close.reserve(Close.size() + sizeof(void*));
    }
};

// The pieces of every visible position: worked out once per report and position, and
// again only when a cell's background differs from the last one's.
class CellPieceCache {
public:
    // The pieces kept for a position; Built is false when they must be built (again).
    CellPieces& At(int format, int position, int positionCount, COLORREF background) {
        if (format_ != format || pieces_.size() != static_cast<std::size_t>(positionCount)) {
            pieces_.assign(static_cast<std::size_t>(positionCount), CellPieces());
            format_ = format;
        }
        CellPieces& pieces = pieces_[static_cast<std::size_t>(position)];
        if (pieces.Background != background) pieces.Built = false;
        return pieces;
    }
    void Forget() { format_ = -1; }

private:
    int format_ = -1;
    std::vector<CellPieces> pieces_;
};
