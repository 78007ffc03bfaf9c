#include "ui/HoverButton.h"

#include "ui/ColourHls.h"
#include "ui/DrawTools.h"
#include "ui/Skin.h"

void CHoverTracker::Set(HWND wnd, WORD flags)
{
    m_hWnd = wnd;
    m_flags = flags;
}

void CHoverTracker::Changed()
{
    if (m_hWnd == nullptr)
        return;
    if (m_flags & kInvalidate)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    if (m_flags & kFrameChanged)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void CHoverTracker::Track(HWND target, DWORD flags)
{
    TRACKMOUSEEVENT tme = {sizeof tme, flags, target, HOVER_DEFAULT};
    ::TrackMouseEvent(&tme);
}

BOOL CHoverTracker::OnMouseMove(HWND target)
{
    if (target == nullptr)
        target = m_hWnd;
    if (!m_bHover) {
        m_bHover = TRUE;
        Changed();
        m_hTracked = target;
        Track(target, TME_LEAVE);
        return TRUE;
    }
    if (target != m_hTracked) {
        Track(m_hTracked, TME_LEAVE | TME_CANCEL);
        Track(target, TME_LEAVE);
        m_hTracked = target;
    }
    return FALSE;
}

BOOL CHoverTracker::OnMouseLeave(HWND target)
{
    if (target == nullptr)
        target = m_hWnd;
    if (target != m_hTracked)
        return FALSE;
    m_bHover = FALSE;
    Changed();
    return TRUE;
}

BEGIN_MESSAGE_MAP(CHoverButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

void CHoverButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    ModifyStyle(0, BS_OWNERDRAW);
    m_tracker.Set(m_hWnd, CHoverTracker::kInvalidate);
}

void CHoverButton::OnMouseMove(UINT flags, CPoint point)
{
    CButton::OnMouseMove(flags, point);
    m_tracker.OnMouseMove();
}

void CHoverButton::OnMouseLeave() { m_tracker.OnMouseLeave(); }

void CHoverButton::DrawItem(LPDRAWITEMSTRUCT item)
{
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    const bool focused = (item->itemState & ODS_FOCUS) != 0;
    const bool disabled = (item->itemState & ODS_DISABLED) != 0;
    const bool hovered = IsHovering() != FALSE;

    CMemoryBufferDC dc(item->hDC, CRect(0, 0, 0, 0));
    CRect r(item->rcItem);
    CSelectGuard font(dc.m_hDC, ::GetStockObject(DEFAULT_GUI_FONT));

    COLORREF pen, brush, text;
    if (disabled || (!hovered && !selected)) {
        pen = ::GetSysColor(COLOR_BTNSHADOW);
        brush = AdjustColourHls(::GetSysColor(COLOR_BTNFACE), -10, 0);
    } else {
        pen = ::GetSysColor(COLOR_HIGHLIGHT);
        brush = selected ? AdjustColourHls(::GetSysColor(COLOR_HIGHLIGHT), 50, -50)
                         : AdjustColourHls(::GetSysColor(COLOR_HIGHLIGHT), 80, -66);
    }
    if (disabled)
        text = ::GetSysColor(COLOR_GRAYTEXT);
    else if (selected)
        text = kSkinPressedText;
    else if (hovered)
        text = kSkinBlack;
    else
        text = ::GetSysColor(COLOR_BTNTEXT);

    {
        CPenSelector penSel(dc.m_hDC, pen);
        CBrushSelector brushSel(dc.m_hDC, brush);
        dc.Rectangle(r);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(text);
        CString caption;
        GetWindowText(caption);
        dc.DrawText(caption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (focused) {
            CRect focus = r;
            focus.DeflateRect(2, 2);
            dc.DrawFocusRect(focus);
        }
    }
}
