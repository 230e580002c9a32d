// The one way a system error reaches the user.
#pragma once

#include <windows.h>

#include <cstddef>

// The system's text for an error code in the user's language: looked up in netmsg.dll too
// for network codes, "Unknown Error" when there is none, and empty when it is 1024
// characters or longer. The text keeps its own trailing line break.
void SystemErrorText(DWORD code, char* buffer, std::size_t capacity);

// The caption of every error message box.
extern const char kErrorCaption[];

// Message box "Error %d: %s" with caption "Error", a warning icon and OK.
// A code of 0 stands for the thread's last error.
void ShowErrorBox(DWORD code, HWND owner);
