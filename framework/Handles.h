// Owning holders for the platform handles the program opens. A borrowed handle stays a
// plain value; an owned one lives in one of these and is closed by its destructor, so
// every early return closes what was opened.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace win {

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Type get() const { return handle_; }
    bool valid() const { return handle_ != Traits::Invalid(); }
    explicit operator bool() const { return valid(); }

    Type release() {
        Type handle = handle_;
        handle_ = Traits::Invalid();
        return handle;
    }

    void reset(Type handle = Traits::Invalid()) {
        if (valid()) Traits::Close(handle_);
        handle_ = handle;
    }

    // For functions that return a handle through a pointer; closes any handle held first.
    Type* put() {
        reset();
        return &handle_;
    }

private:
    Type handle_ = Traits::Invalid();
};

struct KeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { RegCloseKey(h); }
};

struct FileTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};

struct LibraryTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { FreeLibrary(h); }
};

struct IconTraits {
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DestroyIcon(h); }
};

struct LocalMemoryTraits {
    using Type = HLOCAL;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { LocalFree(h); }
};

struct GlobalMemoryTraits {
    using Type = HGLOBAL;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { GlobalFree(h); }
};

// Fonts, bitmaps, brushes: anything DeleteObject frees.
template <typename Handle>
struct GdiObjectTraits {
    using Type = Handle;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};

// A menu that no window holds (a loaded popup menu); a menu bar is freed by its window.
struct MenuTraits {
    using Type = HMENU;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DestroyMenu(h); }
};

struct ImageListTraits {
    using Type = HIMAGELIST;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ImageList_Destroy(h); }
};

using UniqueKey = UniqueHandle<KeyTraits>;
using UniqueFile = UniqueHandle<FileTraits>;
using UniqueLibrary = UniqueHandle<LibraryTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueLocal = UniqueHandle<LocalMemoryTraits>;
using UniqueGlobal = UniqueHandle<GlobalMemoryTraits>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueImageList = UniqueHandle<ImageListTraits>;

// Locks global memory for the lifetime of the object.
class GlobalLock {
public:
    explicit GlobalLock(HGLOBAL memory)
        : memory_(memory), bytes_(memory != nullptr ? ::GlobalLock(memory) : nullptr) {}
    ~GlobalLock() {
        if (bytes_ != nullptr) ::GlobalUnlock(memory_);
    }
    GlobalLock(const GlobalLock&) = delete;
    GlobalLock& operator=(const GlobalLock&) = delete;

    char* get() const { return static_cast<char*>(bytes_); }

private:
    HGLOBAL memory_;
    void* bytes_;
};

// The clipboard, open for the lifetime of the object when Opened() says so.
class ClipboardScope {
public:
    explicit ClipboardScope(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
    ~ClipboardScope() {
        if (open_) ::CloseClipboard();
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;

    bool Opened() const { return open_; }

private:
    bool open_;
};

// Shows the wait cursor for the lifetime of the object and puts the earlier one back.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

}  // namespace win
