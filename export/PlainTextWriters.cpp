// The row writers of the three plain-text formats, and the format dispatch.
#include <cstring>

#include "export/CellCopy.h"
#include "export/ReportFile.h"
#include "framework/Handles.h"
#include "report/ReportList.h"

namespace {

constexpr int kCaptionWidth = 18;
constexpr int kSeparatorLength = 50;
const char kLineEnd[] = "\r\n";
// A cell text up to this long is copied in one run; a longer one goes piece by piece.
constexpr std::size_t kTextRoom = 1024;
constexpr std::size_t kWord = sizeof(cells::Word);

// The pieces around a cell and its text, in one run of the buffer when the text is short.
bool WriteCell(ReportFile& file, const CellPieces& pieces, const char* text) {
    const std::size_t open = pieces.Open.size(), close = pieces.Close.size();
    char* out = file.Reserve(open + kWord + kTextRoom + kWord + close + kWord);
    if (out != nullptr) {
        char* end = cells::CopyText(cells::CopyPadded(out, pieces.Open.data(), open), text, kTextRoom);
        if (end != nullptr) {
            file.Commit(cells::CopyPadded(end, pieces.Close.data(), close));
            return true;
        }
    }
    file.Write(pieces.Open.data(), open);
    file.Write(text);
    return file.Write(pieces.Close.data(), close);
}

}  // namespace

const char* ReportList::WorkedOutCellText(const RowRecord& row, int column, int buffer) {
    char* scratch = TextBuffer(buffer);
    if (scratch == nullptr) return "";
    scratch[0] = '\0';
    const char* text = RowText(row, column, scratch, TextBufferCapacity(buffer));
    return text != nullptr ? text : "";
}

bool ReportList::WriteRow(ReportFile& file, const RowRecord& row, int format) {
    switch (format) {
    case kFormatText: return WriteTextRecord(file, row);
    case kFormatTabDelimited: return WriteTabRow(file, row);
    case kFormatTabular: return WriteTabularRow(file, row);
    case kFormatHtmlRows: return WriteHtmlRow(file, row);
    case kFormatHtmlTables: return WriteHtmlRecord(file, row);
    case kFormatXml: return WriteXmlRow(file, row);
    default: return false;
    }
}

// The caption padded to 18 bytes (never cut) and the colon before a text record's value.
void ReportList::BuildTextPieces(int position, CellPieces& pieces) const {
    pieces.Open = descriptors_[visibleOrder_[position]].Caption;
    if (pieces.Open.size() < kCaptionWidth) pieces.Open.append(kCaptionWidth - pieces.Open.size(), ' ');
    pieces.Open += ": ";
    pieces.Close = kLineEnd;
}

// A separator line, one "caption: text" line per visible column, the separator again and
// an empty line.
bool ReportList::WriteTextRecord(ReportFile& file, const RowRecord& row) {
    file.Repeat('=', kSeparatorLength);
    file.Write(kLineEnd);
    for (int p = 0; p < visibleCount_; ++p)
        WriteCell(file, Pieces(kFormatText, p, kNoColor), CellText(row, visibleOrder_[p], 0));
    file.Repeat('=', kSeparatorLength);
    file.Write(kLineEnd);
    return file.Write(kLineEnd);
}

// Each visible column's text followed by a tab, then the line end; nothing is quoted.
bool ReportList::WriteTabRow(ReportFile& file, const RowRecord& row) {
    for (int p = 0; p < visibleCount_; ++p) {
        const char* text = CellText(row, visibleOrder_[p], 0);
        char* out = file.Reserve(kTextRoom + kWord + 1);
        char* end = out != nullptr ? cells::CopyText(out, text, kTextRoom) : nullptr;
        if (end != nullptr) {
            *end = '\t';
            file.Commit(end + 1);
        } else {
            file.Write(text);
            file.Put('\t');
        }
    }
    return file.Write(kLineEnd);
}

// Each visible column cut or padded to exactly its tabular width in bytes, then a blank.
bool ReportList::WriteTabularRow(ReportFile& file, const RowRecord& row) {
    for (int p = 0; p < visibleCount_; ++p) {
        int column = visibleOrder_[p];
        std::size_t width = attributes_[column].TabularWidth > 0
                                ? static_cast<std::size_t>(attributes_[column].TabularWidth)
                                : 0;
        const char* text = CellText(row, column, 0);
        char* out = file.Reserve(width + kWord + 1);
        if (out != nullptr) {
            // The text's first bytes up to the width, then blanks up to it and one more.
            const char* end = cells::CopyText(out, text, width);
            std::size_t length = end != nullptr ? static_cast<std::size_t>(end - out) : width;
            if (length > width) length = width;
            std::memset(out + length, ' ', width - length + 1);
            file.Commit(out + width + 1);
            continue;
        }
        std::size_t length = 0;
        while (length < width && text[length] != '\0') ++length;
        file.Write(text, length);
        file.Repeat(' ', width - length + 1);
    }
    return file.Write(kLineEnd);
}

bool ReportList::WriteListRows(const char* fileName, int format, bool selectedOnly) {
    ComputeVisibleColumns();
    ReportFile file;
    if (!file.Create(fileName)) {
        SetLastError(file.LastError());
        return false;
    }
    win::WaitCursor wait;
    WriteHeader(file, format);
    bool written = true;
    win::ListView view(listView_);
    const int count = view.ItemCount();
    for (int item = 0; item < count; ++item) {
        if (item + StoredTextOffsets::kRowsAhead < count)
            storedTexts_.ReadAhead(RowAtItem(item + StoredTextOffsets::kRowsAhead));
        const RowRecord* row = RowAtItem(item);
        if (row == nullptr) continue;
        if (selectedOnly && (view.ItemState(item, LVIS_SELECTED) & LVIS_SELECTED) == 0) continue;
        if (!WriteRow(file, *row, format)) {
            written = false;
            break;
        }
    }
    WriteFooter(file, format);
    if (!file.Close()) written = false;
    if (!written) SetLastError(file.LastError());
    return written;
}
