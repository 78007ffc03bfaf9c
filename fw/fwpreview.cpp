// Print preview: a window that takes the view's place in its frame, with a tool bar strip
// made from a dialog template.  Each page is recorded through an enhanced-metafile DC
// whose reference device is the printer (so the view sees the printer's geometry) and
// played back scaled onto the screen.
#include "fw/fwwin.h"
#include <algorithm>

namespace {

// The tool bar strip: its buttons' commands go to the frame, which routes them to the
// preview window.
class FwPreviewBar : public CDialog
{
public:
    FwPreviewBar() = default;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        CWnd* pParent = GetParent();
        if (!pParent)
            return FALSE;
        pParent->SendMessage(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    void PostNcDestroy() override { delete this; }
};

const int kMargin = 8; // grey border round the pages, pixels
const int kShadow = 3;

} // namespace

IMPLEMENT_DYNCREATE(CPreviewView, CView)

BEGIN_MESSAGE_MAP(CPreviewView, CView)
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_COMMAND(AFX_ID_PREVIEW_CLOSE, &CPreviewView::OnPreviewClose)
    ON_COMMAND(AFX_ID_PREVIEW_PRINT, &CPreviewView::OnPreviewPrint)
    ON_COMMAND(AFX_ID_PREVIEW_NEXT, &CPreviewView::OnNextPage)
    ON_COMMAND(AFX_ID_PREVIEW_PREV, &CPreviewView::OnPrevPage)
    ON_COMMAND(AFX_ID_PREVIEW_NUMPAGE, &CPreviewView::OnNumPageChange)
    ON_COMMAND(AFX_ID_PREVIEW_ZOOMIN, &CPreviewView::OnZoomIn)
    ON_COMMAND(AFX_ID_PREVIEW_ZOOMOUT, &CPreviewView::OnZoomOut)
END_MESSAGE_MAP()

CPreviewView::CPreviewView() = default;

CPreviewView::~CPreviewView()
{
    DropPageImages();
    delete m_pPreviewInfo;
    delete m_pPreviewState;
}

void CPreviewView::DropPageImages()
{
    for (HENHMETAFILE& h : m_pageImages) {
        if (h)
            ::DeleteEnhMetaFile(h);
        h = nullptr;
    }
    m_pageImageNumbers[0] = m_pageImageNumbers[1] = 0;
}

BOOL CPreviewView::SetPrintView(CView* pPrintView)
{
    m_pPrintView = pPrintView;
    m_pPreviewInfo = new CPrintInfo;
    m_pPreviewInfo->m_bPreview = TRUE;
    if (!pPrintView->OnPreparePrinting(m_pPreviewInfo))
        return FALSE;
    // As for printing: the settings as OnPreparePrinting left them.
    CPrintDialog* pPD = m_pPreviewInfo->m_pPD;
    if (!pPD->CreatePrinterDC())
        return FALSE;
    m_dcPrint.Attach(pPD->m_pd.hDC);
    pPD->m_pd.hDC = nullptr;
    m_dcPrint.m_bPrinting = TRUE;
    m_sizePhys = CSize(m_dcPrint.GetDeviceCaps(PHYSICALWIDTH), m_dcPrint.GetDeviceCaps(PHYSICALHEIGHT));
    m_ptOffset = CPoint(m_dcPrint.GetDeviceCaps(PHYSICALOFFSETX), m_dcPrint.GetDeviceCaps(PHYSICALOFFSETY));
    m_sizePrintable = CSize(m_dcPrint.GetDeviceCaps(HORZRES), m_dcPrint.GetDeviceCaps(VERTRES));
    if (m_sizePhys.cx <= 0 || m_sizePhys.cy <= 0)
        m_sizePhys = m_sizePrintable;
    if (m_sizePhys.cx <= 0 || m_sizePhys.cy <= 0)
        return FALSE;
    pPrintView->OnBeginPrinting(&m_dcPrint, m_pPreviewInfo);
    m_nCurrentPage = m_pPreviewInfo->GetMinPage();
    m_nPages = m_pPreviewInfo->m_nNumPreviewPages >= 2 ? 2 : 1;
    // Without a first page there is no preview: the view cleans up as after one.
    bool ok = false;
    try {
        ok = PageImage(m_nCurrentPage) != nullptr;
    } catch (...) {
        pPrintView->OnEndPrinting(&m_dcPrint, m_pPreviewInfo);
        throw;
    }
    if (!ok)
        pPrintView->OnEndPrinting(&m_dcPrint, m_pPreviewInfo);
    return ok;
}

HENHMETAFILE CPreviewView::PageImage(UINT nPage)
{
    for (int i = 0; i < 2; ++i)
        if (m_pageImages[i] && m_pageImageNumbers[i] == nPage)
            return m_pageImages[i];
    if (nPage < m_pPreviewInfo->GetMinPage() || nPage > m_pPreviewInfo->GetMaxPage())
        return nullptr;
    HDC hRef = m_dcPrint.m_hDC;
    int lpx = m_dcPrint.GetDeviceCaps(LOGPIXELSX), lpy = m_dcPrint.GetDeviceCaps(LOGPIXELSY);
    RECT frame = {0, 0, MulDiv(m_sizePrintable.cx, 2540, lpx), MulDiv(m_sizePrintable.cy, 2540, lpy)};
    HDC hMeta = ::CreateEnhMetaFile(hRef, nullptr, &frame, nullptr);
    if (!hMeta)
        return nullptr;
    CDC dc;
    dc.Attach(hMeta);
    dc.m_bPrinting = TRUE;
    m_pPreviewInfo->m_nCurPage = nPage;
    m_pPreviewInfo->m_bContinuePrinting = TRUE;
    bool ok = true;
    try {
        m_pPrintView->OnPrepareDC(&dc, m_pPreviewInfo);
        if (m_pPreviewInfo->m_bContinuePrinting) {
            m_pPreviewInfo->m_rectDraw.SetRect(0, 0, m_sizePrintable.cx, m_sizePrintable.cy);
            dc.DPtoLP(&m_pPreviewInfo->m_rectDraw);
            m_pPrintView->OnPrint(&dc, m_pPreviewInfo);
        } else {
            ok = false;
        }
    } catch (...) {
        dc.Detach();
        ::DeleteEnhMetaFile(::CloseEnhMetaFile(hMeta));
        throw;
    }
    dc.Detach();
    HENHMETAFILE hImage = ::CloseEnhMetaFile(hMeta);
    if (!ok) {
        ::DeleteEnhMetaFile(hImage);
        return nullptr;
    }
    // Keep the two most recent pages.
    int slot = (m_pageImages[0] && m_pageImageNumbers[0] != m_nCurrentPage) ? 0 : 1;
    if (!m_pageImages[0])
        slot = 0;
    if (m_pageImages[slot])
        ::DeleteEnhMetaFile(m_pageImages[slot]);
    m_pageImages[slot] = hImage;
    m_pageImageNumbers[slot] = nPage;
    return hImage;
}

BOOL CPreviewView::PageExists(UINT nPage) { return PageImage(nPage) != nullptr; }

CRect CPreviewView::GetPageRect(UINT nIndex) const
{
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    int pages = (int)m_nPages;
    int availW = (client.Width() - kMargin * (pages + 1)) / pages;
    int availH = client.Height() - 2 * kMargin;
    if (availW < 1 || availH < 1)
        return CRect(0, 0, 0, 0);
    // Fit the paper, then zoom by powers of two around the top-left.
    double scale = std::min((double)availW / m_sizePhys.cx, (double)availH / m_sizePhys.cy);
    scale *= (double)(1 << m_nZoom);
    int w = (int)(m_sizePhys.cx * scale), h = (int)(m_sizePhys.cy * scale);
    int left = kMargin + (int)nIndex * (availW + kMargin);
    if (m_nZoom == 0)
        left += (availW - w) / 2;
    int top = kMargin + (m_nZoom == 0 ? (availH - h) / 2 : 0);
    return CRect(left, top, left + w, top + h);
}

void CPreviewView::OnDraw(CDC* pDC)
{
    HDC hdc = pDC->m_hDC;
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    ::FillRect(hdc, &client, ::GetSysColorBrush(COLOR_APPWORKSPACE));
    if (!m_pPreviewInfo || m_sizePhys.cx <= 0)
        return;
    for (UINT i = 0; i < m_nPages; ++i) {
        UINT page = m_nCurrentPage + i;
        HENHMETAFILE hImage = PageImage(page);
        if (!hImage && i > 0)
            break;
        CRect rc = GetPageRect(i);
        RECT shadow = {rc.left + kShadow, rc.top + kShadow, rc.right + kShadow, rc.bottom + kShadow};
        ::FillRect(hdc, &shadow, (HBRUSH)::GetStockObject(BLACK_BRUSH));
        ::FillRect(hdc, &rc, (HBRUSH)::GetStockObject(WHITE_BRUSH));
        ::FrameRect(hdc, &rc, (HBRUSH)::GetStockObject(BLACK_BRUSH));
        if (!hImage)
            continue;
        double sx = (double)rc.Width() / m_sizePhys.cx, sy = (double)rc.Height() / m_sizePhys.cy;
        RECT dest = {rc.left + (int)(m_ptOffset.x * sx), rc.top + (int)(m_ptOffset.y * sy),
                     rc.left + (int)((m_ptOffset.x + m_sizePrintable.cx) * sx),
                     rc.top + (int)((m_ptOffset.y + m_sizePrintable.cy) * sy)};
        int saved = ::SaveDC(hdc);
        ::IntersectClipRect(hdc, rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1);
        ::PlayEnhMetaFile(hdc, hImage, &dest);
        ::RestoreDC(hdc, saved);
    }
}

BOOL CPreviewView::OnEraseBkgnd(CDC*)
{
    return TRUE; // OnDraw paints every pixel
}

void CPreviewView::OnSize(UINT, int, int)
{
    Default();
    Invalidate(FALSE);
}

void CPreviewView::OnActivateView(BOOL bActivate, CView*, CView*)
{
    if (bActivate && m_hWnd && ::IsWindowVisible(m_hWnd))
        ::SetFocus(m_hWnd);
}

BOOL CPreviewView::PreTranslateMessage(MSG* pMsg)
{
    // Esc closes the preview, as its Close button does.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
        if (CFrameWnd* pFrame = GetParentFrame()) {
            pFrame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
            return TRUE;
        }
    }
    return FALSE;
}

