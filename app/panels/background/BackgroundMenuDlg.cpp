#include "app/panels/background/BackgroundMenuDlg.h"
#include "app/panels/background/QuickLinks.h"
#include "base/TextTable.h"
#include "fw/fwselect.h"
#include "model/design/FrostwellDoc.h"
#include "res/background_res.h"
#include "ui/Skin.h"

BEGIN_MESSAGE_MAP(CBackgroundMenuDlg, CMenuHostDlg)
    ON_WM_PAINT()
    ON_COMMAND(kHostClose, &CBackgroundMenuDlg::OnFinish)
    ON_COMMAND(kHostBackPlain, &CBackgroundMenuDlg::OnBackCommand)
    ON_WM_SIZE()
    ON_WM_CTLCOLOR()
    ON_MESSAGE(WM_HOST_BUTTON, &CBackgroundMenuDlg::OnHostButton)
END_MESSAGE_MAP()

CBackgroundMenuDlg::CBackgroundMenuDlg(CWnd* parent) : CMenuHostDlg(IDD_BACKGROUND_MENU, parent) {}

void CBackgroundMenuDlg::DoDataExchange(CDataExchange* pDX)
{
    CMenuHostDlg::DoDataExchange(pDX);
    DDX_Control(pDX, kHostNext, m_btnNext);
    DDX_Control(pDX, kHostBack, m_btnBack);
    DDX_Control(pDX, kHostClose, m_btnClose);
    DDX_Control(pDX, kHostTitle, m_title);
}

BOOL CBackgroundMenuDlg::OnInitDialog()
{
    SetPanelPlaceholder(kHostPlaceholder);
    // The panels the background image panels add join here, in this order:
    // design selection, clone, fill, image, frames.
    CSkinPanelDlg* panels[] = {&m_fillDlg, &m_imageDlg, &m_framesDlg};
    for (CSkinPanelDlg* p : panels) {
        p->m_pDoc = m_pDoc;
        p->m_pHost = this;
        p->m_crPanel = kSkinBlue;
        p->m_crStaticText = kSkinTextYellow;
    }
    AddPanel(&m_fillDlg, IDD_BACKGROUND_FILL);
    AddPanel(&m_imageDlg, IDD_BACKGROUND_IMAGE);
    if (FrameToolOn(m_pDoc))
        AddPanel(&m_framesDlg, IDD_BACKGROUND_FRAMES);
    CMenuHostDlg::OnInitDialog();
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

void CBackgroundMenuDlg::OnBackCommand()
{
    OnBack();
    EnableFinish(TRUE);
}

void CBackgroundMenuDlg::OnSize(UINT type, int cx, int cy) { CMenuHostDlg::OnSize(type, cx, cy); }

HBRUSH CBackgroundMenuDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    HBRUSH brush = CMenuHostDlg::OnCtlColor(dc, wnd, ctlColor);
    if (wnd != nullptr && wnd->GetSafeHwnd() == m_title.GetSafeHwnd())
        dc->SetTextColor(kSkinBlack);
    return brush;
}

LRESULT CBackgroundMenuDlg::OnHostButton(WPARAM, LPARAM lParam)
{
    const HWND sender = (HWND)lParam;
    if (sender == nullptr)
        return 0;
    if (sender == m_btnNext.GetSafeHwnd())
        OnNext();
    else if (sender == m_btnBack.GetSafeHwnd())
        OnBackCommand();
    else if (sender == m_btnClose.GetSafeHwnd())
        OnFinish();
    return 0;
}
