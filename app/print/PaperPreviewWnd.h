// A child window showing the current paper layout with every cell's design: pointing
// at a cell marks it (hover), clicking selects it and, unless told otherwise, makes it
// the document's current frame record.  It rings its own choice, kept across refreshes;
// a window told to follow the current cell rings the cell the canvas shows and edits.
// Each window paints its own last rendering: the sheet image the renderer leaves on the
// document belongs to whichever window drew last.
#pragma once

#include "fw/fwwin.h"
#include "model/design/PaperPreview.h"

#include <memory>

class CFrostwellDoc;

class CPaperPreviewWnd : public CWnd
{
public:
    CPaperPreviewWnd();
    ~CPaperPreviewWnd() override;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    BOOL DestroyWindow() override;

    void SetDocument(CFrostwellDoc* document) { m_document = document; }
    void DisableHover() { m_hoverDisabled = 1; }
    void SetSelectOnly() { m_selectOnly = 1; }
    // Rings the document's current cell, whichever window or panel made it current.
    void SetFollowCurrent() { m_followCurrent = 1; }
    int GetSelectedCell() const { return m_selectedCell; }
    CPaperPreview* GetPreview() { return &m_preview; }
    CPoint GetImageOrigin() const { return m_imageOrigin; }

    // Loads the layout again, renders every cell and repaints.
    void Update();
    // Moves the window to its normal place with the current size and repaints.
    void ApplySize();

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

    int HitTestClient(CPoint point) const;

    BYTE m_tracking;
    CSize m_defaultSize;
    CSize m_currentSize;
    CPaperPreview m_preview;
    CFrostwellDoc* m_document;
    int m_lastHover;
    CRect m_outputRect;
    CPoint m_imageOrigin;
    BYTE m_hoverDisabled;
    BYTE m_selectOnly;
    BYTE m_followCurrent;
    int m_selectedCell;
    CString m_className;
    CBrush m_brush;
    std::unique_ptr<Gdiplus::Bitmap> m_sheet; // this window's last rendering
};
