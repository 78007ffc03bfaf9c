// Resource ids of the Frame menu: the host and its frame panel, the frame-style thumbnails.
// Every id has its row in res/assets.csv.
#pragma once

#define IDD_FRAME_MENU 30776
#define IDD_FRAME_PANEL 30777
// The Frame menu's other panels.
#define IDD_FRAME_FILL 30778
#define IDD_FRAME_IMAGE_FILL 30779

// The frame panel (the quick-links list is IDC_QUICK_LINKS, 1187, as in every panel).
#define IDC_FRAME_STYLE_HEADING 1189
#define IDC_FRAME_LINKS_HEADING 1192
#define IDC_FRAME_LIST 1194
#define IDC_FRAME_SIZE_LABEL 1199
#define IDC_FRAME_INTENSITY_LABEL 1200
#define IDC_FRAME_REMOVE 1221
#define IDC_FRAME_SIZE_PLACE 1247
#define IDC_FRAME_SIZE_VALUE 1248
#define IDC_FRAME_INTENSITY_PLACE 1249
#define IDC_FRAME_INTENSITY_VALUE 1250
#define IDC_FRAME_STYLES_LABEL 1285
// The bars made over their places.
#define IDC_FRAME_SIZE 103
#define IDC_FRAME_INTENSITY 104

// The thumbnails of the frame styles: style 1 is 660, style k from 2 on is 672 + k.
#define IDB_FRAME_STYLE_1 660
#define IDB_FRAME_STYLE_2 674
#define IDB_FRAME_STYLE_3 675
#define IDB_FRAME_STYLE_4 676
#define IDB_FRAME_STYLE_5 677
#define IDB_FRAME_STYLE_6 678
#define IDB_FRAME_STYLE_7 679
#define IDB_FRAME_STYLE_8 680
#define IDB_FRAME_STYLE_9 681
#define IDB_FRAME_STYLE_10 682
#define IDB_FRAME_STYLE_11 683
#define IDB_FRAME_STYLE_12 684
#define IDB_FRAME_STYLE_13 685
#define IDB_FRAME_STYLE_14 686
