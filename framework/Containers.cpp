#include "framework/Containers.h"

#include <cstdlib>
#include <cstring>

#include "framework/Text.h"

GrowableArray::GrowableArray(std::size_t elementSize, int growthStep)
    : elementSize_(elementSize), growthStep_(growthStep > 0 ? growthStep : 1) {}

GrowableArray::~GrowableArray() { Release(); }

bool GrowableArray::Grow(int index) {
    if (index < 0) return storage_ != nullptr;
    if (index < capacity_) return storage_ != nullptr;
    long long capacity = capacity_;
    while (capacity <= index) capacity += growthStep_;
    unsigned char* grown = static_cast<unsigned char*>(
        std::malloc(static_cast<std::size_t>(capacity) * elementSize_));
    if (grown != nullptr && storage_ != nullptr)
        std::memcpy(grown, storage_, static_cast<std::size_t>(capacity_) * elementSize_);
    std::free(storage_);
    storage_ = grown;
    capacity_ = grown != nullptr ? static_cast<int>(capacity) : 0;
    return storage_ != nullptr;
}

void GrowableArray::Release() {
    std::free(storage_);
    storage_ = nullptr;
    capacity_ = 0;
}

bool TextBuffer::Ensure(int n) {
    if (n == -1) {
        Release();
        return false;
    }
    bool hadStorage = bytes_.Storage() != nullptr;
    if (!bytes_.Grow(n)) return false;
    if (!hadStorage) Data()[0] = '\0';
    return true;
}

const char* TextBuffer::Text() const {
    const char* storage = static_cast<const char*>(bytes_.Storage());
    return storage != nullptr ? storage : "";
}

int StringList::Append(const char* text) {
    if (text == nullptr) text = "";
    int length = static_cast<int>(std::strlen(text));
    if (!bytes_.Grow(used_ + length) || !offsets_.Grow(stringCount_)) {
        Clear();
        return -1;
    }
    std::memcpy(static_cast<char*>(bytes_.Storage()) + used_, text, length + 1);
    static_cast<std::uint32_t*>(offsets_.Storage())[stringCount_] = used_;
    used_ += length + 1;
    return stringCount_++;
}

const char* StringList::Get(int i) const {
    if (i < 0 || i >= argumentCount_ || i >= stringCount_) return "";
    return static_cast<const char*>(bytes_.Storage()) +
           static_cast<const std::uint32_t*>(offsets_.Storage())[i];
}

int StringList::Find(const char* text) const {
    for (int i = 0; i < argumentCount_; ++i)
        if (text::EqualNoCase(Get(i), text)) return i;
    return -1;
}

void StringList::Clear() {
    bytes_.Release();
    offsets_.Release();
    used_ = stringCount_ = argumentCount_ = 0;
}

int StringList::Split(const char* commandLine) {
    Clear();
    TextBuffer token;
    int length = 0;
    bool quoted = false;
    bool betweenArguments = true;

    auto endToken = [&]() {
        if (token.Ensure(length)) token.Data()[length] = '\0';
        Append(token.Text());
        length = 0;
        if (token.Ensure(0)) token.Data()[0] = '\0';
    };

    for (const char* p = commandLine != nullptr ? commandLine : ""; *p != '\0'; ++p) {
        char c = *p;
        if (c == ' ' && !quoted) {
            if (betweenArguments) continue;
            endToken();
            betweenArguments = true;
        } else if (c == '"') {
            quoted = !quoted;
            betweenArguments = false;
        } else {
            betweenArguments = false;
            if (length == 0 && c == ' ') continue;
            if (token.Ensure(length + 1)) {
                token.Data()[length++] = c;
                token.Data()[length] = '\0';
            }
        }
    }
    if (length > 0) endToken();
    argumentCount_ = stringCount_;
    return argumentCount_;
}