void CPreviewView::UpdateToolBar()
{
    if (!m_pToolBar || !m_pToolBar->m_hWnd)
        return;
    HWND bar = m_pToolBar->m_hWnd;
    auto enable = [bar](int id, BOOL on) {
        if (HWND h = ::GetDlgItem(bar, id))
            ::EnableWindow(h, on);
    };
    enable(AFX_ID_PREVIEW_PREV, m_nCurrentPage > m_pPreviewInfo->GetMinPage());
    enable(AFX_ID_PREVIEW_NEXT, PageExists(m_nCurrentPage + m_nPages));
    enable(AFX_ID_PREVIEW_ZOOMIN, m_nZoom < 2);
    enable(AFX_ID_PREVIEW_ZOOMOUT, m_nZoom > 0);
    if (HWND h = ::GetDlgItem(bar, AFX_ID_PREVIEW_NUMPAGE)) {
        CString text;
        text.LoadString(m_nPages == 1 ? FW_IDS_PREVIEW_TWOPAGE : FW_IDS_PREVIEW_ONEPAGE);
        // The program's own tool bars carry their own caption for this button.
        char current[64] = {};
        ::GetWindowText(h, current, sizeof current);
        CString one, two;
        one.LoadString(FW_IDS_PREVIEW_ONEPAGE);
        two.LoadString(FW_IDS_PREVIEW_TWOPAGE);
        if (one == current || two == current)
            ::SetWindowText(h, text);
        ::EnableWindow(h, m_nZoom == 0);
    }
}

