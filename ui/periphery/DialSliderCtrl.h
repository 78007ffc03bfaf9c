// A track bar drawn as a round dial with GDI+: a shaded disc, a thumb running round 270
// degrees of its rim (the minimum down and left, the maximum down and right), two rows of
// ticks outside it, an optional icon in the middle and a dashed ring while it has the
// focus.  It keeps the track bar's range and position; a drag, the wheel and the keys change
// them, and every change made through the dial is sent to the notification target.
//
// The rule it keeps: the value and the rim angle count from the range's minimum; an empty
// range (maximum = minimum) puts every rim point at (0, 0) without dividing; the icon is the
// control's and is destroyed with it.
#pragma once
#include "fw/fwwin.h"
#include "fw/fwctl2.h"

#include <objidl.h>
#include <gdiplus.h>

class CDialSliderCtrl : public CSliderCtrl
{
public:
    CDialSliderCtrl();
    ~CDialSliderCtrl() override;

    // Colours (each with a repaint switch).
    void SetFaceColor(COLORREF colour, BOOL repaint = TRUE);
    void SetBackgroundColor(COLORREF colour, BOOL repaint = TRUE);
    void SetColors(COLORREF face, COLORREF background, BOOL repaint = TRUE);
    void SetOutlineColor(COLORREF colour, BOOL repaint = TRUE);
    // The alpha of the face and outline colours.
    void SetAlpha(BYTE alpha, BOOL repaint = TRUE);
    COLORREF GetFaceColor() const;

    // Ticks.
    void SetMajorTicks(BOOL on, BOOL repaint = TRUE);
    void SetMinorTicks(BOOL on, BOOL repaint = TRUE);
    void SetMinorTickStep(int step, BOOL repaint = TRUE);
    // Also the keyboard's page step.
    void SetMajorTickStep(int step, BOOL repaint = TRUE);

    // The icon in the middle: 0 when set (or cleared with a null icon), 2 when it could not
    // be read (and is destroyed).  The control owns the icon.
    int SetIcon(UINT id, BOOL repaint = TRUE, HINSTANCE instance = nullptr);
    int SetIcon(HICON icon, BOOL repaint = TRUE);

    void SetTooltipText(UINT id, BOOL activate = TRUE);
    void SetTooltipText(LPCTSTR text, BOOL activate = TRUE);
    void ActivateTooltip(BOOL activate);

    // After every change of the value made through the dial, `message` is sent to `wnd`.
    void SetNotify(CWnd* wnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    void UseParentBackground(BOOL repaint = TRUE);
    // Copies the parent's pixels behind the control; 1 when the switch is clear or no
    // context is given, else 0.
    int CaptureBackground(CDC* parentDC);

    BOOL PreTranslateMessage(MSG* msg) override;

    // Geometry of the last paint: the dial's rectangle and its centre.
    Gdiplus::Rect GetDialRect() const { return m_rcDial; }
    Gdiplus::Point GetCentre() const { return m_ptCentre; }
    // The point on the rim at radius r for value v, and the value under a point.
    Gdiplus::Point PointOnRim(int value, int radius) const;
    int ValueFromPoint(int x, int y) const;
    // The thumb's point.
    Gdiplus::Point ThumbPoint() const;
    bool IsDragging() const { return m_bDragging != 0; }
    // The dial's rectangle for a client size, as a paint computes it.
    void Layout();

    // A colour lightened (positive) or darkened by d, kept within 0 to 255 in every channel.
    static Gdiplus::Color Lighten(const Gdiplus::Color& colour, int d);

protected:
    virtual void DrawBackground(Gdiplus::Graphics& g, const Gdiplus::Rect& rect);
    virtual void DrawIcon(Gdiplus::Graphics& g, const Gdiplus::Rect& rect);

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    HBRUSH CtlColor(CDC* dc, UINT ctlColor);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    void Repaint(BOOL repaint);
    void Notify();
    // Sets the value; true when it changed.
    bool SetValue(int value);
    void EnsureTooltip();
    void DrawTicks(Gdiplus::Graphics& g, int step, int inner);
    void DropCapture();

    CToolTipCtrl m_tooltip;
    BOOL m_bUseBackground = FALSE;
    BOOL m_bMajorTicks = TRUE;
    BOOL m_bMinorTicks = TRUE;
    int m_nMinorStep = 50;
    int m_nMajorStep = 10;
    Gdiplus::Color m_clrFace;
    Gdiplus::Color m_clrBackground;
    Gdiplus::Color m_clrOutline;
    Gdiplus::Rect m_rcDial;
    Gdiplus::Point m_ptCentre;
    BOOL m_bDragging = FALSE;
    HICON m_hIcon = nullptr;
    BYTE m_iconWidth = 0;
    BYTE m_iconHeight = 0;
    HWND m_notifyWnd = nullptr;
    UINT m_notifyMsg = 0;
    WPARAM m_notifyWParam = 0;
    LPARAM m_notifyLParam = 0;
    CDC m_dcBk;
    CBitmap m_bmpBk;
    HGDIOBJ m_bmpBkOld = nullptr;
};
