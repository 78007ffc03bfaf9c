// The tooltip window's balloon: its place on the virtual screen, its shape, and its picture
// composed in memory from the effect background, the text, the border, the soft shadow and
// the screen beneath, blended by the transparency and put on the window in one copy.
#include "ui/PPToolTip.h"

namespace {

// A memory DC compatible with another, holding one bitmap for its lifetime.
class CMemoryCanvas
{
public:
    CMemoryCanvas(HDC like, HBITMAP bitmap)
    {
        if (m_dc.Attach(::CreateCompatibleDC(like)))
            m_select.emplace(m_dc.GetSafeHdc(), bitmap);
    }
    HDC Dc() const { return m_select && m_select->Selected() ? m_dc.GetSafeHdc() : nullptr; }

private:
    CDC m_dc;
    std::optional<CSelectGuard> m_select;
};

int SideOf(UINT direction) { return (int)(direction & 0x30); }

int AlignOf(UINT direction)
{
    const int align = (int)(direction & 0x0F);
    return align > PPTOOLTIP_ALIGN_CENTER ? (int)PPTOOLTIP_ALIGN_START : align;
}

bool Horizontal(int side) { return side == PPTOOLTIP_SIDE_BELOW || side == PPTOOLTIP_SIDE_ABOVE; }

// The alignment along an edge of length `length` for a point at `at` between the bounds,
// given the margin of the tail from the edge's ends.
int FitAlong(int align, int at, int length, int margin, int low, int high)
{
    switch (align) {
    case PPTOOLTIP_ALIGN_START:
        if (at + length - margin > high)
            return at - length + margin >= low ? PPTOOLTIP_ALIGN_END : PPTOOLTIP_ALIGN_CENTER;
        return align;
    case PPTOOLTIP_ALIGN_END:
        if (at - length + margin < low)
            return at + length - margin <= high ? PPTOOLTIP_ALIGN_START : PPTOOLTIP_ALIGN_CENTER;
        return align;
    default:
        if (at - low <= margin)
            return PPTOOLTIP_ALIGN_START;
        if (high - at <= margin)
            return PPTOOLTIP_ALIGN_END;
        return align;
    }
}

// Where the tail's tip lies along the edge, and the clamps that keep the window's start
// within the bounds.
int AnchorAlong(int align, int at, int length, int margin, int low, int high)
{
    int anchor;
    if (align == PPTOOLTIP_ALIGN_START) {
        anchor = margin;
    } else if (align == PPTOOLTIP_ALIGN_END) {
        anchor = length - margin;
    } else {
        anchor = length / 2;
        if (at - anchor < low)
            anchor = at - low;
        else if (at - anchor + length > high)
            anchor = at + length - high;
    }
    if (align != PPTOOLTIP_ALIGN_END) {
        if (at - anchor < low)
            anchor = at - low;
    } else if (at + length - anchor > high) {
        anchor = length - high + at;
    }
    return anchor;
}

void OffsetBoth(RECT& a, RECT& b, int dx, int dy)
{
    ::OffsetRect(&a, dx, dy);
    ::OffsetRect(&b, dx, dy);
}

} // namespace

UINT CPPToolTip::GetTooltipPosition(UINT direction, POINT pt, int width, int height, POINT& anchor, RECT& window)
{
    const int h = m_sizes[SIZE_ANCHOR_HEIGHT], m = m_sizes[SIZE_ANCHOR_MARGIN];
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int right = left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int bottom = top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    int side = SideOf(direction), align = AlignOf(direction);
    const bool horizontal = Horizontal(side);
    const int W = horizontal ? width : width + h;
    const int H = horizontal ? height + h : height;

    if (horizontal) {
        align = FitAlong(align, pt.x, W, m, left, right);
        if (side == PPTOOLTIP_SIDE_BELOW && pt.y + H > bottom)
            side = PPTOOLTIP_SIDE_ABOVE;
        else if (side == PPTOOLTIP_SIDE_ABOVE && pt.y - H < top)
            side = PPTOOLTIP_SIDE_BELOW;
        anchor.x = AnchorAlong(align, pt.x, W, m, left, right);
        anchor.y = side == PPTOOLTIP_SIDE_BELOW ? 0 : H;
    } else {
        if (side == PPTOOLTIP_SIDE_RIGHT && pt.x + W > right)
            side = PPTOOLTIP_SIDE_LEFT;
        else if (side == PPTOOLTIP_SIDE_LEFT && pt.x - W < left)
            side = PPTOOLTIP_SIDE_RIGHT;
        align = FitAlong(align, pt.y, H, m, top, bottom);
        anchor.x = side == PPTOOLTIP_SIDE_RIGHT ? 0 : W;
        anchor.y = AnchorAlong(align, pt.y, H, m, top, bottom);
    }
    if (side == PPTOOLTIP_SIDE_BELOW)
        OffsetBoth(m_content, m_body, 0, h);
    else if (side == PPTOOLTIP_SIDE_RIGHT)
        OffsetBoth(m_content, m_body, h, 0);
    window = RECT{0, 0, W, H};
    m_direction = (UINT)(side + align);
    return m_direction;
}

