#include "framework/AboutDialog.h"

#include <shellapi.h>

#include <array>
#include <cstring>

#include "framework/Language.h"
#include "framework/Text.h"
#include "resources/resource.h"

namespace {

constexpr unsigned char kKeyStep = 0x3B;
constexpr unsigned char kKeyStart = 0x0D;
constexpr unsigned char kKeyMask = 0xC3;

constexpr unsigned char Key(unsigned position) {
    return static_cast<unsigned char>(((position * kKeyStep + kKeyStart) & 0xFF) ^ kKeyMask);
}

// The text scrambled at compile time, with its terminator.
template <std::size_t N>
struct Scrambled {
    std::array<unsigned char, N> Bytes{};
    constexpr explicit Scrambled(const char (&text)[N]) {
        for (std::size_t i = 0; i + 1 < N; ++i)
            Bytes[i] = static_cast<unsigned char>(static_cast<unsigned char>(text[i]) ^ Key(static_cast<unsigned>(i)));
    }
    // A scrambled zero would end the text early.
    constexpr bool HasNoZero() const {
        for (std::size_t i = 0; i + 1 < N; ++i)
            if (Bytes[i] == 0) return false;
        return true;
    }
};

constexpr Scrambled kProductLine("Morvane 1.0 - static context-menu verbs of file types");
constexpr Scrambled kHomePage("https://www.kestrune.example/morvane/");
static_assert(kProductLine.HasNoZero() && kHomePage.HasNoZero(), "a scrambled byte is zero");

const char kProductName[] = "Morvane";
const char kLinkFace[] = "MS Sans Serif";
constexpr LONG kLinkHeight = 10;
const COLORREF kLinkColor = 0xC00000;

void OpenAddress(const char* address) {
    // A failed open shows nothing.
    ShellExecuteA(nullptr, "open", address, nullptr, nullptr, SW_SHOW);
}

}  // namespace

void Unscramble(const unsigned char* stored, char* text, unsigned capacity) {
    if (capacity == 0) return;
    unsigned i = 0;
    for (; i + 1 < capacity && stored[i] != 0; ++i) text[i] = static_cast<char>(stored[i] ^ Key(i));
    text[i] = '\0';
}

bool IsWebOrMailAddress(const char* address) {
    for (const char* scheme : {"http://", "https://", "mailto:"})
        if (_strnicmp(address, scheme, std::strlen(scheme)) == 0) return true;
    return false;
}

AboutDialog::AboutDialog() : Dialog(IDD_ABOUT) {}

void AboutDialog::TakeProductTexts() {
    Unscramble(kProductLine.Bytes.data(), productLine_, sizeof productLine_);
    Unscramble(kHomePage.Bytes.data(), homePage_, sizeof homePage_);
}

bool AboutDialog::IsLink(HWND control) const {
    if (control == nullptr) return false;
    if (control == GetDlgItem(hwnd_, IDC_ABOUT_LINK)) return true;
    return control == GetDlgItem(hwnd_, IDC_ABOUT_TRANSLATOR) && IsWebOrMailAddress(lang::TranslatorUrl());
}

HWND AboutDialog::ControlAt(LPARAM point) const {
    const POINT at = {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    HWND child = ChildWindowFromPoint(hwnd_, at);
    return child != hwnd_ ? child : nullptr;
}

INT_PTR AboutDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        if (!text::IsEmpty(lang::TranslatorName())) {
            SetDlgItemTextA(hwnd_, IDC_ABOUT_TRANSLATOR, lang::TranslatorName());
        } else {
            ShowWindow(GetDlgItem(hwnd_, IDC_ABOUT_TRANSLATION), SW_HIDE);
            ShowWindow(GetDlgItem(hwnd_, IDC_ABOUT_TRANSLATOR), SW_HIDE);
        }
        SetWindowTextA(hwnd_, kProductName);
        SetDlgItemTextA(hwnd_, IDC_ABOUT_TEXT, productLine_);
        SetDlgItemTextA(hwnd_, IDC_ABOUT_LINK, homePage_);
        LOGFONTA description = {};
        description.lfHeight = kLinkHeight;
        description.lfWeight = FW_BOLD;
        description.lfUnderline = TRUE;
        description.lfCharSet = DEFAULT_CHARSET;
        text::Copy(description.lfFaceName, kLinkFace);
        linkFont_.reset(CreateFontIndirectA(&description));
        SendDlgItemMessageA(hwnd_, IDC_ABOUT_LINK, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), FALSE);
        if (IsWebOrMailAddress(lang::TranslatorUrl()))
            SendDlgItemMessageA(hwnd_, IDC_ABOUT_TRANSLATOR, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()),
                                FALSE);
        CentreOnScreen(hwnd_);
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        if (!IsLink(reinterpret_cast<HWND>(lParam))) return 0;
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        SetTextColor(reinterpret_cast<HDC>(wParam), kLinkColor);
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_MOUSEMOVE:
        if (!IsLink(ControlAt(lParam))) return 0;
        SetCursor(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_LINK)));
        return 1;
    case WM_LBUTTONUP: {
        HWND control = ControlAt(lParam);
        if (control == nullptr || !IsLink(control)) return 0;
        OpenAddress(control == GetDlgItem(hwnd_, IDC_ABOUT_LINK) ? homePage_ : lang::TranslatorUrl());
        return 1;
    }
    case WM_COMMAND:
        // Escape and the close box send IDCANCEL, which this dialog ignores.
        if (wParam != IDOK) return 0;
        EndDialog(hwnd_, IDOK);
        linkFont_.reset();
        return 1;
    default:
        return 0;
    }
}

void ShowAbout(HWND owner) {
    AboutDialog dialog;
    dialog.TakeProductTexts();
    dialog.RunModal(owner);
    TeardownDialog(dialog);
}
