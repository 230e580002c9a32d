#include "catalogue/PropertiesDialog.h"

#include <cstdio>

#include "catalogue/MenuItem.h"
#include "framework/Text.h"
#include "resources/resource.h"

namespace {

constexpr int kLabelPadding = 10;
constexpr int kButtonSpace = 21;
constexpr int kButtonMargin = 5;
const COLORREF kValueText = RGB(0, 0, 192);

RECT ClientRectOf(HWND control, HWND dialog) {
    RECT bounds = {};
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

bool IsEditControl(HWND control) {
    char className[32] = {};
    GetClassNameA(control, className, sizeof className);
    return text::EqualNoCase(className, "edit");
}

}  // namespace

PropertiesDialog::PropertiesDialog(const ItemRecord& item, const MenuItemList& list)
    : FullDialog(IDD_PROPERTIES), item_(item), list_(list) {}

INT_PTR PropertiesDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Read-only edit boxes ask for their colours as statics do.
    if (message == WM_CTLCOLORSTATIC && IsEditControl(reinterpret_cast<HWND>(lParam))) {
        HDC context = reinterpret_cast<HDC>(wParam);
        SetBkMode(context, TRANSPARENT);
        SetBkColor(context, RGB(255, 255, 255));
        SetTextColor(context, kValueText);
        return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    }
    return Dispatch(message, wParam, lParam);
}

INT_PTR PropertiesDialog::OnInitDialog() {
    LayOutRows();
    CentreOnScreen(hwnd_);
    return FullDialog::OnInitDialog();
}

void PropertiesDialog::LayOutRows() {
    HWND labelTemplate = GetDlgItem(hwnd_, IDC_PROPERTY_LABEL);
    HWND valueTemplate = GetDlgItem(hwnd_, IDC_PROPERTY_VALUE);
    const DWORD labelStyle = static_cast<DWORD>(GetWindowLongA(labelTemplate, GWL_STYLE));
    const DWORD labelExStyle = static_cast<DWORD>(GetWindowLongA(labelTemplate, GWL_EXSTYLE));
    const DWORD valueStyle = static_cast<DWORD>(GetWindowLongA(valueTemplate, GWL_STYLE));
    const DWORD valueExStyle = static_cast<DWORD>(GetWindowLongA(valueTemplate, GWL_EXSTYLE));
    const RECT label = ClientRectOf(labelTemplate, hwnd_);
    const RECT value = ClientRectOf(valueTemplate, hwnd_);
    const int labelHeight = label.bottom - label.top;
    const int valueHeight = value.bottom - value.top;
    int labelWidth = label.right - label.left;
    int valueLeft = value.left;
    int valueWidth = value.right - value.left;

    // The label column is as wide as the widest caption, measured in the dialog's own font
    // (the one the labels get), so that a longer translated caption widens it.
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    if (HDC context = GetDC(hwnd_)) {
        HGDIOBJ previous = font != nullptr ? SelectObject(context, font) : nullptr;
        int widest = 0;
        for (int c = 0; c < list_.ColumnCount(); ++c) {
            const char* caption = list_.Descriptor(c).Caption;
            SIZE size = {};
            if (GetTextExtentPoint32A(context, caption, lstrlenA(caption), &size) && size.cx > widest) widest = size.cx;
        }
        if (previous != nullptr) SelectObject(context, previous);
        ReleaseDC(hwnd_, context);
        const int shift = widest + kLabelPadding - labelWidth;
        labelWidth += shift;
        valueLeft += shift;
        valueWidth -= shift;
    }

    HINSTANCE instance = GetModuleHandleA(nullptr);
    int offset = 0;
    char shown[1100];
    for (int c = 0; c < list_.ColumnCount(); ++c) {
        HWND caption = CreateWindowExA(labelExStyle, "STATIC", "", labelStyle | WS_VISIBLE, label.left, label.top + offset,
                                       labelWidth, labelHeight, hwnd_, nullptr, instance, nullptr);
        HWND field = CreateWindowExA(valueExStyle, "EDIT", "", valueStyle | WS_VISIBLE, valueLeft, value.top + offset,
                                     valueWidth, valueHeight * kLinesPerValue, hwnd_, nullptr, instance, nullptr);
        SendMessageA(caption, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        std::snprintf(shown, sizeof shown, "%s:", list_.Descriptor(c).Caption);
        SetWindowTextA(caption, shown);
        shown[0] = '\0';
        SetWindowTextA(field, item_.ColumnText(c, shown, sizeof shown));
        offset += valueHeight * kLinesPerValue + kRowGap;
    }

    RECT outer = {}, client = {};
    GetWindowRect(hwnd_, &outer);
    GetClientRect(hwnd_, &client);
    HWND ok = GetDlgItem(hwnd_, IDOK);
    const RECT button = ClientRectOf(ok, hwnd_);
    const int buttonHeight = button.bottom - button.top;
    const int frame = (outer.bottom - outer.top) - (client.bottom - client.top);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, frame + offset + buttonHeight + kButtonSpace,
                 SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(hwnd_, &client);
    SetWindowPos(ok, nullptr, button.left, client.bottom - kButtonMargin - buttonHeight, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
}

void ShowProperties(const ItemRecord& item, const MenuItemList& list, HWND owner) {
    PropertiesDialog dialog(item, list);
    dialog.RunModal(owner);
    TeardownDialog(dialog);
}
