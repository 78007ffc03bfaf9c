#include "ui/RoundSliderCtrl.h"

#include "base/Globals.h"
#include "fw/fwselect.h"
#include "ui/Skin.h"

#include <cmath>
#include <gdiplus.h>

namespace {

const double kPi = 3.14159265358979323846;

Gdiplus::Color WithAlpha(BYTE alpha, COLORREF c)
{
    return Gdiplus::Color(alpha, GetRValue(c), GetGValue(c), GetBValue(c));
}

// `value` brought into min .. end - 1 by whole turns of the range.
int WrapUp(int value, int min, int end)
{
    const int span = end - min;
    if (span <= 0)
        return min;
    while (value < min)
        value += span;
    return value;
}

int WrapDown(int value, int min, int end)
{
    const int span = end - min;
    if (span <= 0)
        return min;
    while (value >= end)
        value -= span;
    return value;
}

} // namespace

IMPLEMENT_DYNAMIC(CRoundSliderCtrl, CSliderCtrl)

BEGIN_MESSAGE_MAP(CRoundSliderCtrl, CSliderCtrl)
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CRoundSliderCtrl::CRoundSliderCtrl() : m_strText("%ld\xB0"), m_crBackground(kSkinBlue) {}

CRoundSliderCtrl::~CRoundSliderCtrl() = default;

void CRoundSliderCtrl::SetText(const CString& format) { m_strText = format; }
CString CRoundSliderCtrl::GetText() const { return m_strText; }

CString CRoundSliderCtrl::GetValueText() const
{
    CString text;
    text.Format(m_strText, (long)GetPos());
    return text;
}

void CRoundSliderCtrl::SetRadiusInset(int inset) { m_nRadiusInset = inset; }
int CRoundSliderCtrl::GetRadiusInset() const { return m_nRadiusInset; }
void CRoundSliderCtrl::SetZeroAngle(int degrees) { m_nZeroAngle = degrees; }
int CRoundSliderCtrl::GetZeroAngle() const { return m_nZeroAngle; }
void CRoundSliderCtrl::SetInverted(bool inverted) { m_bInverted = inverted; }
bool CRoundSliderCtrl::GetInverted() const { return m_bInverted; }

BOOL CRoundSliderCtrl::SetKnobBitmap(UINT id)
{
    // One knob at a time: the image and bitmap of an earlier call go first.
    m_pKnobImage.reset();
    m_bmpKnob.DeleteObject();
    if (!m_bmpKnob.LoadBitmap(id))
        return FALSE;
    m_pKnobImage.reset(new Gdiplus::Bitmap((HBITMAP)m_bmpKnob.GetSafeHandle(), nullptr));
    if (m_pKnobImage->GetLastStatus() != Gdiplus::Ok) {
        m_pKnobImage.reset();
        return FALSE;
    }
    return TRUE;
}

void CRoundSliderCtrl::SetToolTipText(const CString& text)
{
    m_strToolTip = text;
    if (m_tooltip.GetSafeHwnd() == nullptr)
        return;
    if (m_tooltip.GetToolCount() == 0) {
        CRect r;
        GetClientRect(&r);
        m_tooltip.AddTool(this, text, &r, 1);
    }
    m_tooltip.UpdateTipText(text, this, 1);
    m_tooltip.Activate(TRUE);
}

void CRoundSliderCtrl::PreSubclassWindow()
{
    CSliderCtrl::PreSubclassWindow();
    SetRange(0, 359, FALSE);
    SetLineSize(1);
    SetPageSize(10);
    RecalcLayout();
}

BOOL CRoundSliderCtrl::PreTranslateMessage(MSG* msg)
{
    if (m_tooltip.GetSafeHwnd() != nullptr)
        m_tooltip.RelayEvent(msg);
    return CSliderCtrl::PreTranslateMessage(msg);
}

void CRoundSliderCtrl::RecalcLayout()
{
    CRect r;
    GetClientRect(&r);
    r.bottom = r.right;
    m_ptCentre = r.CenterPoint();
    m_nRadius = r.Width() / 2 - m_nRadiusInset + 5;

    // The system owns a region once it is the window's (and deletes the old one when it
    // is replaced), so the wrapper hands it over instead of deleting it later.
    ::SetWindowRgn(m_hWnd, nullptr, FALSE);
    m_rgn.DeleteObject();
    if (m_rgn.CreateEllipticRgnIndirect(&r))
        ::SetWindowRgn(m_hWnd, (HRGN)m_rgn.Detach(), TRUE);

    SendMessage(TBM_SETPOS, FALSE, 0);

    if (m_tooltip.GetSafeHwnd() == nullptr && m_tooltip.Create(this)) {
        m_tooltip.Activate(FALSE);
        m_tooltip.SetMaxTipWidth(400);
    }
}

