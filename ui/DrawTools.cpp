#include "ui/DrawTools.h"

CMemoryBufferDC::CMemoryBufferDC(HDC target, const RECT& area) : m_target(target), m_area(area)
{
    if (m_area.IsRectEmpty())
        ::GetClipBox(target, &m_area);
    Attach(::CreateCompatibleDC(target));
    m_bitmap =
        ::CreateCompatibleBitmap(target, m_area.right > 0 ? m_area.right : 1, m_area.bottom > 0 ? m_area.bottom : 1);
    if (m_hDC == nullptr || m_bitmap == nullptr)
        return;
    m_replaced = ::SelectObject(m_hDC, m_bitmap);
    if (m_area.top > 0)
        ::ExcludeClipRect(m_hDC, 0, 0, m_area.right, m_area.top);
    if (m_area.left > 0)
        ::ExcludeClipRect(m_hDC, 0, m_area.top, m_area.left, m_area.bottom);
}

CMemoryBufferDC::~CMemoryBufferDC()
{
    if (m_hDC != nullptr && m_replaced != nullptr)
        ::BitBlt(m_target, m_area.left, m_area.top, m_area.Width(), m_area.Height(), m_hDC, m_area.left, m_area.top,
                 SRCCOPY);
    if (m_replaced != nullptr)
        ::SelectObject(m_hDC, m_replaced);
    if (m_bitmap != nullptr)
        ::DeleteObject(m_bitmap);
    // The DC itself goes with CDC's destructor.
}

CPenSelector::CPenSelector(HDC dc, COLORREF colour) : m_dc(dc) { SetColour(colour); }

CPenSelector::~CPenSelector() { m_guard.reset(); }

void CPenSelector::SetColour(COLORREF colour)
{
    m_guard.reset(); // the previous pen back, this one deleted
    m_pen = ::CreatePen(PS_SOLID, 1, colour);
    m_guard.reset(new CSelectGuard(m_dc, m_pen, true));
}

COLORREF CPenSelector::GetColour() const
{
    LOGPEN pen = {};
    if (m_pen == nullptr || ::GetObject(m_pen, sizeof pen, &pen) != sizeof pen)
        return CLR_INVALID;
    return pen.lopnColor;
}

CBrushSelector::CBrushSelector(HDC dc, COLORREF colour) : m_dc(dc) { SetColour(colour); }

CBrushSelector::~CBrushSelector() { m_guard.reset(); }

void CBrushSelector::SetColour(COLORREF colour)
{
    m_guard.reset();
    if (colour == kNoBrushColour) {
        m_brush = nullptr;
        m_guard.reset(new CSelectGuard(m_dc, ::GetStockObject(NULL_BRUSH), false));
        return;
    }
    m_brush = ::CreateSolidBrush(colour);
    m_guard.reset(new CSelectGuard(m_dc, m_brush, true));
}

COLORREF CBrushSelector::GetColour() const
{
    if (m_brush == nullptr)
        return kNoBrushColour;
    LOGBRUSH brush = {};
    if (::GetObject(m_brush, sizeof brush, &brush) != sizeof brush)
        return CLR_INVALID;
    return brush.lbColor;
}
