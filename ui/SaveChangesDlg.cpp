#include "ui/SaveChangesDlg.h"

#include "base/TextTable.h"
#include "ui/DialogText.h"
#include "ui/Skin.h"
#include "res/ui_res.h"

BEGIN_MESSAGE_MAP(CSaveChangesDlg, CDialog)
    ON_BN_CLICKED(IDC_SAVE_NO, &CSaveChangesDlg::OnNo)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CSaveChangesDlg::CSaveChangesDlg(CWnd* parent) : CDialog(IDD_SAVE_CHANGES_DLG, parent) {}

void CSaveChangesDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_SAVE_NO, m_btnNo);
    DDX_Control(dx, IDOK, m_btnYes);
    DDX_Control(dx, IDCANCEL, m_btnCancel);
}

BOOL CSaveChangesDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::EnumChildWindows(m_hWnd, SetDialogFontProc, 0);
    SetDlgItemText(IDC_SAVE_QUESTION, GetLangText("130"));
    SetWindowText(GetLangText("129"));
    SetDlgItemText(IDOK, GetLangText("YES"));
    SetDlgItemText(IDC_SAVE_NO, GetLangText("NO"));
    SetDlgItemText(IDCANCEL, GetLangText("CANCEL"));
    return TRUE;
}

void CSaveChangesDlg::OnNo() { EndDialog(SAVE_CHANGES_NO); }

HBRUSH CSaveChangesDlg::OnCtlColor(CDC* dc, CWnd*, UINT)
{
    dc->SetBkMode(TRANSPARENT);
    return SkinPaleYellowBrush();
}
