#include "framework/ErrorBox.h"

#include <cstdio>

#include "framework/Handles.h"
#include "framework/Text.h"

namespace {

constexpr DWORD kFirstNetworkCode = 2100;
constexpr DWORD kLastNetworkCode = 2999;
constexpr std::size_t kLongestShownText = 1023;
const char kUnknownError[] = "Unknown Error";
const char kErrorFormat[] = "Error %d: %s";
}  // namespace

const char kErrorCaption[] = "Error";

void SystemErrorText(DWORD code, char* buffer, std::size_t capacity) {
    if (capacity == 0) return;
    buffer[0] = '\0';

    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                  FORMAT_MESSAGE_IGNORE_INSERTS;
    win::UniqueLibrary netmsg;
    if (code >= kFirstNetworkCode && code <= kLastNetworkCode) {
        netmsg.reset(LoadLibraryExA("netmsg.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE));
        if (netmsg) flags |= FORMAT_MESSAGE_FROM_HMODULE;
    }

    char* message = nullptr;
    DWORD length = FormatMessageA(flags, netmsg.get(), code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<char*>(&message), 0, nullptr);
    win::UniqueLocal owned(message);
    if (length == 0 || message == nullptr) {
        text::Copy(buffer, capacity, kUnknownError);
    } else if (length <= kLongestShownText) {
        text::Copy(buffer, capacity, message);
    }
}

void ShowErrorBox(DWORD code, HWND owner) {
    if (code == 0) code = GetLastError();
    char message[1024];
    SystemErrorText(code, message, sizeof message);
    char shown[1100];
    std::snprintf(shown, sizeof shown, kErrorFormat, static_cast<int>(code), message);
    MessageBoxA(owner, shown, kErrorCaption, MB_OK | MB_ICONWARNING);
}
