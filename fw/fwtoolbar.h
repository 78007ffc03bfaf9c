// A tool bar over the system's tool-bar control: made as a child of a window, given its
// buttons by command id, and hit-tested by its buttons' rectangles. Only what the program's
// tooltip needs of a tool bar; the control paints and tracks itself.
#pragma once
#include "fw/fwwin.h"

class CToolBar : public CControlBar
{
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar() = default;
    // A child of the parent; the CBRS_ bits of the style's low word become the bar style.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS, UINT nID = 0xE800);
    // Buttons without pictures for these command ids (ID_SEPARATOR, 0, for a gap).
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    int GetCount() const;
    // The command id of a button, 0 for none.
    UINT GetItemID(int nIndex) const;
    // A button's rectangle in the bar's client coordinates (empty for none).
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override {}

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};
