// The rulers above and left of the design canvas.  The view makes one per paint,
// feeds it and has it paint straight into its own device context.
#pragma once
#include "fw/fwwin.h"

class CRulerBar : public CControlBar
{
public:
    explicit CRulerBar(BOOL threeD);
    ~CRulerBar() override;

    virtual BOOL Create(CWnd* parent, DWORD barStyle, RECT rect, UINT id);
    // Stores the ruler and invalidates the bar when anything differs.
    void SetRuler(SIZE size, const RECT* marks, SIZE length);
    // Paints the ruler into dc with its origin at origin.
    using CControlBar::DoPaint;
    virtual void DoPaint(CDC* dc, POINT origin);
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    CSize GetTextSize();

    CSize GetSize() const { return m_size; }
    CSize GetLength() const { return m_length; }
    CRect GetMarks() const { return m_marks; }

protected:
    CRulerBar(BOOL threeD, BOOL vertical);
    void CreatePens();
    void DeletePens();
    void DrawBand(CDC* dc);
    void DrawTicks(CDC* dc, int every, int perLabel, int len);
    void DrawNumbers(CDC* dc, int every, int perLabel);
    // Position along the bar of a ruler unit, and the components the axis uses.
    int Along(int units) const;
    int SizeAlong() const { return m_bVertical ? m_size.cy : m_size.cx; }
    int LengthAlong() const { return m_bVertical ? m_length.cy : m_length.cx; }
    int MarkLow() const { return m_bVertical ? m_marks.top : m_marks.left; }
    int MarkHigh() const { return m_bVertical ? m_marks.bottom : m_marks.right; }

    void OnSysColorChange();
    void OnWindowPosChanging(WINDOWPOS* pos);
    DECLARE_MESSAGE_MAP()

    BOOL m_bVertical;
    BOOL m_b3D;
    CFont m_font;
    int m_nScreenRes;
    int m_nScroll;
    int m_nUnit;
    CSize m_size;
    CSize m_length;
    CRect m_marks;
    CPen m_penDotted, m_penHilight, m_penShadow, m_penFrame, m_penBtnText, m_penBtnFace, m_penWindowText, m_penWindow;
    CBrush m_brWindow, m_brBtnFace;
};

class CRulerBarV : public CRulerBar
{
public:
    explicit CRulerBarV(BOOL threeD);
    BOOL Create(CWnd* parent, DWORD barStyle, UINT id);
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
};
