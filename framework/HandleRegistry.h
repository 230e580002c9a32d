// Which object belongs to which window handle. One registry holds the windows, another
// the dialogs; a slot freed by Unregister is reused before the table grows.
#pragma once

#include <windows.h>

#include <vector>

class HandleRegistry {
public:
    static constexpr int kGrowthStep = 8;

    // Stores the pair in the first free slot, growing the table by kGrowthStep when full.
    void Register(void* object, HWND handle);
    // The object of the first pair with this handle, or null.
    void* Find(HWND handle) const;
    // Frees the first pair that holds the object.
    void Unregister(const void* object);
    int Capacity() const { return static_cast<int>(pairs_.size()); }

private:
    struct Pair {
        void* Object = nullptr;
        HWND Handle = nullptr;
    };
    std::vector<Pair> pairs_;
};

HandleRegistry& WindowRegistry();
HandleRegistry& DialogRegistry();