int CRoundSliderCtrl::GetAngle() const
{
    const int min = GetRangeMin(), end = GetRangeMax() + 1;
    int angle = m_nZeroAngle;
    if (end - min > 0)
        angle = ((GetPos() - min) * 360 / (end - min) + m_nZeroAngle + 360) % 360;
    if (m_bInverted)
        angle = 360 - angle;
    return angle;
}

bool CRoundSliderCtrl::SetPosFromPoint(CPoint point)
{
    const int min = GetRangeMin(), end = GetRangeMax() + 1;
    int dx = point.x - m_ptCentre.x;
    const int dy = point.y - m_ptCentre.y;
    if (m_bInverted)
        dx = -dx;
    double a = 0;
    if (dx != 0)
        a = 90 - std::atan(-(double)dy / dx) * 180 / kPi;
    if ((dx == 0 && dy >= 0) || dx < 0)
        a += 180;
    a -= m_nZeroAngle;
    while (a < 0)
        a += 360;
    while (a >= 360)
        a -= 360;
    const int position = min + (int)((end - min) * a / 360);
    if (position == GetPos())
        return false;
    SetPos(position);
    return true;
}

void CRoundSliderCtrl::NotifyParent(UINT code)
{
    HWND parent = ::GetParent(m_hWnd);
    if (parent == nullptr)
        return;
    ::PostMessage(parent, WM_HSCROLL, MAKEWPARAM(code, (WORD)GetPos()), (LPARAM)m_hWnd);
}

void CRoundSliderCtrl::RedrawNow() { RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE); }

// --- Messages -----------------------------------------------------------------------------

void CRoundSliderCtrl::OnSize(UINT, int, int)
{
    Default();
    RecalcLayout();
}

BOOL CRoundSliderCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void CRoundSliderCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CSelectGuard nullBrush(dc.GetSafeHdc(), ::GetStockObject(NULL_BRUSH));
    dc.FillSolidRect(&client, m_crBackground);

    const bool enabled = IsWindowEnabled() != FALSE;
    const int angle = GetAngle();
    const float cx = (float)m_ptCentre.x, cy = (float)m_ptCentre.y;

    if (m_pKnobImage) {
        Gdiplus::Graphics g(dc.GetSafeHdc());
        g.SetPageUnit(Gdiplus::UnitPixel);
        g.TranslateTransform(cx, cy);
        g.RotateTransform((float)angle);
        g.TranslateTransform(-cx, -cy);
        const int k = (m_nRadius / 3) * 2;
        const Gdiplus::Rect square(m_ptCentre.x - k, m_ptCentre.y - k, 2 * k, 2 * k);
        const int w = (int)m_pKnobImage->GetWidth(), h = (int)m_pKnobImage->GetHeight();
        Gdiplus::ImageAttributes faded;
        SetOpacityMatrix(&faded, 25);
        g.DrawImage(m_pKnobImage.get(), square, 0, 0, w, h, Gdiplus::UnitPixel, enabled ? nullptr : &faded);
    }

    {
        const double a = angle * kPi / 180;
        const float rimX = (float)(int)(m_ptCentre.x + std::sin(a) * m_nRadius);
        const float rimY = (float)(int)(m_ptCentre.y - std::cos(a) * m_nRadius);
        Gdiplus::Graphics g(dc.GetSafeHdc());
        DrawWithCurrentStyle(&g, FALSE);
        g.SetPageUnit(Gdiplus::UnitPixel);
        g.TranslateTransform(rimX, rimY);
        g.RotateTransform((float)angle);
        // In the turned frame the dot lies 15 pixels from the rim towards the centre.
        const Gdiplus::RectF dot(-5.0f, 10.0f, 10.0f, 10.0f);
        Gdiplus::SolidBrush fill(WithAlpha(enabled ? 255 : 64, kSkinDialMarker));
        Gdiplus::Pen rim(WithAlpha(enabled ? 255 : 64, kSkinBlack), 1.0f);
        g.FillEllipse(&fill, dot);
        g.DrawEllipse(&rim, dot);
    }

    const CString text = GetValueText();
    if (!text.IsEmpty()) {
        HFONT font = (HFONT)SendMessage(WM_GETFONT);
        CSelectGuard selectFont(dc.GetSafeHdc(), font != nullptr ? (HGDIOBJ)font : ::GetStockObject(SYSTEM_FONT));
        SIZE size = {};
        ::GetTextExtentPoint32(dc.GetSafeHdc(), text, text.GetLength(), &size);
        const int x = m_ptCentre.x - size.cx / 2, y = m_ptCentre.y - size.cy / 2;
        const int oldMode = ::SetBkMode(dc.GetSafeHdc(), TRANSPARENT);
        if (enabled)
            ::TextOut(dc.GetSafeHdc(), x, y, text, text.GetLength());
        else
            ::DrawState(dc.GetSafeHdc(), nullptr, nullptr, (LPARAM)(LPCTSTR)text, (WPARAM)text.GetLength(), x, y,
                        size.cx, size.cy, DST_PREFIXTEXT | DSS_DISABLED);
        ::SetBkMode(dc.GetSafeHdc(), oldMode);
    }
}

