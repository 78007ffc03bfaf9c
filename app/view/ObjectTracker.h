// The on-canvas manipulator of the selected design object: handles, move, resize,
// rotate, shear, exclusive-or feedback and a live size readout.
#pragma once
#include "app/view/Tracker.h"
#include <gdiplus.h>
#include <vector>

// Style bits.
enum {
    OT_CTRL_ROTATES = 0x01, // Ctrl on a corner handle rotates
    OT_CTRL_SHEARS = 0x02,  // Ctrl on an edge handle shears
    OT_ALLOW_MIRROR = 0x04, // factors may become negative
    OT_ALT_PIVOT = 0x08,    // Alt toggles the anchor; pivot marker drawn
    OT_PIVOT_HANDLE = 0x10, // the pivot is a handle of its own
    OT_ROTATE_ON_PIVOT = 0x20,
    OT_DOTTED_FRAME = 0x40,
    OT_DOTTED_OUTLINE = 0x80,
    OT_DOTTED_PATH = 0x100,
};

// Drag modes.
enum { OT_IDLE, OT_MOVE, OT_RESIZE, OT_ROTATE, OT_SHEAR, OT_MOVE_PIVOT };

// Handles: 0 top-left, 1 top, 2 top-right, 3 right, 4 bottom-right, 5 bottom,
// 6 bottom-left, 7 left, 8 pivot, 9 body.  The opposite of h is h ^ 4.
enum { OT_HANDLE_PIVOT = 8, OT_HANDLE_BODY = 9 };

// Slots of the process-wide tracker cursor table; an empty slot leaves the cursor as it is.
// The two diagonal slots differ in their lowest bit only (a flip swaps them).
enum TrackerCursorSlot {
    OT_CURSOR_SIZE_NWSE = 0, // corner handles 0 and 4
    OT_CURSOR_SIZE_NESW = 1, // corner handles 2 and 6
    OT_CURSOR_SIZE_NS = 2,   // edge handles 1 and 5
    OT_CURSOR_SIZE_WE = 3,   // edge handles 3 and 7
    OT_CURSOR_PIVOT = 4,
    OT_CURSOR_MOVE = 5,
    OT_CURSOR_MOVE_CTRL = 6,
    OT_CURSOR_ROTATE = 7,
    OT_CURSOR_SHEAR_H = 8, // shear along a horizontal edge (handles 1, 5)
    OT_CURSOR_SHEAR_V = 9, // shear along a vertical edge (handles 3, 7)
    OT_CURSOR_SLOTS = 10
};

// Fills a slot of the tracker cursor table; id 0 stores none.
// TRUE when a cursor was loaded.
BOOL SetTrackerCursor(int slot, UINT resourceId, HINSTANCE module = NULL);

class CObjectTracker : public CTracker
{
public:
    explicit CObjectTracker(CWnd* owner);
    ~CObjectTracker() override;

    void SetPath(const Gdiplus::GraphicsPath* path, BOOL centrePivot, CDC* dc);
    void SetRect(const CRect& rect, BOOL centrePivot, CDC* dc);
    void SetLimits(const CRect& designRect, float widthInches, float heightInches);
    int HitTestHandles(CPoint point) const;
    void DrawSizeLabel(CDC* dc);
    void DrawHandles(CDC* dc);
    void Clear(CDC* dc);
    void SetHandleSizes(int handleSize, int frameMargin, int outlineMargin, CDC* dc);
    void GetHandleSizes(int& handleSize, int& frameMargin, int& outlineMargin) const;
    void SetCursorForPoint(CDC* dc);

    void SetMoveOnly(BOOL moveOnly) { m_bMoveOnly = moveOnly; }
    BOOL IsMoveOnly() const { return m_bMoveOnly; }
    void SetStyle(int style) { m_nStyle = style; }
    int GetStyle() const { return m_nStyle; }
    BOOL IsActive() const { return m_bActive; }
    int GetMode() const { return m_nMode; }
    int GetHit() const { return m_nHit; }
    CRect GetObjectRect() const { return m_rectObject; }
    CPoint GetHandlePoint(int handle) const;
    const CString& GetStatus() const { return m_strStatus; }
    // The size label: position of the object's top-left corner, its width and height
    // (not the handle frame's, which stands outside it), in inches or millimetres.  FALSE
    // without limits to measure with.
    BOOL GetReadout(CString& position, CString& width, CString& height) const;

    // Results of the last drag (valid when Track returned above 0).
    Gdiplus::PointF GetTranslation() const { return m_translation; }
    Gdiplus::PointF GetScale() const { return m_scale; }
    float GetRotation() const { return m_rotation; }
    int GetAnchorHandle() const { return m_nAnchorHandle; }

protected:
    int OnBegin(UINT keyFlags, CPoint point) override;
    int OnEnd(int result) override;
    int OnMouseMessage(UINT message, UINT keyFlags, CPoint point) override;
    int OnKeyMessage(UINT message, UINT key, UINT repeat, UINT flags) override;
    void DrawFeedback(CDC* dc, UINT flags) override;
    virtual void GetStatusText(int mode, float x, float y);

private:
    void RebuildPolygon(BOOL centrePivot);
    void SetAnchor(BOOL alternate);
    BOOL WantAlternateAnchor() const;
    CPoint ConstrainMove(CPoint point) const;
    void SetCursorFor(int hit) const;
    void DrawPivotMarker(HDC dc, CPoint at, BOOL dragged) const;
    void DrawReadout(HDC dc) const;
    void ApplyMatrixToFeedback();
    void ResetResults();
    float FactorOf(int moved, int base) const;

    int m_nStyle;
    COLORREF m_crFrame, m_crHandle, m_crPivot, m_crOutline, m_crPath;
    BOOL m_bActive, m_bPanning, m_bFlipped, m_bAlternate, m_bMoveOnly;
    int m_nMode;
    int m_nHit;
    Gdiplus::GraphicsPath* m_pPath;
    std::vector<Gdiplus::PointF> m_pathPoints;
    std::vector<BYTE> m_pathTypes;
    std::vector<Gdiplus::PointF> m_movedPoints;
    CRect m_rectObject;
    CPoint m_base[5];
    CPoint m_moved[5];
    CPoint m_anchorBase, m_anchorMoved;
    Gdiplus::Matrix m_matrix;
    float m_startAngle;
    int m_nHandleSize, m_nFrameMargin, m_nOutlineMargin;
    CString m_strStatus;
    Gdiplus::PointF m_translation;
    Gdiplus::PointF m_scale;
    float m_rotation;
    int m_nAnchorHandle;
    CRect m_rectLimits;
    float m_limitWidth, m_limitHeight;
    HFONT m_hLabelFont;
};
