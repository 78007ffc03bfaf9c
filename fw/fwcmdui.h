// Command enabling: a CCmdUI stands for one command (a menu item) while its owner decides
// whether it is enabled, checked or renamed, through ON_UPDATE_COMMAND_UI entries.
//
// The rule it keeps: the owner's map answers first; a command that no update entry answers
// is disabled only when asked to and when no command handler exists for it either, so a
// plain ON_COMMAND keeps its item usable, as a frame window's menus behave.
#pragma once
#include "fw/fwwnd.h"
#include "fw/fwctl.h"

class CCmdUI
{
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0;        // the item's position in m_pMenu
    UINT m_nIndexMax = 0;     // the number of items of m_pMenu
    CMenu* m_pMenu = nullptr; // the popup menu being updated (or none)
    BOOL m_bEnableChanged = FALSE;

    virtual void Enable(BOOL bOn = TRUE);
    // 0 unchecked, 1 checked (2 is shown as checked: menus have no third state).
    virtual void SetCheck(int nCheck = 1);
    virtual void SetText(LPCTSTR lpszText);

    // Asks pTarget's map for the command's state; TRUE when an update handler ran.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);
};

// Runs the command update of every command item of a popup menu against pTarget, the
// way a frame window does on WM_INITMENUPOPUP (separators and sub menus are left alone).
void FwUpdateMenuPopup(CCmdTarget* pTarget, CMenu* pPopup, BOOL bDisableIfNoHandler);
