#include "ui/periphery/XHyperLink.h"

#include "base/OpenUrl.h"
#include "base/Sound.h"
#include "fw/fwselect.h"
#include "ui/XScrollBar.h"
#include "ui/periphery/XHyperLinkMessage.h"

BEGIN_MESSAGE_MAP(CXHyperLink, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_CONTROL_REFLECT(BN_CLICKED, &CXHyperLink::OnClicked)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CXHyperLink::CXHyperLink() = default;

CXHyperLink::~CXHyperLink()
{
    if (m_hLinkCursor != nullptr && m_bCursorOwned)
        ::DestroyCursor(m_hLinkCursor);
}

BOOL CXHyperLink::DestroyWindow() { return CStatic::DestroyWindow(); }

BOOL CXHyperLink::PreTranslateMessage(MSG* msg)
{
    if (m_bToolTip && m_ToolTip.m_hWnd != nullptr)
        m_ToolTip.RelayEvent(msg);
    return CStatic::PreTranslateMessage(msg);
}

void CXHyperLink::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY);
    if (m_strURL.IsEmpty())
        GetWindowText(m_strURL);
    CString text;
    GetWindowText(text);
    if (text.IsEmpty())
        CStatic::SetWindowText(m_strURL);

    HFONT font = (HFONT)SendMessage(WM_GETFONT);
    if (font == nullptr)
        font = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    if (font == nullptr)
        font = (HFONT)::GetStockObject(ANSI_VAR_FONT);
    LOGFONT lf = {};
    ::GetObject(font, sizeof(lf), &lf);
    lf.lfHeight = m_nFontHeight;
    m_NormalFont.DeleteObject();
    m_NormalFont.CreateFontIndirect(&lf);
    lf.lfUnderline = TRUE;
    lf.lfWeight = 800;
    lf.lfHeight = m_nFontHeight - 1;
    m_UnderlineFont.DeleteObject();
    m_UnderlineFont.CreateFontIndirect(&lf);

    PositionWindow();
    SetDefaultCursor();
    SetUnderline(-1);
    if (m_bToolTip) {
        CRect r;
        GetClientRect(&r);
        m_ToolTip.Create(this);
        m_ToolTip.AddTool(this, m_strURL, &r, 1);
    }
    CStatic::PreSubclassWindow();
}

void CXHyperLink::SetURL(LPCTSTR target)
{
    m_strURL = target != nullptr ? target : "";
    if (m_hWnd != nullptr) {
        PositionWindow();
        if (m_bToolTip && m_ToolTip.m_hWnd != nullptr)
            m_ToolTip.UpdateTipText(m_strURL, this, 1);
    }
}

void CXHyperLink::SetColours(COLORREF link, COLORREF visited, COLORREF hover)
{
    m_crLinkColour = link;
    m_crVisitedColour = visited;
    m_crHoverColour = hover == (COLORREF)-1 ? ::GetSysColor(COLOR_HIGHLIGHT) : hover;
    if (m_hWnd != nullptr)
        Invalidate();
}

void CXHyperLink::SetBackgroundColour(COLORREF colour)
{
    m_crBackground = colour;
    m_Brush.DeleteObject();
    m_Brush.CreateSolidBrush(colour);
}

void CXHyperLink::SetVisited(BOOL visited)
{
    m_bVisited = visited;
    if (m_hWnd != nullptr)
        Invalidate();
}

void CXHyperLink::SetLinkCursor(HCURSOR cursor)
{
    if (m_hLinkCursor != nullptr && m_bCursorOwned)
        ::DestroyCursor(m_hLinkCursor);
    m_hLinkCursor = cursor;
    m_bCursorOwned = false;
    if (m_hLinkCursor == nullptr)
        SetDefaultCursor();
}

void CXHyperLink::SetDefaultCursor()
{
    if (m_hLinkCursor != nullptr)
        return;
    m_hLinkCursor = CXScrollBar::FindHandCursor(AfxGetResourceHandle(), &m_bCursorOwned);
}

void CXHyperLink::SetUnderline(int mode)
{
    if (m_hWnd != nullptr) {
        SetFont(mode == 1 ? &m_UnderlineFont : &m_NormalFont, FALSE);
        Invalidate();
    }
    m_nUnderline = mode;
}

void CXHyperLink::SetAutoSize(BOOL autoSize)
{
    m_bAdjustToFit = autoSize;
    if (m_hWnd != nullptr)
        PositionWindow();
}

