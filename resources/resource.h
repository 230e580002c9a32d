// Resource identifiers. The language file uses the same numbers as its keys.
#pragma once

// Icons, cursor, bitmaps
#define IDI_MAIN                101
#define IDI_DEFAULT_ROW         102
#define IDC_HAND_LINK           103
#define IDB_TOOLBAR             104
#define IDB_SORT_UP             133
#define IDB_SORT_DOWN           134

// Menus and accelerators
#define IDM_MAIN                102
#define IDA_MAIN                103
#define IDM_POPUP               104

// String table: status bar, reports and warnings
#define IDS_STATUS_ITEMS        4
#define IDS_STATUS_SELECTED     5
#define IDS_CREATED_BY          6
#define IDS_SAVE_TITLE          7
#define IDS_REPORT_TITLE        8
#define IDS_YES                 9
#define IDS_NO                  10
#define IDS_WARN_DISABLE_ALL    11
#define IDS_WARN_DISABLE_OPEN   12
#define IDS_PRODUCT             13
#define IDS_LOADING             14

// String table: names of the report formats, by format code
#define IDS_FORMAT_TEXT         501
#define IDS_FORMAT_TAB          502
#define IDS_FORMAT_TABULAR      503
#define IDS_FORMAT_HTML_ROWS    504
#define IDS_FORMAT_HTML_TABLES  505
#define IDS_FORMAT_XML          506

// String table: column captions
#define IDS_COL_MENU_NAME       1001
#define IDS_COL_EXTENSIONS      1002
#define IDS_COL_MENU_KEY        1003
#define IDS_COL_FILE_TYPE       1004
#define IDS_COL_DESCRIPTION     1005
#define IDS_COL_VERSION         1006
#define IDS_COL_PRODUCT         1007
#define IDS_COL_COMPANY         1008
#define IDS_COL_FILE_NAME       1009
#define IDS_COL_MODIFIED        1010
#define IDS_COL_COMMAND         1011
#define IDS_COL_DISABLED        1012
#define IDS_COL_EXTENDED        1013
#define IDS_COL_TYPE_DESC       1014
#define IDS_COL_SYSTEM_ASSOC    1015

// Controls without an id of their own
#ifndef IDC_STATIC
#define IDC_STATIC              (-1)
#endif

// Child controls of the main window
#define IDC_STATUS_BAR          257
#define IDC_TOOLBAR             258
#define IDC_LIST_VIEW           259

// Dialogs
#define IDD_PROPERTIES          105
#define IDD_EXCEPTION           107
#define IDD_ABOUT               112
#define IDD_COLUMNS             1096

// Properties dialog
#define IDC_PROPERTY_VALUE      1000
#define IDC_PROPERTY_LABEL      1001

// Exception report
#define IDC_EXCEPTION_COPY      3
#define IDC_EXCEPTION_TEXT      1002
#define IDC_EXCEPTION_HEADING   1003
#define IDC_EXCEPTION_ADVICE    1004

// About dialog
#define IDC_ABOUT_TEXT          1002
#define IDC_ABOUT_LINK          1004
#define IDC_ABOUT_TRANSLATION   1005
#define IDC_ABOUT_TRANSLATOR    1006

// Column settings dialog
#define IDC_COLUMNS_HINT        1000
#define IDC_COLUMNS_LIST        1001
#define IDC_COLUMNS_WIDTH_LABEL 1002
#define IDC_COLUMNS_UP          1003
#define IDC_COLUMNS_DOWN        1004
#define IDC_COLUMNS_WIDTH       1005
#define IDC_COLUMNS_SHOW        1006
#define IDC_COLUMNS_HIDE        1007
#define IDC_COLUMNS_DEFAULT     1008

// Commands of the menus, the toolbar and the accelerators
#define IDM_SAVE_SELECTED       40001
#define IDM_EXIT                40002
#define IDM_ABOUT               40003
#define IDM_REFRESH             40004
#define IDM_GRID_LINES          40005
#define IDM_HTML_ALL            40006
#define IDM_SELECT_ALL          40007
#define IDM_COPY                40008
#define IDM_PROPERTIES          40009
#define IDM_HTML_SELECTED       40010
#define IDM_CHOOSE_COLUMNS      40011
#define IDM_AUTO_SIZE           40012
#define IDM_FIND                40014
#define IDM_DESELECT_ALL        40015
#define IDM_HIDE_STANDARD       40022
#define IDM_DISABLE             40023
#define IDM_ENABLE              40024
#define IDM_INFO_TIPS           40025
#define IDM_OPEN_IN_REGEDIT     40026
#define IDM_SET_EXTENDED        40029
#define IDM_REMOVE_EXTENDED     40030
#define IDM_LOOK_UP_EXTENSION   40034
