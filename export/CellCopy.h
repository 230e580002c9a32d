// Copying report texts into the report buffer a machine word at a time: a report copies
// millions of short texts, and a loop that tests each byte for the terminator and for the
// end of the buffer costs more than the texts' own bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace cells {

using Word = std::uintptr_t;
constexpr Word kOnes = ~Word(0) / 0xFF;  // 0x01 in every byte
constexpr Word kHighs = kOnes * 0x80;    // 0x80 in every byte

// The high bits of the zero bytes of word: the lowest one set marks the first zero byte
// exactly (bits above it may be wrong, which no caller looks at).
inline Word ZeroBytes(Word word) { return (word - kOnes) & ~word & kHighs; }

inline std::size_t FirstMarkedByte(Word marks) {
    return static_cast<std::size_t>(__builtin_ctzll(static_cast<unsigned long long>(marks))) / 8;
}

// Copies text up to its terminator to out and returns the end of the copy (the terminator
// is not part of it). When the text is longer than limit bytes it returns null, and out
// then holds at least the text's first limit bytes. out needs room for limit plus
// sizeof(Word) bytes: whole words are stored, and the bytes stored after the terminator
// lie beyond the end returned. Words are read only from aligned addresses, so no read
// reaches into a page that the text itself does not touch.
inline char* CopyText(char* out, const char* text, std::size_t limit) {
    char* const start = out;
    while (reinterpret_cast<std::uintptr_t>(text) % sizeof(Word) != 0) {
        if ((*out = *text) == '\0') return out;
        ++out;
        ++text;
    }
    for (;;) {
        if (static_cast<std::size_t>(out - start) > limit) return nullptr;
        Word word;
        std::memcpy(&word, text, sizeof word);
        std::memcpy(out, &word, sizeof word);
        const Word zeros = ZeroBytes(word);
        if (zeros != 0) return out + FirstMarkedByte(zeros);
        out += sizeof word;
        text += sizeof word;
    }
}

// The length of text, found a word at a time (aligned, as in CopyText).
inline std::size_t Length(const char* text) {
    const char* p = text;
    for (; reinterpret_cast<std::uintptr_t>(p) % sizeof(Word) != 0; ++p)
        if (*p == '\0') return static_cast<std::size_t>(p - text);
    for (;; p += sizeof(Word)) {
        Word word;
        std::memcpy(&word, p, sizeof word);
        if (const Word zeros = ZeroBytes(word)) return static_cast<std::size_t>(p - text) + FirstMarkedByte(zeros);
    }
}

// Copies a piece of known length whose storage reaches at least one word beyond it (see
// CellPieces::Pad), whole words at a time; out needs room for length plus sizeof(Word).
inline char* CopyPadded(char* out, const char* piece, std::size_t length) {
    for (std::size_t i = 0; i < length; i += sizeof(Word)) {
        Word word;
        std::memcpy(&word, piece + i, sizeof word);
        std::memcpy(out + i, &word, sizeof word);
    }
    return out + length;
}

}  // namespace cells
