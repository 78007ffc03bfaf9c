#include "ui/periphery/SupportDlg.h"

#include "base/TextTable.h"
#include "res/periphery_res.h"
#include "ui/DialogText.h"
#include "ui/Skin.h"

BEGIN_MESSAGE_MAP(CSupportDlg, CDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CSupportDlg::CSupportDlg(CWnd* parent) : CDialog(IDD_SUPPORT_DLG, parent) { m_brush.CreateSolidBrush(kSkinPaleYellow); }

void CSupportDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_btnOK);
    DDX_Text(dx, IDC_SUPPORT_TEXT, m_strSupport);
}

BOOL CSupportDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::EnumChildWindows(m_hWnd, SetDialogFontProc, 0);
    SetWindowText(GetLangText("155"));
    m_strSupport = GetLangText("157");
    UpdateData(FALSE);
    return TRUE;
}

HBRUSH CSupportDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    if (ctlColor == CTLCOLOR_EDIT || ctlColor == CTLCOLOR_LISTBOX || ctlColor == CTLCOLOR_BTN)
        return CDialog::OnCtlColor(dc, wnd, ctlColor);
    dc->SetBkMode(TRANSPARENT);
    return (HBRUSH)m_brush.GetSafeHandle();
}

BEGIN_MESSAGE_MAP(CInfoDlg, CDialog)
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

CInfoDlg::CInfoDlg(CWnd* parent) : CDialog(IDD_INFO_DLG, parent) {}

void CInfoDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_INFO_TEXT, m_text);
}

BOOL CInfoDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    return TRUE;
}

void CInfoDlg::OnShowWindow(BOOL show, UINT status) { CDialog::OnShowWindow(show, status); }
