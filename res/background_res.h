// Resource ids of the background tools: the Background menu and its panels, with the
// controls the panels share. Every id has its row in res/assets.csv.
#pragma once

#define IDD_BACKGROUND_MENU 30747
#define IDD_BACKGROUND_FILL 30744
// Panels of the Background menu that other parts of the program add.
#define IDD_BACKGROUND_IMAGE 30745
#define IDD_BACKGROUND_FRAMES 30748
#define IDD_BACKGROUND_DESIGNS 30767
#define IDD_BACKGROUND_CLONE 30771

// Every background panel's quick-links list.
#define IDC_QUICK_LINKS 1187

// The fill panel.
#define IDC_FILL_LINEAR 1011
#define IDC_FILL_RADIAL 1012
#define IDC_FILL_CLEAR 1015
#define IDC_FILL_SOLID 1016
#define IDC_FILL_ANGLE 1073
#define IDC_FILL_ADD_SWATCH 1091
#define IDC_FILL_REMOVE_SWATCH 1092
#define IDC_FILL_COLOUR1 1097
#define IDC_FILL_COLOUR2 1098
#define IDC_FILL_COLOUR3 1099
#define IDC_FILL_COLOUR4 1100
#define IDC_FILL_COLOUR5 1101
#define IDC_FILL_SWATCHES 1105
#define IDC_FILL_HIDDEN1 1188
#define IDC_FILL_HIDDEN2 1189
#define IDC_FILL_HIDDEN3 1190
#define IDC_FILL_HIDDEN4 1192
#define IDC_FILL_TRANSPARENCY_LABEL 1196
#define IDC_FILL_MARK_SOLID 1197
#define IDC_FILL_MARK_LINEAR 1198
#define IDC_FILL_MARK_RADIAL 1199
#define IDC_FILL_SWATCH_LABEL 1200
#define IDC_FILL_COLOUR_LABEL 1201
#define IDC_FILL_ANGLE_LABEL 1202
#define IDC_FILL_TRANSPARENCY_VALUE 1243
#define IDC_FILL_TRANSPARENCY_PLACE 1245
// The transparency bar made over its place.
#define IDC_FILL_TRANSPARENCY 101

// The design selection panel: two hidden labels and the sheet preview.
#define IDC_DESIGN_SELECTION_LABEL 1188
#define IDC_DESIGN_LINKS_LABEL 1192
// The clone panel: the labels over its two sheet previews, a hidden static, Clone.
#define IDC_CLONE_SOURCE_LABEL 1188
#define IDC_CLONE_DESTINATION_LABEL 1189
#define IDC_CLONE_HIDDEN 1192
#define IDC_CLONE 1222
// The sheet previews of both panels (the clone panel's two share it).
#define IDC_SHEET_PREVIEW 9007
// The picture panels (tiled background image, border image).
#define IDC_PICK_BROWSER 1005
#define IDC_PICK_CANCEL 1016
#define IDC_PICK_NEW 1042
#define IDC_PICK_DELETE 1221
#define IDC_BGIMAGE_ROTATION 1073
#define IDC_BGIMAGE_SIZE_PLACE 1107
#define IDC_BGIMAGE_TRANS_PLACE 1113
#define IDC_BGIMAGE_SIZE_VALUE 1191
#define IDC_BGIMAGE_TRANS_VALUE 1193
#define IDC_BGIMAGE_TRANS_LABEL 1247
#define IDC_BGIMAGE_SIZE_LABEL 1248
#define IDC_BGIMAGE_ANGLE_LABEL 1249
#define IDC_FRAMES_TITLE 1188
#define IDC_FRAMES_LINKS_TITLE 1192
// The bars made over their places.
#define IDC_BGIMAGE_SIZE 101
#define IDC_BGIMAGE_TRANS 102
