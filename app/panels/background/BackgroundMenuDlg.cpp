#include "app/panels/background/BackgroundMenuDlg.h"
#include "app/panels/background/QuickLinks.h"
#include "base/TextTable.h"
#include "fw/fwselect.h"
#include "model/design/FrostwellDoc.h"
#include "res/background_res.h"
#include "ui/Skin.h"

BEGIN_MESSAGE_MAP(CBackgroundMenuDlg, CToolMenuDlg)
    ON_WM_PAINT()
    ON_COMMAND(kHostClose, &CBackgroundMenuDlg::OnFinish)
END_MESSAGE_MAP()

CBackgroundMenuDlg::CBackgroundMenuDlg(CWnd* parent) : CToolMenuDlg(IDD_BACKGROUND_MENU, parent) {}

void CBackgroundMenuDlg::DoDataExchange(CDataExchange* pDX)
{
    CToolMenuDlg::DoDataExchange(pDX);
    DDX_Control(pDX, kHostNext, m_btnNext);
    DDX_Control(pDX, kHostBack, m_btnBack);
    DDX_Control(pDX, kHostClose, m_btnClose);
    DDX_Control(pDX, kHostTitle, m_title);
}

CSkinPanelDlg* CBackgroundMenuDlg::PanelOfTemplate(int panelId)
{
    switch (panelId) {
    case IDD_BACKGROUND_DESIGNS:
        return &m_designDlg;
    case IDD_BACKGROUND_FILL:
        return &m_fillDlg;
    case IDD_BACKGROUND_IMAGE:
        return &m_imageDlg;
    case IDD_BACKGROUND_FRAMES:
        return &m_framesDlg;
    case IDD_BACKGROUND_CLONE:
        return &m_cloneDlg;
    default:
        return nullptr;
    }
}

BOOL CBackgroundMenuDlg::OnInitDialog()
{
    SetPanelPlaceholder(kHostPlaceholder);
    CSkinPanelDlg* panels[] = {&m_designDlg, &m_cloneDlg, &m_fillDlg, &m_imageDlg, &m_framesDlg};
    for (CSkinPanelDlg* p : panels) {
        p->m_pDoc = m_pDoc;
        p->m_pHost = this;
        p->m_crPanel = kSkinBlue;
        p->m_crStaticText = kSkinTextYellow;
    }
    // The quick links name the panels in the host's order: one list decides both.
    for (const QuickLink& link : BackgroundQuickLinks(IndividualDesignsOn(), FrameToolOn(m_pDoc)))
        if (CSkinPanelDlg* panel = PanelOfTemplate(link.panelId))
            AddPanel(panel, link.panelId);
    CToolMenuDlg::OnInitDialog();
    m_title.SetFont(&m_fontTitle, TRUE);
    m_title.SetWindowText(GetLangText("27"));
    return TRUE;
}

void CBackgroundMenuDlg::UpdateDesign()
{
    if (m_pDoc != nullptr)
        m_pDoc->DesignEdited(EditScope::AllViews);
}

void CBackgroundMenuDlg::OnPaint()
{
    CPaintDC dc(this);
    CRect r;
    GetClientRect(&r);
    CPen pen(PS_SOLID, 1, kSkinBorderNormal);
    CSelectGuard penGuard(&dc, &pen);
    CSelectGuard brushGuard(dc.GetSafeHdc(), ::GetStockObject(NULL_BRUSH));
    dc.Rectangle(&r);
}