HRGN CPPToolTip::GetTooltipRgn(UINT direction, POINT anchor, int width, int height) const
{
    const int side = SideOf(direction), align = AlignOf(direction);
    const int h = m_sizes[SIZE_ANCHOR_HEIGHT], w = m_sizes[SIZE_ANCHOR_WIDTH], m = m_sizes[SIZE_ANCHOR_MARGIN];
    RECT body = {0, 0, width, height};
    if (side == PPTOOLTIP_SIDE_BELOW)
        body.top += h;
    else if (side == PPTOOLTIP_SIDE_ABOVE)
        body.bottom -= h;
    else if (side == PPTOOLTIP_SIDE_RIGHT)
        body.left += h;
    else
        body.right -= h;
    HRGN region = ::CreateRoundRectRgn(body.left, body.top, body.right + 1, body.bottom + 1, m_sizes[SIZE_ROUNDED_CX],
                                       m_sizes[SIZE_ROUNDED_CY]);
    if (!region || !h || !w)
        return region;

    // The tail: its tip at the anchor, its base on the body's edge.
    POINT tail[3];
    tail[0] = anchor;
    if (Horizontal(side)) {
        const int edge = side == PPTOOLTIP_SIDE_BELOW ? body.top : body.bottom;
        int start = align == PPTOOLTIP_ALIGN_START ? m : (align == PPTOOLTIP_ALIGN_END ? width - m : anchor.x - w / 2);
        const int end = align == PPTOOLTIP_ALIGN_END ? start - w : start + w;
        tail[1] = POINT{start, edge};
        tail[2] = POINT{end, edge};
    } else {
        const int edge = side == PPTOOLTIP_SIDE_RIGHT ? body.left : body.right;
        int start = align == PPTOOLTIP_ALIGN_START ? m : (align == PPTOOLTIP_ALIGN_END ? height - m : anchor.y - w / 2);
        const int end = align == PPTOOLTIP_ALIGN_END ? start - w : start + w;
        tail[1] = POINT{edge, start};
        tail[2] = POINT{edge, end};
    }
    HRGN triangle = ::CreatePolygonRgn(tail, 3, ALTERNATE);
    if (triangle) {
        ::CombineRgn(region, region, triangle, RGN_OR);
        ::DeleteObject(triangle);
    }
    return region;
}

