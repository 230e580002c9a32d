// The generic table engine: rows of one row type stored by value in one block, a fixed set
// of columns, their visible order and persisted layout, and the reports that walk them.
// It works with a list view or, for command-line reports, with none.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <commdlg.h>

#include "framework/Containers.h"
#include "framework/Handles.h"
#include "framework/ListView.h"
#include "report/ReportCaches.h"

class ReportFile;
class SettingsExchange;

// Report format codes, shared by the save dialog, the settings and the command line.
enum ReportFormat {
    kFormatText = 1,
    kFormatTabDelimited = 2,
    kFormatTabular = 3,
    kFormatHtmlRows = 4,
    kFormatHtmlTables = 5,
    kFormatXml = 6,
};

// One row of a report list. Rows are copied into the row block byte for byte, so a row
// type keeps its texts in fixed arrays and owns nothing that would need a copy.
class RowRecord {
public:
    // CompareOnColumn's answer when the row type has no rule of its own for a column.
    static constexpr int kCompareTexts = 255;

    // The text of a column: a constant, a field, or the given buffer filled.
    virtual const char* ColumnText(int column, char* buffer, int capacity) const = 0;
    // The field that holds a column's text when the text is stored as it is shown;
    // null when it is worked out. Reports read such fields without asking again per row.
    virtual const char* StoredText(int column) const { return nullptr; }
    virtual int CompareOnColumn(int column, const RowRecord& other) const;
    virtual bool MatchesKey(const void* key) const;
    virtual void Release();

    // Owned by the report list.
    std::int16_t DisplayMarker = 0;
    std::int32_t IconIndex = -1;

protected:
    RowRecord() = default;
    RowRecord(const RowRecord&) = default;
    RowRecord& operator=(const RowRecord&) = default;
    ~RowRecord() = default;
};

// One entry of a subclass's column table.
struct ColumnDef {
    int Number;
    int Mask;
    int Format;
    int DefaultWidth;
    int CaptionId;
    char HtmlWidth[4];
    int NoWrap;
    int TabularWidth;
    const char* Name;
};

struct ColumnDescriptor {
    int Number = 0;
    int Mask = 0;
    int Format = 0;
    int DefaultWidth = 0;
    const char* Caption = "";
};

struct ReportAttributes {
    char HtmlWidth[4] = {};
    int NoWrap = 0;
    int TabularWidth = 0;
    const char* Name = "";
};

// The persisted layout of one column: width 0 means hidden.
struct ColumnStateEntry {
    std::int16_t Width;
    std::int16_t Position;
};

struct ColumnState {
    std::vector<ColumnStateEntry> Entries;
    HWND ListView = nullptr;
};

// Puts the entries' widths and positions into the list view. A layout with two or more
// columns at position 0 is rejected as a whole (false); an entry is applied only with a
// width of 0..1999 and a position of 0..N-1.
bool ApplyColumnEntries(HWND listView, const std::vector<ColumnStateEntry>& entries);
// Reads every column's width and position from the list view into the entries.
void ReadColumnEntries(HWND listView, std::vector<ColumnStateEntry>& entries);

// The colour "none" of the report colours.
constexpr COLORREF kNoColor = static_cast<COLORREF>(-1);

// How one value cell of an HTML report is drawn; -1 means "none" for colours and size.
struct CellStyleRecord {
    COLORREF Background = kNoColor;
    COLORREF FontColor = kNoColor;
    int FontSize = -1;
    bool Bold = false;
};

class ReportList {
public:
    static constexpr int kTextBufferCount = 4;
    static constexpr int kDefaultTextBufferSize = 8192;

    ReportList();
    virtual ~ReportList();
    ReportList(const ReportList&) = delete;
    ReportList& operator=(const ReportList&) = delete;

