// The design view's printing: the checks before a job, the print dialog with the paper
// adjustments, one page on which every cell of the layout is printed, print preview,
// and the design of one cell for the paper preview.
#include "app/view/FrostwellView.h"

#include "ui/MessageDlg.h"
#include "app/print/MyPrintDialog.h"
#include "app/print/PasswordDlg.h"
#include "app/print/PrinterList.h"
#include "app/print/ViewPrintRender.h"
#include "base/Globals.h"
#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "model/design/FrostwellDoc.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/design/PaperPreview.h"
#include "model/paper/PaperSize.h"

namespace {

// No selection, no page numbers, copies and collation kept in the printer settings, no
// print-to-file box.
const DWORD kPrintDialogFlags = PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE;

} // namespace

BOOL CFrostwellView::CheckBeforePrinting()
{
    const CString printer = GetSetting("printer");
    if (printer.IsEmpty()) {
        ShowLangMessage("122");
        return FALSE;
    }
    // Nothing can be placed without the sheet.
    const CPaperSize* paper = GetPaperLayout()->GetPaperSize();
    if (paper == nullptr) {
        ShowLangMessage("PRINT_NO_PAPER");
        return FALSE;
    }
    if (paper->GetPaperCode() == DMPAPER_TABLOID && !CPrinterList::HasPaperCode3(printer)) {
        ShowLangMessage("123");
        return FALSE;
    }
    const CString stored = GetSetting("printing_security");
    if (!stored.IsEmpty()) {
        CPasswordDlg dialog;
        dialog.DoModal();
        if (!PasswordDigestMatches(dialog.GetDigest(), stored)) {
            ShowLangMessage("124");
            return FALSE;
        }
    }
    return TRUE;
}

void CFrostwellView::OnFilePrint()
{
    if (CheckBeforePrinting())
        CView::OnFilePrint();
}

void CFrostwellView::OnFilePrintPreview()
{
    if (GetPaperLayout()->GetPaperSize() == nullptr) {
        ShowLangMessage("PRINT_NO_PAPER");
        return;
    }
    if (CWnd* main = AfxGetMainWnd())
        main->KillTimer(1);
    RunPrintPreview(GetPreviewToolbarId());
}

void CFrostwellView::OnAskPrint()
{
    CMessageDlg dialog;
    dialog.m_message = GetLangText("IDS_STRING435");
    dialog.SetYesNo(TRUE);
    if (dialog.DoModal() == IDOK && AfxGetMainWnd() != nullptr)
        AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_FILE_PRINT);
}

BOOL CFrostwellView::OnPreparePrinting(CPrintInfo* pInfo)
{
    delete pInfo->m_pPD;
    pInfo->m_pPD = new CMyPrintDialog(FALSE, 0, 0, m_nAdjustX, m_nAdjustY, GetSetting("printer"), kPrintDialogFlags);
    pInfo->SetMinPage(1);
    pInfo->SetMaxPage(0xFFFF);

    const BOOL prepared = DoPreparePrinting(pInfo);
    CPrintDialog* dialog = pInfo->m_pPD;
    const CPaperSize* paper = GetPaperLayout()->GetPaperSize();
    if (prepared && dialog->m_pd.hDevMode != nullptr) {
        CMyPrintDialog* mine = static_cast<CMyPrintDialog*>(dialog);
        m_nAdjustX = mine->GetHorizontalAdjustment();
        m_nAdjustY = mine->GetVerticalAdjustment();
        if (paper != nullptr) {
            if (DEVMODE* mode = dialog->GetDevMode()) {
                mode->dmPaperSize = (short)paper->GetPaperCode();
                mode->dmOrientation = paper->IsLandscape() ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
                mode->dmFields |= DM_PAPERSIZE | DM_ORIENTATION;
                // A DC made before this change (the preview's) takes the new paper too.
                if (dialog->m_pd.hDC != nullptr)
                    ::ResetDC(dialog->m_pd.hDC, mode);
                ::GlobalUnlock(dialog->m_pd.hDevMode);
            }
        }
    }
    return prepared;
}

void CFrostwellView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    CFrostwellDoc* doc = GetDocument();
    const CPaperLayout* layout = GetPaperLayout();
    const float dpiX = (float)pDC->GetDeviceCaps(LOGPIXELSX);
    const float dpiY = (float)pDC->GetDeviceCaps(LOGPIXELSY);
    if (doc == nullptr || dpiX <= 0 || dpiY <= 0)
        return;
    CPrintDialog* dialog = pInfo != nullptr ? pInfo->m_pPD : nullptr;
    m_bPrintOutline = dialog != nullptr && dialog->IsKindOf(RUNTIME_CLASS(CMyPrintDialog)) &&
                      static_cast<CMyPrintDialog*>(dialog)->IsOutlineChecked();

    std::vector<PrintCell> cells;
    const PrintPlacementInput input =
        MakePlacementInput(doc, pDC->GetDeviceCaps(PHYSICALOFFSETX) / dpiX, pDC->GetDeviceCaps(PHYSICALOFFSETY) / dpiY);
    if (!ComputePrintCells(*layout, input, cells))
        return;
    const Gdiplus::SizeF item = layout->GetPrintableSize();
    PrintCells(doc, cells,
               [&](const PrintCell& cell) { RenderForPrint(pDC, Gdiplus::PointF(cell.x, cell.y), item, cell.angle); });
}

void CFrostwellView::RenderForPrint(CDC* pDC, Gdiplus::PointF position, Gdiplus::SizeF size, int angle)
{
    Gdiplus::Graphics g(pDC->GetSafeHdc());
    double xOffset = 0, yOffset = 0, width = 0, height = 0;
    const float scale =
        ComputeDrawingScale(pDC, &g, m_rectDesign, size.Width, size.Height, xOffset, yOffset, width, height);
    PrintAdjustments adjustments;
    adjustments.horizontalMm = m_nAdjustX;
    adjustments.verticalMm = m_nAdjustY;
    adjustments.outline = m_bPrintOutline;
    RenderPrintItem(&g, scale, GetDocument(), position.X, position.Y, size.Width, size.Height, angle, adjustments);
}

void CFrostwellView::RenderDesign(Gdiplus::Graphics* g, float width, float height)
{
    DrawDesignArea(GetDocument(), g, width, height);
}
