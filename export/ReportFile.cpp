#include "export/ReportFile.h"

#include <cstring>

namespace {
constexpr std::size_t kPendingBytes = 1024 * 1024;
}

ReportFile::ReportFile() : pending_(kPendingBytes) {}

bool ReportFile::Create(const char* fileName) {
    file_.reset(CreateFileA(fileName, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) {
        Fail(GetLastError());
        return false;
    }
    ok_ = true;
    error_ = 0;
    used_ = 0;
    return true;
}

void ReportFile::Fail(DWORD error) {
    ok_ = false;
    if (error_ == 0) error_ = error != 0 ? error : ERROR_WRITE_FAULT;
}

bool ReportFile::Flush() {
    const char* data = pending_.data();
    std::size_t left = used_;
    used_ = 0;
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

bool ReportFile::Write(const char* data, std::size_t length) {
    while (ok_ && length > 0) {
        if (used_ == pending_.size() && !Flush()) break;
        std::size_t piece = pending_.size() - used_;
        if (piece > length) piece = length;
        std::memcpy(pending_.data() + used_, data, piece);
        used_ += piece;
        data += piece;
        length -= piece;
    }
    return ok_;
}

// Copies up to the terminator in one pass: report texts are short, and the run time's
// strlen and memcpy cost more per call than the copying itself.
bool ReportFile::Write(const char* text) {
    if (text == nullptr) return ok_;
    while (ok_ && *text != '\0') {
        if (used_ == pending_.size() && !Flush()) break;
        char* out = pending_.data() + used_;
        char* const end = pending_.data() + pending_.size();
        while (out < end && *text != '\0') *out++ = *text++;
        used_ = static_cast<std::size_t>(out - pending_.data());
    }
    return ok_;
}

bool ReportFile::Repeat(char c, std::size_t count) {
    char chunk[64];
    std::memset(chunk, c, sizeof chunk);
    while (ok_ && count > 0) {
        std::size_t piece = count < sizeof chunk ? count : sizeof chunk;
        Write(chunk, piece);
        count -= piece;
    }
    return ok_;
}

bool ReportFile::Close() {
    if (file_ && ok_) Flush();
    if (file_ && !CloseHandle(file_.release())) Fail(GetLastError());
    return ok_;
}
