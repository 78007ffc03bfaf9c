// A static control that behaves as a link: its text in the link, visited or hover colour, a
// hand over it, sized to its text, and a click that opens its target and tells the parent.
//
// The rules it keeps: the target is opened only through OpenUrl (quoted, refused when it
// could break out of the quotes); the parent hears of every click, also a failed one, by
// WM_APP+2 with the control's window; the fonts, brush and any copied cursor it makes are
// its own and freed once.
#pragma once
#include "fw/fwwin.h"

// Sent (not posted) to the parent after a click: wParam 0, lParam the control's window.
const UINT WM_XHYPERLINK_NOTIFY = WM_APP + 2;

class CXHyperLink : public CStatic
{
public:
    CXHyperLink();
    ~CXHyperLink() override;

    void SetURL(LPCTSTR target);
    CString GetURL() const { return m_strURL; }
    // A hover colour of -1 is the system's highlight colour.
    void SetColours(COLORREF link, COLORREF visited, COLORREF hover = (COLORREF)-1);
    void SetBackgroundColour(COLORREF colour);
    void SetVisited(BOOL visited = TRUE);
    BOOL GetVisited() const { return m_bVisited; }
    BOOL IsHovering() const { return m_bOverControl; }
    // A null cursor takes the program's hand. The caller keeps a cursor it gives.
    void SetLinkCursor(HCURSOR cursor);
    HCURSOR GetLinkCursor() const { return m_hLinkCursor; }
    // 1: the underline font; anything else: the normal one.
    void SetUnderline(int mode);
    void SetAutoSize(BOOL autoSize = TRUE);
    // Clears the control at once, then shows the text and sizes the control to it.
    void SetWindowText(LPCTSTR text);
    // The colour the text is drawn in now.
    COLORREF CurrentTextColour() const;
    const CFont& NormalFont() const { return m_NormalFont; }
    const CFont& UnderlineFont() const { return m_UnderlineFont; }

    // Opens the target: 36 for an empty one (nothing to open counts as done), else what
    // OpenUrl returns (above 32: opened).
    static INT_PTR GotoURL(LPCTSTR target, int showCommand, BOOL newWindow);

    enum : UINT_PTR { kHoverTimer = 100 };

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL DestroyWindow() override;

protected:
    void PreSubclassWindow() override;
    HBRUSH CtlColor(CDC* dc, UINT ctlColor);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnMouseMove(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    void OnClicked();
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    void PositionWindow();
    void SetDefaultCursor();

    COLORREF m_crLinkColour = RGB(0, 0, 238);
    COLORREF m_crVisitedColour = RGB(85, 26, 139);
    COLORREF m_crHoverColour = RGB(255, 0, 0);
    COLORREF m_crBackground = (COLORREF)-1;
    CBrush m_Brush;
    BOOL m_bOverControl = FALSE;
    BOOL m_bVisited = FALSE;
    int m_nUnderline = -1;
    BOOL m_bAdjustToFit = TRUE;
    CString m_strURL;
    CFont m_UnderlineFont;
    CFont m_NormalFont;
    HCURSOR m_hLinkCursor = nullptr;
    bool m_bCursorOwned = false;
    CToolTipCtrl m_ToolTip;
    const UINT_PTR m_nTimerID = kHoverTimer;
    const BOOL m_bGotoURLOnClick = TRUE;
    const BOOL m_bNotifyParent = TRUE;
    const BOOL m_bToolTip = FALSE;
    const BOOL m_bNewWindow = FALSE;
    const int m_nFontHeight = -14;
};
