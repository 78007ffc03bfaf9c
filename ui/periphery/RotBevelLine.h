// A static control drawn as a bevel line, horizontal when wider than high, else vertical,
// with its window text as a caption on the line: a vertical caption is turned 90 degrees,
// or 270 when the text starts with '~'.  The style's SS_LEFT / SS_CENTER / SS_RIGHT place it.
//
// The rule it keeps: the whole client area is painted on every WM_PAINT (no erase), so the
// line never flickers; a disabled control draws its caption embossed.
#pragma once
#include "fw/fwwin.h"

class cdxCRotBevelLine : public CStatic
{
    DECLARE_DYNAMIC(cdxCRotBevelLine)
public:
    cdxCRotBevelLine();

    // Sunken (shadow above and left) or raised; the fill behind the line and caption; the
    // caption's colour.  Each repaints a live control.
    void SetSunken(bool sunken);
    void SetBackColour(COLORREF colour);
    void SetCaptionColour(COLORREF colour);
    bool IsSunken() const { return m_bSunken != 0; }
    COLORREF GetBackColour() const { return m_clrBack; }
    COLORREF GetCaptionColour() const { return m_clrCaption; }

protected:
    void OnPaint();
    void OnEnable(BOOL enable);
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    void Changed();
    void DrawCaption(CDC& dc, CRect rect, const CString& text, CFont& font);

    BYTE m_bSunken;
    COLORREF m_clrBack;
    COLORREF m_clrCaption;
};
