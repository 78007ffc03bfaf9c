// Resource ids of printing: the print dialog, the password dialog and the print
// preview tool bars of the other languages.
#pragma once

// The print dialog (a replacement template of the common print dialog).
#define IDD_PRINT_DIALOG 130
#define IDC_PRINT_OUTLINE 1011 // "Print Outline"
#define IDC_PRINT_INVERT 1176  // "Invert Print " (hidden)
#define IDC_PRINT_PRINTER_NAME 1291
#define IDC_PRINT_HADJUST_CAPTION 1299
#define IDC_PRINT_VADJUST_CAPTION 1300
#define IDC_PRINT_HADJUST_TEXT 1301 // "%dmm"
#define IDC_PRINT_VADJUST_TEXT 1302
#define IDC_PRINT_HBAR_PLACE 1007 // where the adjustment bars are created
#define IDC_PRINT_VBAR_PLACE 1008
#define IDC_PRINT_HBAR 101
#define IDC_PRINT_VBAR 102

// The password dialog.
#define IDD_PASSWORD 726
#define IDC_PASSWORD_TEXT 1293
#define IDC_PASSWORD_EDIT 1080

// Print preview tool bars: the layer's own (30723) serves English and every language
// without one of these.
#define IDD_PREVIEW_TOOLBAR_FRENCH 400
#define IDD_PREVIEW_TOOLBAR_GERMAN 401
#define IDD_PREVIEW_TOOLBAR_SPANISH 402
#define IDD_PREVIEW_TOOLBAR_ITALIAN 403