void CPreviewView::OnNextPage()
{
    if (PageExists(m_nCurrentPage + m_nPages)) {
        ++m_nCurrentPage;
        Invalidate(FALSE);
    }
    UpdateToolBar();
}

void CPreviewView::OnPrevPage()
{
    if (m_nCurrentPage > m_pPreviewInfo->GetMinPage()) {
        --m_nCurrentPage;
        Invalidate(FALSE);
    }
    UpdateToolBar();
}

void CPreviewView::OnNumPageChange()
{
    m_nPages = m_nPages == 1 ? 2 : 1;
    Invalidate(FALSE);
    UpdateToolBar();
}

void CPreviewView::OnZoomIn()
{
    if (m_nZoom < 2)
        ++m_nZoom;
    if (m_nZoom > 0)
        m_nPages = 1;
    Invalidate(FALSE);
    UpdateToolBar();
}

void CPreviewView::OnZoomOut()
{
    if (m_nZoom > 0)
        --m_nZoom;
    Invalidate(FALSE);
    UpdateToolBar();
}

void CPreviewView::OnPreviewClose() { m_pPrintView->OnEndPrintPreview(&m_dcPrint, m_pPreviewInfo, CPoint(0, 0), this); }

void CPreviewView::OnPreviewPrint()
{
    // The preview closes and the print command runs again, with its own checks.
    CFrameWnd* pFrame = GetParentFrame();
    OnPreviewClose();
    if (pFrame)
        pFrame->SendMessage(WM_COMMAND, ID_FILE_PRINT);
}

void FwClosePrintPreview(CFrameWnd* pFrame)
{
    if (pFrame && pFrame->m_pPreviewBar)
        pFrame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
}

// ---------------------------------------------------------------------------------------
// CView: starting and ending the preview

void CView::OnFilePrintPreview() { RunPrintPreview(AFX_IDD_PREVIEW_TOOLBAR); }

void CView::RunPrintPreview(UINT nIDToolBar)
{
    auto* pState = new CPrintPreviewState;
    BOOL ok = FALSE;
    try {
        ok = DoPrintPreview(nIDToolBar, this, RUNTIME_CLASS(CPreviewView), pState);
    } catch (...) {
        delete pState;
        throw;
    }
    if (!ok) {
        AfxMessageBox(FW_IDP_COMMAND_FAILURE);
        delete pState;
    }
}

