#include "app/panels/frame/FramePanelCommon.h"
#include "app/panels/frame/FrameMenuDlg.h"
#include "res/background_res.h"
#include "res/frame_res.h"
#include "ui/MenuHostDlg.h"
#include "ui/SkinButton.h"

std::vector<QuickLink> FrameQuickLinks(BOOL withFillPanels)
{
    static const QuickLink links[] = {{"54", IDD_FRAME_PANEL}, {"55", IDD_FRAME_FILL}, {"56", IDD_FRAME_IMAGE_FILL}};
    return std::vector<QuickLink>(links, links + (withFillPanels ? 3 : 1));
}

BEGIN_MESSAGE_MAP(CFramePanelDlg, CSkinPanelDlg)
    ON_LBN_SELCHANGE(IDC_QUICK_LINKS, &CFramePanelDlg::OnQuickLink)
    ON_MESSAGE(WM_ENTERIDLE, &CFramePanelDlg::OnEnterIdle)
END_MESSAGE_MAP()

CFramePanelDlg::CFramePanelDlg(UINT templateId, CWnd* parent) : CSkinPanelDlg(templateId, parent) {}

void CFramePanelDlg::DoDataExchange(CDataExchange* pDX)
{
    CSkinPanelDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_QUICK_LINKS, m_quickLinks);
}

BOOL CFramePanelDlg::OnInitDialog()
{
    CSkinPanelDlg::OnInitDialog();
    m_quickLinks.SetFont(&m_fontBoldCell);
    SetControlColour(IDC_QUICK_LINKS, kSkinCaptionWhite);
    return TRUE;
}

void CFramePanelDlg::FillQuickLinks(BOOL withFillPanels, int ownIndex)
{
    SetQuickLinkEntries(m_quickLinks, FrameQuickLinks(withFillPanels));
    m_quickLinks.SetCurSel(ownIndex);
}

void CFramePanelDlg::RedrawDesign()
{
    if (auto* host = dynamic_cast<CFrameMenuDlg*>(m_pHost))
        host->RedrawDesign();
}

void CFramePanelDlg::OnQuickLink()
{
    UpdateData(TRUE);
    const int index = m_quickLinks.GetCurSel();
    if (m_pHost != nullptr && index >= 0)
        m_pHost->ShowPanelByIndex(index);
}

LRESULT CFramePanelDlg::OnEnterIdle(WPARAM, LPARAM) { return Default(); }

void CFramePanelDlg::SetupMenuButton(CSkinButton* button, UINT bitmapId, CString soundName, CString helpKey,
                                     CString caption)
{
    (void)helpKey; // menu buttons carry no help bubble
    for (int slot : {kSlotHoverText, kSlotNormalText, kSlotFocusText})
        button->SetColor(slot, kSkinTextYellow, FALSE);
    for (int slot : {kSlotHoverBack, kSlotNormalBack, kSlotFocusBack})
        button->SetColor(slot, kSkinBlue, FALSE);
    button->SetWindowText(caption);
    button->SetSoundName(soundName);
    button->SetAlign(kAlignImageAbove, TRUE);
    if (bitmapId != 0)
        button->SetBitmaps(bitmapId, kSkinButtonTransparent, 0, 0);
}
