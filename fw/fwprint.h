// The print road: print information, the printer DC from DEVNAMES/DEVMODE, and the print
// preview that takes the view's place in its frame.
#pragma once
#include "fw/fwdoc.h"

// A printer DC for the given DEVNAMES and DEVMODE handles (NULL when there is none).
HDC FwCreatePrinterDC(HGLOBAL hDevNames, HGLOBAL hDevMode);
// A movable copy of a global memory block (nullptr for nullptr or when there is no memory).
HGLOBAL FwCopyGlobal(HGLOBAL h);

// What one print job (or preview) knows about its pages and dialog.
class CPrintInfo
{
public:
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(UINT n) { m_pPD->m_pd.nMinPage = (WORD)n; }
    void SetMaxPage(UINT n) { m_pPD->m_pd.nMaxPage = (WORD)n; }
    UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
    UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
    UINT GetFromPage() const;
    UINT GetToPage() const;
    UINT GetOffsetPage() const { return 0; }

    CPrintDialog* m_pPD; // owned; a view may replace it with its own dialog
    BOOL m_bDocObject = FALSE;
    BOOL m_bDirect = FALSE; // no dialog: the application's printer
    BOOL m_bPreview = FALSE;
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;
    CString m_strPageDesc;
    LPVOID m_lpUserData = nullptr;
    CRect m_rectDraw;
    int m_nJobNumber = 0;
};

// What a preview replaced in its frame, restored when it closes.
struct CPrintPreviewState
{
    UINT nIDMainPane = AFX_IDW_PANE_FIRST;
    HMENU hMenu = nullptr;
    DWORD dwStates = 0;
    CView* pViewActiveOld = nullptr;
    BOOL (*lpfnCloseProc)(CFrameWnd* pFrameWnd) = nullptr;
    HACCEL hAccelTable = nullptr;
};

// The preview window: page images rendered through a DC that answers the printer's
// geometry and is shown on the screen, with the tool bar strip above it.
class CPreviewView : public CView
{
    DECLARE_DYNCREATE(CPreviewView)
public:
    CPreviewView();
    ~CPreviewView() override;

    // Prepares the print information for pPrintView and renders its first page.
    virtual BOOL SetPrintView(CView* pPrintView);
    void OnDraw(CDC* pDC) override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void OnPreviewClose();
    void OnPreviewPrint();
    void OnNextPage();
    void OnPrevPage();
    void OnNumPageChange();
    void OnZoomIn();
    void OnZoomOut();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    // A zoomed page larger than the window scrolls: by its scroll bars, the wheel (with
    // Shift across) and the keys (arrows, Page Up/Down, Home the top-left, End the
    // bottom-right).
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);

    // Geometry of the shown page(s) in client pixels (for tests and painting).
    CRect GetPageRect(UINT nIndex) const;
    UINT GetCurrentPage() const { return m_nCurrentPage; }
    int GetZoom() const { return m_nZoom; }
    UINT GetPagesShown() const { return m_nPages; }
    CPoint GetScrollPosition() const { return m_ptScroll; }

    CView* m_pPrintView = nullptr;
    CView* m_pOrigView = nullptr;
    CPrintInfo* m_pPreviewInfo = nullptr;
    CPrintPreviewState* m_pPreviewState = nullptr;
    CWnd* m_pToolBar = nullptr;
    CDC m_dcPrint; // the printer's attribute DC

    DECLARE_MESSAGE_MAP()
protected:
    HENHMETAFILE PageImage(UINT nPage);
    void DropPageImages();
    void UpdateToolBar();
    BOOL PageExists(UINT nPage);
    void UpdateScrollBars();
    void ScrollTo(int x, int y);
    int ScrollStep(int nBar, UINT nSBCode) const;
    friend class CView;

    UINT m_nCurrentPage = 1;
    UINT m_nPages = 1;
    int m_nZoom = 0;   // 0 fits the page; each step doubles
    CPoint m_ptScroll; // how far a zoomed page is scrolled, client pixels
    HENHMETAFILE m_pageImages[2] = {};
    UINT m_pageImageNumbers[2] = {};
    BOOL m_bPageChecked[3] = {}; // whether page current+i was asked for
    BOOL m_bPageExists[3] = {};
    CSize m_sizePhys;      // paper in printer pixels
    CPoint m_ptOffset;     // printable area's offset in printer pixels
    CSize m_sizePrintable; // printable area in printer pixels
};

// Ends a running preview of pFrame (as its Close button does).
void FwClosePrintPreview(CFrameWnd* pFrame);
