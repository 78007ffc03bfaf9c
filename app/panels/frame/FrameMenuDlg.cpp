#include "app/panels/frame/FrameMenuDlg.h"
#include "base/TextTable.h"
#include "fw/fwselect.h"
#include "model/design/FrostwellDoc.h"
#include "res/frame_res.h"
#include "ui/Skin.h"

BEGIN_MESSAGE_MAP(CFrameMenuDlg, CToolMenuDlg)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CFrameMenuDlg::CFrameMenuDlg(CWnd* parent) : CToolMenuDlg(IDD_FRAME_MENU, parent) {}

void CFrameMenuDlg::DoDataExchange(CDataExchange* pDX)
{
    CToolMenuDlg::DoDataExchange(pDX);
    DDX_Control(pDX, kHostTitle, m_title);
    DDX_Control(pDX, kHostNext, m_btnNext);
    DDX_Control(pDX, kHostBack, m_btnBack);
    DDX_Control(pDX, kHostClose, m_btnClose);
}

BOOL CFrameMenuDlg::OnInitDialog()
{
    SetPanelPlaceholder(kHostPlaceholder);
    AddPanels();
    CToolMenuDlg::OnInitDialog();
    m_title.SetFont(&m_fontTitle, TRUE);
    m_title.SetWindowText(GetLangText("61"));
    return TRUE;
}

void CFrameMenuDlg::AddPanels()
{
    AddFramePanel(&m_frameDlg, IDD_FRAME_PANEL);
    AddFramePanel(&m_fillDlg, IDD_FRAME_FILL);
    AddFramePanel(&m_imageFillDlg, IDD_FRAME_IMAGE_FILL);
}

void CFrameMenuDlg::AddFramePanel(CSkinPanelDlg* panel, int panelId)
{
    panel->m_pDoc = m_pDoc;
    panel->m_crPanel = kSkinBlue;
    panel->m_crStaticText = kSkinTextYellow;
    panel->m_pHost = this;
    AddPanel(panel, panelId);
}

void CFrameMenuDlg::RedrawDesign()
{
    if (m_pDoc == nullptr)
        return;
    m_pDoc->SetRedrawFlag();
    m_pDoc->UpdateAllViews(nullptr, 0);
}

void CFrameMenuDlg::OnPaint()
{
    CPaintDC dc(this);
    CRect r;
    GetClientRect(&r);
    dc.Draw3dRect(&r, kSkinBorderNormal, kSkinBorderNormal);
}
