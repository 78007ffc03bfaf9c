#include "ui/LineStatic.h"

#include "ui/Skin.h"

#include <memory>

BEGIN_MESSAGE_MAP(CLineStatic, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CLineStatic::SetHighlight(BOOL lit)
{
    m_bHighlight = lit ? TRUE : FALSE;
    if (m_hWnd != nullptr)
        Invalidate();
}

void CLineStatic::OnPaint()
{
    CPaintDC dc(this);
    CString text;
    GetWindowText(text);
    CRect r;
    GetClientRect(&r);
    HGDIOBJ font = (HGDIOBJ)SendMessage(WM_GETFONT);
    std::unique_ptr<CSelectGuard> fontGuard;
    if (font != nullptr)
        fontGuard.reset(new CSelectGuard(dc.m_hDC, font));
    const int oldMode = dc.SetBkMode(TRANSPARENT);

    const CSize extent = dc.GetTextExtent(text);
    const int cx = extent.cx, h = extent.cy / 2;
    const DWORD style = GetStyle();
    int textTop = r.top, ruleY = h;
    if (style & SS_CENTERIMAGE) {
        textTop = r.CenterPoint().y - h;
        ruleY = r.CenterPoint().y;
    }
    int textX = r.left;
    {
        CPen dotted(PS_DOT, 1, kSkinLineGreen);
        CSelectGuard pen(&dc, &dotted);
        auto rule = [&](int from, int to) {
            dc.MoveTo(from, ruleY);
            dc.LineTo(to, ruleY);
        };
        switch (style & 3) {
        case SS_CENTER:
            rule(r.left, r.left + 10);
            textX = h + 10;
            rule(r.right - (r.Width() - cx - 2 * h - 10), r.right);
            break;
        case SS_RIGHT:
            textX = r.right - cx;
            rule(r.left, r.right - (cx + h));
            break;
        default:
            rule(r.left + cx + h, r.right);
            break;
        }
    }
    m_crText = m_bHighlight ? kSkinTextYellow : kSkinLineGreen;
    dc.SetTextColor(m_crText);
    dc.TextOut(textX, textTop, text);
    dc.SetBkMode(oldMode);
}

BEGIN_MESSAGE_MAP(CTipSliderCtrl, CSliderCtrl)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CString CTipSliderCtrl::FormatValue(const CString& caption, int kind, int position)
{
    CString text;
    switch (kind) {
    case kPoints:
        text.Format("%s:%dpt", (LPCTSTR)caption, position);
        break;
    case kPercentFloat:
        text.Format("%s:%0.0f%%", (LPCTSTR)caption, (double)position);
        break;
    default:
        text.Format("%s:%d%%", (LPCTSTR)caption, position);
        break;
    }
    return text;
}

void CTipSliderCtrl::SetValueCaption(const CString& caption, int kind)
{
    m_caption = caption;
    m_nKind = kind;
}

void CTipSliderCtrl::ShowTip(const CString& text)
{
    if (m_tip.m_hWnd == nullptr) {
        if (!m_tip.Create(this))
            return;
        TOOLINFO tool = {};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
        tool.hwnd = m_hWnd;
        tool.uId = 1;
        tool.lpszText = const_cast<LPTSTR>("");
        m_tip.SendMessage(TTM_ADDTOOL, 0, (LPARAM)&tool);
        m_tip.SetMaxTipWidth(400);
    }
    m_tip.UpdateTipText(text, this, 1);
    TOOLINFO tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_hWnd;
    tool.uId = 1;
    // The value follows the pointer while the thumb is dragged (the slider holds the capture).
    const BOOL dragging = ::GetCapture() == m_hWnd;
    if (dragging) {
        POINT at;
        ::GetCursorPos(&at);
        m_tip.SendMessage(TTM_TRACKPOSITION, 0, MAKELPARAM(at.x + 16, at.y + 16));
    }
    m_tip.SendMessage(TTM_TRACKACTIVATE, dragging, (LPARAM)&tool);
}

void CTipSliderCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client, channel, thumb;
    GetClientRect(&client);
    SendMessage(TBM_GETCHANNELRECT, 0, (LPARAM)&channel);
    SendMessage(TBM_GETTHUMBRECT, 0, (LPARAM)&thumb);
    CBrush back(kSkinBlue), groove(kSkinSliderChannel), knob(kSkinSliderThumb);
    CPen edge(PS_SOLID, 1, kSkinSliderEdge);
    dc.FillRect(client, &back);
    {
        CSelectGuard pen(&dc, &edge);
        CSelectGuard fill(&dc, &groove);
        dc.RoundRect(channel, CPoint(4, 4));
    }
    {
        CSelectGuard pen(&dc, &edge);
        CSelectGuard fill(&dc, &knob);
        dc.RoundRect(thumb, CPoint(4, 4));
    }
    m_nLastPos = GetPos();
    ShowTip(FormatValue(m_caption, m_nKind, m_nLastPos));
}

BOOL CTipSliderCtrl::PreTranslateMessage(MSG* msg)
{
    if (m_tip.m_hWnd != nullptr && msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST)
        m_tip.RelayEvent(msg);
    return CSliderCtrl::PreTranslateMessage(msg);
}
