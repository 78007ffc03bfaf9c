// Resource ids of the toolkit's small information dialogs (res/periphery_ctl.rc).  Every id
// has its row in res/assets.csv.
#pragma once

#define IDD_SUPPORT_DLG 30783
#define IDD_INFO_DLG 182

#define IDC_SUPPORT_TEXT 1010
#define IDC_SUPPORT_IMAGE 1011
#define IDC_INFO_TEXT 1089
