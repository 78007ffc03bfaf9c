#include "ui/periphery/RotBevelLine.h"

#include "ui/periphery/Rot90DC.h"

IMPLEMENT_DYNAMIC(cdxCRotBevelLine, CStatic)

BEGIN_MESSAGE_MAP(cdxCRotBevelLine, CStatic)
    ON_WM_PAINT()
    ON_WM_ENABLE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

// Put between the caption and the line on the sides where the line goes on.
const char kPadding[] = "  ";

} // namespace

cdxCRotBevelLine::cdxCRotBevelLine()
    : m_bSunken(TRUE), m_clrBack(::GetSysColor(COLOR_3DFACE)), m_clrCaption(::GetSysColor(COLOR_BTNTEXT))
{}

void cdxCRotBevelLine::Changed()
{
    if (m_hWnd != nullptr)
        Invalidate(FALSE);
}

void cdxCRotBevelLine::SetSunken(bool sunken)
{
    m_bSunken = sunken ? TRUE : FALSE;
    Changed();
}

void cdxCRotBevelLine::SetBackColour(COLORREF colour)
{
    m_clrBack = colour;
    Changed();
}

void cdxCRotBevelLine::SetCaptionColour(COLORREF colour)
{
    m_clrCaption = colour;
    Changed();
}

BOOL cdxCRotBevelLine::OnEraseBkgnd(CDC*) { return TRUE; }

void cdxCRotBevelLine::OnEnable(BOOL)
{
    SendMessage(WM_SETREDRAW, FALSE);
    Default();
    SendMessage(WM_SETREDRAW, TRUE);
    Invalidate(FALSE);
}

void cdxCRotBevelLine::DrawCaption(CDC& dc, CRect rect, const CString& text, CFont& font)
{
    CFont* oldFont = dc.SelectObject(&font);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc.GetTextColor();
    const UINT format = DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER;
    if (GetStyle() & WS_DISABLED) {
        CRect lit(rect);
        lit.OffsetRect(1, 1);
        dc.SetTextColor(::GetSysColor(COLOR_3DHIGHLIGHT));
        dc.DrawText(text, &lit, format);
        dc.SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
    } else
        dc.SetTextColor(m_clrCaption);
    dc.DrawText(text, &rect, format);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
    dc.SelectObject(oldFont);
}

void cdxCRotBevelLine::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CFont* windowFont = GetFont();
    CFont* oldFont = windowFont != nullptr ? dc.SelectObject(windowFont) : nullptr;
    dc.FillSolidRect(&client, m_clrBack);

    const bool horizontal = client.Width() > client.Height();
    CRect line(client);
    if (horizontal) {
        line.top = client.top + client.Height() / 2 - 1;
        line.bottom = line.top + 2;
    } else {
        line.left = client.left + client.Width() / 2 - 1;
        line.right = line.left + 2;
    }
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    dc.Draw3dRect(&line, m_bSunken ? shadow : light, m_bSunken ? light : shadow);

    CString text;
    GetWindowText(text);
    if (!text.IsEmpty()) {
        int angle = horizontal ? 0 : 90;
        if (text[0] == '~') {
            text = text.Mid(1);
            if (!horizontal)
                angle = 270;
        }
        UINT align = GetStyle() & SS_TYPEMASK;
        if (align != SS_CENTER && align != SS_RIGHT)
            align = SS_LEFT;
        if (align != SS_LEFT)
            text = CString(kPadding) + text;
        if (align != SS_RIGHT)
            text += kPadding;

        CFont font;
        font.CreateFont(-14, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, "Arial");
        CRect measure(0, 0, 0, 0);
        {
            CFont* before = dc.SelectObject(&font);
            dc.DrawText(text, &measure, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
            dc.SelectObject(before);
        }
        const int cx = measure.Width();
        const int cy = measure.Height();
        CRect caption;
        if (angle == 0) {
            caption.top = line.top - cy / 2 - 2;
            caption.bottom = caption.top + cy;
            caption.left = align == SS_LEFT     ? line.left
                           : align == SS_CENTER ? line.left + (line.Width() - cx) / 2
                                                : line.right - cx;
            caption.right = caption.left + cx;
        } else {
            caption.left = line.left - cy / 2 + (angle == 90 ? -1 : 1);
            caption.right = caption.left + cy;
            // Turned 90 degrees the text runs upwards, so its start lies at the bottom.
            const bool fromTop = angle == 90 ? align == SS_RIGHT : align == SS_LEFT;
            if (align == SS_CENTER)
                caption.top = line.top + (line.Height() - cx) / 2;
            else
                caption.top = fromTop ? line.top : line.bottom - cx;
            caption.bottom = caption.top + cx;
        }
        caption.bottom += 1;
        if (align == SS_RIGHT)
            caption.left -= 1;
        dc.FillSolidRect(&caption, m_clrBack);
        if (angle == 0)
            DrawCaption(dc, caption, text, font);
        else {
            cdxCRot90DC rot(&dc, &caption, angle, true);
            if (rot.IsCreated())
                DrawCaption(rot, rot.GetRotRect(), text, font);
        }
    }
    if (oldFont != nullptr)
        dc.SelectObject(oldFont);
}
