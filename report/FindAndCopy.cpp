// Selection, find and copy on the report list's list view.
#include <cstring>
#include <vector>

#include "framework/ErrorBox.h"
#include "framework/Handles.h"
#include "report/ReportList.h"

namespace {

const char kTemporaryPrefix[] = "cp";

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool ContainsFolded(const char* text, const char* part) {
    const std::size_t length = std::strlen(part);
    for (const char* p = text; *p != '\0'; ++p) {
        std::size_t i = 0;
        while (i < length && p[i] != '\0' && FoldAscii(p[i]) == FoldAscii(part[i])) ++i;
        if (i == length) return true;
    }
    return length == 0;
}

// Puts the bytes of the file on the open clipboard as text; on failure error receives
// the thread's last error.
bool PutFileOnClipboard(const char* path, DWORD* error) {
    win::UniqueFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD size = file ? GetFileSize(file.get(), nullptr) : INVALID_FILE_SIZE;
    win::UniqueGlobal memory(size != INVALID_FILE_SIZE ? GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size + 1) : nullptr);
    {
        win::GlobalLock bytes(memory.get());
        DWORD read = 0;
        if (bytes.get() == nullptr || !ReadFile(file.get(), bytes.get(), size, &read, nullptr) || read != size) {
            *error = GetLastError();
            return false;
        }
        bytes.get()[size] = '\0';
    }
    if (SetClipboardData(CF_TEXT, memory.get()) == nullptr) {
        *error = GetLastError();
        return false;
    }
    memory.release();  // the clipboard owns it now
    return true;
}

bool EqualFolded(const char* a, const char* b) {
    for (; *a != '\0' && FoldAscii(*a) == FoldAscii(*b); ++a, ++b) {
    }
    return *a == '\0' && *b == '\0';
}

}  // namespace

int ReportList::ItemCount() const { return win::ListView(listView_).ItemCount(); }
int ReportList::SelectedCount() const { return win::ListView(listView_).SelectedCount(); }

RowRecord* ReportList::RowAtItem(int item) const {
    LPARAM data = 0;
    if (!win::ListView(listView_).ItemData(item, &data)) return nullptr;
    return RowAt(static_cast<int>(data));
}

RowRecord* ReportList::SelectedRowAtItem(int item) const {
    win::ListView view(listView_);
    if (!view || (view.ItemState(item, LVIS_SELECTED) & LVIS_SELECTED) == 0) return nullptr;
    return RowAtItem(item);
}

RowRecord* ReportList::SingleSelectedRow() const {
    win::ListView view(listView_);
    if (!view || view.SelectedCount() != 1) return nullptr;
    return RowAtItem(view.FirstSelected());
}

void ReportList::SetItemState(int item, UINT state, UINT mask) { win::ListView(listView_).SetItemState(item, state, mask); }

bool ReportList::RowMatchesFind(const RowRecord& row, const FINDREPLACEA& request) {
    const char* wanted = request.lpstrFindWhat != nullptr ? request.lpstrFindWhat : "";
    const bool wholeWord = (request.Flags & FR_WHOLEWORD) != 0;
    const bool matchCase = (request.Flags & FR_MATCHCASE) != 0;
    char* scratch = TextBuffer(0);
    for (int c = 0; c < columnCount_; ++c) {
        if (!IsColumnSearched(c)) continue;
        if (scratch != nullptr) scratch[0] = '\0';
        const char* text = RowText(row, c, scratch, TextBufferCapacity(0));
        if (text == nullptr) continue;
        const bool match = wholeWord ? (matchCase ? std::strcmp(text, wanted) == 0 : EqualFolded(text, wanted))
                                     : (matchCase ? std::strstr(text, wanted) != nullptr : ContainsFolded(text, wanted));
        if (match) return true;
    }
    return false;
}

bool ReportList::FindNext(const FINDREPLACEA& request) {
    win::ListView view(listView_);
    const int count = view.ItemCount();
    if (!view || count == 0) return false;
    const bool down = (request.Flags & FR_DOWN) != 0;
    const int selected = view.FirstSelected();
    int n = selected >= 0 ? (down ? selected + 1 : selected - 1) : 0;
    int wraps = 0;
    for (;;) {
        if (n >= 0 && n < count) {
            const RowRecord* row = RowAtItem(n);
            if (row != nullptr && RowMatchesFind(*row, request)) {
                view.SetItemState(-1, 0, LVIS_SELECTED);
                view.EnsureVisible(n);
                view.SetItemState(n, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
                return true;
            }
        }
        if (down) {
            if (++n >= count) {
                n = 0;
                ++wraps;
            }
        } else if (--n < 0) {
            n = count - 1;
            ++wraps;
        }
        if (wraps >= 2) return false;
    }
}

HWND ReportList::OpenFindDialog(HWND owner) {
    findRequest_ = FINDREPLACEA{};
    findRequest_.lStructSize = sizeof findRequest_;
    findRequest_.hwndOwner = owner;
    findRequest_.hInstance = GetModuleHandleA(nullptr);
    findRequest_.Flags = FR_DOWN;
    findRequest_.lpstrFindWhat = findText_;
    findRequest_.wFindWhatLen = sizeof findText_ - 1;
    return FindTextA(&findRequest_);
}

bool ReportList::CopySelected(HWND owner) {
    char folder[MAX_PATH] = {};
    DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder) GetWindowsDirectoryA(folder, sizeof folder);
    char path[MAX_PATH] = {};
    if (GetTempFileNameA(folder, kTemporaryPrefix, 0, path) == 0) {
        ShowErrorBox(0, owner);
        return false;
    }

    bool failed = true;
    DWORD error = 0;
    if (!WriteListRows(path, kFormatTabDelimited, true)) {
        error = GetLastError();
    } else {
        // The clipboard is closed and the memory freed (unless the clipboard took it)
        // before any error box shows.
        win::ClipboardScope clipboard(owner);
        if (!clipboard.Opened()) {
            error = GetLastError();
        } else {
            EmptyClipboard();
            failed = !PutFileOnClipboard(path, &error);
        }
    }
    if (failed) ShowErrorBox(error, owner);
    DeleteFileA(path);
    return !failed;
}

void ReportList::AutoSizeColumns() {
    win::ListView view(listView_);
    const int columns = view.HeaderItemCount();
    for (int c = 0; c < columns; ++c)
        if (view.ColumnWidth(c) > 0) view.SetColumnWidth(c, LVSCW_AUTOSIZE);
}
