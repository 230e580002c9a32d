#include "diagnostics/ExceptionReport.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "resources/resource.h"

namespace diagnostics {
namespace {

constexpr std::size_t kDumpBytes = 128;
constexpr int kStackGrouping = 4;
constexpr DWORD kMostModules = 4096;
const char kUnknownModule[] = "{Unknown}";
const char kReportFormat[] =
    "Exception %8.8X at address %8.8X in module %s\r\nRegisters: \r\n"
    "EAX=%8.8X EBX=%8.8X ECX=%8.8X EDX=%8.8X\r\nESI=%8.8X EDI=%8.8X EBP=%8.8X ESP=%8.8X\r\nEIP=%8.8X\r\n"
    "Stack Data: %s\r\nCode Data: %s\r\n";

// The program is a 32-bit one; a 64-bit build serves only to measure the program's code
// under 64-bit Wine, and its report shows the low halves of the registers.
#ifdef _WIN64
#define CONTEXT_REGISTER(context, name) ((context).R##name)
#else
#define CONTEXT_REGISTER(context, name) ((context).E##name)
#endif

// Kept from the fault until the next one.
struct Snapshot {
    EXCEPTION_RECORD Record;
    CONTEXT Context;
};
Snapshot snapshot;
bool showing = false;
int lastChoice = kNoReport;

// The process-status functions, bound by name at the first report that finds them all.
struct ProcessStatus {
    using EnumModules = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
    using ModuleFileName = DWORD(WINAPI*)(HANDLE, HMODULE, char*, DWORD);
    using ModuleInformation = BOOL(WINAPI*)(HANDLE, HMODULE, MODULEINFO*, DWORD);
    using BaseName = DWORD(WINAPI*)(HANDLE, HMODULE, char*, DWORD);
    using EnumAllProcesses = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);

    bool Bound = false;
    BaseName GetBaseName = nullptr;
    EnumModules Enumerate = nullptr;
    ModuleFileName GetFileName = nullptr;
    EnumAllProcesses EnumerateProcesses = nullptr;
    ModuleInformation GetInformation = nullptr;

    bool Bind() {
        if (Bound) return true;
        HMODULE library = LoadLibraryA("psapi.dll");
        if (library == nullptr) return false;
        GetBaseName = reinterpret_cast<BaseName>(Find(library, "GetModuleBaseNameA"));
        Enumerate = reinterpret_cast<EnumModules>(Find(library, "EnumProcessModules"));
        GetFileName = reinterpret_cast<ModuleFileName>(Find(library, "GetModuleFileNameExA"));
        EnumerateProcesses = reinterpret_cast<EnumAllProcesses>(Find(library, "EnumProcesses"));
        GetInformation = reinterpret_cast<ModuleInformation>(Find(library, "GetModuleInformation"));
        Bound = GetBaseName && Enumerate && GetFileName && EnumerateProcesses && GetInformation;
        // Kept for the life of the process once bound.
        if (!Bound) FreeLibrary(library);
        return Bound;
    }
    static void* Find(HMODULE library, const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(library, name));
    }
};
ProcessStatus processStatus;

std::string FileNamePart(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WindowsDirectory() {
    char folder[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(folder, sizeof folder);
    return length > 0 && length < sizeof folder ? folder : "";
}

bool Contains(const void* address, const void* base, DWORD size) {
    const char* at = static_cast<const char*>(address);
    const char* start = static_cast<const char*>(base);
    return at >= start && at < start + size;
}

std::string ModuleByProcessStatus(const void* address) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, GetCurrentProcessId());
    if (process == nullptr) return "";
    std::vector<HMODULE> modules(kMostModules);
    DWORD needed = 0;
    std::string found;
    if (processStatus.Enumerate(process, modules.data(), kMostModules * sizeof(HMODULE), &needed)) {
        const DWORD count = needed / sizeof(HMODULE) < kMostModules ? needed / sizeof(HMODULE) : kMostModules;
        const std::string windows = WindowsDirectory();
        for (DWORD i = 0; i < count && found.empty(); ++i) {
            char path[MAX_PATH] = {};
            processStatus.GetFileName(process, modules[i], path, sizeof path - 1);
            MODULEINFO information = {};
            if (processStatus.GetInformation(process, modules[i], &information, sizeof information) &&
                Contains(address, information.lpBaseOfDll, information.SizeOfImage))
                found = NormaliseModulePath(path, windows.c_str());
        }
    }
    CloseHandle(process);
    return found;
}

std::string ModuleByToolHelp(const void* address) {
    HANDLE snapshotHandle = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, GetCurrentProcessId());
    if (snapshotHandle == INVALID_HANDLE_VALUE) return "";
    MODULEENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    std::string found;
    for (BOOL more = Module32First(snapshotHandle, &entry); more && found.empty();
         entry.dwSize = sizeof entry, more = Module32Next(snapshotHandle, &entry)) {
        if (Contains(address, entry.modBaseAddr, entry.modBaseSize)) found = entry.szExePath;
    }
    CloseHandle(snapshotHandle);
    return found;
}

bool ReadOwnMemory(const void* address, unsigned char* bytes, std::size_t count) {
    SIZE_T read = 0;
    return ReadProcessMemory(GetCurrentProcess(), address, bytes, count, &read) && read == count;
}

