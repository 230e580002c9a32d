// The file a report is written to. Writes are collected and handed to the system in large
// pieces; the first failure sticks, so a row or a final flush that could not be written
// is reported as a failed report, never lost silently.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "framework/Handles.h"

class ReportFile {
public:
    ReportFile();

    // Creates (or truncates) the file for writing, sharing it with readers only.
    bool Create(const char* fileName);
    bool Write(const char* data, std::size_t length);
    bool Write(const char* text);
    // Writes one character.
    bool Put(char c) {
        if (used_ == pending_.size() && !Flush()) return false;
        if (!ok_) return false;
        pending_[used_++] = c;
        return true;
    }
    // Writes count copies of one character.
    bool Repeat(char c, std::size_t count);
    // True while every write so far has succeeded.
    bool Ok() const { return ok_; }
    // Flushes and closes; false when anything could not be written.
    bool Close();
    // The system error code of the first failure.
    DWORD LastError() const { return error_ != 0 ? error_ : GetLastError(); }

private:
    bool Flush();
    void Fail(DWORD error);

    win::UniqueFile file_;
    std::vector<char> pending_;
    std::size_t used_ = 0;
    bool ok_ = false;
    DWORD error_ = 0;
};
