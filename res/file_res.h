// Resource ids of the design file and of the dialog "Files" that opens and saves it. Every
// id has its row in res/assets.csv.
#pragma once

#define IDS_DESIGN_VERSION 4302

#define IDD_FILES 652
// The skinned save-as and snapshot buttons.
#define IDC_FILES_SAVE_AS 1031
#define IDC_FILES_SNAPSHOT 1032
// The file browser pane, made over the template.
#define IDC_FILES_PANE 1005
// Commands that switch the dialog to opening (1022) and to saving to the design's path (1044).
#define ID_FILES_OPEN_MODE 1022
#define ID_FILES_SAVE_MODE 1044