bool CPPToolTip::PrepareDisplayTooltip(POINT pt)
{
    PPToolInfo& ti = m_next.ti;
    if (!(ti.nMask & PPTOOLTIP_MASK_EFFECT)) {
        ti.nEffect = m_defaults.nEffect;
        ti.nGranularity = m_defaults.nGranularity;
    }
    if (!(ti.nMask & PPTOOLTIP_MASK_COLORS)) {
        ti.crBegin = m_defaults.crBegin;
        ti.crMid = m_defaults.crMid;
        ti.crEnd = m_defaults.crEnd;
    }
    if (!(ti.nMask & PPTOOLTIP_MASK_DIRECTION))
        ti.nDirection = m_defaults.nDirection;
    if (!(ti.nMask & PPTOOLTIP_MASK_BEHAVIOUR))
        ti.nBehaviour = m_defaults.nBehaviour;
    if (!(ti.nMask & PPTOOLTIP_MASK_TRANSPARENCY))
        ti.nTransparency = m_defaults.nTransparency;
    if (ti.nTransparency > 100)
        ti.nTransparency = 100;

    POINT display = pt;
    SendNotify(&display, ti);
    if (ti.sTooltip.IsEmpty() || !m_hWnd)
        return false;

    CClientDC dc(this);
    SIZE size = {0, 0};
    m_drawer.PrepareOutput(dc.GetSafeHdc(), ti.sTooltip, &size);
    const int mx = m_sizes[SIZE_MARGIN_CX], my = m_sizes[SIZE_MARGIN_CY];
    m_content = RECT{mx, my, mx + size.cx, my + size.cy};
    m_body = RECT{0, 0, size.cx + 2 * mx, size.cy + 2 * my};
    POINT anchor = {0, 0};
    GetTooltipPosition(ti.nDirection, display, m_body.right, m_body.bottom, anchor, m_window);
    FreeResources();
    const int width = m_window.right, height = m_window.bottom;
    m_balloon.Attach(GetTooltipRgn(m_direction, anchor, width, height));

    // The background: the effect over the body, and the tail's strip tiled from the body's
    // edge beside it.
    if (!m_background.Attach(::CreateCompatibleBitmap(dc.GetSafeHdc(), width, height)))
        return false;
    {
        CMemoryCanvas canvas(dc.GetSafeHdc(), (HBITMAP)m_background.GetSafeHandle());
        const HDC mem = canvas.Dc();
        if (!mem)
            return false;
        CPPDrawManager* draw = m_drawer.GetDrawManager();
        draw->FillEffect(mem, (int)ti.nEffect, m_body, ti.crBegin, ti.crMid, ti.crEnd, ti.nGranularity, 5);
        const RECT& b = m_body;
        switch (SideOf(m_direction)) {
        case PPTOOLTIP_SIDE_BELOW:
            draw->MultipleCopy(mem, 0, 0, width, b.top, mem, 0, b.top + 1, width, 1);
            break;
        case PPTOOLTIP_SIDE_ABOVE:
            draw->MultipleCopy(mem, 0, b.bottom, width, height - b.bottom, mem, 0, b.bottom - 1, width, 1);
            break;
        case PPTOOLTIP_SIDE_RIGHT:
            draw->MultipleCopy(mem, 0, 0, b.left, height, mem, b.left + 1, 0, 1, height);
            break;
        default:
            draw->MultipleCopy(mem, b.right, 0, width - b.right, height, mem, b.right - 1, 0, 1, height);
            break;
        }
    }

    const POINT at = {display.x - anchor.x, display.y - anchor.y};
    m_transparency = m_fadeIn ? 100 : ti.nTransparency;

    // The window: the balloon and, with a shadow, the balloon moved by the shadow's offset.
    CRgn shape;
    if (!shape.CreateRectRgn(0, 0, 0, 0) || shape.CopyRgn(&m_balloon) == ERROR)
        return false;
    if (m_shadowDx || m_shadowDy) {
        CRgn moved;
        if (moved.CreateRectRgn(0, 0, 0, 0) && moved.CopyRgn(&m_balloon) != ERROR) {
            moved.OffsetRgn(m_shadowDx, m_shadowDy);
            shape.CombineRgn(&shape, &moved, RGN_OR);
        }
        m_window.right += m_shadowDx > 0 ? m_shadowDx : 0;
        m_window.bottom += m_shadowDy > 0 ? m_shadowDy : 0;
    }
    // The system owns the region from here.
    if (!::SetWindowRgn(m_hWnd, (HRGN)shape.GetSafeHandle(), FALSE))
        return false;
    shape.Detach();

    // The screen beneath, taken before the window covers it: every picture of this showing
    // is composed on it.
    const int fullWidth = m_window.right, fullHeight = m_window.bottom;
    {
        CDC screen;
        screen.Attach(::GetDC(nullptr));
        if (m_screen.Attach(::CreateCompatibleBitmap(screen.GetSafeHdc(), fullWidth, fullHeight))) {
            CMemoryCanvas copy(screen.GetSafeHdc(), (HBITMAP)m_screen.GetSafeHandle());
            if (copy.Dc())
                m_screenTaken =
                    ::BitBlt(copy.Dc(), 0, 0, fullWidth, fullHeight, screen.GetSafeHdc(), at.x, at.y, SRCCOPY) != FALSE;
        }
        ::ReleaseDC(nullptr, screen.Detach());
    }

    m_displayed = m_next;
    // On top of every window, a menu tip too: one left where it was made stays under the
    // windows shown since (the open menu's owner among them).
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, at.x, at.y, fullWidth, fullHeight, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Step();
    return true;
}

