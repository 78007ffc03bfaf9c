#include "ui/periphery/DialSliderCtrl.h"

#include <algorithm>
#include <cmath>
#include <memory>

using namespace Gdiplus;

BEGIN_MESSAGE_MAP(CDialSliderCtrl, CSliderCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

namespace {

const double kPi = 3.14159265358979323846;

Color Opaque(COLORREF c) { return Color(255, GetRValue(c), GetGValue(c), GetBValue(c)); }

} // namespace

CDialSliderCtrl::CDialSliderCtrl()
    : m_clrFace(Opaque(::GetSysColor(COLOR_BTNFACE))), m_clrBackground(Opaque(::GetSysColor(COLOR_BTNFACE))),
      m_clrOutline(Color(0xFF000000))
{}

CDialSliderCtrl::~CDialSliderCtrl()
{
    if (m_hIcon != nullptr)
        ::DestroyIcon(m_hIcon);
    if (m_dcBk.GetSafeHdc() != nullptr && m_bmpBkOld != nullptr)
        ::SelectObject(m_dcBk.GetSafeHdc(), m_bmpBkOld);
    m_bmpBk.DeleteObject();
    m_dcBk.DeleteDC();
}

Color CDialSliderCtrl::Lighten(const Color& colour, int d)
{
    if (d < -255 || d > 255)
        return colour;
    const int r = colour.GetR(), g = colour.GetG(), b = colour.GetB();
    if (d > 0)
        d = std::min(d, 255 - std::max(r, std::max(g, b)));
    else
        d = std::max(d, -std::min(r, std::min(g, b)));
    return Color(colour.GetA(), (BYTE)(r + d), (BYTE)(g + d), (BYTE)(b + d));
}

void CDialSliderCtrl::Repaint(BOOL repaint)
{
    if (repaint && m_hWnd != nullptr)
        Invalidate(FALSE);
}

void CDialSliderCtrl::SetFaceColor(COLORREF colour, BOOL repaint)
{
    m_clrFace = Color(m_clrFace.GetA(), GetRValue(colour), GetGValue(colour), GetBValue(colour));
    Repaint(repaint);
}

void CDialSliderCtrl::SetBackgroundColor(COLORREF colour, BOOL repaint)
{
    m_clrBackground = Opaque(colour);
    Repaint(repaint);
}

void CDialSliderCtrl::SetColors(COLORREF face, COLORREF background, BOOL repaint)
{
    SetFaceColor(face, FALSE);
    SetBackgroundColor(background, repaint);
}

void CDialSliderCtrl::SetOutlineColor(COLORREF colour, BOOL repaint)
{
    m_clrOutline = Color(m_clrOutline.GetA(), GetRValue(colour), GetGValue(colour), GetBValue(colour));
    Repaint(repaint);
}

void CDialSliderCtrl::SetAlpha(BYTE alpha, BOOL repaint)
{
    m_clrFace = Color(alpha, m_clrFace.GetR(), m_clrFace.GetG(), m_clrFace.GetB());
    m_clrOutline = Color(alpha, m_clrOutline.GetR(), m_clrOutline.GetG(), m_clrOutline.GetB());
    Repaint(repaint);
}

COLORREF CDialSliderCtrl::GetFaceColor() const { return m_clrFace.ToCOLORREF(); }

void CDialSliderCtrl::SetMajorTicks(BOOL on, BOOL repaint)
{
    m_bMajorTicks = on;
    Repaint(repaint);
}

void CDialSliderCtrl::SetMinorTicks(BOOL on, BOOL repaint)
{
    m_bMinorTicks = on;
    Repaint(repaint);
}

void CDialSliderCtrl::SetMinorTickStep(int step, BOOL repaint)
{
    m_nMinorStep = step;
    Repaint(repaint);
}

void CDialSliderCtrl::SetMajorTickStep(int step, BOOL repaint)
{
    m_nMajorStep = step;
    Repaint(repaint);
}

int CDialSliderCtrl::SetIcon(UINT id, BOOL repaint, HINSTANCE instance)
{
    if (instance == nullptr)
        instance = FwGetResourceHandle();
    HICON icon = (HICON)::LoadImage(instance, MAKEINTRESOURCE(id), IMAGE_ICON, 0, 0, 0);
    return SetIcon(icon, repaint);
}

int CDialSliderCtrl::SetIcon(HICON icon, BOOL repaint)
{
    if (m_hIcon != nullptr)
        ::DestroyIcon(m_hIcon);
    m_hIcon = icon;
    m_iconWidth = m_iconHeight = 0;
    if (icon != nullptr) {
        ICONINFO info = {};
        if (!::GetIconInfo(icon, &info)) {
            ::DestroyIcon(icon);
            m_hIcon = nullptr;
            return 2;
        }
        m_iconWidth = (BYTE)(info.xHotspot * 2);
        m_iconHeight = (BYTE)(info.yHotspot * 2);
        if (info.hbmMask != nullptr)
            ::DeleteObject(info.hbmMask);
        if (info.hbmColor != nullptr)
            ::DeleteObject(info.hbmColor);
    }
    Repaint(repaint);
    return 0;
}

void CDialSliderCtrl::EnsureTooltip()
{
    if (m_tooltip.m_hWnd != nullptr || m_hWnd == nullptr)
        return;
    if (m_tooltip.Create(this)) {
        m_tooltip.Activate(FALSE);
        m_tooltip.SetMaxTipWidth(400);
    }
}

void CDialSliderCtrl::SetTooltipText(UINT id, BOOL activate)
{
    CString text;
    text.LoadString(id);
    SetTooltipText(text, activate);
}

void CDialSliderCtrl::SetTooltipText(LPCTSTR text, BOOL activate)
{
    if (text == nullptr || *text == 0)
        return;
    EnsureTooltip();
    if (m_tooltip.m_hWnd == nullptr)
        return;
    if (m_tooltip.GetToolCount() == 0) {
        CRect client;
        GetClientRect(&client);
        m_tooltip.AddTool(this, text, &client, 1);
    }
    m_tooltip.UpdateTipText(text, this, 1);
    m_tooltip.Activate(activate);
}

void CDialSliderCtrl::ActivateTooltip(BOOL activate)
{
    if (m_tooltip.m_hWnd != nullptr && m_tooltip.GetToolCount() > 0)
        m_tooltip.Activate(activate);
}

void CDialSliderCtrl::SetNotify(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    m_notifyWnd = wnd != nullptr ? wnd->GetSafeHwnd() : nullptr;
    m_notifyMsg = message;
    m_notifyWParam = wParam;
    m_notifyLParam = lParam;
}

void CDialSliderCtrl::Notify()
{
    if (m_notifyWnd != nullptr)
        ::SendMessage(m_notifyWnd, m_notifyMsg, m_notifyWParam, m_notifyLParam);
}

void CDialSliderCtrl::UseParentBackground(BOOL repaint)
{
    m_bUseBackground = TRUE;
    if (m_dcBk.GetSafeHdc() != nullptr && m_bmpBkOld != nullptr)
        ::SelectObject(m_dcBk.GetSafeHdc(), m_bmpBkOld);
    m_bmpBkOld = nullptr;
    m_bmpBk.DeleteObject();
    m_dcBk.DeleteDC();
    Repaint(repaint);
}

int CDialSliderCtrl::CaptureBackground(CDC* parentDC)
{
    if (!m_bUseBackground || parentDC == nullptr)
        return 1;
    CRect r;
    GetWindowRect(&r);
    if (CWnd* parent = GetParent())
        parent->ScreenToClient(&r);
    if (m_dcBk.GetSafeHdc() == nullptr) {
        m_dcBk.CreateCompatibleDC(parentDC);
        m_bmpBk.CreateCompatibleBitmap(parentDC, r.Width(), r.Height());
        m_bmpBkOld = ::SelectObject(m_dcBk.GetSafeHdc(), m_bmpBk.GetSafeHandle());
    }
    ::BitBlt(m_dcBk.GetSafeHdc(), 0, 0, r.Width(), r.Height(), parentDC->GetSafeHdc(), r.left, r.top, SRCCOPY);
    return 0;
}

void CDialSliderCtrl::Layout()
{
    CRect client;
    GetClientRect(&client);
    const int size = std::min(client.Width(), client.Height());
    const int xy = (int)(size * 0.1);
    const int side = (int)(size * 0.8);
    m_rcDial = Rect(xy, xy, side, side);
    m_ptCentre = Point(xy + side / 2, xy + side / 2);
}

Point CDialSliderCtrl::PointOnRim(int value, int radius) const
{
    const int lo = GetRangeMin(), hi = GetRangeMax();
    if (hi == lo)
        return Point(0, 0);
    const int angle = (value - lo) * 270 / (hi - lo);
    const double theta = (angle + 135) * kPi / 180.0;
    return Point((int)(m_rcDial.X + m_rcDial.Width / 2 + radius * std::cos(theta)),
                 (int)(m_rcDial.Y + m_rcDial.Height / 2 + radius * std::sin(theta)));
}

Point CDialSliderCtrl::ThumbPoint() const { return PointOnRim(GetPos(), m_rcDial.Width / 2 - 10); }

int CDialSliderCtrl::ValueFromPoint(int px, int py) const
{
    const int cx = m_ptCentre.X, cy = m_ptCentre.Y;
    double angle;
    if (px == cx) {
        if (py == cy)
            return GetPos(); // the centre names no angle
        angle = py < cy ? 135 : -45;
    } else if (px < cx)
        angle = std::atan((double)(cy - py) / (cx - px)) * 180.0 / kPi + 45;
    else
        angle = std::atan((double)(py - cy) / (px - cx)) * 180.0 / kPi + 225;
    const int lo = GetRangeMin(), hi = GetRangeMax();
    int value = lo + (int)((hi - lo) * angle / 270);
    return std::max(lo, std::min(hi, value));
}

bool CDialSliderCtrl::SetValue(int value)
{
    if (value == GetPos())
        return false;
    SetPos(value);
    return true;
}

void CDialSliderCtrl::DrawBackground(Graphics& g, const Rect&) { g.Clear(m_clrBackground); }

void CDialSliderCtrl::DrawIcon(Graphics& g, const Rect& rect)
{
    if (m_hIcon == nullptr)
        return;
    std::unique_ptr<Bitmap> icon(Bitmap::FromHICON(m_hIcon));
    if (!icon || icon->GetLastStatus() != Ok)
        return;
    const int w = (int)icon->GetWidth(), h = (int)icon->GetHeight();
    g.DrawImage(icon.get(), rect.X + (rect.Width - w) / 2, rect.Y + (rect.Height - h) / 2, w, h);
}

void CDialSliderCtrl::DrawTicks(Graphics& g, int step, int inner)
{
    const int lo = GetRangeMin(), hi = GetRangeMax();
    // No ticks for a step that never advances, nor for a maximum of 0 (the tick's shade
    // is divided by it).
    if (step <= 0 || hi == 0)
        return;
    const int outer = m_rcDial.Width / 2 + 7;
    for (int v = lo; v <= hi; v += step) {
        const int alpha = std::max(0, std::min(255, v * 150 / hi + 100));
        Pen pen(Color((BYTE)alpha, m_clrOutline.GetR(), m_clrOutline.GetG(), m_clrOutline.GetB()), 1.0f);
        g.DrawLine(&pen, PointOnRim(v, m_rcDial.Width / 2 + inner), PointOnRim(v, outer));
        if (v > hi - step)
            break; // no overflow past the top of the range
    }
}

void CDialSliderCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    Layout();
    Bitmap off(client.Width(), client.Height(), PixelFormat32bppARGB);
    {
        Graphics g(&off);
        g.SetSmoothingMode(SmoothingModeAntiAlias);
        LinearGradientBrush shade(m_rcDial, Lighten(m_clrFace, 55), Lighten(m_clrFace, -55),
                                  LinearGradientModeForwardDiagonal);
        const Rect all(0, 0, client.Width(), client.Height());
        if (m_bUseBackground && m_bmpBk.GetSafeHandle() != nullptr) {
            std::unique_ptr<Bitmap> back(Bitmap::FromHBITMAP((HBITMAP)m_bmpBk.GetSafeHandle(), nullptr));
            if (back)
                g.DrawImage(back.get(), 0, 0);
        } else
            DrawBackground(g, all);
        g.FillEllipse(&shade, m_rcDial);
        Pen outline(m_clrOutline, 1.0f);
        g.DrawEllipse(&outline, m_rcDial);
        if (::GetFocus() == m_hWnd) {
            Pen dashed(Lighten(m_clrFace, -40), 1.0f);
            dashed.SetDashStyle(DashStyleDash);
            dashed.SetDashCap(DashCapFlat);
            g.DrawEllipse(&dashed, m_rcDial);
        }
        // The thumb: a small ring, dark on one half and light on the other.
        const Point thumb = ThumbPoint();
        const int rings = std::max(1, (int)outline.GetWidth());
        for (int i = 0; i < rings; ++i) {
            const Rect ring(thumb.X - 3 + i, thumb.Y - 3 + i, 6 - 2 * i, 6 - 2 * i);
            Pen dark(Lighten(m_clrOutline, -50), 1.0f);
            Pen light(Lighten(m_clrOutline, 50), 1.0f);
            g.DrawArc(&dark, ring, -45, 180);
            g.DrawArc(&light, ring, 135, 180);
        }
        if (m_bMajorTicks)
            DrawTicks(g, m_nMajorStep, 4);
        if (m_bMinorTicks)
            DrawTicks(g, m_nMinorStep, 2);
        if (m_hIcon != nullptr)
            DrawIcon(g, m_rcDial);
    }
    Graphics screen(dc.GetSafeHdc());
    screen.DrawImage(&off, 0, 0, client.Width(), client.Height());
}

