// The small containers the program shares: a growable array, the growable text buffer
// behind the report list's working buffers, and the string list that holds the
// command-line arguments, with the splitter that fills it.
#pragma once

#include <cstddef>
#include <cstdint>

class GrowableArray {
public:
    GrowableArray(std::size_t elementSize, int growthStep);
    ~GrowableArray();
    GrowableArray(const GrowableArray&) = delete;
    GrowableArray& operator=(const GrowableArray&) = delete;

    // Makes index usable, growing the capacity by the growth step until it lies above the
    // index. Reports whether storage exists afterwards; a failed allocation leaves none.
    bool Grow(int index);
    void Release();

    int Capacity() const { return capacity_; }
    void* Storage() const { return storage_; }

private:
    std::size_t elementSize_;
    int growthStep_;
    int capacity_ = 0;
    unsigned char* storage_ = nullptr;
};

class TextBuffer {
public:
    TextBuffer() : bytes_(1, 256) {}

    // Makes index n usable (room for n characters and the terminator); -1 frees the storage.
    bool Ensure(int n);
    void Release() { bytes_.Release(); }

    // The text, or "" when there is no storage.
    const char* Text() const;
    char* Data() { return static_cast<char*>(bytes_.Storage()); }
    int Capacity() const { return bytes_.Capacity(); }

private:
    GrowableArray bytes_;
};

class StringList {
public:
    StringList() : bytes_(1, 256), offsets_(sizeof(std::uint32_t), 16) {}

    int Append(const char* text);
    // The i-th string, or "" past the end.
    const char* Get(int i) const;
    // Index of the first string equal to text without regard to ASCII case, or -1.
    int Find(const char* text) const;
    void Clear();
    // Clears the list and fills it with the arguments of a command line.
    int Split(const char* commandLine);
    int Count() const { return argumentCount_; }

private:
    GrowableArray bytes_;
    GrowableArray offsets_;
    int used_ = 0;
    int stringCount_ = 0;
    int argumentCount_ = 0;
};
