// The web design wizard: a modal host in the design wizard's colours with the web design page
// as its one page. It refuses to close while the page exchanges with the web service.
#pragma once
#include "app/wizard/DesignModeDlg.h"
#include "ui/MenuHostDlg.h"

class CDesignModeWizardDlg : public CMenuHostDlg
{
public:
    explicit CDesignModeWizardDlg(CWnd* parent);

    CDesignModeDlg m_page;
    CString m_strSpare;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnPaint();
    DECLARE_MESSAGE_MAP()
};
