// GCC on this target unwinds C++ exceptions with DWARF tables, which cannot pass through
// the system's window-procedure frames, and it has no __try. So the guard links a
// structured-exception registration record of its own into the thread's chain (FS:0)
// around the handler call. Its routine sees a processor fault first, before the system's
// frames further out; it shows the report there, on the faulting stack, and then resumes
// the guard with longjmp to a setjmp taken before the call. setjmp is the run time's
// _setjmp3 here, whose longjmp unwinds the registration chain back to where setjmp found
// it, so the system's dispatch frames and this guard's record are gone afterwards. Faults
// that system code raises and handles itself never reach the routine, since the system's
// own records lie closer to them; a stack overflow is let through rather than reported on
// an exhausted stack.
#include "diagnostics/ExceptionGuard.h"

#include <csetjmp>

#include "diagnostics/ExceptionReport.h"

namespace diagnostics {

#ifdef _WIN64
// A 64-bit build serves only to measure the program's code under 64-bit Wine: its
// exceptions are table-based, with no chain to link into, so there the guard catches C++
// exceptions alone and reports them without a processor context.
LRESULT RunGuarded(GuardedCall call, void* context, HWND owner) {
    try {
        return call(context);
    } catch (...) {
        CONTEXT registers = {};
        EXCEPTION_RECORD record = {};
        record.ExceptionCode = kCppExceptionCode;
        const EXCEPTION_POINTERS pointers = {&record, &registers};
        if (ReportException(pointers, owner) == kTerminate) ExitProcess(1);
        return 0;
    }
}
#else
namespace {

struct GuardFrame {
    // The layout the system walks: the next record out, then the routine.
    GuardFrame* Previous;
    EXCEPTION_DISPOSITION(__cdecl* Routine)(EXCEPTION_RECORD*, void*, CONTEXT*, void*);
    // The guard's own part.
    jmp_buf Resume;
    HWND Owner;
};

GuardFrame* ChainHead() {
    GuardFrame* head;
    __asm__ volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

void SetChainHead(GuardFrame* head) { __asm__ volatile("movl %0, %%fs:0" : : "r"(head) : "memory"); }

bool IsProcessorFault(DWORD code) {
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
        return true;
    default:
        return false;
    }
}

constexpr DWORD kUnwinding = 0x2 | 0x4;  // EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND

extern "C" EXCEPTION_DISPOSITION __cdecl GuardRoutine(EXCEPTION_RECORD* record, void* frame, CONTEXT* context, void*) {
    if ((record->ExceptionFlags & kUnwinding) != 0 || !IsProcessorFault(record->ExceptionCode))
        return ExceptionContinueSearch;
    GuardFrame* guard = static_cast<GuardFrame*>(frame);
    const EXCEPTION_POINTERS pointers = {record, context};
    if (ReportException(pointers, guard->Owner) == kTerminate) ExitProcess(1);
    longjmp(guard->Resume, 1);
}

// A C++ exception has no processor context of its own: the report shows the registers
// where the guard caught it, and the code that C++ exceptions carry on this platform.
// RtlCaptureContext reads its caller's frame through EBP, so this function keeps one.
__attribute__((noinline, optimize("no-omit-frame-pointer"))) LRESULT ReportCppException(HWND owner) {
    CONTEXT context = {};
    context.ContextFlags = CONTEXT_FULL;
    RtlCaptureContext(&context);
    EXCEPTION_RECORD record = {};
    record.ExceptionCode = kCppExceptionCode;
    record.ExceptionAddress = reinterpret_cast<void*>(static_cast<ULONG_PTR>(context.Eip));
    const EXCEPTION_POINTERS pointers = {&record, &context};
    if (ReportException(pointers, owner) == kTerminate) ExitProcess(1);
    return 0;
}

}  // namespace

LRESULT RunGuarded(GuardedCall call, void* context, HWND owner) {
    GuardFrame frame;
    frame.Routine = GuardRoutine;
    frame.Owner = owner;
    frame.Previous = ChainHead();
    volatile LRESULT result = 0;
    if (setjmp(frame.Resume) == 0) {
        SetChainHead(&frame);
        try {
            result = call(context);
        } catch (...) {
            result = ReportCppException(owner);
        }
        SetChainHead(frame.Previous);
    } else {
        // Back from a reported fault; longjmp has already unwound the chain to the record
        // that was the head before this guard's.
        SetChainHead(frame.Previous);
        result = 0;
    }
    return result;
}
#endif

}  // namespace diagnostics
