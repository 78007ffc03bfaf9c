// Resource ids of the window layer (kept high, out of the program's range).
#pragma once

// The layer's own texts.
#define FW_IDS_UNTITLED 0xEF00
#define FW_IDP_COMMAND_FAILURE 0xEF11
#define FW_IDP_FAILED_TO_START_PRINT 0xEF12
#define FW_IDS_MEMORY_EXCEPTION 0xEF13
#define FW_IDP_INTERNAL_FAILURE 0xEF14
#define FW_IDP_PARSE_INT 0xEF15
#define FW_IDP_PARSE_REAL 0xEF16
#define FW_IDS_PREVIEW_ONEPAGE 0xEF18
#define FW_IDS_PREVIEW_TWOPAGE 0xEF19
#define FW_IDP_FAILED_TO_OPEN_DOC 0xEF1B
#define FW_IDS_ALL_FILES 0xEF1D
#define FW_IDP_ASK_TO_SAVE 0xEF1E
// The application's title when the program gives none.
#define AFX_IDS_APP_TITLE 0xE000

// Standard commands (menus, accelerators, the preview tool bar).
#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_FILE_CLOSE 0xE102
#define ID_FILE_SAVE 0xE103
#define ID_FILE_SAVE_AS 0xE104
#define ID_FILE_PAGE_SETUP 0xE105
#define ID_FILE_PRINT_SETUP 0xE106
#define ID_FILE_PRINT 0xE107
#define ID_FILE_PRINT_DIRECT 0xE108
#define ID_FILE_PRINT_PREVIEW 0xE109
#define ID_EDIT_CLEAR 0xE120
#define ID_EDIT_COPY 0xE122
#define ID_EDIT_CUT 0xE123
#define ID_EDIT_PASTE 0xE125
#define ID_EDIT_UNDO 0xE12B
#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141
#define ID_NEXT_PANE 0xE150
#define ID_PREV_PANE 0xE151

// Pane id of a frame's view.
#define AFX_IDW_PANE_FIRST 0xE900
#define AFX_IDW_PANE_SAVE 0xEA21
#define AFX_IDW_PREVIEW_BAR 0xE805

// The print preview tool bar (dialog template) and its controls.
#define AFX_IDD_PREVIEW_TOOLBAR 30723
#define AFX_ID_PREVIEW_CLOSE 0xE300
#define AFX_ID_PREVIEW_NUMPAGE 0xE301
#define AFX_ID_PREVIEW_NEXT 0xE302
#define AFX_ID_PREVIEW_PREV 0xE303
#define AFX_ID_PREVIEW_PRINT 0xE304
#define AFX_ID_PREVIEW_ZOOMIN 0xE305
#define AFX_ID_PREVIEW_ZOOMOUT 0xE306