    // Virtual operations with the base behaviour.
    virtual void ReleaseRows();
    virtual int IconForRow(RowRecord& row);
    virtual COLORREF HeaderCellColor() const;
    virtual COLORREF HeaderTextColor() const;
    virtual const char* ReportTitle() const;
    virtual const char* ReportTagName() const;
    virtual void WriteXmlHeader(ReportFile& file);
    virtual void WriteXmlFooter(ReportFile& file);
    virtual bool IncludeInReport(const RowRecord& row) const;
    virtual void CellStyle(int format, int position, const RowRecord& row, CellStyleRecord& style) const;
    virtual void RowAppended();
    virtual const char* ProgressFormat() const;
    virtual int TextBufferSize() const;
    virtual bool RowMatchesKey(const void* key, const RowRecord& row) const;
    virtual RowRecord* FindRowByKey(const void* key);
    // May change a cell's escaped HTML text before it is decorated.
    virtual void AdjustCellText(std::string& text, const RowRecord& row, int column);
    virtual void WriteHtmlFooter(ReportFile& file, int format) = 0;
    virtual void WriteHtmlHeader(ReportFile& file, int format) = 0;
    virtual const COLORREF* ColorTable(int format) const;
    virtual int ColorTableSize(int format) const;
    virtual void LoadRows();
    virtual int RowSize() const = 0;
    virtual bool IsColumnSearched(int column) const;
    virtual bool IsRowShown(const RowRecord& row, int rowIndex) const;
    virtual int CompareRows(int column, const RowRecord& a, const RowRecord& b) const;
    virtual bool WriteRow(ReportFile& file, const RowRecord& row, int format);
    virtual bool RowMatchesFind(const RowRecord& row, const FINDREPLACEA& request);
    virtual void CellColors(const RowRecord& row, NMLVCUSTOMDRAW& draw);
    virtual void RefreshView(bool sortAndSelect);
    // The text of a row's column as the list shows and writes it; by default the row's
    // own. A list may keep what it takes to work texts out faster.
    virtual const char* RowText(const RowRecord& row, int column, char* buffer, int capacity);

    // Binds the list to a list view (or to none) and sets up columns and column state.
    void Attach(HWND listView, int descendingImage);

    // Copies the record into the row block; the stored row, or null when the block
    // cannot grow (the row is then not added).
    RowRecord* AppendRow(const RowRecord& record);
    RowRecord* RowAt(int index) const;
    int RowCount() const { return rowCount_; }
    int RowCapacity() const { return capacity_; }
    // Forgets the rows but keeps the block for the next load.
    void ClearRows() {
        rowCount_ = 0;
        ++rowGeneration_;
    }
    // Changes whenever the rows are cleared or released, so that lookups kept beside the
    // rows know when to start afresh.
    int RowGeneration() const { return rowGeneration_; }
    // The index of a stored row, or -1.
    int IndexOfRow(const RowRecord* row) const;

    void ComputeVisibleColumns();
    int VisibleCount() const { return visibleCount_; }
    int VisibleColumn(int position) const { return visibleOrder_[position]; }
    int ColumnCount() const { return columnCount_; }
    const ColumnDescriptor& Descriptor(int column) const { return descriptors_[column]; }
    const ReportAttributes& Attributes(int column) const { return attributes_[column]; }
    ColumnState& State() { return columnState_; }
    HWND ListView() const { return listView_; }

    // Command-line sorting: keys from /sort arguments (a visible position of at most two
    // digits, or a column caption or name), then the stored rows sorted by all keys.
    static constexpr int kMaxSortKeys = 32;
    static constexpr int kDescending = 0x1000;
    static constexpr int kSortColumnMask = 0xFFF;
    void ClearSortKeys() { sortKeyCount_ = 0; }
    int SortKeyCount() const { return sortKeyCount_; }
    int SortKey(int index) const { return index >= 0 && index < sortKeyCount_ ? sortKeys_[index] : 0; }
    // Appends one key; false (and nothing stored) when the table is full.
    bool AddSortKey(const char* argument, bool descending);
    bool AddSortSpec(int spec);
    int ColumnFromArgument(const char* argument);
    int CompareByKeys(const RowRecord& a, const RowRecord& b) const;
    void SortStoredRows();
    int SavedSortSpec() const { return savedSortSpec_; }
    void SetSavedSortSpec(int spec) { savedSortSpec_ = spec; }

    // Loads or saves the column layout ("Columns") and the sort ("Sort").
    void ExchangeSettings(SettingsExchange& store);

    // The list view side: columns, image lists, items, painting and layout.
    void InsertListColumns();
    void CreateImageLists();
    HIMAGELIST SmallImages() const { return smallImages_; }
    void UpdateRowTexts(const RowRecord& row, int item);
    LRESULT CustomDraw(NMLVCUSTOMDRAW& draw);
    void ApplyColumnState();
    void ReadColumnState();
    void SetExtendedStyle(DWORD bits, bool on);
    void Invalidate();

    // Sorting, selection, find and copy on the list view.
    static constexpr int kSavedSortSpec = 0xFFFF;
    void SortBy(int spec, bool keepDirection);
    static int CALLBACK CompareItems(LPARAM dataA, LPARAM dataB, LPARAM list);
    int ItemCount() const;
    int SelectedCount() const;
    RowRecord* RowAtItem(int item) const;
    RowRecord* SelectedRowAtItem(int item) const;
    RowRecord* SingleSelectedRow() const;
    void SetItemState(int item, UINT state, UINT mask);
    bool FindNext(const FINDREPLACEA& request);
    // Fills the find request and opens the modeless find dialog; its handle, or null.
    HWND OpenFindDialog(HWND owner);
    FINDREPLACEA& FindRequest() { return findRequest_; }
    // The selected rows as tab-delimited text on the clipboard; false after an error box.
    bool CopySelected(HWND owner);
    void AutoSizeColumns();

