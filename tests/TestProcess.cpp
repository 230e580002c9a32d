#include "TestProcess.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

struct BoxSearch {
    DWORD ProcessId;
    std::set<HWND>* Dismissed;
    std::vector<MessageBoxSeen>* Boxes;
    bool* WindowShown;
};

// The main window once its status bar shows the first reload's count.
bool ReloadedMainWindow(HWND window) {
    HWND status = FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr);
    return status != nullptr && SendMessageA(status, SB_GETTEXTLENGTHA, 0, 0) != 0;
}

std::string WindowText(HWND window) {
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
    char className[64] = {};
    GetClassNameA(child, className, sizeof className);
    std::string text = WindowText(child);
    if (lstrcmpiA(className, "Static") == 0 && !text.empty()) {
        std::string* all = reinterpret_cast<std::string*>(param);
        if (!all->empty()) *all += "\n";
        *all += text;
    }
    return TRUE;
}

BOOL CALLBACK DismissBox(HWND window, LPARAM param) {
    BoxSearch* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner != search->ProcessId || !IsWindowVisible(window)) return TRUE;
    if (std::string(className) == "Morvane") {
        if (!*search->WindowShown && ReloadedMainWindow(window)) {
            *search->WindowShown = true;
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        return TRUE;
    }
    if (std::string(className) != "#32770") return TRUE;
    if (search->Dismissed->insert(window).second) {
        MessageBoxSeen seen;
        seen.Caption = WindowText(window);
        EnumChildWindows(window, CollectStatic, reinterpret_cast<LPARAM>(&seen.Text));
        search->Boxes->push_back(seen);
    }
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

// Starts a process; false when it could not be started.
bool Start(const std::string& commandLine, PROCESS_INFORMATION& process) {
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    process = PROCESS_INFORMATION{};
    return CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process) !=
           FALSE;
}

}  // namespace

std::string MorvaneExe() { return WindowsPathOf(MORVANE_EXE_UNIX_PATH); }

ProcessResult RunMorvane(const std::string& arguments, DWORD timeoutMs) {
    ProcessResult result;
    const std::string exe = MorvaneExe();
    const std::string config = exe.substr(0, exe.rfind('.')) + ".cfg";
    bool configExisted = false;
    const std::string configBefore = ReadWholeFile(config, &configExisted);
    PROCESS_INFORMATION process;
    if (!Start("\"" + exe + "\" " + arguments, process)) return result;
    result.Started = true;

    std::set<HWND> dismissed;
    BoxSearch search{process.dwProcessId, &dismissed, &result.Boxes, &result.WindowShown};
    DWORD waited = 0;
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
        EnumWindows(DismissBox, reinterpret_cast<LPARAM>(&search));
        waited += 50;
        if (waited >= timeoutMs) {
            result.TimedOut = true;
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 5000);
            break;
        }
    }
    GetExitCodeProcess(process.hProcess, &result.ExitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (result.WindowShown) {
        if (configExisted)
            WriteWholeFile(config, configBefore);
        else
            DeleteFileA(config.c_str());
    }
    return result;
}

std::string TempFilePath(const std::string& name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + name;
}

std::size_t FirstDifference(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    return i;
}

std::string ReadWholeFile(const std::string& path, bool* exists) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (exists != nullptr) *exists = file != INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) return "";
    std::string bytes;
    char chunk[65536];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
    CloseHandle(file);
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start));
            return lines;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
}

BoxWatcher::BoxWatcher() {
    InitializeCriticalSection(&lock_);
    thread_ = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
}

BoxWatcher::~BoxWatcher() {
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    DeleteCriticalSection(&lock_);
}

std::vector<MessageBoxSeen> BoxWatcher::Boxes() {
    EnterCriticalSection(&lock_);
    std::vector<MessageBoxSeen> copy = boxes_;
    LeaveCriticalSection(&lock_);
    return copy;
}

