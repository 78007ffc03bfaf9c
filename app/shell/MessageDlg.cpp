#include "app/shell/MessageDlg.h"
#include "base/Globals.h"
#include "base/TextTable.h"
#include "ui/DialogText.h"
#include "res/view_res.h"

BEGIN_MESSAGE_MAP(CMessageDlg, CDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CMessageDlg::CMessageDlg(CWnd* parent) : CDialog(IDD_MESSAGE_DLG, parent), m_bShowCancel(0), m_bYesNo(0)
{
    m_brush.CreateSolidBrush(RGB(0xFF, 0xFF, 0xC0));
}

BOOL CMessageDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::EnumChildWindows(m_hWnd, SetDialogFontProc, 0);
    if (m_bYesNo) {
        SetWindowText(GetLangText("121"));
        SetDlgItemText(IDOK, GetLangText("YES"));
        SetDlgItemText(IDCANCEL, GetLangText("NO"));
    } else {
        SetWindowText(GetLangText("120"));
        SetDlgItemText(IDOK, GetLangText("OK"));
        SetDlgItemText(IDCANCEL, GetLangText("CANCEL"));
    }
    // The yes/no form needs its second button to answer No.
    if (m_bShowCancel || m_bYesNo)
        GetDlgItem(IDCANCEL)->ShowWindow(SW_SHOW);
    SetDlgItemText(IDC_MESSAGE_TEXT, m_message);
    return TRUE;
}

HBRUSH CMessageDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    if (ctlColor == CTLCOLOR_EDIT || ctlColor == CTLCOLOR_LISTBOX || ctlColor == CTLCOLOR_BTN)
        return CDialog::OnCtlColor(dc, wnd, ctlColor);
    dc->SetBkMode(TRANSPARENT);
    dc->SetBkColor(RGB(66, 154, 252));
    return (HBRUSH)m_brush.GetSafeHandle();
}

int ShowLangMessage(LPCTSTR key)
{
    CMessageDlg dlg;
    dlg.m_message = GetLangText(key);
    return (int)dlg.DoModal();
}