void CRoundSliderCtrl::OnLButtonDown(UINT, CPoint point)
{
    if (m_bDragging) {
        Default();
        return;
    }
    m_bDragging = true;
    m_bDragChanged = false;
    SetCapture();
    SetFocus();
    if (SetPosFromPoint(point)) {
        m_bDragChanged = true;
        NotifyParent(SB_THUMBTRACK);
    }
    RedrawNow();
}

void CRoundSliderCtrl::OnMouseMove(UINT, CPoint point)
{
    if (!m_bDragging) {
        Default();
        return;
    }
    if (SetPosFromPoint(point)) {
        m_bDragChanged = true;
        NotifyParent(SB_THUMBTRACK);
        RedrawNow();
    }
}

void CRoundSliderCtrl::OnLButtonUp(UINT, CPoint point)
{
    if (!m_bDragging) {
        Default();
        return;
    }
    m_bDragging = false;
    ::ReleaseCapture();
    if (SetPosFromPoint(point)) {
        NotifyParent(SB_THUMBTRACK);
        m_bDragChanged = true;
    }
    if (m_bDragChanged) {
        NotifyParent(SB_THUMBPOSITION);
        m_bDragChanged = false;
    }
    RedrawNow();
}

void CRoundSliderCtrl::OnCaptureChanged(CWnd*)
{
    // The trackbar never began a drag of its own here, so it must not end one: it would
    // tell the parent TB_ENDTRACK with position 0. A drag whose capture is taken away ends
    // as a released one does.
    if (!m_bDragging)
        return;
    m_bDragging = false;
    if (m_bDragChanged) {
        NotifyParent(SB_THUMBPOSITION);
        m_bDragChanged = false;
    }
}

void CRoundSliderCtrl::OnKeyDown(UINT key, UINT, UINT)
{
    const int min = GetRangeMin(), end = GetRangeMax() + 1;
    const int pos = GetPos();
    int next = pos;
    UINT code = 0;
    switch (key) {
    case VK_PRIOR:
        next = WrapUp(pos - GetPageSize(), min, end);
        code = SB_PAGEUP;
        break;
    case VK_NEXT:
        next = WrapDown(pos + GetPageSize(), min, end);
        code = SB_PAGEDOWN;
        break;
    case VK_LEFT:
    case VK_UP:
        next = WrapUp(pos - GetLineSize(), min, end);
        code = SB_LINEUP;
        break;
    case VK_RIGHT:
    case VK_DOWN:
        next = WrapDown(pos + GetLineSize(), min, end);
        code = SB_LINEDOWN;
        break;
    case VK_HOME:
    case VK_END:
        return;
    default:
        Default();
        return;
    }
    SetPos(next);
    RedrawNow();
    NotifyParent(code);
}

void CRoundSliderCtrl::OnKeyUp(UINT key, UINT, UINT)
{
    switch (key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        NotifyParent(SB_ENDSCROLL);
        return;
    case VK_HOME:
    case VK_END:
        return;
    default:
        Default();
    }
}

// --- Module helpers -----------------------------------------------------------------------

COLORREF BlendRgb(double angle, COLORREF colour1, COLORREF colour2)
{
    double t = -2.356 - angle;
    if (t < -3.1415)
        t += 6.293;
    if (t > 3.1415)
        t = 6.293 - t;
    const double k = (std::cos(t) + 1) / 2;
    auto mix = [k](int a, int b) { return (BYTE)(int)(a * k + b * (1 - k)); };
    return RGB(mix(GetRValue(colour1), GetRValue(colour2)), mix(GetGValue(colour1), GetGValue(colour2)),
               mix(GetBValue(colour1), GetBValue(colour2)));
}

void DrawMarkerDot(CDC* dc, int x, int y, COLORREF colour)
{
    CBrush brush;
    if (!brush.CreateSolidBrush(colour))
        return;
    CSelectGuard select(dc, &brush);
    dc->Ellipse(x - 5, y - 5, x + 5, y + 5);
}