DWORD WINAPI BoxWatcher::Watch(void* param) {
    BoxWatcher* self = static_cast<BoxWatcher*>(param);
    std::set<HWND> dismissed;
    while (InterlockedCompareExchange(&self->stop_, 0, 0) == 0) {
        std::vector<MessageBoxSeen> found;
        BoxSearch search{GetCurrentProcessId(), &dismissed, &found};
        EnumWindows(DismissBox, reinterpret_cast<LPARAM>(&search));
        if (!found.empty()) {
            EnterCriticalSection(&self->lock_);
            self->boxes_.insert(self->boxes_.end(), found.begin(), found.end());
            LeaveCriticalSection(&self->lock_);
        }
        Sleep(30);
    }
    return 0;
}

std::string WindowsPathOf(const char* unixPath) {
    std::string path = std::string("Z:") + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string FixturePath(const char* name) { return WindowsPathOf(FIXTURE_DIR_UNIX_PATH) + "\\" + name; }

namespace {

// The Unix path of a Windows path, through Wine's own conversion; "" when there is none.
std::string UnixPathOf(const std::string& windowsPath) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    ToUnix toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix == nullptr) return "";
    WCHAR wide[MAX_PATH * 2];
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH * 2);
    char* unixPath = toUnix(wide);
    if (unixPath == nullptr) return "";
    std::string converted = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return converted;
}

}  // namespace

namespace {

// Wine starts a Unix program given by its path, splitting the command line at blanks,
// but cannot wait for it: the helper scripts leave their exit status in a result file.
// Runs script with the arguments followed by the result file's Unix path; true when
// the status arrives within the time and is 0.
bool RunUnixScript(const char* script, const std::string& arguments, const std::string& result, int timeoutMs) {
    DeleteFileA(result.c_str());
    const std::string commandLine = WindowsPathOf((std::string(MORVANE_SOURCE_UNIX_PATH "/scripts/") + script).c_str()) +
                                    " " + arguments + " " + UnixPathOf(result);
    PROCESS_INFORMATION process;
    if (!Start(commandLine, process)) return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    bool exists = false;
    std::string status;
    for (int waited = 0; waited < timeoutMs && !exists; waited += 50) {
        Sleep(50);
        status = ReadWholeFile(result, &exists);
    }
    DeleteFileA(result.c_str());
    return exists && status.compare(0, 1, "0") == 0;
}

}  // namespace

bool XmlIsWellFormed(const std::string& windowsPath) {
    const std::string result = windowsPath + ".lint";
    const bool wellFormed = RunUnixScript("xml-check.sh", UnixPathOf(windowsPath), result, 30000);
    std::string log = ReadWholeFile(result + ".log");
    if (!log.empty()) std::fprintf(stderr, "xmllint: %s\n", log.c_str());
    DeleteFileA((result + ".log").c_str());
    return wellFormed;
}

bool SetUnwritable(const std::string& windowsPath, bool unwritable) {
    return RunUnixScript("hold-read-only.sh", (unwritable ? "on " : "off ") + UnixPathOf(windowsPath),
                         windowsPath + ".held", 10000);
}

namespace {

struct WindowSearch {
    DWORD ProcessId;
    const char* ClassName;
    const char* Caption;
    HWND Found;
};

BOOL CALLBACK FindChildWindow(HWND window, LPARAM param) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner != search->ProcessId || !IsWindowVisible(window) || lstrcmpA(className, search->ClassName) != 0)
        return TRUE;
    if (search->Caption != nullptr && WindowText(window) != search->Caption) return TRUE;
    search->Found = window;
    return FALSE;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& commandLine) {
    if (!Start(commandLine, process_)) process_ = PROCESS_INFORMATION{};
}

ChildProcess::~ChildProcess() {
    if (!Started()) return;
    Wait(0);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND ChildProcess::WaitForWindow(const char* className, const char* caption, DWORD limitMs) {
    for (DWORD waited = 0; Started() && waited <= limitMs; waited += 50) {
        WindowSearch search{process_.dwProcessId, className, caption, nullptr};
        EnumWindows(FindChildWindow, reinterpret_cast<LPARAM>(&search));
        if (search.Found != nullptr) return search.Found;
        Sleep(50);
    }
    return nullptr;
}

DWORD ChildProcess::Wait(DWORD limitMs) {
    if (!Started()) return 99;
    if (WaitForSingleObject(process_.hProcess, limitMs) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    DWORD code = 99;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}
