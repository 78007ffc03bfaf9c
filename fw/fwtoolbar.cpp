#include "fw/fwtoolbar.h"

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    ::InitCommonControls();
    m_dwStyle = dwStyle & 0xFFFF;
    const DWORD windowStyle = (dwStyle & 0xFFFF0000) | TBSTYLE_FLAT | CCS_NODIVIDER |
                              ((m_dwStyle & CBRS_ALIGN_BOTTOM) ? CCS_BOTTOM : CCS_TOP);
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAME, nullptr, windowStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    while (GetCount() > 0)
        SendMessage(TB_DELETEBUTTON, 0);
    for (int i = 0; i < nIDCount && lpIDArray; ++i) {
        TBBUTTON button = {};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = (int)lpIDArray[i];
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = lpIDArray[i] ? BTNS_BUTTON : BTNS_SEP;
        if (!SendMessage(TB_ADDBUTTONS, 1, (LPARAM)&button))
            return FALSE;
    }
    SendMessage(TB_AUTOSIZE);
    return TRUE;
}

int CToolBar::GetCount() const { return (int)SendMessage(TB_BUTTONCOUNT); }

UINT CToolBar::GetItemID(int nIndex) const
{
    TBBUTTON button = {};
    if (!SendMessage(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&button))
        return 0;
    return (UINT)button.idCommand;
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!SendMessage(TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)lpRect))
        ::SetRectEmpty(lpRect);
}

// The control draws its own face and buttons.
void CToolBar::OnPaint() { Default(); }

BOOL CToolBar::OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