    // The report from the window: the list view's items in their order, all or selected.
    bool WriteListRows(const char* fileName, int format, bool selectedOnly);

    // The windowless report over the stored rows; shows the error box itself on failure.
    bool WriteStoredRows(const char* fileName, int format);

    // The background of the value cell at a visible position: the colour stops spread
    // across all columns, hidden ones included.
    COLORREF GradientColor(int format, int position) const;
    COLORREF ComputeGradientColor(int format, int position) const;

protected:
    // The document header and footer that HTML reports share.
    void WriteHtmlDocumentHeader(ReportFile& file, int format);
    void WriteHtmlDocumentFooter(ReportFile& file, int format);

    // The subclass's column table: entries in any order, each placed by its number.
    virtual const ColumnDef* ColumnTable(int* count) const = 0;

    char* TextBuffer(int index) { return textBuffers_[index].Data(); }
    int TextBufferCapacity(int index) const { return textBuffers_[index].Capacity(); }

    int growthStep_ = 32;
    int titleId_ = 0;

private:
    // The texts of an item just inserted, which shows its first column only.
    void SetNewRowTexts(const RowRecord& row, int item);
    bool WriteTextRecord(ReportFile& file, const RowRecord& row);
    bool WriteTabRow(ReportFile& file, const RowRecord& row);
    bool WriteTabularRow(ReportFile& file, const RowRecord& row);
    bool WriteHtmlRow(ReportFile& file, const RowRecord& row);
    bool WriteHtmlRecord(ReportFile& file, const RowRecord& row);
    bool WriteXmlRow(ReportFile& file, const RowRecord& row);
    // The decorated HTML text of one value cell, in decorated_.
    const std::string& HtmlCellText(int format, int position, const RowRecord& row, COLORREF* background);
    // The fixed texts around one visible cell of a report, built when the cache lacks them.
    const CellPieces& Pieces(int format, int position, COLORREF background) {
        CellPieces& pieces = cellPieces_.At(format, position, visibleCount_, background);
        return pieces.Built ? pieces : BuildPieces(format, position, background, pieces);
    }
    const CellPieces& BuildPieces(int format, int position, COLORREF background, CellPieces& pieces);
    void BuildTextPieces(int position, CellPieces& pieces) const;
    void BuildMarkupPieces(int format, int position, CellPieces& pieces);
    void WriteHeader(ReportFile& file, int format);
    const std::string& ElementNameOf(int column);
    void WriteFooter(ReportFile& file, int format);
    const char* CellText(const RowRecord& row, int column, int buffer) {
        const char* stored = storedTexts_.Text(row, column);
        return stored != nullptr ? stored : WorkedOutCellText(row, column, buffer);
    }
    const char* WorkedOutCellText(const RowRecord& row, int column, int buffer);

    int rowSize_ = 0;
    ::TextBuffer textBuffers_[kTextBufferCount];
    unsigned char* rowBlock_ = nullptr;
    int rowCount_ = 0;
    int capacity_ = 0;
    int rowGeneration_ = 0;
    int visibleCount_ = 0;
    std::vector<int> visibleOrder_;
    StoredTextOffsets storedTexts_;
    std::vector<ReportAttributes> attributes_;
    int ascendingImage_ = 0;
    int descendingImage_ = 1;
    HWND listView_ = nullptr;
    win::UniqueImageList headerImages_;
    // Owned by the list view, which destroys it with itself.
    HIMAGELIST smallImages_ = nullptr;
    FINDREPLACEA findRequest_ = {};
    char findText_[256] = {};
    ColumnState columnState_;
    int sortAfterRefresh_ = 1;
    int selectFirstAfterRefresh_ = 1;
    int savedSortSpec_ = 0;
    int sortKeys_[kMaxSortKeys] = {};
    int sortKeyCount_ = 0;
    int activeSortSpec_ = 0;
    int columnCount_ = 0;
    std::vector<ColumnDescriptor> descriptors_;
    std::string escaped_;
    std::string decorated_;
    mutable std::vector<COLORREF> gradient_;
    mutable int gradientFormat_ = -1;
    std::vector<std::string> elementNames_;
    CellPieceCache cellPieces_;
};
