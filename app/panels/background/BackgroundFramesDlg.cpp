#include "app/panels/background/BackgroundFramesDlg.h"
#include "app/panels/background/BackgroundMenuDlg.h"
#include "app/panels/background/QuickLinks.h"
#include "model/design/FrostwellDoc.h"
#include "model/design/ImageLayer.h"
#include "res/background_res.h"
#include "res/ui_res.h"

namespace {

const PickPanelTraits kFramesTraits = {
    IDD_BACKGROUND_FRAMES, 3, "FRAMES_DIR", 50, CRect(10, 135, 1, 150), kSkinPaleYellow,
};

// Only the buttons carry help bubbles here.
const PanelControl kFramesControls[] = {
    {IDC_PICK_NEW, "BACK_NEW_BTN", "NEW", IDB_SKIN_NEW, "BACK_NEW_BTN"},
    {IDC_PICK_DELETE, "BACK_CUT_BTN", "DELETE", IDB_SKIN_CUT, "BACK_CUT_BTN"},
    {IDC_PICK_CANCEL, "BACK_CANCEL_BTN", "CANCEL", IDB_SKIN_CLEAR, "BACK_CANCEL_BTN"},
};

void Show(CWnd& w, bool show) { w.ShowWindow(show ? SW_SHOW : SW_HIDE); }

} // namespace

CBackgroundFramesDlg::CBackgroundFramesDlg() : CBackgroundPickDlg(kFramesTraits) { SetControlTable(kFramesControls); }

void CBackgroundFramesDlg::DoDataExchange(CDataExchange* pDX)
{
    CBackgroundPickDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FRAMES_TITLE, m_title);
    DDX_Control(pDX, IDC_FRAMES_LINKS_TITLE, m_linksTitle);
}

BOOL CBackgroundFramesDlg::OnInitDialog()
{
    CBackgroundPickDlg::OnInitDialog();
    m_title.SetFont(&m_fontBold);
    m_linksTitle.SetFont(&m_fontBold);
    PlaceBrowser();
    SetupControls();
    UpdateData(FALSE);
    return TRUE;
}

CImageLayer* CBackgroundFramesDlg::CurrentImage() { return Layers()->GetFrameImage(); }

Gdiplus::Bitmap* CBackgroundFramesDlg::PreviewBitmap(CImageLayer* image) { return image->GetMasterBitmap(); }

void CBackgroundFramesDlg::StoreImage(std::unique_ptr<CImageLayer> loaded)
{
    // The layer's load has fitted and centred it on the design already.
    loaded->m_frameIndex = m_pDoc->GetCurrentFrame();
    CLayerArray* layers = Layers();
    layers->DeleteFrameImage();
    layers->SetFrameImage(loaded.release());
}

void CBackgroundFramesDlg::OnActivate()
{
    ShowNormalView();
    SelectQuickLink(m_quickLinks, IDD_BACKGROUND_FRAMES, m_pDoc);
    CBackgroundPickDlg::OnActivate();
}

void CBackgroundFramesDlg::ShowNormalView()
{
    ShowBrowser(false, true);
    Show(m_linksTitle, true);
    Show(m_title, true);
    Show(m_quickLinks, true);
    Show(m_btnCancel, false);
    Show(m_btnNew, true);
    Show(m_btnDelete, HasImage());
    InvalidatePreview();
}

void CBackgroundFramesDlg::ShowBrowsingView()
{
    ShowBrowser(true, true);
    Show(m_btnNew, false);
    Show(m_btnCancel, true);
    for (CWnd* w : {(CWnd*)&m_btnDelete, (CWnd*)&m_linksTitle, (CWnd*)&m_title, (CWnd*)&m_quickLinks})
        Show(*w, false);
}

void CBackgroundFramesDlg::AfterPick()
{
    ShowBrowser(false, true);
    m_browser.ApplySkin(&m_helpTips);
    Host()->EnableNext(TRUE);
    ShowNormalView();
}

void CBackgroundFramesDlg::OnDeleteImage()
{
    Layers()->DeleteFrameImage();
    Show(m_btnDelete, false);
    InvalidatePreview();
    DesignChanged();
}
