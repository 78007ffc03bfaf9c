// Resource ids of the ui tests (ui_tests.rc), apart from the program's own.
#pragma once

#define IDB_TEST_BUBBLE 28450
#define ID_TEST_FIRST 28460
#define ID_TEST_SECOND 28461
#define IDD_TEST_TIPS 28470
#define IDC_TEST_BUTTON 1001
#define IDC_TEST_EDIT 1002

#define IDD_T_BUTTONS 9100
#define IDC_T_PUSH 9101
#define IDC_T_CHECK 9102
#define IDC_T_DEFAULT 9103
#define IDC_T_MENU 9104
#define IDC_T_LINK 9105
#define IDC_T_QUIET 9106
#define IDC_T_NEXT 9107

#define IDR_T_MENU 9110
#define ID_T_MENU_FIRST 9111
#define ID_T_MENU_SECOND 9112

#define IDD_T_HOVER 9120
#define IDC_T_HOVER_ON 9121
#define IDC_T_HOVER_OFF 9122

#define IDD_T_LINES 9130
#define IDC_T_LINE_LEFT 9131
#define IDC_T_LINE_RIGHT 9132
#define IDC_T_LINE_CENTRE 9133

#define IDD_T_HOST 9140
#define IDC_T_HOST_TITLE 1188
#define IDD_T_PANEL_A 9141
#define IDD_T_PANEL_B 9142
#define IDD_T_PANEL_C 9143
#define IDD_T_PANEL_SKIN 9144
#define IDC_T_PANEL_BUTTON 9145
#define IDC_T_PANEL_LABEL 9146
#define IDC_T_PANEL_EDIT 9147
#define IDC_T_PANEL_LIST 9148
#define IDC_T_PANEL_PLAIN 9149

// The value controls' dialog: a slider, a scroll bar's placeholder, a dial and their labels,
// and a button that holds the focus.
#define IDD_T_VALUES 9200
#define IDC_T_VAL_SLIDER 9201
#define IDC_T_VAL_SCROLL_SPOT 9202
#define IDC_T_VAL_SCROLL 9203
#define IDC_T_VAL_DIAL 9204
#define IDC_T_VAL_LABEL_SLIDER 9205
#define IDC_T_VAL_LABEL_SCROLL 9206
#define IDC_T_VAL_LABEL_DIAL 9207
#define IDC_T_VAL_BUTTON 9208
#define IDC_T_VAL_VSCROLL_SPOT 9209
#define IDC_T_VAL_VSCROLL 9210

// Value controls: the colour picker, the swatch list and the face list.
#define IDD_T_PICKER 9300
#define IDC_T_PICKER 9301
#define IDC_T_PICKER_TALL 9302
#define IDD_T_SWATCHES 9310
#define IDC_T_SWATCH_LIST 1105
#define IDC_T_SWATCH_ADD 1091
#define IDC_T_SWATCH_REMOVE 1092
#define IDD_T_FONTS 9320
#define IDC_T_FONT_LIST 9321
