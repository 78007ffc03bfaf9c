#include "app/panels/background/BackgroundDesignDlg.h"
#include "app/panels/background/QuickLinks.h"
#include "model/design/FrostwellDoc.h"
#include "res/background_res.h"
#include "ui/MenuHostDlg.h"

BEGIN_MESSAGE_MAP(CBackgroundDesignDlg, CSkinPanelDlg)
    ON_WM_PAINT()
    ON_LBN_SELCHANGE(IDC_QUICK_LINKS, &CBackgroundDesignDlg::OnQuickLink)
END_MESSAGE_MAP()

CBackgroundDesignDlg::CBackgroundDesignDlg() : CSkinPanelDlg(IDD_BACKGROUND_DESIGNS, nullptr) {}

void CBackgroundDesignDlg::DoDataExchange(CDataExchange* pDX)
{
    CSkinPanelDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DESIGN_SELECTION_LABEL, m_selectionLabel);
    DDX_Control(pDX, IDC_DESIGN_LINKS_LABEL, m_linksLabel);
    DDX_Control(pDX, IDC_QUICK_LINKS, m_quickLinks);
}

BOOL CBackgroundDesignDlg::OnInitDialog()
{
    CSkinPanelDlg::OnInitDialog();
    m_selectionLabel.SetFont(&m_fontBold);
    m_linksLabel.SetFont(&m_fontBold);
    FillQuickLinks(m_quickLinks, m_fontBoldCell, IDD_BACKGROUND_DESIGNS, m_pDoc);
    SetControlColour(IDC_QUICK_LINKS, kSkinCaptionWhite);

    CRect r;
    GetClientRect(&r);
    r.top += 85;
    r.bottom -= 50;
    // Hover stays on, and a click makes the cell the document's current frame record; the
    // ring always marks that record, however it became current.
    m_preview.SetDocument(m_pDoc);
    m_preview.SetFollowCurrent();
    m_preview.Create(WS_CHILD | WS_VISIBLE, r, this, IDC_SHEET_PREVIEW);
    m_helpTips.AddHelpTool(this, &m_preview, "BACKGROUND_DESIGN_SELECTION");
    UpdateData(FALSE);
    return TRUE;
}

void CBackgroundDesignDlg::OnActivate()
{
    m_pHost->EnableNext(TRUE);
    m_pHost->EnableFinish(TRUE);
    m_pHost->EnableBack(FALSE);
    SelectQuickLink(m_quickLinks, IDD_BACKGROUND_DESIGNS, m_pDoc);
    // Edits on the other panels changed the cells: lay them out again at the next drawing.
    m_pDoc->SetRedrawFlag();
    m_pDoc->SetPreviewRefresh(TRUE);
    CSkinPanelDlg::OnActivate();
}

void CBackgroundDesignDlg::OnPaint()
{
    CPaintDC dc(this);
    m_preview.Update();
}

void CBackgroundDesignDlg::OnQuickLink()
{
    UpdateData(TRUE);
    JumpToQuickLink(m_quickLinks, m_pHost, m_pDoc);
}
