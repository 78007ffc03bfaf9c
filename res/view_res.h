// Resource ids of the design view, its home panel and its tracker cursors (the small
// dialogs it shows are the skinned toolkit's: res/ui_res.h).
#pragma once

#define IDD_HOME_PANEL 150

// Home panel buttons, top to bottom.
#define IDC_HOME_NEW 1027
#define IDC_HOME_LOAD 1028
#define IDC_HOME_SAVE 1029
#define IDC_HOME_BACKGROUND 1090
#define IDC_HOME_IMAGES 1022
#define IDC_HOME_TEXT 1038
#define IDC_HOME_FRAME 1040
#define IDC_HOME_PREVIEW 1193
#define IDC_HOME_PRINT 1039
#define IDC_HOME_SETTINGS 1032
#define IDC_HOME_WEB 185

// Home panel button pictures.
#define IDB_HOME_SAVE 524
#define IDB_HOME_SETTINGS 525
#define IDB_HOME_BACKGROUND 527
#define IDB_HOME_PRINT 528
#define IDB_HOME_TEXT 529
#define IDB_HOME_IMAGES 530
#define IDB_HOME_NEW 593
#define IDB_HOME_FRAME 659
#define IDB_HOME_LOAD 691
#define IDB_HOME_PREVIEW 724
#define IDB_HOME_WEB 731

// Asks before printing, then prints; no control, menu or key of the program sends it.
#define ID_VIEW_ASK_PRINT 206

// Tracker cursors.
#define IDC_TRACK_MOVE_CTRL 130
#define IDC_TRACK_SHEAR_H 132
#define IDC_TRACK_SHEAR_V 133
#define IDC_TRACK_ROTATE 137
#define IDC_TRACK_PIVOT 138