BOOL CDialSliderCtrl::OnEraseBkgnd(CDC*) { return FALSE; }

HBRUSH CDialSliderCtrl::CtlColor(CDC*, UINT) { return (HBRUSH)::GetStockObject(NULL_BRUSH); }

void CDialSliderCtrl::OnLButtonDown(UINT, CPoint point)
{
    Layout();
    if (!Rect(m_rcDial).Contains(point.x, point.y))
        return;
    m_bDragging = TRUE;
    SetFocus();
    SetCapture();
}

void CDialSliderCtrl::DropCapture()
{
    m_bDragging = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void CDialSliderCtrl::OnMouseMove(UINT, CPoint point)
{
    if (!m_bDragging)
        return;
    if (SetValue(ValueFromPoint(point.x, point.y))) {
        Invalidate(FALSE);
        UpdateWindow();
        Notify();
    }
}

void CDialSliderCtrl::OnLButtonUp(UINT, CPoint point)
{
    if (!m_bDragging)
        return;
    DropCapture();
    if (Rect(m_rcDial).Contains(point.x, point.y) && SetValue(ValueFromPoint(point.x, point.y))) {
        Invalidate(FALSE);
        Notify();
    }
}

BOOL CDialSliderCtrl::OnMouseWheel(UINT, short, CPoint)
{
    const int before = GetPos();
    const BOOL handled = (BOOL)Default();
    Invalidate(FALSE);
    if (GetPos() != before)
        Notify();
    return handled;
}

BOOL CDialSliderCtrl::PreTranslateMessage(MSG* msg)
{
    EnsureTooltip();
    if (m_tooltip.m_hWnd != nullptr)
        m_tooltip.RelayEvent(msg);
    if (msg->message == WM_KEYDOWN && msg->hwnd == m_hWnd) {
        const int lo = GetRangeMin(), hi = GetRangeMax(), pos = GetPos();
        int value = pos;
        bool ours = true;
        switch (msg->wParam) {
        case VK_PRIOR:
            value = std::min(hi, pos + m_nMajorStep);
            break;
        case VK_NEXT:
            value = std::max(lo, pos - m_nMajorStep);
            break;
        case VK_END:
            value = lo;
            break;
        case VK_HOME:
            value = hi;
            break;
        case VK_LEFT:
        case VK_DOWN:
            value = pos > lo ? pos - 1 : pos;
            break;
        case VK_UP:
        case VK_RIGHT:
            value = pos < hi ? pos + 1 : pos;
            break;
        default:
            ours = false;
        }
        if (ours) {
            if (SetValue(value)) {
                Invalidate(FALSE);
                Notify();
            }
            return TRUE;
        }
    }
    return CSliderCtrl::PreTranslateMessage(msg);
}
