#include "ui/periphery/Rot90DC.h"

IMPLEMENT_DYNAMIC(cdxCRot90DC, CDC)

namespace {

// Row per angle index: a point (x, y) turns into (y*a + x*b, y*b - x*a).
const int kTurn[4][2] = {{0, 1}, {-1, 0}, {0, -1}, {1, 0}};

} // namespace

int cdxCRot90DC::AngleIndex(int degrees)
{
    int index = (degrees / 90) % 4;
    return index < 0 ? index + 4 : index;
}

CPoint cdxCRot90DC::RotatePoint(POINT p, int index)
{
    const int a = kTurn[index][0];
    const int b = kTurn[index][1];
    return CPoint(p.y * a + p.x * b, p.y * b - p.x * a);
}

CRect cdxCRot90DC::RotateRect(const RECT& r, int index)
{
    const CPoint p1 = RotatePoint(CPoint(r.left, r.top), index);
    const CPoint p2 = RotatePoint(CPoint(r.right, r.bottom), index);
    CRect out(p1, p2);
    out.NormalizeRect();
    return out;
}

CSize cdxCRot90DC::RotateSize(SIZE s) const { return kTurn[m_angleIndex][1] == 0 ? CSize(s.cy, s.cx) : CSize(s); }

CSize cdxCRot90DC::GetIconSize(HICON icon)
{
    CSize size(0, 0);
    ICONINFO info = {};
    if (icon == nullptr || !::GetIconInfo(icon, &info))
        return size;
    BITMAP bm = {};
    if (info.hbmColor != nullptr && ::GetObject(info.hbmColor, sizeof(bm), &bm))
        size = CSize(bm.bmWidth, bm.bmHeight);
    else if (info.hbmMask != nullptr && ::GetObject(info.hbmMask, sizeof(bm), &bm))
        size = CSize(bm.bmWidth, bm.bmHeight / 2); // a monochrome icon: mask over image
    if (info.hbmColor != nullptr)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr)
        ::DeleteObject(info.hbmMask);
    return size;
}

cdxCRot90DC::cdxCRot90DC(CDC* target, const RECT* rect, int angle, bool copyExisting)
{
    if (target != nullptr && rect != nullptr)
        Create(*target, *rect, angle, copyExisting);
    else {
        m_rectRot.SetRectEmpty();
        m_rectRotVisible.SetRectEmpty();
        m_rect.SetRectEmpty();
        m_rectVisible.SetRectEmpty();
    }
}

cdxCRot90DC::~cdxCRot90DC()
{
    if (!m_bFinished)
        Finish();
    Destroy();
}

namespace {

// A 32-bit top-down DIB section in a memory DC, for moving pixels one by one.
struct PixelBuffer
{
    PixelBuffer(int width, int height)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc = ::CreateCompatibleDC(nullptr);
        bitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        if (dc != nullptr && bitmap != nullptr)
            old = ::SelectObject(dc, bitmap);
    }
    ~PixelBuffer()
    {
        if (old != nullptr)
            ::SelectObject(dc, old);
        if (bitmap != nullptr)
            ::DeleteObject(bitmap);
        if (dc != nullptr)
            ::DeleteDC(dc);
    }
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;
    bool Valid() const { return old != nullptr && bits != nullptr; }

    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    DWORD* bits = nullptr;
};

} // namespace

// Every pixel is moved to the pixel its square turns into, so that the turn is exact (the
// platform's parallelogram blit rounds its corners differently on different systems).
void cdxCRot90DC::CopyTurned(HDC to, HDC from, const CRect& rect, int index)
{
    if (rect.IsRectEmpty())
        return;
    if (index == 0) {
        ::BitBlt(to, rect.left, rect.top, rect.Width(), rect.Height(), from, rect.left, rect.top, SRCCOPY);
        return;
    }
    const CRect turned = RotateRect(rect, index);
    const int w = rect.Width(), h = rect.Height();
    PixelBuffer source(w, h), target(turned.Width(), turned.Height());
    if (!source.Valid() || !target.Valid())
        return;
    ::BitBlt(source.dc, 0, 0, w, h, from, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const CRect pixel =
                RotateRect(CRect(rect.left + x, rect.top + y, rect.left + x + 1, rect.top + y + 1), index);
            target.bits[(pixel.top - turned.top) * turned.Width() + (pixel.left - turned.left)] =
                source.bits[y * w + x];
        }
    ::BitBlt(to, turned.left, turned.top, turned.Width(), turned.Height(), target.dc, 0, 0, SRCCOPY);
}