void CXHyperLink::SetWindowText(LPCTSTR text)
{
    if (text == nullptr)
        return;
    CStatic::SetWindowText("");
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    CStatic::SetWindowText(text);
    PositionWindow();
}

COLORREF CXHyperLink::CurrentTextColour() const
{
    if (m_bOverControl)
        return m_crHoverColour;
    return m_bVisited ? m_crVisitedColour : m_crLinkColour;
}

void CXHyperLink::PositionWindow()
{
    if (!m_bAdjustToFit || m_hWnd == nullptr)
        return;
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    CWnd* parent = GetParent();
    if (parent != nullptr)
        parent->ScreenToClient(&window);

    CString text;
    GetWindowText(text);
    SIZE extent = {};
    HDC dc = ::GetDC(m_hWnd);
    {
        CSelectGuard font(dc, m_UnderlineFont.GetSafeHandle());
        ::GetTextExtentPoint32(dc, text, text.GetLength(), &extent);
    }
    ::ReleaseDC(m_hWnd, dc);
    const int width = extent.cx + window.Width() - client.Width();
    const int height = extent.cy + window.Height() - client.Height();

    const DWORD style = GetStyle();
    if (style & SS_CENTERIMAGE) {
        const int dy = (window.Height() - height) / 2;
        window.top += dy;
    }
    window.bottom = window.top + height;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        window.left += (window.Width() - width) / 2;
        window.right = window.left + width;
        break;
    case SS_RIGHT:
        window.left = window.right - width;
        break;
    default:
        window.right = window.left + width;
        break;
    }
    SetWindowPos(nullptr, window.left, window.top, window.Width(), window.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH CXHyperLink::CtlColor(CDC* dc, UINT)
{
    dc->SetTextColor(CurrentTextColour());
    dc->SetBkMode(TRANSPARENT);
    if (m_Brush.GetSafeHandle() != nullptr) {
        dc->SetBkColor(m_crBackground);
        return (HBRUSH)m_Brush.GetSafeHandle();
    }
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}

BOOL CXHyperLink::OnEraseBkgnd(CDC* dc)
{
    CRect r;
    GetClientRect(&r);
    dc->FillSolidRect(&r, m_crBackground == (COLORREF)-1 ? ::GetSysColor(COLOR_3DFACE) : m_crBackground);
    return TRUE;
}

void CXHyperLink::OnMouseMove(UINT flags, CPoint point)
{
    if (!m_bOverControl) {
        m_bOverControl = TRUE;
        Invalidate();
        SetTimer(m_nTimerID, 100);
    }
    CStatic::OnMouseMove(flags, point);
}

void CXHyperLink::OnTimer(UINT_PTR id)
{
    if (id != m_nTimerID) {
        CStatic::OnTimer(id);
        return;
    }
    const DWORD at = ::GetMessagePos();
    POINT pt = {(short)LOWORD(at), (short)HIWORD(at)};
    ScreenToClient(&pt);
    CRect r;
    GetClientRect(&r);
    if (r.PtInRect(pt))
        return;
    m_bOverControl = FALSE;
    KillTimer(m_nTimerID);
    if (m_nUnderline != 1)
        SetFont(&m_NormalFont, FALSE);
    r.bottom += 10;
    InvalidateRect(&r);
}

BOOL CXHyperLink::OnSetCursor(CWnd*, UINT, UINT)
{
    if (m_hLinkCursor == nullptr)
        return FALSE;
    ::SetCursor(m_hLinkCursor);
    return TRUE;
}

void CXHyperLink::OnClicked()
{
    m_bOverControl = FALSE;
    const INT_PTR result = m_bGotoURLOnClick ? GotoURL(m_strURL, SW_SHOW, m_bNewWindow) : 33;
    if (result > 32)
        SetVisited(TRUE);
    else
        AppBeep(MB_ICONEXCLAMATION);
    if (m_bNotifyParent) {
        CWnd* parent = GetParent();
        if (parent != nullptr)
            parent->SendMessage(WM_XHYPERLINK_NOTIFY, 0, (LPARAM)m_hWnd);
    }
}

INT_PTR CXHyperLink::GotoURL(LPCTSTR target, int showCommand, BOOL)
{
    if (target == nullptr || *target == 0)
        return 36;
    // One road for every address of the program: quoted, and refused when unsafe.
    return OpenUrl(target, showCommand);
}
