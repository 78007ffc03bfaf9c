// Flicker-free painting: a device context over a kept off-screen bitmap.
#pragma once
#include "fw/fw.h"
#include <optional>

// The kept bitmap of one painting window.  It outlives each paint, so a repaint
// that draws nothing still shows the last image.
class CMemDCCache : public CObject
{
public:
    CMemDCCache();
    ~CMemDCCache() override;

    // TRUE when a bitmap of exactly this rectangle is ready (kept contents included).
    BOOL Prepare(CDC* target, const CRect& rect);

    BOOL NeedsRedraw() const { return m_pBitmap == NULL || m_nStale != 0; }
    void ClearStale() { m_nStale = 0; }
    void SetStale() { m_nStale = 1; }
    void SetLocked(BOOL locked) { m_nLocked = locked ? 1 : 0; }
    CBitmap* GetBitmap() const { return m_pBitmap; }
    CRect GetRect() const { return m_rect; }
    // Shifts the kept image inside its own bitmap; the uncovered band stays as it was.
    void Scroll(int dx, int dy);

private:
    void Drop();

    CBitmap* m_pBitmap;
    CRect m_rect;
    int m_nStale;
    int m_nLocked;
};

class CMemDC : public CDC
{
    DECLARE_DYNAMIC(CMemDC)
public:
    // An empty target rectangle means the whole bitmap rectangle.
    CMemDC(CDC* target, const CRect& bitmapRect, const CRect& targetRect, CMemDCCache* cache);
    ~CMemDC() override;

    // Copies the target rectangle to the target unless fewer than ms milliseconds
    // have passed (0: always).  FALSE when nothing was copied.
    BOOL FlushIfOlder(DWORD ms);
    // Copies a cache's whole bitmap into the target at the cache's rectangle.
    void DrawCache(CMemDCCache* cache);
    CDC* GetOutputDC() { return m_bBuffered ? static_cast<CDC*>(this) : m_pTarget; }
    BOOL IsBuffered() const { return m_bBuffered; }

private:
    CMemDCCache* m_pCache;
    std::optional<CSelectGuard> m_bitmapSelection; // the cache's bitmap while buffered
    CDC* m_pTarget;
    CRect m_rectTarget;
    BOOL m_bBuffered;
    DWORD m_dwStamp;
};
