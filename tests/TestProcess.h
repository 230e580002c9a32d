// Runs morvane.exe as a separate process, as a user would, and dismisses any message box
// it shows so that no test can hang.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct MessageBoxSeen {
    std::string Caption;
    std::string Text;
};

struct ProcessResult {
    DWORD ExitCode = 0;
    bool Started = false;
    bool TimedOut = false;
    // The main window appeared and finished its first reload; the run then closed it.
    bool WindowShown = false;
    std::vector<MessageBoxSeen> Boxes;
};

// The Windows path of the program under test.
std::string MorvaneExe();
// Runs the program to its end. A main window it opens is closed once its first reload has
// filled the status bar, and the configuration file beside the program is left as it was
// found (closing the window saves the settings there).
ProcessResult RunMorvane(const std::string& arguments, DWORD timeoutMs = 120000);

std::string TempFilePath(const std::string& name);
// The whole file, or "" when it cannot be read; exists tells which.
std::string ReadWholeFile(const std::string& path, bool* exists = nullptr);
bool FileExists(const std::string& path);
// Replaces the file's content with the bytes.
void WriteWholeFile(const std::string& path, const std::string& bytes);
// The index of the first byte where two texts differ (the shorter length when one begins
// the other).
std::size_t FirstDifference(const std::string& a, const std::string& b);
// Splits on CR LF; the text after the last CR LF is the last element.
std::vector<std::string> SplitLines(const std::string& bytes);

// While it lives, a helper thread presses OK on every message box that this process
// shows, and records what each box said.
class BoxWatcher {
public:
    BoxWatcher();
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    // The boxes seen so far.
    std::vector<MessageBoxSeen> Boxes();

private:
    static DWORD WINAPI Watch(void* self);

    HANDLE thread_ = nullptr;
    volatile LONG stop_ = 0;
    CRITICAL_SECTION lock_;
    std::vector<MessageBoxSeen> boxes_;
};

// A program of the tests run as its own process, whose windows the test works.
class ChildProcess {
public:
    explicit ChildProcess(const std::string& commandLine);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return process_.hProcess != nullptr; }
    // A visible top-level window of the child with that class (and caption, unless null);
    // null when none appears within the limit.
    HWND WaitForWindow(const char* className, const char* caption, DWORD limitMs);
    // The exit code; the child is ended with code 99 when it is still running at the limit.
    DWORD Wait(DWORD limitMs);

private:
    PROCESS_INFORMATION process_ = {};
};

// A Unix path of the build as Wine's drive Z sees it.
std::string WindowsPathOf(const char* unixPath);
// The Windows path of a fixture program built for the tests.
std::string FixturePath(const char* name);

// Runs Debian's xmllint --noout on a file the test wrote; true when it is well-formed.
bool XmlIsWellFormed(const std::string& windowsPath);
// Makes a file unwritable even for root (at the latest a minute later it is writable
// again), or writable again; false when the file system cannot.
bool SetUnwritable(const std::string& windowsPath, bool unwritable);
