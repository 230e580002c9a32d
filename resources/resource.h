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
