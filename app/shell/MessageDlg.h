// The program's message box: a localised text with OK (or Yes and No).
#pragma once
#include "fw/fwwin.h"

class CMessageDlg : public CDialog
{
public:
    explicit CMessageDlg(CWnd* parent = NULL);

    CString m_message;
    BYTE m_bShowCancel;
    BYTE m_bYesNo;

    void SetYesNo(BOOL yesNo) { m_bYesNo = yesNo ? 1 : 0; }

protected:
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    DECLARE_MESSAGE_MAP()

    CBrush m_brush;
};

// Shows a localised message (a key of the language table) in the message box.
int ShowLangMessage(LPCTSTR key);
