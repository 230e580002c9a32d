#include "export/ReportFile.h"

#include <cstring>

namespace {
// Small enough to stay in the processor's own cache between one system write and the
// next filling of it: a buffer of 1 MB made every report slower (tab-delimited by a fifth).
constexpr std::size_t kPendingBytes = 256 * 1024;
}

ReportFile::ReportFile() : pending_(kPendingBytes) {
    next_ = pending_.data();
    end_ = pending_.data() + pending_.size();
}

bool ReportFile::Create(const char* fileName) {
    next_ = pending_.data();
    file_.reset(CreateFileA(fileName, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) {
        Fail(GetLastError());
        return false;
    }
    ok_ = true;
    error_ = 0;
    return true;
}

void ReportFile::Fail(DWORD error) {
    ok_ = false;
    if (error_ == 0) error_ = error != 0 ? error : ERROR_WRITE_FAULT;
}

bool ReportFile::Flush() {
    const char* data = pending_.data();
    std::size_t left = static_cast<std::size_t>(next_ - data);
    next_ = pending_.data();
    while (ok_ && left > 0) {
        DWORD written = 0;
        if (!WriteFile(file_.get(), data, static_cast<DWORD>(left), &written, nullptr)) {
            Fail(GetLastError());
        } else if (written == 0) {
            Fail(ERROR_DISK_FULL);
        }
        data += written;
        left -= written;
    }
    return ok_;
}

char* ReportFile::ReserveAfterFlush(std::size_t room) {
    if (!ok_ || room > kMostRoom || !Flush()) return nullptr;
    return next_;
}

// A piece that does not fit into what is left of the buffer, or a write after a failure.
bool ReportFile::WritePieces(const char* data, std::size_t length) {
    while (ok_ && length > 0) {
        if (next_ == end_ && !Flush()) break;
        std::size_t piece = static_cast<std::size_t>(end_ - next_);
        if (piece > length) piece = length;
        std::memcpy(next_, data, piece);
        next_ += piece;
        data += piece;
        length -= piece;
    }
    return ok_;
}

bool ReportFile::RepeatPieces(char c, std::size_t count) {
    while (ok_ && count > 0) {
        if (next_ == end_ && !Flush()) break;
        std::size_t piece = static_cast<std::size_t>(end_ - next_);
        if (piece > count) piece = count;
        std::memset(next_, c, piece);
        next_ += piece;
        count -= piece;
    }
    return ok_;
}

bool ReportFile::Close() {
    if (file_ && ok_) Flush();
    if (file_ && !CloseHandle(file_.release())) Fail(GetLastError());
    return ok_;
}
