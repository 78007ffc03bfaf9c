#include "model/gfx/MemDC.h"

CMemDCCache::CMemDCCache() : m_pBitmap(NULL), m_nStale(1), m_nLocked(0) {}

CMemDCCache::~CMemDCCache() { delete m_pBitmap; }

void CMemDCCache::Drop()
{
    delete m_pBitmap;
    m_pBitmap = NULL;
    m_rect.SetRectEmpty();
    m_nStale = 1;
}

BOOL CMemDCCache::Prepare(CDC* target, const CRect& rect)
{
    if (m_pBitmap != NULL && !m_rect.EqualRect(&rect))
        Drop();
    if (m_pBitmap == NULL && m_nLocked == 0) {
        CBitmap* bitmap = new CBitmap;
        if (!bitmap->CreateCompatibleBitmap(target, rect.Width(), rect.Height())) {
            delete bitmap;
            return FALSE;
        }
        m_pBitmap = bitmap;
        m_rect = rect;
    }
    return m_pBitmap != NULL;
}

void CMemDCCache::Scroll(int dx, int dy)
{
    if (m_pBitmap == NULL)
        return;
    HDC screen = ::GetDC(NULL);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(NULL, screen);
    if (dc == NULL)
        return;
    {
        CSelectGuard bitmap(dc, m_pBitmap->GetSafeHandle());
        ::BitBlt(dc, dx, dy, m_rect.Width(), m_rect.Height(), dc, 0, 0, SRCCOPY);
    }
    ::DeleteDC(dc);
}

IMPLEMENT_DYNAMIC(CMemDC, CDC)

CMemDC::CMemDC(CDC* target, const CRect& bitmapRect, const CRect& targetRect, CMemDCCache* cache)
    : m_pCache(cache), m_pTarget(target), m_rectTarget(targetRect), m_bBuffered(FALSE), m_dwStamp(::GetTickCount())
{
    m_bBuffered = !target->IsPrinting();
    if (m_bBuffered) {
        if (!CreateCompatibleDC(target)) {
            m_bBuffered = FALSE;
        } else {
            if (m_rectTarget.Width() == 0 || m_rectTarget.Height() == 0)
                m_rectTarget = bitmapRect;
            if (cache == NULL || !cache->Prepare(target, bitmapRect)) {
                DeleteDC();
                m_rectTarget.SetRectEmpty();
                m_bBuffered = FALSE;
            } else {
                m_bitmapSelection.emplace(m_hDC, cache->GetBitmap()->GetSafeHandle());
                ::IntersectClipRect(m_hDC, m_rectTarget.left - bitmapRect.left, m_rectTarget.top - bitmapRect.top,
                                    m_rectTarget.right - bitmapRect.left, m_rectTarget.bottom - bitmapRect.top);
                ::SetWindowOrgEx(m_hDC, bitmapRect.left, bitmapRect.top, NULL);
            }
        }
    }
    if (!m_bBuffered) {
        // Drawing reaches the target itself; the handles stay the target's.
        m_hDC = target->m_hDC;
        m_hAttribDC = target->m_hAttribDC;
        m_bPrinting = target->m_bPrinting;
    }
}

CMemDC::~CMemDC()
{
    if (m_bBuffered) {
        m_bitmapSelection.reset();
        DeleteDC();
    } else {
        m_hDC = NULL;
        m_hAttribDC = NULL;
    }
}

BOOL CMemDC::FlushIfOlder(DWORD ms)
{
    DWORD now = ::GetTickCount();
    // Unsigned subtraction counts across the wrap of the tick counter.
    if (ms != 0 && now - m_dwStamp <= ms)
        return FALSE;
    if (!m_bBuffered)
        return FALSE;
    ::BitBlt(m_pTarget->m_hDC, m_rectTarget.left, m_rectTarget.top, m_rectTarget.Width(), m_rectTarget.Height(), m_hDC,
             m_rectTarget.left, m_rectTarget.top, SRCCOPY);
    m_dwStamp = now;
    return TRUE;
}

void CMemDC::DrawCache(CMemDCCache* cache)
{
    if (cache == NULL || cache->GetBitmap() == NULL)
        return;
    HDC dc = ::CreateCompatibleDC(m_pTarget->m_hDC);
    if (dc == NULL)
        return;
    CRect r = cache->GetRect();
    {
        CSelectGuard bitmap(dc, cache->GetBitmap()->GetSafeHandle());
        ::BitBlt(m_pTarget->m_hDC, r.left, r.top, r.Width(), r.Height(), dc, 0, 0, SRCCOPY);
    }
    ::DeleteDC(dc);
}
