#include "app/view/TrackDC.h"

namespace {

// One bitmap for every drag of the process; grown, never shrunk, freed at exit.
struct SharedTrackBitmap
{
    HBITMAP handle = NULL;
    CSize size;
    SharedTrackBitmap() = default;
    SharedTrackBitmap(const SharedTrackBitmap&) = delete;
    SharedTrackBitmap& operator=(const SharedTrackBitmap&) = delete;
    ~SharedTrackBitmap() { Reset(); }
    void Reset()
    {
        if (handle != NULL)
            ::DeleteObject(handle);
        handle = NULL;
        size = CSize();
    }
};

SharedTrackBitmap& SharedBitmap()
{
    static SharedTrackBitmap bitmap;
    return bitmap;
}

// Converts a length of device pixels to logical units of dc.
CSize DeviceToLogicalSize(HDC dc, int cx, int cy)
{
    POINT p[2] = {{0, 0}, {cx, cy}};
    ::DPtoLP(dc, p, 2);
    return CSize(abs(p[1].x - p[0].x), abs(p[1].y - p[0].y));
}

} // namespace

BOOL CTrackDC::PrepareBitmap(CDC* target, int width, int height)
{
    SharedTrackBitmap& shared = SharedBitmap();
    if (shared.handle != NULL && shared.size.cx >= width && shared.size.cy >= height)
        return TRUE;
    shared.Reset();
    HBITMAP bitmap = ::CreateCompatibleBitmap(target->m_hDC, width, height);
    if (bitmap == NULL)
        return FALSE;
    shared.handle = bitmap;
    shared.size = CSize(width, height);
    return TRUE;
}

CSize CTrackDC::GetSharedBitmapSize() { return SharedBitmap().size; }

void CTrackDC::TakeOverTarget()
{
    m_hDC = m_pTarget->m_hDC;
    m_hAttribDC = m_pTarget->m_hAttribDC;
    m_bTakenOver = TRUE;
}

CTrackDC::CTrackDC(CDC* target, DWORD rop) : m_pTarget(target), m_dwRop(rop), m_bMemory(FALSE), m_bTakenOver(FALSE)
{
    if (target == NULL || target->m_hDC == NULL)
        return;
    if (target->IsPrinting()) {
        TakeOverTarget();
        return;
    }
    HDC t = target->m_hDC;
    CRect clip;
    ::GetClipBox(t, &clip);
    CRect device = clip;
    ::LPtoDP(t, reinterpret_cast<POINT*>(&device), 2);
    device.NormalizeRect();
    HDC mem = NULL;
    if (device.Width() > 0 && device.Height() > 0 && PrepareBitmap(target, device.Width(), device.Height()))
        mem = ::CreateCompatibleDC(t);
    if (mem == NULL) {
        TakeOverTarget();
        return;
    }
    m_hDC = m_hAttribDC = mem;
    m_bMemory = TRUE;
    m_bitmapSelection.emplace(mem, SharedBitmap().handle);

    int mode = ::GetMapMode(t);
    POINT org;
    ::SetMapMode(mem, mode);
    if (mode > MM_TWIPS) { // isotropic and anisotropic carry their extents
        SIZE ext;
        ::GetWindowExtEx(t, &ext);
        ::SetWindowExtEx(mem, ext.cx, ext.cy, NULL);
        ::GetViewportExtEx(t, &ext);
        ::SetViewportExtEx(mem, ext.cx, ext.cy, NULL);
    }
    ::GetWindowOrgEx(t, &org);
    ::SetWindowOrgEx(mem, org.x, org.y, NULL);
    ::GetViewportOrgEx(t, &org);
    // The bitmap covers the target's visible area only: shift so that its corner is 0, 0.
    ::SetViewportOrgEx(mem, org.x - device.left, org.y - device.top, NULL);

    CRect fill = clip;
    fill.NormalizeRect();
    if (mode != MM_TEXT) {
        CSize two = DeviceToLogicalSize(mem, 2, 2);
        fill.InflateRect(two.cx, two.cy);
    }
    HBRUSH brush = ::CreateSolidBrush(::GetBkColor(t));
    ::FillRect(mem, &fill, brush);
    ::DeleteObject(brush);
    ::SetBoundsRect(mem, NULL, DCB_RESET | DCB_ENABLE);
}

CTrackDC::~CTrackDC()
{
    if (m_bMemory) {
        HDC t = m_pTarget->m_hDC;
        CRect bounds;
        UINT state = ::GetBoundsRect(m_hDC, &bounds, DCB_RESET);
        if ((state & DCB_SET) != 0) {
            // Bounds come back in logical units of the memory DC.
            bounds.NormalizeRect();
            CRect clip;
            ::GetClipBox(t, &clip);
            clip.NormalizeRect();
            CRect copy;
            if (copy.IntersectRect(&bounds, &clip)) {
                CSize two(2, 2);
                if (::GetMapMode(t) != MM_TEXT)
                    two = DeviceToLogicalSize(t, 2, 2);
                copy.InflateRect(two.cx, two.cy);
                ::BitBlt(t, copy.left, copy.top, copy.Width(), copy.Height(), m_hDC, copy.left, copy.top, m_dwRop);
            }
        }
        m_bitmapSelection.reset();
        ::DeleteDC(m_hDC);
    }
    // Never delete a borrowed or already deleted handle.
    m_hDC = NULL;
    m_hAttribDC = NULL;
}
