#include "app/shell/SaveChangesDlg.h"
#include "base/Globals.h"
#include "base/TextTable.h"
#include "ui/DialogText.h"
#include "res/view_res.h"

BEGIN_MESSAGE_MAP(CSaveChangesDlg, CDialog)
    ON_BN_CLICKED(IDC_SAVE_NO, &CSaveChangesDlg::OnNo)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CSaveChangesDlg::CSaveChangesDlg(CWnd* parent) : CDialog(IDD_SAVE_CHANGES_DLG, parent)
{
    m_brush.CreateSolidBrush(RGB(0xFF, 0xFF, 0xC0));
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
    return (HBRUSH)m_brush.GetSafeHandle();
}
