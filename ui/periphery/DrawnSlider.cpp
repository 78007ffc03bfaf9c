#include "ui/periphery/DrawnSlider.h"

BEGIN_MESSAGE_MAP(CDrawnSlider, CSliderCtrl)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, &CDrawnSlider::OnCustomDraw)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CDrawnSlider::~CDrawnSlider()
{
    if (m_dcBk.GetSafeHdc() != nullptr && m_bmpBkOld != nullptr)
        ::SelectObject(m_dcBk.GetSafeHdc(), m_bmpBkOld);
    m_bmpBk.DeleteObject();
    m_dcBk.DeleteDC();
}

BOOL CDrawnSlider::OnEraseBkgnd(CDC*) { return FALSE; }

void CDrawnSlider::OnCustomDraw(NMHDR* nmhdr, LRESULT* result)
{
    auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(nmhdr);
    if (cd->dwDrawStage == CDDS_PREPAINT)
        *result = CDRF_NOTIFYITEMDRAW;
    else if (cd->dwDrawStage == CDDS_ITEMPREPAINT && cd->dwItemSpec == TBCD_THUMB)
        *result = CDRF_DODEFAULT;
    else if (cd->dwDrawStage == CDDS_ITEMPREPAINT && cd->dwItemSpec == TBCD_CHANNEL) {
        DrawChannelBackground(cd->hdc);
        *result = CDRF_DODEFAULT;
    }
}

void CDrawnSlider::DrawChannelBackground(HDC dc)
{
    CWnd* parent = GetParent();
    if (parent == nullptr)
        return;
    CRect r;
    GetWindowRect(&r);
    parent->ScreenToClient(&r);
    const int w = r.Width(), h = r.Height();
    CClientDC parentDC(parent);
    if (m_dcBk.GetSafeHdc() == nullptr) {
        if (!m_dcBk.CreateCompatibleDC(&parentDC))
            return;
        m_bmpBk.CreateCompatibleBitmap(&parentDC, w, h);
        m_bmpBkOld = ::SelectObject(m_dcBk.GetSafeHdc(), m_bmpBk.GetSafeHandle());
        ::BitBlt(m_dcBk.GetSafeHdc(), 0, 0, w, h, parentDC.GetSafeHdc(), r.left, r.top, SRCCOPY);
    }
    const COLORREF oldBk = ::SetBkColor(dc, RGB(0, 0, 0));
    const COLORREF oldText = ::SetTextColor(dc, RGB(255, 255, 255));

    // The control as drawn so far, then the captured background in its place.
    HDC imageDC = ::CreateCompatibleDC(dc);
    HBITMAP image = ::CreateCompatibleBitmap(dc, w, h);
    HGDIOBJ imageOld = ::SelectObject(imageDC, image);
    ::BitBlt(imageDC, 0, 0, w, h, dc, 0, 0, SRCCOPY);
    ::BitBlt(dc, 0, 0, w, h, m_dcBk.GetSafeHdc(), 0, 0, SRCCOPY);

    // The image's white pixels (its context's background colour) become the mask's set bits.
    HDC maskDC = ::CreateCompatibleDC(dc);
    HBITMAP mask = ::CreateBitmap(w, h, 1, 1, nullptr);
    HGDIOBJ maskOld = ::SelectObject(maskDC, mask);
    ::BitBlt(maskDC, 0, 0, w, h, imageDC, 0, 0, SRCCOPY);

    // White pixels of the image stay white; every other shows the background.
    ::BitBlt(dc, 0, 0, w, h, imageDC, 0, 0, SRCINVERT);
    ::BitBlt(dc, 0, 0, w, h, maskDC, 0, 0, SRCAND);
    ::BitBlt(dc, 0, 0, w, h, imageDC, 0, 0, SRCINVERT);

    ::SetBkColor(dc, oldBk);
    ::SetTextColor(dc, oldText);
    ::SelectObject(maskDC, maskOld);
    ::DeleteObject(mask);
    ::DeleteDC(maskDC);
    ::SelectObject(imageDC, imageOld);
    ::DeleteObject(image);
    ::DeleteDC(imageDC);
}
