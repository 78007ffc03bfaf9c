// A track bar whose channel lies over its parent's own background, so that it looks
// transparent on a skinned dialog: the parent's pixels behind the control are captured at
// the first channel draw and put under the control at every channel draw, keeping only the
// control's pure white pixels.  The thumb draws itself as usual.
//
// The rule it keeps: the background is captured once, for the life of the control; a later
// change of the parent (or a move of the control) does not change it.
#pragma once
#include "fw/fwwin.h"

class CDrawnSlider : public CSliderCtrl
{
public:
    CDrawnSlider() = default;
    ~CDrawnSlider() override;

    // Whether the parent's background has been captured.
    bool HasBackground() const { return m_dcBk.GetSafeHdc() != nullptr; }

protected:
    void OnCustomDraw(NMHDR* nmhdr, LRESULT* result);
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    void DrawChannelBackground(HDC dc);

    CDC m_dcBk;
    CBitmap m_bmpBk;
    HGDIOBJ m_bmpBkOld = nullptr;
    // Kept for drawn channels of other looks; this look draws none.
    CPen m_penThumb, m_penThumbLight, m_penThumbLighter, m_penThumbDark, m_penThumbDarker;
};