void CPPToolTip::OnPaint()
{
    CPaintDC dc(this);
    if (m_state != STATE_HIDDEN)
        OnRedrawTooltip(dc.GetSafeHdc(), m_transparency);
}

void CPPToolTip::DrawBorder(HDC dc, HRGN region)
{
    if (m_borderBrush.GetSafeHandle() && m_borderCx && m_borderCy)
        ::FrameRgn(dc, region, (HBRUSH)m_borderBrush.GetSafeHandle(), m_borderCx, m_borderCy);
}

void CPPToolTip::OnRedrawTooltip(HDC dc, int transparency)
{
    if (!m_hWnd || !m_background.GetSafeHandle() || !m_screen.GetSafeHandle())
        return;
    transparency = transparency < 0 ? 0 : (transparency > 100 ? 100 : transparency);
    CClientDC own(this);
    const HDC target = dc ? dc : own.GetSafeHdc();
    const int width = m_window.right, height = m_window.bottom;
    const int dx = m_shadowDx > 0 ? m_shadowDx : 0, dy = m_shadowDy > 0 ? m_shadowDy : 0;
    const int bodyWidth = width - dx, bodyHeight = height - dy;
    CPPDrawManager* draw = m_drawer.GetDrawManager();

    // The balloon's picture: background, text, border.
    CBitmap image;
    if (!image.Attach(::CreateCompatibleBitmap(target, bodyWidth, bodyHeight)))
        return;
    CMemoryCanvas picture(target, (HBITMAP)image.GetSafeHandle());
    if (!picture.Dc())
        return;
    {
        CMemoryCanvas background(target, (HBITMAP)m_background.GetSafeHandle());
        if (background.Dc())
            ::BitBlt(picture.Dc(), 0, 0, bodyWidth, bodyHeight, background.Dc(), 0, 0, SRCCOPY);
    }
    m_drawer.DrawPreparedOutput(picture.Dc(), &m_content);
    DrawBorder(picture.Dc(), m_balloon);

    // On the screen beneath: the shadow, then the balloon blended in.
    CBitmap composed;
    if (!composed.Attach(::CreateCompatibleBitmap(target, width, height)))
        return;
    CMemoryCanvas result(target, (HBITMAP)composed.GetSafeHandle());
    if (!result.Dc())
        return;
    {
        CMemoryCanvas screen(target, (HBITMAP)m_screen.GetSafeHandle());
        if (screen.Dc())
            ::BitBlt(result.Dc(), 0, 0, width, height, screen.Dc(), 0, 0, SRCCOPY);
    }
    if (dx || dy) {
        int grey = (255 * (100 - m_shadowDarkness) + 50) / 100;
        grey += (255 - grey) * transparency / 100;
        CBitmap mask;
        if (mask.Attach(::CreateCompatibleBitmap(target, bodyWidth, bodyHeight))) {
            {
                CMemoryCanvas maskCanvas(target, (HBITMAP)mask.GetSafeHandle());
                if (maskCanvas.Dc()) {
                    const RECT all = {0, 0, bodyWidth, bodyHeight};
                    ::FillRect(maskCanvas.Dc(), &all, (HBRUSH)::GetStockObject(WHITE_BRUSH));
                    CBrush shade;
                    if (shade.CreateSolidBrush(RGB(grey, grey, grey)))
                        ::FillRgn(maskCanvas.Dc(), m_balloon, (HBRUSH)shade.GetSafeHandle());
                }
            }
            draw->DrawShadow(result.Dc(), dx, dy, bodyWidth, bodyHeight, (HBITMAP)mask.GetSafeHandle(),
                             m_shadowGradient, m_shadowDepthX, m_shadowDepthY);
        }
    }
    ::SelectClipRgn(result.Dc(), m_balloon);
    draw->AlphaBlt(result.Dc(), 0, 0, bodyWidth, bodyHeight, picture.Dc(), 0, 0, 100 - transparency);
    ::SelectClipRgn(result.Dc(), nullptr);
    ::BitBlt(target, 0, 0, width, height, result.Dc(), 0, 0, SRCCOPY);
}

void CPPToolTip::OutputTooltipOnScreen(POINT pt)
{
    if (!m_hWnd)
        return;
    ::SetWindowPos(m_hWnd, nullptr, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}
