// Resource ids of the help and link controls' test dialogs.
#pragma once

#define IDD_T_HTML_GALLERY 9700
#define IDC_T_HTML 9701
#define IDC_T_LINK_PLAIN 9702
#define IDC_T_LINK_RIGHT 9703
#define IDC_T_LINK_EMPTY 9704
#define IDC_T_LINK_HOVER 9705
#define IDC_T_LINK_VISITED 9706
