#include "app/wizard/DesignModeWizardDlg.h"
#include "base/TextTable.h"
#include "res/wizard_res.h"

BEGIN_MESSAGE_MAP(CDesignModeWizardDlg, CMenuHostDlg)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CDesignModeWizardDlg::CDesignModeWizardDlg(CWnd* parent) : CMenuHostDlg(IDD_DESIGN_MODE_WIZARD, parent) {}

void CDesignModeWizardDlg::DoDataExchange(CDataExchange* pDX)
{
    CMenuHostDlg::DoDataExchange(pDX);
    DDX_Control(pDX, kHostNextPlain, m_hoverButtons[0]);
    DDX_Control(pDX, kHostBackPlain, m_hoverButtons[1]);
    DDX_Control(pDX, kHostFinishPlain, m_hoverButtons[2]);
    DDX_Control(pDX, IDC_WIZARD_HELP, m_hoverButtons[3]);
    DDX_Control(pDX, IDCANCEL, m_hoverButtons[4]);
}

BOOL CDesignModeWizardDlg::OnInitDialog()
{
    SetPanelPlaceholder(kHostPlaceholder);
    m_page.m_pDoc = m_pDoc;
    m_page.m_pHost = this;
    // White captions would vanish on the pale yellow.
    m_page.m_crButtonText = kSkinBlack;
    AddPanel(&m_page, IDD_DESIGN_MODE);
    CMenuHostDlg::OnInitDialog();
    SetDlgItemText(kHostBackPlain, GetLangText("BACK"));
    SetDlgItemText(kHostNextPlain, GetLangText("NEXT"));
    SetDlgItemText(kHostFinishPlain, GetLangText("FINISH"));
    SetDlgItemText(IDCANCEL, GetLangText("CANCEL"));
    return TRUE;
}

void CDesignModeWizardDlg::OnCancel()
{
    // The page's exchange is still reading: closing now would pull the page from under it.
    if (m_page.IsExchanging())
        return;
    CMenuHostDlg::OnCancel();
}

void CDesignModeWizardDlg::OnPaint()
{
    PAINTSTRUCT ps;
    ::BeginPaint(m_hWnd, &ps);
    ::EndPaint(m_hWnd, &ps);
}
