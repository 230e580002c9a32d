// The about dialog: the program's icon, a line naming the program and its version, the
// home page as a link, and the translator named by the language file.
#pragma once

#include <windows.h>

#include "framework/Dialog.h"
#include "framework/Handles.h"

class AboutDialog : public Dialog {
public:
    AboutDialog();

    // Unscrambles the two product texts into the object; done just before it is shown.
    void TakeProductTexts();
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool IsLink(HWND control) const;
    HWND ControlAt(LPARAM point) const;

    char productLine_[255] = {};
    char homePage_[257] = {};
    win::UniqueFont linkFont_;
};

// Runs the about dialog modally over owner.
void ShowAbout(HWND owner);

// Whether an address from a language file may be opened with the shell: only web and mail
// addresses, since the shell runs a program named by any other.
bool IsWebOrMailAddress(const char* address);

// The stored product texts unscrambled, byte by byte up to the first zero.
void Unscramble(const unsigned char* stored, char* text, unsigned capacity);
