#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <new>
#include <string>

#include "GuiHelpers.h"
#include "TestProcess.h"
#include "diagnostics/ExceptionReport.h"
#include "framework/Dialog.h"
#include "framework/Window.h"
#include "resources/resource.h"

namespace {

// The report's caption, "例外！" in code page 936.
const char kReportCaption[] = "\xC0\xFD\xCD\xE2\xA3\xA1";

TEST(HexDump, GroupsAndSeparatesAsTheReportShowsThem) {
    const unsigned char bytes[] = {0x00, 0x01, 0xAB, 0xFF, 0x10, 0x7F};
    const struct {
        int Grouping;
        const char* Expected;
    } cases[] = {
        {0, "00 01 AB FF 10 7F"},
        {4, "  00 01 AB FF   10 7F"},
        {2, "  00 01   AB FF   10 7F"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.Expected, diagnostics::HexDump(bytes, sizeof bytes, c.Grouping)) << c.Grouping;
    unsigned char many[128] = {};
    EXPECT_EQ(128u * 3 - 1 + 32 * 2, diagnostics::HexDump(many, sizeof many, 4).size()) << "128 bytes, grouping 4";
}

TEST(ModulePath, IsMadePlainAgainstTheWindowsDirectory) {
    const struct {
        const char* Path;
        const char* Expected;
    } cases[] = {
        {"C:\\windows\\system32\\user32.dll", "C:\\windows\\system32\\user32.dll"},
        {"\\??\\C:\\windows\\system32\\user32.dll", "C:\\windows\\system32\\user32.dll"},
        {"\\SystemRoot\\System32\\ntdll.dll", "D:\\WINNT\\System32\\ntdll.dll"},
        {"\\SYSTEMROOT\\x.dll", "D:\\WINNT\\x.dll"},
        {"\\Device\\x.dll", "D:\\Device\\x.dll"},
        {"relative.dll", "relative.dll"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.Expected, diagnostics::NormaliseModulePath(c.Path, "D:\\WINNT")) << c.Path;
}

TEST(ReportText, FollowsTheReportFormat) {
    EXCEPTION_RECORD record = {};
    record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
    record.ExceptionAddress = reinterpret_cast<void*>(0x401000);
    CONTEXT context = {};
    context.Eax = 1;
    context.Ebx = 0xABCDEF;
    context.Eip = 0x401000;
    context.Esp = 0x22FF00;
    const std::string text = diagnostics::ReportText(record, context, "a.exe", "  00", "90");
    EXPECT_EQ(
        "Exception C0000005 at address 00401000 in module a.exe\r\nRegisters: \r\n"
        "EAX=00000001 EBX=00ABCDEF ECX=00000000 EDX=00000000\r\nESI=00000000 EDI=00000000 EBP=00000000 "
        "ESP=0022FF00\r\nEIP=00401000\r\nStack Data:   00\r\nCode Data: 90\r\n",
        text);
}

// An access violation; the address goes through a volatile pointer so that the compiler
// neither warns about it nor leaves it out.
void WriteToNowhere() {
    int* volatile nowhere = reinterpret_cast<int*>(0x10);
    *nowhere = 1;
}

// A window whose handler faults on request, in the ways a handler can.
enum FaultKind { kAccessViolation, kDivideByZero, kBadJump, kCppException, kNestedSend, kInSystemCallback };
constexpr UINT kFault = WM_APP + 1;
constexpr UINT kPing = WM_APP + 2;
constexpr LRESULT kNestedResult = 7;

BOOL CALLBACK FaultInCallback(HWND, LPARAM) {
    WriteToNowhere();
    return TRUE;
}

class FaultingWindow : public Window {
public:
    bool Create() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Window::Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "MorvaneFaultTest";
        RegisterClassA(&windowClass);
        return CreateWindowExA(0, "MorvaneFaultTest", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), this) != nullptr;
    }
    ~FaultingWindow() override {
        if (hwnd_ != nullptr && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kPing) return 42;
        if (message != kFault) return Dispatch(message, wParam, lParam);
        volatile int zero = 0;
        switch (wParam) {
        case kAccessViolation: WriteToNowhere(); break;
        case kDivideByZero: return 10 / zero;
        case kBadJump: {
            void (*volatile nowhere)() = reinterpret_cast<void (*)()>(0x10);
            nowhere();
            break;
        }
        case kCppException: throw std::bad_alloc();
        case kNestedSend: SendMessageA(hwnd_, kFault, kAccessViolation, 0); return kNestedResult;
        case kInSystemCallback: EnumWindows(FaultInCallback, 0); break;
        }
        return 99;
    }
};

void* ChainHead() {
    void* head;
    __asm__ volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

// The first error the system raised since the last Reset, as a handler that sees every
// exception before the frames do records it. The report must show that code: under a
// user-mode emulator the system raises other codes for the same faults than on a processor.
class RaisedCode {
public:
    RaisedCode() : handler_(AddVectoredExceptionHandler(1, Record)) { code_ = 0; }
    ~RaisedCode() { RemoveVectoredExceptionHandler(handler_); }
    void Reset() { code_ = 0; }
    std::string Text() const {
        char text[32];
        std::snprintf(text, sizeof text, "Exception %8.8lX", static_cast<unsigned long>(code_));
        return text;
    }

private:
    static LONG CALLBACK Record(EXCEPTION_POINTERS* exception) {
        const DWORD code = exception->ExceptionRecord->ExceptionCode;
        if (code_ == 0 && (code & 0xC0000000u) == 0xC0000000u) code_ = code;
        return EXCEPTION_CONTINUE_SEARCH;
    }
    static DWORD code_;
    void* handler_;
};
DWORD RaisedCode::code_ = 0;

// Whether this process can read its own memory through the process functions, which the
// module lookup and the dumps use; where it cannot (Wine under a user-mode emulator) the
// report keeps "{Unknown}" and empty dumps, as it does on any failed step.
bool ProcessReadsItself() {
    const int probe = 42;
    int copy = 0;
    SIZE_T read = 0;
    return ReadProcessMemory(GetCurrentProcess(), &probe, &copy, sizeof copy, &read) && copy == probe;
}

// Reads the report's text and presses "continue".
struct Continue {
    std::string* Text;
    void operator()(HWND dialog) const {
        if (TextOf(dialog) != kReportCaption) return;
        if (Text->empty()) *Text = TextOf(GetDlgItem(dialog, IDC_EXCEPTION_TEXT));
        PressButton(dialog, IDOK);
    }
};

TEST(ExceptionGuard, ReportsEachFaultAndTheWindowGoesOn) {
    FaultingWindow window;
    ASSERT_TRUE(window.Create());
    // A null code is the one the system raised; the C++ exception's code is the guard's own.
    const struct {
        const char* Name;
        FaultKind Kind;
        const char* Code;
        const char* Module;
        LRESULT Result;
    } cases[] = {
        {"access violation", kAccessViolation, nullptr, "window_tests.exe", 0},
        {"division by zero", kDivideByZero, nullptr, "window_tests.exe", 0},
        {"jump through a bad pointer", kBadJump, nullptr, "{Unknown}", 0},
        {"C++ exception", kCppException, "Exception E06D7363", "window_tests.exe", 0},
        {"fault in a nested SendMessage", kNestedSend, nullptr, "window_tests.exe", kNestedResult},
        {"fault in a callback below system frames", kInSystemCallback, nullptr, "window_tests.exe", 0},
    };
    const bool readable = ProcessReadsItself();
    RaisedCode raised;
    for (const auto& c : cases) {
        std::string report;
        DialogWatcher watcher(Continue{&report});
        void* chain = ChainHead();
        raised.Reset();
        const LRESULT result = SendMessageA(window.Handle(), kFault, c.Kind, 0);
        EXPECT_EQ(c.Result, result) << c.Name;
        EXPECT_EQ(chain, ChainHead()) << c.Name << ": the exception chain is as it was";
        EXPECT_EQ(1u, watcher.Seen().size()) << c.Name << ": one report";
        EXPECT_EQ(0u, report.find(c.Code != nullptr ? std::string(c.Code) : raised.Text())) << c.Name << "\n" << report;
        const std::string module = readable ? c.Module : "{Unknown}";
        EXPECT_NE(std::string::npos, report.find("in module " + module + "\r\n")) << c.Name << "\n" << report;
        EXPECT_EQ(readable, report.find("\r\nStack Data:   ") != std::string::npos) << c.Name << ": the stack dump";
        EXPECT_EQ(42, SendMessageA(window.Handle(), kPing, 0, 0)) << c.Name << ": later messages are handled";
    }
}

TEST(ExceptionGuard, EnterCopiesTheReportAndAFaultDuringTheReportGivesNoSecond) {
    FaultingWindow window;
    ASSERT_TRUE(window.Create());
    std::string clipboard;
    bool stillOpen = false;
    LRESULT nested = -1;
    DialogWatcher watcher([&](HWND dialog) {
        // Enter presses the default button, "copy exception"; the report stays open.
        PostMessageA(GetDlgItem(dialog, IDC_EXCEPTION_TEXT), WM_KEYDOWN, VK_RETURN, 0);
        Sleep(500);
        if (OpenClipboard(nullptr)) {
            if (HANDLE data = GetClipboardData(CF_TEXT)) {
                clipboard = static_cast<const char*>(GlobalLock(data));
                GlobalUnlock(data);
            }
            CloseClipboard();
        }
        stillOpen = IsWindowVisible(dialog) != FALSE;
        // Served by the report's own message loop: no second report.
        nested = SendMessageA(window.Handle(), kFault, kAccessViolation, 0);
        PressButton(dialog, IDOK);
    });
    RaisedCode raised;
    EXPECT_EQ(0, SendMessageA(window.Handle(), kFault, kDivideByZero, 0));
    EXPECT_EQ(0u, clipboard.find(raised.Text())) << clipboard;
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(0, nested);
    PumpMessages(300);
    EXPECT_EQ(1u, watcher.Seen().size());
}

// A dialog whose initialisation faults.
class FaultingDialog : public FullDialog {
public:
    FaultingDialog() : FullDialog(IDD_ABOUT) {}

protected:
    INT_PTR OnInitDialog() override {
        WriteToNowhere();
        return 0;
    }
};

TEST(ExceptionGuard, ADialogWhoseInitialisationFaultedStaysOpen) {
    std::string report;
    bool dialogShown = false;
    DialogWatcher watcher([&](HWND dialog) {
        if (TextOf(dialog) == kReportCaption) {
            PressButton(dialog, IDOK);
            return;
        }
        dialogShown = true;
        PressButton(dialog, IDCANCEL);
    });
    FaultingDialog dialog;
    EXPECT_EQ(IDCANCEL, ShowDialog(IDD_ABOUT, dialog, nullptr));
    TeardownDialog(dialog);
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(2u, watcher.Seen().size());
}

// How the report is answered in a child process, and the child's exit code.
TEST(ExceptionGuard, TerminateEscapeAndTheCloseBoxEndTheProgramWithCodeOne) {
    const struct {
        const char* Name;
        UINT Message;
        WPARAM WParam;
        DWORD ExitCode;
    } cases[] = {
        {"terminate", WM_COMMAND, IDCANCEL, 1},
        {"Escape", WM_KEYDOWN, VK_ESCAPE, 1},
        {"close box", WM_SYSCOMMAND, SC_CLOSE, 1},
        {"continue", WM_COMMAND, IDOK, 0},
    };
    for (const auto& c : cases) {
        ChildProcess child(FixturePath("fault_child.exe"));
        ASSERT_TRUE(child.Started()) << c.Name;
        HWND report = child.WaitForWindow("#32770", kReportCaption, 30000);
        ASSERT_NE(nullptr, report) << c.Name;
        HWND target = c.Message == WM_KEYDOWN ? GetDlgItem(report, IDC_EXCEPTION_TEXT) : report;
        PostMessageA(target, c.Message, c.WParam, 0);
        if (c.ExitCode == 0) {
            // The window works on: it closes as asked.
            Sleep(300);
            PostMessageA(child.WaitForWindow("MorvaneFaultChild", nullptr, 5000), WM_CLOSE, 0, 0);
        }
        EXPECT_EQ(c.ExitCode, child.Wait(30000)) << c.Name;
    }
}

}  // namespace