BOOL CView::DoPrintPreview(UINT nIDResource, CView* pPrintView, CRuntimeClass* pPreviewViewClass,
                           CPrintPreviewState* pState)
{
    CFrameWnd* pFrame = GetParentFrame();
    if (!pFrame || pFrame->m_pPreviewBar || !pPreviewViewClass ||
        !pPreviewViewClass->IsDerivedFrom(RUNTIME_CLASS(CPreviewView)))
        return FALSE;
    HWND hOld = ::GetDlgItem(pFrame->m_hWnd, AFX_IDW_PANE_FIRST);
    if (!hOld)
        return FALSE;

    auto* pBar = new FwPreviewBar;
    if (!pBar->Create(nIDResource, pFrame)) {
        delete pBar;
        return FALSE;
    }
    pBar->SetDlgCtrlID(AFX_IDW_PREVIEW_BAR);

    auto* pView = static_cast<CPreviewView*>(pPreviewViewClass->CreateObject());
    if (!pView) {
        pBar->DestroyWindow();
        return FALSE;
    }
    pView->m_pOrigView = this;
    pView->m_pToolBar = pBar;

    // The preview takes the pane's place; the view waits hidden.
    pState->pViewActiveOld = pFrame->GetActiveView();
    pState->nIDMainPane = AFX_IDW_PANE_FIRST;
    ::SetWindowLongPtr(hOld, GWLP_ID, AFX_IDW_PANE_SAVE);
    ::ShowWindow(hOld, SW_HIDE);

    auto restore = [&]() {
        ::SetWindowLongPtr(hOld, GWLP_ID, AFX_IDW_PANE_FIRST);
        ::ShowWindow(hOld, SW_SHOW);
        pFrame->m_pPreviewBar = nullptr;
        pFrame->SetActiveView(pState->pViewActiveOld, FALSE);
        pBar->DestroyWindow();
        pFrame->RecalcLayout();
    };

    if (!pView->CreateEx(0, nullptr, nullptr, WS_CHILD, 0, 0, 0, 0, pFrame->m_hWnd, (HMENU)(UINT_PTR)AFX_IDW_PANE_FIRST,
                         nullptr)) {
        restore();
        return FALSE;
    }
    // A preview that cannot start, or fails while drawing its first page, gives the view
    // its place back before the failure is reported.
    BOOL started = FALSE;
    try {
        started = pView->SetPrintView(pPrintView);
    } catch (...) {
        pView->m_pPreviewState = nullptr; // the caller keeps it
        pView->DestroyWindow();
        restore();
        throw;
    }
    if (!started) {
        pView->m_pPreviewState = nullptr;
        pView->DestroyWindow();
        restore();
        return FALSE;
    }
    pView->m_pPreviewState = pState;
    pFrame->m_pPreviewBar = pBar;
    pFrame->m_pPreviewState = pState;
    pFrame->SetActiveView(pView, FALSE);
    pFrame->RecalcLayout();
    ::ShowWindow(pBar->m_hWnd, SW_SHOW);
    ::ShowWindow(pView->m_hWnd, SW_SHOW);
    pView->UpdateToolBar();
    ::SetFocus(pView->m_hWnd);
    pFrame->UpdateWindow();
    return TRUE;
}

void CView::OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT, CPreviewView* pView)
{
    if (pView->m_pPrintView)
        pView->m_pPrintView->OnEndPrinting(pDC, pInfo);
    CFrameWnd* pFrame = pView->GetParentFrame();
    CPrintPreviewState* pState = pView->m_pPreviewState;
    CView* pOld = pState ? pState->pViewActiveOld : this;
    if (pFrame) {
        HWND hSaved = ::GetDlgItem(pFrame->m_hWnd, AFX_IDW_PANE_SAVE);
        CWnd* pBar = pFrame->m_pPreviewBar;
        pFrame->m_pPreviewBar = nullptr;
        pFrame->m_pPreviewState = nullptr;
        pFrame->SetActiveView(nullptr, FALSE);
        pView->DestroyWindow(); // the object goes with its window
        if (pBar)
            pBar->DestroyWindow();
        if (hSaved) {
            ::SetWindowLongPtr(hSaved, GWLP_ID, AFX_IDW_PANE_FIRST);
            ::ShowWindow(hSaved, SW_SHOW);
        }
        pFrame->SetActiveView(pOld, FALSE);
        pFrame->RecalcLayout();
        if (pOld && pOld->m_hWnd)
            ::SetFocus(pOld->m_hWnd);
        pFrame->UpdateWindow();
    } else {
        pView->DestroyWindow();
    }
}
