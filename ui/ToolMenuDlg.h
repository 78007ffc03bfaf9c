// A docked tool menu (the Background and Frame menus): a menu-style host whose skinned Back,
// Next and Close buttons report through WM_HOST_BUTTON, and whose title static is black.
//
// The rules it keeps: Back by either of its ids goes back a page and keeps Finish enabled;
// a host button runs Next, Back or Finish by which button sent it, and nothing for another.
#pragma once
#include "ui/MenuHostDlg.h"

class CToolMenuDlg : public CMenuHostDlg
{
public:
    CToolMenuDlg(UINT templateId, CWnd* parent);

protected:
    void OnBackCommand();
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    LRESULT OnHostButton(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CStatic m_title;
};
