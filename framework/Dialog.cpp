#include "framework/Dialog.h"

#include "diagnostics/ExceptionGuard.h"
#include "framework/HandleRegistry.h"
#include "framework/Language.h"

Dialog::~Dialog() { DialogRegistry().Unregister(this); }

INT_PTR CALLBACK Dialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        lang::TranslateDialog(dialog);
        if (Dialog* object = reinterpret_cast<Dialog*>(lParam)) {
            object->hwnd_ = dialog;
            DialogRegistry().Register(object, dialog);
        }
    }
    Dialog* object = static_cast<Dialog*>(DialogRegistry().Find(dialog));
    // WM_SETFONT and the like come before the object is bound.
    if (object == nullptr) return 0;

    const INT_PTR result =
        diagnostics::Guarded(dialog, [&]() -> LRESULT { return object->HandleMessage(message, wParam, lParam); });
    // Also after a reported fault in the initialisation.
    if (message == WM_INITDIALOG) lang::ApplyRightToLeft(dialog, lang::kMirrorChildren | lang::kChildrenRightToLeft);
    return result;
}

bool Dialog::RunModal(HWND parent) { return ShowDialog(templateId_, *this, parent) == IDOK; }

INT_PTR ShowDialog(int templateId, Dialog& dialog, HWND parent) {
    lang::SetCurrentDialog(templateId);
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), parent, Dialog::Procedure,
                           reinterpret_cast<LPARAM>(&dialog));
}

void TeardownDialog(Dialog& dialog) { DialogRegistry().Unregister(&dialog); }

INT_PTR FullDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: return OnNotify(wParam, lParam);
    case WM_INITDIALOG: return OnInitDialog();
    case WM_COMMAND: return OnCommand(HIWORD(wParam), wParam, lParam);
    default: return 0;
    }
}

INT_PTR FullDialog::OnCommand(int notifyCode, WPARAM wParam, LPARAM) {
    if (notifyCode == 0) {
        switch (LOWORD(wParam)) {
        case IDOK:
            ExchangeData(false);
            EndDialog(hwnd_, IDOK);
            break;
        case IDCANCEL:
            EndDialog(hwnd_, IDCANCEL);
            break;
        default:
            break;
        }
    }
    if (notifyCode == 0 || notifyCode == EN_CHANGE) UpdateControls();
    return 0;
}

INT_PTR FullDialog::OnInitDialog() {
    ExchangeData(true);
    UpdateControls();
    CentreOnScreen(hwnd_);
    return 0;
}

void EnableControl(const Dialog& dialog, int controlId, bool enable) {
    EnableWindow(GetDlgItem(dialog.Handle(), controlId), enable ? TRUE : FALSE);
}

void CentreOnScreen(HWND window) {
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    HDC screen = GetDC(nullptr);
    const int width = GetDeviceCaps(screen, HORZRES);
    const int height = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    SetWindowPos(window, nullptr, (width - (bounds.right - bounds.left)) / 2,
                 (height - (bounds.bottom - bounds.top)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
