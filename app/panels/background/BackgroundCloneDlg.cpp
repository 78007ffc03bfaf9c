#include "app/panels/background/BackgroundCloneDlg.h"
#include "app/panels/background/BackgroundMenuDlg.h"
#include "app/panels/background/QuickLinks.h"
#include "model/design/FrostwellDoc.h"
#include "res/background_res.h"
#include "res/ui_res.h"
#include "ui/MessageDlg.h"

namespace {

const PanelControl kCloneControls[] = {
    {IDC_CLONE, "BACKGROUND_CLONE_BTN", nullptr, IDB_SKIN_CLONE, "BACKGROUND_CLONE_BTN"},
};

// The clone's refusals are not translated.
void ShowEnglishMessage(LPCTSTR text)
{
    CMessageDlg dlg;
    dlg.m_message = text;
    dlg.DoModal();
}

} // namespace

BEGIN_MESSAGE_MAP(CBackgroundCloneDlg, CSkinPanelDlg)
    ON_WM_PAINT()
    ON_LBN_SELCHANGE(IDC_QUICK_LINKS, &CBackgroundCloneDlg::OnQuickLink)
    ON_BN_CLICKED(IDC_CLONE, &CBackgroundCloneDlg::OnClone)
    ON_MESSAGE(WM_USER + 0x55, &CBackgroundCloneDlg::OnNothing)
    ON_MESSAGE(WM_USER + 0x65, &CBackgroundCloneDlg::OnNothing)
END_MESSAGE_MAP()

CBackgroundCloneDlg::CBackgroundCloneDlg() : CSkinPanelDlg(IDD_BACKGROUND_CLONE, nullptr)
{
    SetControlTable(kCloneControls);
}

void CBackgroundCloneDlg::DoDataExchange(CDataExchange* pDX)
{
    CSkinPanelDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CLONE, m_btnClone);
    DDX_Control(pDX, IDC_CLONE_SOURCE_LABEL, m_sourceLabel);
    DDX_Control(pDX, IDC_CLONE_HIDDEN, m_hidden);
    DDX_Control(pDX, IDC_CLONE_DESTINATION_LABEL, m_destinationLabel);
    DDX_Control(pDX, IDC_QUICK_LINKS, m_quickLinks);
}

BOOL CBackgroundCloneDlg::OnInitDialog()
{
    CSkinPanelDlg::OnInitDialog();
    for (CStatic* label : {&m_sourceLabel, &m_hidden, &m_destinationLabel}) {
        label->SetFont(&m_fontBold);
        SetControlColour(label->GetDlgCtrlID(), kSkinLabelYellow);
    }
    FillQuickLinks(m_quickLinks, m_fontBoldCell, IDD_BACKGROUND_CLONE, m_pDoc);
    SetControlColour(IDC_QUICK_LINKS, kSkinCaptionWhite);

    CRect client;
    GetClientRect(&client);
    // The source sheet: a click also shows that cell on the canvas.
    CRect r(client.left + 10, client.top + 105, client.right, client.bottom - 280);
    m_source.DisableHover();
    m_source.SetDocument(m_pDoc);
    m_source.Create(WS_CHILD | WS_VISIBLE, r, this, IDC_SHEET_PREVIEW);
    // The destination sheet only records its click.
    r = CRect(client.left + 10, client.top + 295, client.right, client.bottom - 80);
    m_destination.DisableHover();
    m_destination.SetSelectOnly();
    m_destination.SetDocument(m_pDoc);
    m_destination.Create(WS_CHILD | WS_VISIBLE, r, this, IDC_SHEET_PREVIEW);

    SetupControls();
    // The caption is the same in every language.
    m_btnClone.SetWindowText("Clone");
    UpdateData(FALSE);
    m_helpTips.AddHelpTool(this, &m_source, "BACKGROUND_CLONE_SOURCE");
    m_helpTips.AddHelpTool(this, &m_destination, "BACKGROUND_CLONE_DESTINATION");
    return TRUE;
}

void CBackgroundCloneDlg::OnActivate()
{
    SelectQuickLink(m_quickLinks, IDD_BACKGROUND_CLONE, m_pDoc);
    // The last panel unless the frames panel follows.
    const BOOL framesFollow = FrameToolOn(m_pDoc);
    m_pHost->EnableNext(framesFollow);
    m_pHost->EnableBack(TRUE);
    RefreshPreview(m_source);
    RefreshPreview(m_destination);
    CSkinPanelDlg::OnActivate();
}

void CBackgroundCloneDlg::RefreshPreview(CPaperPreviewWnd& preview)
{
    m_pDoc->SetRedrawFlag();
    m_pDoc->SetPreviewRefresh(TRUE);
    preview.Update();
}

void CBackgroundCloneDlg::OnPaint()
{
    CPaintDC dc(this);
    m_source.Update();
    m_destination.Update();
}

void CBackgroundCloneDlg::OnQuickLink()
{
    UpdateData(TRUE);
    JumpToQuickLink(m_quickLinks, m_pHost, m_pDoc);
}

bool CBackgroundCloneDlg::CopyDesign(CFrostwellDoc* doc, int source, int destination)
{
    const int count = doc->GetLayers()->GetCount();
    // A cell without a record would get (or give) layers and texts that no record shows.
    if (source == destination || source < 0 || destination < 0 || source >= count || destination >= count)
        return false;
    doc->GetLayers()->CopyRecord(source, destination);
    doc->GetImageList()->CopyFrame(source, destination);
    doc->GetTextList()->CopyFrame(source, destination);
    return true;
}

void CBackgroundCloneDlg::OnClone()
{
    const int source = m_source.GetSelectedCell();
    const int destination = m_destination.GetSelectedCell();
    if (source == destination) {
        ShowEnglishMessage("Source and Destination cannot be the same");
        return;
    }
    if (source == -1) {
        ShowEnglishMessage("No Source selected");
        return;
    }
    if (destination == -1) {
        ShowEnglishMessage("No Destination selected");
        return;
    }
    if (!CopyDesign(m_pDoc, source, destination))
        return;
    m_pDoc->SetCurrentFrame(destination);
    m_pDoc->SetRedrawFlag();
    RefreshPreview(m_source);
    RefreshPreview(m_destination);
    for (CPaperPreviewWnd* preview : {&m_source, &m_destination})
        preview->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    static_cast<CBackgroundMenuDlg*>(m_pHost)->UpdateDesign();
    m_pDoc->SetModifiedFlag(TRUE);
}
