// The design view: the canvas with the current design area at scale, its rulers, the
// tracker handles of the selected object, the home panel's host and the start-up timer.
#pragma once
#include "fw/fwwin.h"
#include "ui/MenuWnd.h"
#include "ui/Skin.h"
#include "app/view/ObjectTracker.h"
#include "model/gfx/MemDC.h"
#include <gdiplus.h>

class CFrostwellDoc;

class CFrostwellView : public CView
{
    DECLARE_DYNCREATE(CFrostwellView)
public:
    CFrostwellView();
    ~CFrostwellView() override;

    enum { kStartupTimer = 101, kStartupDelay = 1500, kHostId = 101 };
    static const COLORREF kCanvasColour = kSkinBlue;

    CFrostwellDoc* GetDocument() const;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;

    CRect GetDesignRectOnScreen() const { return m_rectDesign; }
    CRect GetInvalidationRect() const { return m_rectInvalid; }
    float GetPixelsPerInch() const { return m_fPixelsPerInch; }
    Gdiplus::PointF GetDesignOrigin() const { return m_designOrigin; }
    CMenuWnd* GetHomeHost() { return &m_host; }
    BOOL IsHostCreated() const { return m_bHostCreated; }
    CObjectTracker* GetTracker() { return &m_tracker; }
    // How many times the scene was drawn (not just copied from the kept image).
    int GetScenePaintCount() const { return m_nScenePaints; }
    // Whether a view of this size is too small for the program's panels.
    static BOOL IsTooSmall(const CSize& size) { return size.cx < 1024 || size.cy < 700; }

    // Printing (ViewPrint.cpp).
    BOOL CheckBeforePrinting();
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnAskPrint();
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void RenderForPrint(CDC* pDC, Gdiplus::PointF position, Gdiplus::SizeF size, int angle);
    void RenderDesign(Gdiplus::Graphics* g, float width, float height);
    int GetHorizontalAdjustment() const { return m_nAdjustX; }
    int GetVerticalAdjustment() const { return m_nAdjustY; }

protected:
    void DrawScene(CDC* dc, const CRect& client);
    void DrawRulers(CDC* dc, float width, float height);
    void DrawHandles(CDC* dc);
    void TrackSelection(UINT flags, CPoint point);

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT type, int cx, int cy);
    void OnTimer(UINT_PTR id);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnExit();
    DECLARE_MESSAGE_MAP()

    CMenuWnd m_host;
    CMemDCCache m_cache;
    CRect m_rectDesign;
    CRect m_rectInvalid;
    COLORREF m_crBackground;
    BYTE m_bHostCreated;
    float m_fPixelsPerInch;
    Gdiplus::PointF m_designOrigin;
    int m_nAdjustX, m_nAdjustY;
    CObjectTracker m_tracker;
    int m_nScenePaints;
    BOOL m_bPrintOutline = FALSE; // "Print Outline" of the running job
};
