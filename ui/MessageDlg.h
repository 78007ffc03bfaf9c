// The program's message box: a localised text with OK (and an optional Cancel), on the pale
// yellow of the small dialogs with hover buttons and the bold child font.
//
// The rule it keeps: the caller sets only the texts it wants; the yes/no form changes the
// title and the button texts, never which buttons show (Cancel shows only when asked).
#pragma once
#include "fw/fwwin.h"
#include "ui/HoverButton.h"

class CMessageDlg : public CDialog
{
public:
    explicit CMessageDlg(CWnd* parent = nullptr);

    CString m_message;
    BYTE m_bShowCancel = FALSE;
    BYTE m_bYesNo = FALSE;

    void SetYesNo(BOOL yesNo) { m_bYesNo = yesNo ? TRUE : FALSE; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    DECLARE_MESSAGE_MAP()

    CHoverButton m_btnCancel;
    CHoverButton m_btnOK;
};

// Shows a localised message (a key of the language table) in the message box.
int ShowLangMessage(LPCTSTR key);