BOOL cdxCRot90DC::Create(CDC& target, const RECT& rect, int angle, bool copyExisting)
{
    m_target = nullptr;
    CRect r(rect);
    r.NormalizeRect();
    if (r.IsRectEmpty())
        return FALSE;
    CRect clip;
    target.GetClipBox(&clip);
    CRect visible;
    if (!visible.IntersectRect(&r, &clip))
        return FALSE;
    if (m_hDC == nullptr) {
        if (!CreateCompatibleDC(&target))
            return FALSE;
        m_savedBkColor = ::GetBkColor(m_hDC);
        m_savedBkMode = ::GetBkMode(m_hDC);
        m_savedTextColor = ::GetTextColor(m_hDC);
        m_savedFont = ::GetCurrentObject(m_hDC, OBJ_FONT);
        m_savedBitmap = ::GetCurrentObject(m_hDC, OBJ_BITMAP);
    }
    m_angleIndex = AngleIndex(angle);
    m_rect = r;
    m_rectVisible = visible;
    m_rectRot = RotateRect(r, m_angleIndex);
    m_rectRotVisible = RotateRect(visible, m_angleIndex);

    ::SetBkColor(m_hDC, target.GetBkColor());
    ::SetBkMode(m_hDC, target.GetBkMode());
    ::SetTextColor(m_hDC, target.GetTextColor());
    ::SelectObject(m_hDC, ::GetCurrentObject(target.m_hDC, OBJ_FONT));

    // A larger bitmap from an earlier creation is kept; a smaller one is replaced.
    const int width = m_rectRotVisible.Width();
    const int height = m_rectRotVisible.Height();
    if (m_bitmap.GetSafeHandle() != nullptr && (m_bitmapWidth < width || m_bitmapHeight < height)) {
        ::SelectObject(m_hDC, m_savedBitmap);
        m_bitmap.DeleteObject();
    }
    if (m_bitmap.GetSafeHandle() == nullptr) {
        if (!m_bitmap.CreateCompatibleBitmap(&target, width, height))
            return FALSE;
        m_bitmapWidth = width;
        m_bitmapHeight = height;
    }
    ::SetMapMode(m_hDC, MM_TEXT);
    ::SetWindowOrgEx(m_hDC, m_rectRotVisible.left, m_rectRotVisible.top, nullptr);
    ::SetBoundsRect(m_hDC, &m_rectRotVisible, DCB_RESET | DCB_ACCUMULATE);
    ::SelectObject(m_hDC, m_bitmap.GetSafeHandle());
    m_target = &target;
    m_bFinished = FALSE;
    if (copyExisting) {
        CRect wide(visible);
        wide.InflateRect(1, 1);
        CopyTurned(m_hDC, target.m_hDC, wide, m_angleIndex);
    }
    return TRUE;
}

BOOL cdxCRot90DC::Finish()
{
    if (m_target == nullptr)
        return FALSE;
    if (m_bFinished)
        return TRUE;
    m_bFinished = TRUE;
    CopyTurned(m_target->m_hDC, m_hDC, m_rectRotVisible, m_angleIndex == 0 ? 0 : 4 - m_angleIndex);
    return TRUE;
}

