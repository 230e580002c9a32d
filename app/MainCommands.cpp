// The commands of the menus, the toolbar and the accelerators: one table from command id
// to the member that carries it out.
#include <windows.h>
#include <commctrl.h>

#include "app/MainWindow.h"
#include "catalogue/PropertiesDialog.h"
#include "framework/AboutDialog.h"
#include "framework/ListView.h"
#include "report/ColumnSettingsDialog.h"
#include "resources/resource.h"

namespace {

using CommandAction = void (*)(MainWindow& window);

struct CommandEntry {
    int Command;
    CommandAction Action;
};

void Exit(MainWindow& window) { PostMessageA(window.Handle(), WM_CLOSE, 0, 0); }
void Refresh(MainWindow& window) { PostMessageA(window.Handle(), MainWindow::kReload, 0, 0); }
void SelectAll(MainWindow& window) {
    win::ListView(window.ListView()).SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
}
void DeselectAll(MainWindow& window) { win::ListView(window.ListView()).SetItemState(-1, 0, LVIS_SELECTED); }
void AutoSize(MainWindow& window) { window.Items().AutoSizeColumns(); }

void ToggleGridLines(MainWindow& window) {
    int& setting = window.Settings().ShowGridLines;
    setting = setting == 0;
    win::ListView(window.ListView()).SetExtendedStyleBits(LVS_EX_GRIDLINES, setting != 0);
    window.UpdateMenuStates();
}

void ToggleInfoTips(MainWindow& window) {
    int& setting = window.Settings().ShowInfoTip;
    setting = setting == 0;
    win::ListView(window.ListView()).SetExtendedStyleBits(LVS_EX_INFOTIP, setting != 0);
    window.UpdateMenuStates();
}

void ToggleHideStandard(MainWindow& window) {
    int& setting = window.Settings().HideStandardItems;
    setting = setting == 0;
    window.UpdateMenuStates();
    PostMessageA(window.Handle(), MainWindow::kReload, 0, 0);
}

void Properties(MainWindow& window) {
    if (const RowRecord* row = window.Items().SingleSelectedRow())
        ShowProperties(static_cast<const ItemRecord&>(*row), window.Items(), window.Handle());
    SetFocus(window.ListView());
}

void ChooseColumns(MainWindow& window) { OpenColumnSettings(window.Items(), window.Handle()); }
void About(MainWindow& window) { ShowAbout(window.Handle()); }

const CommandEntry kCommands[] = {
    {IDM_PROPERTIES, Properties},
    {IDM_CHOOSE_COLUMNS, ChooseColumns},
    {IDM_ABOUT, About},
    {IDM_EXIT, Exit},
    {IDM_REFRESH, Refresh},
    {IDM_SELECT_ALL, SelectAll},
    {IDM_DESELECT_ALL, DeselectAll},
    {IDM_AUTO_SIZE, AutoSize},
    {IDM_GRID_LINES, ToggleGridLines},
    {IDM_INFO_TIPS, ToggleInfoTips},
    {IDM_HIDE_STANDARD, ToggleHideStandard},
};

}  // namespace

bool MainWindow::RunCommand(int command) {
    for (const CommandEntry& entry : kCommands) {
        if (entry.Command == command) {
            entry.Action(*this);
            return true;
        }
    }
    return false;
}

void MainWindow::OnCommand(int notifyCode, WPARAM wParam, LPARAM lParam) {
    // Messages still queued after the list was released do nothing.
    if (released_) return;
    if (RunCommand(LOWORD(wParam))) SetHandled(0);
}
