// Walking text of the ANSI code page character by character: in a double-byte code page a
// trail byte may look like "\", "A" or 0xB0, and must never be treated as one.
#pragma once

#include <cstddef>

namespace codepage {

// Bytes of the character that starts at p (1 at the terminator); never past the terminator.
std::size_t CharacterLength(const char* p);

// The length of the longest start of text that has at most most bytes and ends between
// two characters, so that a cut never leaves the first byte of a double-byte character.
std::size_t CutLength(const char* text, std::size_t most);

// Whether the n bytes at p form a character that the ANSI code page defines outside the
// private-use area.
bool IsDefined(const char* p, std::size_t n);

// The name of the ANSI code page's encoding as XML and HTML readers know it.
const char* EncodingName();

}  // namespace codepage
