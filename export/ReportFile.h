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
    bool Write(const char* data, std::size_t length) {
        if (ok_ && length <= static_cast<std::size_t>(end_ - next_)) {
            // Short pieces are copied here: a call to the run time's memcpy costs more.
            // The copy runs on a local pointer, which the stored bytes cannot alias.
            char* out = next_;
            for (const char* stop = data + length; data != stop;) *out++ = *data++;
            next_ = out;
            return true;
        }
        return WritePieces(data, length);
    }
    // Writes a text up to its terminator. Report texts are short and many: the copy runs
    // here, in the caller, and only a full buffer leaves it.
    bool Write(const char* text) {
        if (text != nullptr) CopyWhile(text, [](unsigned char c) { return c != '\0'; });
        return ok_;
    }
    // Copies the bytes of a text while keep(byte) holds, in one pass; returns where it
    // stopped. keep must refuse the terminator.
    template <typename Keep>
    const char* CopyWhile(const char* text, Keep keep) {
        while (ok_) {
            char* out = next_;
            char* const end = end_;
            while (out != end && keep(static_cast<unsigned char>(*text))) *out++ = *text++;
            next_ = out;
            if (out != end || !Flush()) break;
        }
        return text;
    }
    // Room for a run of writes whose length is known not to exceed room bytes: the caller
    // writes straight into the buffer from the pointer returned and ends with Commit, one
    // bounds check for the whole run. Null after a failure. room is at most kMostRoom.
    static constexpr std::size_t kMostRoom = 64 * 1024;
    char* Reserve(std::size_t room) {
        if (ok_ && room <= static_cast<std::size_t>(end_ - next_)) return next_;
        return ReserveAfterFlush(room);
    }
    // Ends a run begun by Reserve: end is one past the last byte written.
    void Commit(char* end) { next_ = end; }
    // Writes one character.
    bool Put(char c) {
        if (next_ == end_ && !Flush()) return false;
        if (!ok_) return false;
        *next_++ = c;
        return true;
    }
    // Writes count copies of one character.
    bool Repeat(char c, std::size_t count) {
        if (ok_ && count <= static_cast<std::size_t>(end_ - next_)) {
            char* out = next_;
            for (char* stop = out + count; out != stop;) *out++ = c;
            next_ = out;
            return true;
        }
        return RepeatPieces(c, count);
    }
    // True while every write so far has succeeded.
    bool Ok() const { return ok_; }
    // Flushes and closes; false when anything could not be written.
    bool Close();
    // The system error code of the first failure.
    DWORD LastError() const { return error_ != 0 ? error_ : GetLastError(); }

private:
    bool Flush();
    char* ReserveAfterFlush(std::size_t room);
    bool WritePieces(const char* data, std::size_t length);
    bool RepeatPieces(char c, std::size_t count);
    void Fail(DWORD error);

    win::UniqueFile file_;
    std::vector<char> pending_;
    // The unwritten part of pending_: next_ up to end_.
    char* next_ = nullptr;
    char* end_ = nullptr;
    bool ok_ = false;
    DWORD error_ = 0;
};
