// The question "Save Changes" asked before a changed design is closed: Yes, No and Cancel as
// hover buttons on the pale yellow of the small dialogs.
//
// The rule it keeps: the three answers are three distinct results, No being 100.
#pragma once
#include "fw/fwwin.h"
#include "ui/HoverButton.h"

// DoModal answers.
enum { SAVE_CHANGES_YES = IDOK, SAVE_CHANGES_CANCEL = IDCANCEL, SAVE_CHANGES_NO = 100 };

class CSaveChangesDlg : public CDialog
{
public:
    explicit CSaveChangesDlg(CWnd* parent = nullptr);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnNo();
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    DECLARE_MESSAGE_MAP()

    CHoverButton m_btnNo;
    CHoverButton m_btnYes;
    CHoverButton m_btnCancel;
};
