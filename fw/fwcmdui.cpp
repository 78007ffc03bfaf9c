// Command enabling through the owner's message map, for popup menus.
#include "fw/fwwin.h"

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu)
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pMenu)
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
}

void CCmdUI::SetText(LPCTSTR lpszText)
{
    if (!m_pMenu || !lpszText)
        return;
    // The item keeps its id and state; only its text changes.
    MENUITEMINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<LPTSTR>(lpszText);
    ::SetMenuItemInfo(m_pMenu->GetSafeHmenu(), m_nIndex, TRUE, &info);
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    if (!pTarget || m_nID == 0)
        return FALSE;
    m_bEnableChanged = FALSE;
    BOOL handled = pTarget->OnCmdMsg(m_nID, MAKELONG(CN_UPDATE_COMMAND_UI, WM_COMMAND), this, nullptr);
    if (!handled && bDisableIfNoHandler && !m_bEnableChanged) {
        int asked = 0; // only asks whether a command handler exists
        Enable(pTarget->OnCmdMsg(m_nID, MAKELONG(CN_COMMAND, WM_COMMAND), nullptr, &asked));
    }
    return handled;
}

void FwUpdateMenuPopup(CCmdTarget* pTarget, CMenu* pPopup, BOOL bDisableIfNoHandler)
{
    if (!pTarget || !pPopup || !pPopup->GetSafeHmenu())
        return;
    CCmdUI state;
    state.m_pMenu = pPopup;
    state.m_nIndexMax = (UINT)pPopup->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        const UINT id = pPopup->GetMenuItemID((int)state.m_nIndex);
        if (id == 0 || id == (UINT)-1)
            continue; // a separator or a sub menu
        state.m_nID = id;
        state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
}
