#include "app/FrostwellView.h"

#include "app/FrostwellApp.h"

IMPLEMENT_DYNCREATE(CFrostwellView, CView)

BEGIN_MESSAGE_MAP(CFrostwellView, CView)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CFrostwellView::CFrostwellView()
{
}

CFrostwellView::~CFrostwellView()
{
}

BOOL CFrostwellView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style = WS_CHILD | WS_VISIBLE;
    cs.dwExStyle = 0;
    return CView::PreCreateWindow(cs);
}

void CFrostwellView::OnDraw(CDC*)
{
}

void CFrostwellView::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CBrush canvas(kCanvasColour);
    dc.FillRect(&client, &canvas);
}

BOOL CFrostwellView::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CFrostwellView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    SetTimer(kStartupTimer, kStartupDelay);
}

void CFrostwellView::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kStartupTimer) {
        if (CFrostwellApp* app = GetFrostwellApp())
            app->HideSplash();
        KillTimer(kStartupTimer);
    }
    CView::OnTimer(nIDEvent);
}
