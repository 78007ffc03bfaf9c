// The drawer's hyperlinks: the areas a drawing pass leaves, hover tracking with its repaint
// notification, clicks, and the link cursor.
#include "html/HtmlDrawer.h"
#include "base/OpenUrl.h"
#include "fw/fwcursor.h"

namespace {

// The program's hand, as every control shows it; a copy that the caller destroys.
HCURSOR LoadDefaultLinkCursor()
{
    bool copied = false;
    HCURSOR hand = FwFindHandCursor(::GetModuleHandle(nullptr), &copied);
    if (copied || hand == nullptr)
        return hand;
    return (HCURSOR)::CopyIcon((HICON)hand);
}

} // namespace

void CPPHtmlDrawer::SetHyperlinkCursor(HCURSOR cursor)
{
    if (cursor && cursor == m_linkCursor)
        return;
    if (m_linkCursor)
        ::DestroyCursor(m_linkCursor);
    m_linkCursor = cursor ? cursor : LoadDefaultLinkCursor();
}

void CPPHtmlDrawer::SetCallbackRepaint(HWND wnd, UINT message, LPARAM lParam)
{
    m_repaintWnd = wnd;
    m_repaintMessage = wnd ? message : 0;
    m_repaintLParam = wnd ? lParam : 0;
}

void CPPHtmlDrawer::SetCallbackHyperlink(HWND wnd, UINT message, LPARAM lParam)
{
    m_linkWnd = wnd;
    m_linkMessage = wnd ? message : 0;
    m_linkLParam = wnd ? lParam : 0;
}

void CPPHtmlDrawer::Notify(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (wnd && message)
        ::SendMessage(wnd, message, wParam, lParam);
}

void CPPHtmlDrawer::AddHotArea(int left, int top, int right, int bottom)
{
    if (m_style.linkKind == PPHtmlStyle::LINK_NONE)
        return;
    HotArea area;
    area.rect = RECT{left, top, right, bottom};
    area.kind = m_style.linkKind;
    area.number = m_linkCounter;
    area.text = m_style.linkText;
    m_hotAreas.push_back(area);
}

int CPPHtmlDrawer::FindHotArea(POINT pt) const
{
    for (size_t i = 0; i < m_hotAreas.size(); ++i) {
        const RECT& r = m_hotAreas[i].rect;
        if (pt.x >= r.left && pt.x <= r.right && pt.y >= r.top && pt.y <= r.bottom)
            return (int)i;
    }
    return -1;
}

BOOL CPPHtmlDrawer::OnSetCursor(POINT pt)
{
    const int index = FindHotArea(pt);
    if (index < 0) {
        if (m_hoverLink != -2) {
            m_hoverLink = -2;
            Notify(m_repaintWnd, m_repaintMessage, (WPARAM)(INT_PTR)-2, m_repaintLParam);
        }
        return FALSE;
    }
    // Read before the notification: its target may draw again and rebuild the areas.
    const int number = m_hotAreas[(size_t)index].number;
    const bool hasText = !m_hotAreas[(size_t)index].text.IsEmpty();
    if (m_hoverLink != number) {
        m_hoverLink = number;
        Notify(m_repaintWnd, m_repaintMessage, (WPARAM)(INT_PTR)number, m_repaintLParam);
    }
    if (hasText && m_linkCursor) {
        ::SetCursor(m_linkCursor);
        return TRUE;
    }
    return FALSE;
}

void CPPHtmlDrawer::JumpToHyperlink(POINT pt)
{
    const int index = FindHotArea(pt);
    if (index < 0)
        return;
    // A copy: the target of the notification may draw again and rebuild the areas.
    const HotArea area = m_hotAreas[(size_t)index];
    if (area.text.IsEmpty())
        return;
    if (area.kind == PPHtmlStyle::LINK_ADDRESS)
        GotoURL(area.text, SW_SHOW);
    else if (area.kind == PPHtmlStyle::LINK_MESSAGE)
        Notify(m_linkWnd, m_linkMessage, (WPARAM)(LPCTSTR)area.text, m_linkLParam);
}

INT_PTR CPPHtmlDrawer::GotoURL(LPCTSTR url, int showCmd)
{
    SetHyperlinkCursor(nullptr);
    return OpenUrl(url, showCmd);
}
