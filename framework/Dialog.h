// Dialog objects: one shared dialog procedure translates each dialog from the language
// file, binds the object at WM_INITDIALOG and hands it every later message inside the
// exception guard. A full dialog routes commands, initialisation and notifications.
#pragma once

#include <windows.h>

class Dialog {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    // Unregisters the object if the code that ran it has not torn it down.
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    HWND Handle() const { return hwnd_; }
    int TemplateId() const { return templateId_; }

    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    // Every message after WM_INITDIALOG's binding; 0 means not handled.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) { return 0; }
    // Moves the object's values into the controls (true) or back (false).
    virtual void ExchangeData(bool toControls) {}
    // Runs the dialog of the object's template modally; true when it ended with IDOK.
    virtual bool RunModal(HWND parent);

protected:
    HWND hwnd_ = nullptr;
    int templateId_;
};

// Runs the dialog modally over parent; the value given to EndDialog.
INT_PTR ShowDialog(int templateId, Dialog& dialog, HWND parent);
// Forgets the object's handle binding once its dialog has ended.
void TeardownDialog(Dialog& dialog);

class FullDialog : public Dialog {
public:
    using Dialog::Dialog;

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return Dispatch(message, wParam, lParam);
    }

protected:
    // WM_NOTIFY, WM_INITDIALOG and WM_COMMAND to the operations below; anything else 0.
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    // IDOK stores the controls' values and ends with IDOK, IDCANCEL ends with IDCANCEL;
    // every button command and every EN_CHANGE then updates the controls.
    virtual INT_PTR OnCommand(int notifyCode, WPARAM wParam, LPARAM lParam);
    // Fills the controls, updates them and centres the dialog on the screen.
    virtual INT_PTR OnInitDialog();
    virtual INT_PTR OnNotify(WPARAM wParam, LPARAM lParam) { return 0; }
    virtual void UpdateControls() {}
};

void EnableControl(const Dialog& dialog, int controlId, bool enable);
// Centres the window on the whole screen, as the display device measures it.
void CentreOnScreen(HWND window);
