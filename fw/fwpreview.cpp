// Print preview: a window that takes the view's place in its frame, with a tool bar strip
// made from a dialog template.  Each page is recorded through an enhanced-metafile DC
// whose reference device is the printer (so the view sees the printer's geometry) and
// played back scaled onto the screen.
#include "fw/fwwin.h"
#include <algorithm>
#include <climits>

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
        const HWND frame = pParent->m_hWnd;
        pParent->SendMessage(WM_COMMAND, wParam, lParam);
        // A clicked button keeps the focus: the pane (the preview, or the view after Close)
        // gets it back, so that the wheel and the keys reach it.
        HWND pane = ::IsWindow(frame) ? ::GetDlgItem(frame, AFX_IDW_PANE_FIRST) : nullptr;
        if (pane != nullptr && ::IsWindowVisible(pane))
            ::SetFocus(pane);
        return TRUE;
    }
    void PostNcDestroy() override { delete this; }
};

const int kMargin = 8; // grey border round the pages, pixels
const int kShadow = 3;
const int kLine = 40; // one arrow's or a third of one wheel notch's scroll, pixels

} // namespace

IMPLEMENT_DYNCREATE(CPreviewView, CView)

BEGIN_MESSAGE_MAP(CPreviewView, CView)
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_KEYDOWN()
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
    // The page's size follows the window's whole area, scroll bars or not, so that showing
    // them does not change the zoom.
    CRect client;
    ::GetWindowRect(m_hWnd, &client);
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
    if (m_nZoom > 0) {
        left -= m_ptScroll.x;
        top -= m_ptScroll.y;
    }
    return CRect(left, top, left + w, top + h);
}

void CPreviewView::UpdateScrollBars()
{
    if (!m_hWnd)
        return;
    if (m_nZoom == 0 || m_sizePhys.cx <= 0) {
        m_ptScroll = CPoint(0, 0);
        ::ShowScrollBar(m_hWnd, SB_BOTH, FALSE);
        return;
    }
    // The zoomed page with its margins and shadow, from the top-left of the unscrolled view.
    CRect page = GetPageRect(0);
    page.OffsetRect(m_ptScroll);
    const CSize extent(page.right + kShadow + kMargin, page.bottom + kShadow + kMargin);
    // Twice: one bar taking room may make the other needed.
    for (int pass = 0; pass < 2; ++pass) {
        CRect client;
        ::GetClientRect(m_hWnd, &client);
        const int bars[] = {SB_HORZ, SB_VERT};
        const int shown[] = {client.Width(), client.Height()};
        const int whole[] = {extent.cx, extent.cy};
        LONG* positions[] = {&m_ptScroll.x, &m_ptScroll.y};
        for (int i = 0; i < 2; ++i) {
            const int most = std::max(0, whole[i] - shown[i]);
            *positions[i] = std::min(std::max(0L, *positions[i]), (LONG)most);
            SCROLLINFO si = {sizeof si,
                             SIF_RANGE | SIF_PAGE | SIF_POS,
                             0,
                             whole[i] - 1,
                             (UINT)std::max(0, shown[i]),
                             (int)*positions[i],
                             0};
            ::SetScrollInfo(m_hWnd, bars[i], &si, TRUE);
        }
    }
}

void CPreviewView::ScrollTo(int x, int y)
{
    const CPoint before = m_ptScroll;
    m_ptScroll = CPoint(x, y);
    UpdateScrollBars(); // clamps to the page
    if (m_ptScroll != before) {
        // Painted at once: keys held down would otherwise queue scrolls ahead of the paint.
        Invalidate(FALSE);
        UpdateWindow();
    }
}

int CPreviewView::ScrollStep(int nBar, UINT nSBCode) const
{
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    const int page = std::max(kLine, (nBar == SB_HORZ ? client.Width() : client.Height()) - kLine);
    SCROLLINFO si = {sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    ::GetScrollInfo(m_hWnd, nBar, &si);
    const int pos = nBar == SB_HORZ ? m_ptScroll.x : m_ptScroll.y;
    switch (nSBCode) {
    case SB_LINEUP: // also SB_LINELEFT
        return pos - kLine;
    case SB_LINEDOWN:
        return pos + kLine;
    case SB_PAGEUP:
        return pos - page;
    case SB_PAGEDOWN:
        return pos + page;
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return si.nMax;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        return si.nTrackPos; // the 32-bit position, not the message's 16 bits
    default:
        return pos;
    }
}

void CPreviewView::OnHScroll(UINT nSBCode, UINT, CScrollBar*)
{
    if (m_nZoom > 0)
        ScrollTo(ScrollStep(SB_HORZ, nSBCode), m_ptScroll.y);
}

void CPreviewView::OnVScroll(UINT nSBCode, UINT, CScrollBar*)
{
    if (m_nZoom > 0)
        ScrollTo(m_ptScroll.x, ScrollStep(SB_VERT, nSBCode));
}

BOOL CPreviewView::OnMouseWheel(UINT nFlags, short zDelta, CPoint)
{
    if (m_nZoom == 0)
        return FALSE;
    const int move = -zDelta * 3 * kLine / WHEEL_DELTA;
    if (nFlags & MK_SHIFT)
        ScrollTo(m_ptScroll.x + move, m_ptScroll.y);
    else
        ScrollTo(m_ptScroll.x, m_ptScroll.y + move);
    return TRUE;
}

void CPreviewView::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (m_nZoom == 0) {
        Default();
        return;
    }
    switch (nChar) {
    case VK_LEFT:
        OnHScroll(SB_LINELEFT, 0, nullptr);
        break;
    case VK_RIGHT:
        OnHScroll(SB_LINERIGHT, 0, nullptr);
        break;
    case VK_UP:
        OnVScroll(SB_LINEUP, 0, nullptr);
        break;
    case VK_DOWN:
        OnVScroll(SB_LINEDOWN, 0, nullptr);
        break;
    case VK_PRIOR:
        OnVScroll(SB_PAGEUP, 0, nullptr);
        break;
    case VK_NEXT:
        OnVScroll(SB_PAGEDOWN, 0, nullptr);
        break;
    case VK_HOME:
        ScrollTo(0, 0);
        break;
    case VK_END:
        ScrollTo(INT_MAX / 2, INT_MAX / 2);
        break;
    default:
        Default();
        break;
    }
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
    UpdateScrollBars();
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
    m_ptScroll = CPoint(0, 0); // each zoom starts at the page's top-left
    UpdateScrollBars();
    Invalidate(FALSE);
    UpdateToolBar();
}

void CPreviewView::OnZoomOut()
{
    if (m_nZoom > 0)
        --m_nZoom;
    m_ptScroll = CPoint(0, 0);
    UpdateScrollBars();
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
