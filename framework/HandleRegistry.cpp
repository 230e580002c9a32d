#include "framework/HandleRegistry.h"

void HandleRegistry::Register(void* object, HWND handle) {
    for (Pair& pair : pairs_) {
        if (pair.Object == nullptr) {
            pair = Pair{object, handle};
            return;
        }
    }
    const std::size_t first = pairs_.size();
    pairs_.resize(first + kGrowthStep);
    pairs_[first] = Pair{object, handle};
}

void* HandleRegistry::Find(HWND handle) const {
    for (const Pair& pair : pairs_)
        if (pair.Object != nullptr && pair.Handle == handle) return pair.Object;
    return nullptr;
}

void HandleRegistry::Unregister(const void* object) {
    for (Pair& pair : pairs_) {
        if (pair.Object == object) {
            pair = Pair{};
            return;
        }
    }
}

HandleRegistry& WindowRegistry() {
    static HandleRegistry registry;
    return registry;
}

HandleRegistry& DialogRegistry() {
    static HandleRegistry registry;
    return registry;
}
