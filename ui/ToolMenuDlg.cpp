#include "ui/ToolMenuDlg.h"
#include "ui/Skin.h"

BEGIN_MESSAGE_MAP(CToolMenuDlg, CMenuHostDlg)
    ON_COMMAND(kHostBackPlain, &CToolMenuDlg::OnBackCommand)
    ON_WM_CTLCOLOR()
    ON_MESSAGE(WM_HOST_BUTTON, &CToolMenuDlg::OnHostButton)
END_MESSAGE_MAP()

CToolMenuDlg::CToolMenuDlg(UINT templateId, CWnd* parent) : CMenuHostDlg(templateId, parent) {}

void CToolMenuDlg::OnBackCommand()
{
    OnBack();
    EnableFinish(TRUE);
}

HBRUSH CToolMenuDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    HBRUSH brush = CMenuHostDlg::OnCtlColor(dc, wnd, ctlColor);
    if (wnd != nullptr && wnd->GetSafeHwnd() == m_title.GetSafeHwnd())
        dc->SetTextColor(kSkinBlack);
    return brush;
}

LRESULT CToolMenuDlg::OnHostButton(WPARAM, LPARAM lParam)
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
