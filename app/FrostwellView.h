// The design view as far as start-up needs it: it paints the canvas colour and, once
// the window is up, hides the splash with its one-shot start-up timer.
#pragma once

#include "fw/fwwin.h"

class CFrostwellView : public CView
{
    DECLARE_DYNCREATE(CFrostwellView)
public:
    CFrostwellView();
    ~CFrostwellView() override;

    enum { kStartupTimer = 101, kStartupDelay = 1500 };
    static const COLORREF kCanvasColour = 0xFC9A42;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()
};
