// Runs a message handler so that a fault inside it reaches the exception report instead
// of ending the program: a processor exception (access violation, division by zero, a
// jump through a bad pointer) or a C++ exception that leaves the handler.
#pragma once

#include <windows.h>

#include <type_traits>

namespace diagnostics {

using GuardedCall = LRESULT (*)(void* context);

// Calls call(context). After a fault it shows the report over owner; "terminate" ends the
// process with exit code 1, "continue" gives the result 0.
LRESULT RunGuarded(GuardedCall call, void* context, HWND owner);

template <typename Function>
LRESULT Guarded(HWND owner, Function&& function) {
    using Type = std::remove_reference_t<Function>;
    return RunGuarded([](void* context) -> LRESULT { return (*static_cast<Type*>(context))(); }, &function, owner);
}

}  // namespace diagnostics
