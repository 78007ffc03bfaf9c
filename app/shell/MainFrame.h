// The main frame: no menu bar, tool bar or status bar, no client edge; the accelerator
// table of the template stays active.  Closing it saves the settings first.
#pragma once

#include "fw/fwwin.h"

class CMainFrame : public CFrameWnd
{
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnClose();
    void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()
};