std::string DumpAt(ULONG_PTR address, int grouping) {
    unsigned char bytes[kDumpBytes];
    if (!ReadOwnMemory(reinterpret_cast<const void*>(static_cast<ULONG_PTR>(address)), bytes, sizeof bytes)) return "";
    return HexDump(bytes, sizeof bytes, grouping);
}

void CentreOnScreen(HWND window) {
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    HDC screen = GetDC(nullptr);
    const int width = GetDeviceCaps(screen, HORZRES), height = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    SetWindowPos(window, nullptr, (width - (bounds.right - bounds.left)) / 2, (height - (bounds.bottom - bounds.top)) / 2,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The report's own procedure: the dialog is never translated nor mirrored, so that it
// shows even when the language file is what fails.
INT_PTR CALLBACK ReportProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        CentreOnScreen(dialog);
        const std::string text =
            ReportText(snapshot.Record, snapshot.Context, ModuleNameAt(snapshot.Record.ExceptionAddress).c_str(),
                       DumpAt(CONTEXT_REGISTER(snapshot.Context, sp), kStackGrouping), DumpAt(CONTEXT_REGISTER(snapshot.Context, ip), 0));
        HWND box = GetDlgItem(dialog, IDC_EXCEPTION_TEXT);
        SetWindowTextA(box, text.c_str());
        SetFocus(box);
        return FALSE;  // the focus is set
    }
    case WM_COMMAND:
        if (HIWORD(wParam) != 0) return FALSE;
        switch (LOWORD(wParam)) {
        case IDC_EXCEPTION_COPY: {
            HWND box = GetDlgItem(dialog, IDC_EXCEPTION_TEXT);
            SendMessageA(box, EM_SETSEL, 0, 65535);
            SendMessageA(box, WM_COPY, 0, 0);
            SendMessageA(box, EM_SETSEL, static_cast<WPARAM>(-1), 0);
            return TRUE;
        }
        case IDOK: EndDialog(dialog, kContinue); return TRUE;
        case IDCANCEL: EndDialog(dialog, kTerminate); return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

std::string HexDump(const unsigned char* bytes, std::size_t count, int grouping) {
    std::string text;
    text.reserve(count * 4);
    char digits[4];
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) text += ' ';
        if (grouping > 0 && i % static_cast<std::size_t>(grouping) == 0) text += "  ";
        std::snprintf(digits, sizeof digits, "%2.2X", bytes[i]);
        text += digits;
    }
    return text;
}

std::string NormaliseModulePath(const char* path, const char* windowsDirectory) {
    const std::string text = path != nullptr ? path : "";
    if (text.size() >= 2 && text[1] == ':') return text;
    const std::size_t colon = text.size() > 2 ? text.find(':', 2) : std::string::npos;
    if (colon != std::string::npos) return text.substr(colon - 1);
    std::string folded = text;
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    const char kSystemRoot[] = "\\systemroot";
    const std::size_t root = folded.find(kSystemRoot);
    if (root != std::string::npos) return std::string(windowsDirectory) + text.substr(root + sizeof kSystemRoot - 1);
    if (!text.empty() && text[0] == '\\') return std::string(windowsDirectory).substr(0, 2) + text;
    return text;
}

std::string ReportText(const EXCEPTION_RECORD& record, const CONTEXT& context, const char* module,
                       const std::string& stack, const std::string& code) {
    const int length = std::snprintf(nullptr, 0, kReportFormat, 0u, 0u, module, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u,
                                     stack.c_str(), code.c_str());
    std::vector<char> text(static_cast<std::size_t>(length > 0 ? length : 0) + 1);
    std::snprintf(text.data(), text.size(), kReportFormat, static_cast<unsigned>(record.ExceptionCode),
                  static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(record.ExceptionAddress)), module,
                  static_cast<unsigned>(CONTEXT_REGISTER(context, ax)), static_cast<unsigned>(CONTEXT_REGISTER(context, bx)),
                  static_cast<unsigned>(CONTEXT_REGISTER(context, cx)), static_cast<unsigned>(CONTEXT_REGISTER(context, dx)),
                  static_cast<unsigned>(CONTEXT_REGISTER(context, si)), static_cast<unsigned>(CONTEXT_REGISTER(context, di)),
                  static_cast<unsigned>(CONTEXT_REGISTER(context, bp)), static_cast<unsigned>(CONTEXT_REGISTER(context, sp)),
                  static_cast<unsigned>(CONTEXT_REGISTER(context, ip)), stack.c_str(), code.c_str());
    return text.data();
}

std::string ModuleNameAt(const void* address) {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const bool nt = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
    std::string path;
    if (nt && processStatus.Bind())
        path = ModuleByProcessStatus(address);
    else if (!nt)
        path = ModuleByToolHelp(address);
    return path.empty() ? kUnknownModule : FileNamePart(path);
}

int ReportException(const EXCEPTION_POINTERS& exception, HWND owner) {
    if (showing) return lastChoice;
    snapshot.Record = *exception.ExceptionRecord;
    snapshot.Context = *exception.ContextRecord;
    showing = true;
    const INT_PTR choice = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_EXCEPTION),
                                           IsWindow(owner) ? owner : nullptr, ReportProcedure, 0);
    showing = false;
    lastChoice = choice == kTerminate ? kTerminate : kContinue;
    return lastChoice;
}

}  // namespace diagnostics
