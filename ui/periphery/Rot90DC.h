// Drawing turned by quarter turns: a memory device context the caller draws into at turned
// coordinates, copied onto its target turned by 0, 90, 180 or 270 degrees when finished.
//
// The rule it keeps: the target gets the drawing back exactly once (Finish, or the
// destructor), and the memory context gets its own bitmap, font and colours back before it
// is deleted.  A rectangle outside the target's clip box makes no context and draws nothing.
#pragma once
#include "fw/fwwin.h"

class cdxCRot90DC : public CDC
{
    DECLARE_DYNAMIC(cdxCRot90DC)
public:
    // Creates at once when a target is given.
    cdxCRot90DC(CDC* target = nullptr, const RECT* rect = nullptr, int angle = 0, bool copyExisting = false);
    ~cdxCRot90DC() override;

    BOOL Create(CDC& target, const RECT& rect, int angle, bool copyExisting = false);
    // Copies the drawing back onto the target, turned back; FALSE without a target.
    BOOL Finish();
    void Destroy();

    // Where the caller draws: the target rectangle in memory coordinates.
    const CRect& GetRotRect() const { return m_rectRot; }
    int GetAngle() const { return m_angleIndex * 90; }
    int GetAngleIndex() const { return m_angleIndex; }
    bool IsCreated() const { return m_target != nullptr; }
    CPoint RotatePoint(POINT p) const { return RotatePoint(p, m_angleIndex); }
    CSize RotateSize(SIZE s) const;
    // The width and height of an icon's colour bitmap; (0, 0) for none.
    static CSize GetIconSize(HICON icon);

    // An optional icon and a text in a rectangle of this context: the format's DT_LEFT /
    // DT_CENTER / DT_RIGHT and DT_TOP / DT_VCENTER / DT_BOTTOM place them; option bit 0 draws
    // both disabled (embossed text), bit 1 keeps the icon upright.
    void DrawControl(CRect rect, const CString& text, HICON icon, UINT format, UINT options = 0, int gap = 2);

    // The turn of a point and of a rectangle (normalised) by an angle index 0 to 3.
    static CPoint RotatePoint(POINT p, int index);
    static CRect RotateRect(const RECT& r, int index);
    // Degrees to an index 0 to 3 (-90 and 270 both give 3).
    static int AngleIndex(int degrees);

private:
    // Copies `rect` of `from` onto `to` at the turned rectangle, turned by `index`.
    static void CopyTurned(HDC to, HDC from, const CRect& rect, int index);

    CDC* m_target = nullptr;
    CRect m_rectRot;        // target rectangle, memory coordinates
    CRect m_rectRotVisible; // visible rectangle, memory coordinates
    CRect m_rect;           // target rectangle, target coordinates
    CRect m_rectVisible;    // the target rectangle within the target's clip box
    int m_angleIndex = 0;
    CBitmap m_bitmap;
    int m_bitmapWidth = 0;
    int m_bitmapHeight = 0;
    BYTE m_bFinished = TRUE;
    // The memory context's own state, put back before it is deleted.
    COLORREF m_savedBkColor = 0;
    int m_savedBkMode = 0;
    COLORREF m_savedTextColor = 0;
    HGDIOBJ m_savedFont = nullptr;
    HGDIOBJ m_savedBitmap = nullptr;
};
