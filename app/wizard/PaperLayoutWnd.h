// The wizard paper page's picture of the sheet: a child window that draws the page's paper
// preview with its caption, over a window class of its own in the pale yellow.
//
// The rule it keeps: every paint draws the same sheet; the preview grows its stored sheet by
// the display border as it draws, so the window puts the size back after each drawing.
#pragma once
#include "fw/fwwin.h"
#include "model/design/PaperPreview.h"

class CPaperLayoutWnd : public CWnd
{
public:
    CPaperLayoutWnd();
    ~CPaperLayoutWnd() override;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    CPaperPreview& Preview() { return m_preview; }

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

    CPaperPreview m_preview;
    CString m_className;
    CBrush m_brush;
};
