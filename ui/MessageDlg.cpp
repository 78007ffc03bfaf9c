#include "ui/MessageDlg.h"

#include "base/TextTable.h"
#include "ui/DialogText.h"
#include "ui/Skin.h"
#include "res/ui_res.h"

BEGIN_MESSAGE_MAP(CMessageDlg, CDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CMessageDlg::CMessageDlg(CWnd* parent) : CDialog(IDD_MESSAGE_DLG, parent) {}

void CMessageDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDCANCEL, m_btnCancel);
    DDX_Control(dx, IDOK, m_btnOK);
    DDX_Text(dx, IDC_MESSAGE_TEXT, m_message);
}

BOOL CMessageDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::EnumChildWindows(m_hWnd, SetDialogFontProc, 0);
    SetWindowText(GetLangText("120"));
    if (m_bYesNo) {
        SetDlgItemLangText(this, IDOK, "YES");
        SetDlgItemLangText(this, IDCANCEL, "NO");
        SetWindowText(GetLangText("121"));
    } else {
        SetDlgItemLangText(this, IDOK, "OK");
        SetDlgItemLangText(this, IDCANCEL, "CANCEL");
    }
    if (m_bShowCancel)
        m_btnCancel.ShowWindow(SW_SHOW);
    UpdateData(FALSE);
    return TRUE;
}

HBRUSH CMessageDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    if (ctlColor == CTLCOLOR_EDIT || ctlColor == CTLCOLOR_LISTBOX || ctlColor == CTLCOLOR_BTN)
        return CDialog::OnCtlColor(dc, wnd, ctlColor);
    dc->SetBkMode(TRANSPARENT);
    dc->SetBkColor(kSkinBlue);
    return SkinPaleYellowBrush();
}

int ShowLangMessage(LPCTSTR key)
{
    CMessageDlg dlg;
    dlg.m_message = GetLangText(key);
    return (int)dlg.DoModal();
}
