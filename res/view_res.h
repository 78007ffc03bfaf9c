// Resource ids of the design view, its home panel and its tracker cursors (the small
// dialogs it shows are the skinned toolkit's: res/ui_res.h).
#pragma once

#define IDD_HOME_PANEL 150

// Home panel buttons.
#define IDC_HOME_LOAD 1301
#define IDC_HOME_SAVE 1302
#define IDC_HOME_PRINT 1303
#define IDC_HOME_PREVIEW 1304
#define IDC_HOME_IMAGES 1305
#define IDC_HOME_TEXT 1306
#define IDC_HOME_BACKGROUND 1090
#define IDC_HOME_NEW 1307
#define IDC_HOME_FRAME 1040

// Asks before printing, then prints; no control, menu or key of the program sends it.
#define ID_VIEW_ASK_PRINT 206

// Tracker cursors.
#define IDC_TRACK_MOVE_CTRL 130
#define IDC_TRACK_SHEAR_H 132
#define IDC_TRACK_SHEAR_V 133
#define IDC_TRACK_ROTATE 137
#define IDC_TRACK_PIVOT 138