void cdxCRot90DC::Destroy()
{
    m_target = nullptr;
    if (m_hDC == nullptr)
        return;
    ::SetBkColor(m_hDC, m_savedBkColor);
    ::SetBkMode(m_hDC, m_savedBkMode);
    ::SetTextColor(m_hDC, m_savedTextColor);
    ::SelectObject(m_hDC, m_savedFont);
    ::SelectObject(m_hDC, m_savedBitmap);
    m_bitmap.DeleteObject();
    m_bitmapWidth = m_bitmapHeight = 0;
    DeleteDC();
}

void cdxCRot90DC::DrawControl(CRect rect, const CString& text, HICON icon, UINT format, UINT options, int gap)
{
    if (rect.IsRectEmpty() || m_hDC == nullptr)
        return;
    format &= ~DT_CALCRECT;
    const bool disabled = (options & 1) != 0;
    const bool upright = (options & 2) != 0;
    CSize iconSize = GetIconSize(icon);
    if (icon != nullptr && iconSize != CSize(0, 0)) {
        if (upright)
            iconSize = RotateSize(iconSize);
        CRect iconRect;
        const UINT across = format & (DT_CENTER | DT_RIGHT);
        if (across == DT_CENTER) {
            const int left = rect.left + (rect.Width() - iconSize.cx) / 2;
            if (format & DT_BOTTOM) {
                iconRect.SetRect(left, rect.bottom - iconSize.cy, left + iconSize.cx, rect.bottom);
                rect.bottom = iconRect.top - gap;
            } else if (text.IsEmpty()) {
                const int top = rect.top + (rect.Height() - iconSize.cy) / 2;
                iconRect.SetRect(left, top, left + iconSize.cx, top + iconSize.cy);
            } else {
                iconRect.SetRect(left, rect.top, left + iconSize.cx, rect.top + iconSize.cy);
                rect.top = iconRect.bottom + gap;
            }
        } else {
            if (across == DT_RIGHT) {
                rect.right -= iconSize.cx + gap;
                iconRect.left = rect.right + gap;
            } else {
                iconRect.left = rect.left;
                rect.left += iconSize.cx + gap;
            }
            iconRect.right = iconRect.left + iconSize.cx;
            if (format & DT_BOTTOM)
                iconRect.top = rect.bottom - iconSize.cy;
            else if (format & DT_VCENTER)
                iconRect.top = rect.top + (rect.Height() - iconSize.cy) / 2;
            else
                iconRect.top = rect.top;
            iconRect.bottom = iconRect.top + iconSize.cy;
        }
        const UINT state = DST_ICON | (disabled ? DSS_DISABLED : 0);
        if (upright) {
            cdxCRot90DC upr(this, &iconRect, -GetAngle(), true);
            if (upr.IsCreated()) {
                const CRect& at = upr.GetRotRect();
                ::DrawState(upr.m_hDC, nullptr, nullptr, (LPARAM)icon, 0, at.left, at.top, at.Width(), at.Height(),
                            state);
            }
        } else {
            ::DrawState(m_hDC, nullptr, nullptr, (LPARAM)icon, 0, iconRect.left, iconRect.top, iconRect.Width(),
                        iconRect.Height(), state);
        }
    }
    if (rect.IsRectEmpty() || text.IsEmpty())
        return;
    const COLORREF oldColour = SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    const int oldMode = SetBkMode(TRANSPARENT);
    const int saved = SaveDC();
    if (!(format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))) {
        CRect measured(rect);
        DrawText(text, &measured, (format | DT_CALCRECT) & ~DT_NOCLIP);
        IntersectClipRect(&rect);
        if (format & DT_VCENTER)
            rect.top += (rect.Height() - measured.Height()) / 2;
        else
            rect.top = rect.bottom - measured.Height();
    }
    if (disabled) {
        const CPoint shift = RotatePoint(CPoint(1, 1));
        CRect lit(rect);
        lit.OffsetRect(shift);
        SetTextColor(::GetSysColor(COLOR_3DHIGHLIGHT));
        DrawText(text, &lit, format);
        SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
    }
    DrawText(text, &rect, format);
    RestoreDC(saved);
    SetTextColor(oldColour);
    SetBkMode(oldMode);
}
