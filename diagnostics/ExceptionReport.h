// The report shown when a fault escapes a message handler: the exception code and
// address, the module the address lies in, the registers and dumps of the stack and the
// code. The user copies it, continues (the failed message is dropped) or ends the program.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace diagnostics {

// The user's choice in the last report.
enum ReportChoice { kNoReport = 0, kContinue = 1, kTerminate = 2 };

// Shows the report modally over owner, unless one is showing already (a fault in a message
// served by the report's own loop): then it returns at once and the last choice stands.
// Returns the choice that applies.
int ReportException(const EXCEPTION_POINTERS& exception, HWND owner);

// The exception code that a report of an escaped C++ exception shows.
constexpr DWORD kCppExceptionCode = 0xE06D7363;

// The bytes as two upper-case hex digits each, separated by blanks; with grouping > 0 two
// more blanks go before every grouping-th byte, the first included.
std::string HexDump(const unsigned char* bytes, std::size_t count, int grouping);

// A module path as the process-status functions report it, made a plain path against the
// Windows directory: "\??\C:\x" gives "C:\x", "\SystemRoot\x" the Windows directory and
// "\x", "\x" the Windows directory's drive and "\x".
std::string NormaliseModulePath(const char* path, const char* windowsDirectory);

// The full text of a report for the given exception and module name.
std::string ReportText(const EXCEPTION_RECORD& record, const CONTEXT& context, const char* module,
                       const std::string& stack, const std::string& code);

// The file name of the module that holds the address in this process, or "{Unknown}".
std::string ModuleNameAt(const void* address);

}  // namespace diagnostics
