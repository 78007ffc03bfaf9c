// The two small information dialogs of the toolkit: support, which shows the language's
// support text on the pale yellow of the small dialogs, and the information dialog with one
// static text.
#pragma once
#include "fw/fwwin.h"
#include "ui/HoverButton.h"

class CSupportDlg : public CDialog
{
public:
    explicit CSupportDlg(CWnd* parent = nullptr);

    CString m_strSupport; // shown in the text control, replaced by the language's text
    CString m_strSecond;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    DECLARE_MESSAGE_MAP()

    CHoverButton m_btnOK;
    CBrush m_brush;
};

class CInfoDlg : public CDialog
{
public:
    explicit CInfoDlg(CWnd* parent = nullptr);

    CStatic m_text;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnShowWindow(BOOL show, UINT status);
    DECLARE_MESSAGE_MAP()
};
