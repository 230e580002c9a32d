// Bounded copies into fixed character arrays: every copy is cut to the array's capacity
// minus one and always terminated.
#pragma once

#include <cstddef>
#include <string>

namespace text {

// Copies src into dest (capacity bytes, terminator included); a null src gives "".
void Copy(char* dest, std::size_t capacity, const char* src);
// Copies at most count bytes of src, still cut to capacity minus one.
void CopyN(char* dest, std::size_t capacity, const char* src, std::size_t count);
// Appends src to the text already in dest, cut so that dest keeps its terminator.
void Append(char* dest, std::size_t capacity, const char* src);

template <std::size_t N>
void Copy(char (&dest)[N], const char* src) { Copy(dest, N, src); }
template <std::size_t N>
void Append(char (&dest)[N], const char* src) { Append(dest, N, src); }

// Case-insensitive comparison that folds ASCII letters only, as the C run time's _stricmp.
int CompareNoCase(const char* a, const char* b);
inline bool EqualNoCase(const char* a, const char* b) { return CompareNoCase(a, b) == 0; }
// The text with ASCII capitals made small: the key under which texts that CompareNoCase
// finds equal are filed together.
std::string FoldedKey(const char* s);
inline bool IsEmpty(const char* s) { return s == nullptr || *s == '\0'; }

}  // namespace text
