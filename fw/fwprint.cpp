// The print road: preparation with the print dialog, then one job page by page.
#include "fw/fwwin.h"

HDC FwCreatePrinterDC(HGLOBAL hDevNames, HGLOBAL hDevMode)
{
    if (!hDevNames)
        return nullptr;
    auto* dn = (LPDEVNAMES)::GlobalLock(hDevNames);
    if (!dn)
        return nullptr;
    auto* dm = hDevMode ? (LPDEVMODE)::GlobalLock(hDevMode) : nullptr;
    const char* base = (const char*)dn;
    // An empty port means the printer's own (an empty name would be taken as a port).
    const char* port = base + dn->wOutputOffset;
    HDC hdc = ::CreateDC(base + dn->wDriverOffset, base + dn->wDeviceOffset, *port ? port : nullptr, dm);
    if (dm)
        ::GlobalUnlock(hDevMode);
    ::GlobalUnlock(hDevNames);
    return hdc;
}

HGLOBAL FwCopyGlobal(HGLOBAL h)
{
    if (!h)
        return nullptr;
    const SIZE_T size = ::GlobalSize(h);
    const void* from = ::GlobalLock(h);
    if (!from)
        return nullptr;
    HGLOBAL copy = size ? ::GlobalAlloc(GMEM_MOVEABLE, size) : nullptr;
    if (void* to = copy ? ::GlobalLock(copy) : nullptr) {
        memcpy(to, from, size);
        ::GlobalUnlock(copy);
    } else if (copy) {
        ::GlobalFree(copy);
        copy = nullptr;
    }
    ::GlobalUnlock(h);
    return copy;
}

// ---------------------------------------------------------------------------------------
// CPrintInfo

CPrintInfo::CPrintInfo() : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION))
{
    SetMinPage(1);
    SetMaxPage(0xFFFF);
    m_pPD->m_pd.nFromPage = 1;
    m_pPD->m_pd.nToPage = 0xFFFF;
}

CPrintInfo::~CPrintInfo() { delete m_pPD; }

UINT CPrintInfo::GetFromPage() const
{
    return (m_pPD->m_pd.Flags & PD_PAGENUMS) ? m_pPD->m_pd.nFromPage : GetMinPage();
}

UINT CPrintInfo::GetToPage() const { return (m_pPD->m_pd.Flags & PD_PAGENUMS) ? m_pPD->m_pd.nToPage : GetMaxPage(); }

// ---------------------------------------------------------------------------------------
// CView: the print road

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}
void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrint(CDC* pDC, CPrintInfo*) { OnDraw(pDC); }

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    CWinApp* pApp = AfxGetApp();
    CPrintDialog* pPD = pInfo->m_pPD;
    if (pInfo->m_bPreview || pInfo->m_bDirect) {
        if (!pPD->m_pd.hDC) {
            if (pApp->GetPrinterDeviceDefaults(&pPD->m_pd)) {
                // The job works on copies: the application may choose another printer
                // (freeing its own) while the job runs.
                pPD->TakeCopiesOf(pPD->m_pd.hDevNames, pPD->m_pd.hDevMode);
            } else {
                // No printer: a preview cannot run; a direct print asks for one.
                if (!pInfo->m_bDirect || pApp->DoPrintDialog(pPD) != IDOK)
                    return FALSE;
            }
            if (!pPD->m_pd.hDC && !pPD->CreatePrinterDC())
                return FALSE;
        }
        pPD->m_pd.nFromPage = (WORD)pInfo->GetMinPage();
        pPD->m_pd.nToPage = (WORD)pInfo->GetMaxPage();
    } else {
        pPD->m_pd.nFromPage = (WORD)pInfo->GetMinPage();
        pPD->m_pd.nToPage = (WORD)pInfo->GetMaxPage();
        if (pApp->DoPrintDialog(pPD) != IDOK)
            return FALSE;
        if (!pPD->m_pd.hDC && !pPD->CreatePrinterDC())
            return FALSE;
    }
    pInfo->m_nNumPreviewPages = 1;
    return pPD->m_pd.hDC != nullptr;
}

void CView::OnFilePrint()
{
    const MSG* pMsg = GetCurrentMessage();
    BOOL bDirect = pMsg->message == WM_COMMAND && LOWORD(pMsg->wParam) == ID_FILE_PRINT_DIRECT;
    PrintJob(bDirect);
}

void CView::PrintJob(BOOL bDirect)
{
    CPrintInfo printInfo;
    printInfo.m_bDirect = bDirect;
    if (!OnPreparePrinting(&printInfo))
        return;
    // Paper and orientation that OnPreparePrinting wrote into the printer settings must
    // reach this job: make the job's DC from the settings as they are now.
    CPrintDialog* pPD = printInfo.m_pPD;
    if (!pPD->CreatePrinterDC()) {
        AfxMessageBox(FW_IDP_FAILED_TO_START_PRINT);
        return;
    }
    CDC dcPrint;
    dcPrint.Attach(pPD->m_pd.hDC);
    pPD->m_pd.hDC = nullptr; // the job's DC from here on
    dcPrint.m_bPrinting = TRUE;

    OnBeginPrinting(&dcPrint, &printInfo);

    CString title;
    if (m_pDocument)
        title = m_pDocument->GetTitle();
    if (title.IsEmpty())
        title = AfxGetAppName();
    DOCINFO di = {};
    di.cbSize = sizeof di;
    di.lpszDocName = title;
    if (::StartDoc(dcPrint.m_hDC, &di) <= 0) {
        OnEndPrinting(&dcPrint, &printInfo);
        AfxMessageBox(FW_IDP_FAILED_TO_START_PRINT);
        return;
    }

    bool error = false;
    UINT from = printInfo.GetFromPage(), to = printInfo.GetToPage();
    try {
        for (printInfo.m_nCurPage = from; printInfo.m_nCurPage <= to; ++printInfo.m_nCurPage) {
            OnPrepareDC(&dcPrint, &printInfo);
            if (!printInfo.m_bContinuePrinting)
                break;
            if (::StartPage(dcPrint.m_hDC) <= 0) {
                error = true;
                break;
            }
            // The page's drawing area in logical units (the view's OnPrepareDC may have set a
            // mapping mode).
            printInfo.m_rectDraw.SetRect(0, 0, dcPrint.GetDeviceCaps(HORZRES), dcPrint.GetDeviceCaps(VERTRES));
            dcPrint.DPtoLP(&printInfo.m_rectDraw);
            OnPrint(&dcPrint, &printInfo);
            if (::EndPage(dcPrint.m_hDC) <= 0) {
                error = true;
                break;
            }
            if (printInfo.m_nCurPage == 0xFFFF)
                break;
        }
    } catch (...) {
        // A page that failed halfway must not reach the paper: the job is dropped, the
        // view still cleans up, and the failure goes on to be reported.
        ::AbortDoc(dcPrint.m_hDC);
        OnEndPrinting(&dcPrint, &printInfo);
        throw;
    }
    if (error)
        ::AbortDoc(dcPrint.m_hDC);
    else
        ::EndDoc(dcPrint.m_hDC);
    OnEndPrinting(&dcPrint, &printInfo);
    dcPrint.DeleteDC();
    if (error)
        AfxMessageBox(FW_IDP_FAILED_TO_START_PRINT);
}
