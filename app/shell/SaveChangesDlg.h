// The question "Save Changes" asked before a changed design is closed.
#pragma once
#include "fw/fwwin.h"

// DoModal answers.
enum { SAVE_CHANGES_YES = IDOK, SAVE_CHANGES_CANCEL = IDCANCEL, SAVE_CHANGES_NO = 100 };

class CSaveChangesDlg : public CDialog
{
public:
    explicit CSaveChangesDlg(CWnd* parent = NULL);

protected:
    BOOL OnInitDialog() override;
    void OnNo();
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    DECLARE_MESSAGE_MAP()

    CBrush m_brush;
};
