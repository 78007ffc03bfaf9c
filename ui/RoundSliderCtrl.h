// The round dial of the panels: a dialog's slider (trackbar) turned into a circular window
// that shows a knob bitmap rotated to the value, a red marker dot on the rim and the value
// as text. Dragging round the dial or the keys change it; the range is circular, so the
// value wraps. Changes reach the parent as posted WM_HSCROLL messages carrying the
// position, exactly as from a horizontal slider.
//
// The rule it keeps: the trackbar itself never sees the handled mouse and keys; a drag
// that changed the value ends with exactly one SB_THUMBPOSITION, a click that changed
// nothing sends nothing, and the trackbar underneath reports nothing of its own. The dial
// owns one knob image at a time.
#pragma once
#include "fw/fwwin.h"

#include <memory>

namespace Gdiplus {
class Bitmap;
}

class CRoundSliderCtrl : public CSliderCtrl
{
    DECLARE_DYNAMIC(CRoundSliderCtrl)
public:
    CRoundSliderCtrl();
    ~CRoundSliderCtrl() override;

    virtual void SetText(const CString& format);
    virtual CString GetText() const;
    // The value text: the format with the position as a long integer.
    virtual CString GetValueText() const;
    virtual void SetRadiusInset(int inset);
    virtual int GetRadiusInset() const;
    virtual void SetZeroAngle(int degrees);
    virtual int GetZeroAngle() const;
    virtual void SetInverted(bool inverted);
    virtual bool GetInverted() const;
    // Centre, radius and the elliptic window region from the client width; the position
    // goes to 0.
    virtual void RecalcLayout();
    // The position under a client point; true when it changed.
    virtual bool SetPosFromPoint(CPoint point);
    // Posts WM_HSCROLL (position << 16 | code) to the parent, when there is one.
    virtual void NotifyParent(UINT code);

    // Loads the knob bitmap resource; a knob set before is released first.
    BOOL SetKnobBitmap(UINT id);
    // The fill outside the dial (the panel's colour).
    void SetBackgroundColour(COLORREF colour) { m_crBackground = colour; }
    void SetToolTipText(const CString& text);

    // Degrees clockwise from the top at which the current position is drawn.
    int GetAngle() const;
    CPoint GetCentre() const { return m_ptCentre; }
    int GetRadius() const { return m_nRadius; }

    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void OnSize(UINT type, int cx, int cy);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnCaptureChanged(CWnd* gaining);
    DECLARE_MESSAGE_MAP()

private:
    void RedrawNow();

    CPoint m_ptCentre;
    int m_nRadius = 0;
    CRgn m_rgn;
    int m_nZeroAngle = 0;
    bool m_bInverted = false;
    CString m_strText;
    int m_nRadiusInset = 7;
    bool m_bDragging = false;
    bool m_bDragChanged = false;
    CBitmap m_bmpKnob;
    std::unique_ptr<Gdiplus::Bitmap> m_pKnobImage;
    CToolTipCtrl m_tooltip;
    CString m_strToolTip;
    COLORREF m_crBackground;
};

// Two drawing helpers of the dial's module. BlendRgb: the two colours mixed by where the
// angle (radians) lies against a light from the upper left. DrawMarkerDot: a dot of radius
// 5 round (x, y), filled with the colour and outlined with the DC's pen.
COLORREF BlendRgb(double angle, COLORREF colour1, COLORREF colour2);
void DrawMarkerDot(CDC* dc, int x, int y, COLORREF colour);
