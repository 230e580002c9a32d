// The enabled and checked states of the menus and the toolbar, from one table each.
#include <windows.h>
#include <commctrl.h>

#include "app/MainWindow.h"
#include "framework/ListView.h"
#include "resources/resource.h"

namespace {

enum class Condition { OneSelected, AnySelected, HasRows };

// A command, when it is enabled, and the main-menu position of its sub-menu. Every other
// command stays enabled.
struct EnableRule {
    int Command;
    Condition When;
    int MenuPosition;
};

const EnableRule kEnableRules[] = {
    {IDM_PROPERTIES, Condition::OneSelected, 0},   {IDM_LOOK_UP_EXTENSION, Condition::OneSelected, 0},
    {IDM_SAVE_SELECTED, Condition::AnySelected, 0}, {IDM_COPY, Condition::AnySelected, 1},
    {IDM_HTML_SELECTED, Condition::AnySelected, 2}, {IDM_AUTO_SIZE, Condition::HasRows, 2},
    {IDM_HTML_ALL, Condition::HasRows, 2},          {IDM_FIND, Condition::HasRows, 1},
};

// A command checked by a setting, and its main-menu position.
struct CheckRule {
    int Command;
    int MainSettings::*Setting;
    int MenuPosition;
};

const CheckRule kCheckRules[] = {
    {IDM_GRID_LINES, &MainSettings::ShowGridLines, 2},
    {IDM_HIDE_STANDARD, &MainSettings::HideStandardItems, 3},
    {IDM_INFO_TIPS, &MainSettings::ShowInfoTip, 2},
};

}  // namespace

void MainWindow::UpdateMenuStates(HMENU popup) {
    win::ListView view(listView_);
    const int selected = view.SelectedCount();
    const int rows = view.ItemCount();
    for (const EnableRule& rule : kEnableRules) {
        bool enable = false;
        switch (rule.When) {
        case Condition::OneSelected: enable = selected == 1; break;
        case Condition::AnySelected: enable = selected >= 1; break;
        case Condition::HasRows: enable = rows > 0; break;
        }
        EnableMenuCommand(popup != nullptr ? popup : GetSubMenu(mainMenu_, rule.MenuPosition), rule.Command, enable);
        EnableToolbarButton(toolbar_, rule.Command, enable);
    }
    for (const CheckRule& rule : kCheckRules)
        CheckMenuItem(GetSubMenu(mainMenu_, rule.MenuPosition), static_cast<UINT>(rule.Command),
                      MF_BYCOMMAND | (settings_.*rule.Setting != 0 ? MF_CHECKED : MF_UNCHECKED));
}
