// A ruler control with numbered ticks and draggable triangular markers; each move
// of a marker is reported to the parent with WM_NOTIFY code RULER_NOTIFY_CODE.
#pragma once
#include <cstddef>
#include <optional>

#include "fw/fwwin.h"

#define RULER_WND_CLASS "CRulerWnd"
#define RULER_NOTIFY_CODE 0x1112

// Style bits.
enum {
    RWS_VERTICAL = 0x01,
    RWS_HORIZONTAL = 0x02,
    RWS_SCALE_NEAR = 0x04, // along the top (horizontal) or left (vertical)
    RWS_SCALE_FAR = 0x08,  // along the bottom or right; wins over RWS_SCALE_NEAR
    RWS_RAISED = 0x10,
    RWS_SUNKEN = 0x20,
};

// Notification actions.
enum { RULER_MOVED = 1, RULER_DRAGGING = 2 };

struct RulerMarker
{
    int position;
    int flags; // bit 0: cannot be grabbed with the mouse
    int id;
    COLORREF outline;
    COLORREF fill;
    int lowest;
    int highest;
    int spare;
};

// Begins with the fields of NMHDR at their platform widths, so a receiver may read it as one.
struct RulerNotification
{
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
    int action;
    DWORD style;
    int markerId;
    int newPosition;
    int previousPosition;
    int value1;
    int value2;
};

static_assert(offsetof(RulerNotification, code) == offsetof(NMHDR, code) &&
                  offsetof(RulerNotification, idFrom) == offsetof(NMHDR, idFrom),
              "a ruler notification is read as an NMHDR on both targets");

// Paints through a memory bitmap of the target's clip box, copied back on destruction.
class CRulerMemDC : public CDC
{
public:
    explicit CRulerMemDC(CDC* target);
    ~CRulerMemDC() override;

private:
    CDC* m_pTarget;
    CRect m_rectClip;
    HBITMAP m_hBitmap;
    std::optional<CSelectGuard> m_bitmapSelection;
    BOOL m_bMemory;
};

class CRulerWnd : public CWnd
{
public:
    CRulerWnd();
    ~CRulerWnd() override;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    BOOL PreTranslateMessage(MSG* msg) override;

    BOOL SetStyle(DWORD style)
    {
        m_dwStyle = style;
        return TRUE;
    }
    BOOL SetBackColour(COLORREF c)
    {
        m_crBack = c;
        return TRUE;
    }
    BOOL SetTickColour(COLORREF c)
    {
        m_crTick = c;
        return TRUE;
    }
    BOOL SetTextColour(COLORREF c)
    {
        m_crText = c;
        return TRUE;
    }
    BOOL SetStartOffset(int n)
    {
        m_nStartOffset = n;
        return TRUE;
    }
    BOOL SetScaleLength(int n)
    {
        m_nScaleLength = n;
        return TRUE;
    }
    BOOL SetMinPosition(int n)
    {
        m_nMinPosition = n;
        return TRUE;
    }
    BOOL SetTickSpacing(float f)
    {
        m_fTickSpacing = f;
        return TRUE;
    }
    BOOL SetMarkerHalfWidth(int n)
    {
        m_nHalfWidth = n;
        return TRUE;
    }
    BOOL SetScrollOffset(int n)
    {
        m_nScrollOffset = n;
        return TRUE;
    }
    BOOL SetNotifyWindow(CWnd* wnd)
    {
        m_pNotifyWnd = wnd;
        return TRUE;
    }

    int AddMarker(int position, int id, int lowest, int highest, int flags, int spare, COLORREF outline, COLORREF fill);
    RulerMarker* GetMarker(int id);
    int RemoveMarker(int id);
    int RemoveAllMarkers();
    int GetMarkerCount() const { return (int)m_markers.GetSize(); }
    int PositionToPixel(int position) const;
    int PositionFromPoint(CPoint point) const;
    int HitTestMarker(CPoint point) const;
    void UpdateScale();
    LRESULT NotifyParent(int action, int id, int newPosition, int previousPosition, int a, int b);

    const RulerNotification& GetLastNotification() const { return m_notification; }
    int GetScrollOffset() const { return m_nScrollOffset; }
    int GetTotalLength() const { return m_nTotalLength; }
    int GetVisibleLength() const { return m_nVisibleLength; }
    BOOL IsVertical() const { return (m_dwStyle & RWS_VERTICAL) != 0; }
    BOOL IsDragging() const { return m_bDragging; }

protected:
    static BOOL RegisterWindowClass();
    BOOL ScaleFar() const { return (m_dwStyle & RWS_SCALE_FAR) != 0; }
    int Pixel(int position) const { return (int)(m_nStartOffset + position * m_fTickSpacing); }
    void DrawHorizontal(CDC* dc, const CRect& client);
    void DrawVertical(CDC* dc, const CRect& client);
    void DrawMarker(CDC* dc, const CRect& client, const RulerMarker& m);
    void DrawGuide(int position);
    void ConfineCursor();
    void MoveMarkerBy(RulerMarker* m, int newPosition);

    BOOL OnEraseBkgnd(CDC* dc);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    DECLARE_MESSAGE_MAP()

    DWORD m_dwStyle;
    COLORREF m_crBack, m_crTick, m_crText;
    int m_nStartOffset;
    int m_nScaleLength;
    int m_nMinPosition;
    float m_fTickSpacing;
    int m_nHalfWidth;
    int m_nScrollOffset;
    CPtrArray m_markers;
    int m_bButtonDown, m_bDragging;
    int m_nDragId, m_nDragStart, m_nGuide;
    int m_nTotalLength, m_nVisibleLength;
    CWnd* m_pNotifyWnd;
    RulerNotification m_notification;
};
