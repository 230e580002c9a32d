// Files that live beside the program: its own path with the extension replaced.
#pragma once

#include <cstddef>

namespace module {

constexpr std::size_t kPathCapacity = 261;

// modulePath cut at its last "." (anywhere in the path, so a dot in a folder name counts
// when the file name has none), with suffix appended when the result stays shorter than
// 260 characters; otherwise just the cut path.
void SiblingPath(const char* modulePath, const char* suffix, char* out, std::size_t capacity);

// The same for the running program's own file.
void OwnSiblingPath(const char* suffix, char* out, std::size_t capacity);

}  // namespace module
