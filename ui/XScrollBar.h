// The skinned scroll bar of the panels: two arrow bitmaps, a channel stretched from a
// one-pixel strip and a thumb whose marked pixels take the bar's colours at paint time.
// The part of the channel before the thumb is tinted with light shades of the thumb
// colour, so that the bar reads as a gauge. It reports to its parent as a scroll bar does
// (WM_HSCROLL or WM_VSCROLL, sent). The wheel and the Left and Right keys take left and
// right steps (WM_HSCROLL) on either kind of bar.
//
// The rule it keeps: every change is drawn off-screen and copied in one step; the thumb
// place and the position are computed only when the channel has room and the range is not
// empty (otherwise the thumb stands at the channel start and a click gives the minimum),
// so no division by zero is ever made.
#pragma once
#include "fw/fwwin.h"

#include <vector>

// An off-screen picture of a rectangle of a target DC, put on the target when it goes:
// copied as it is when enabled, faded at 25 % into the panel blue when disabled.
class CScrollBarMemDC : public CDC
{
public:
    CScrollBarMemDC(CDC* target, const CRect& rect, bool enabled);
    ~CScrollBarMemDC() override;
    CScrollBarMemDC(const CScrollBarMemDC&) = delete;
    CScrollBarMemDC& operator=(const CScrollBarMemDC&) = delete;

private:
    CBitmap* m_pBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    CDC* m_pTarget;
    CRect m_rect;
    BYTE m_bEnabled;
};

class CXScrollBar : public CStatic
{
public:
    CXScrollBar();
    ~CXScrollBar() override;

    // Takes the place of the static control `staticId` of `parent` (hidden) with a bar of
    // that rectangle and `newId`; bit 0 of `style` set makes it vertical.
    BOOL CreateFromStatic(DWORD style, CWnd* parent, UINT staticId, UINT newId);
    // Stores the range as given (no check of order); the thumb is not moved.
    void SetScrollRange(int minimum, int maximum, BOOL redraw = TRUE);
    // Stores the position as given (no clamping) and moves the thumb there; the old one.
    int SetScrollPos(int position, BOOL redraw = TRUE);
    int GetScrollPos() const { return m_nPos; }
    void GetScrollRange(int* minimum, int* maximum) const;
    // The thumb takes the colour (and its marks are recoloured from now on).
    void SetThumbColour(COLORREF colour);
    // The thumb's grip in grey (TRUE) or in the colour of the pixel before each grip pixel.
    void SetGreyMarks(BOOL on);
    // Where the thumb was last drawn, client pixels; (-1, -1, -1, -1) when none is shown.
    CRect GetThumbRect() const { return m_rectThumb; }
    BOOL IsHorizontal() const { return m_bHorizontal; }

    BOOL PreTranslateMessage(MSG* msg) override;

    // Thumb left (horizontal) or top (vertical) of a position; the channel start when the
    // range is 0 or the bar is no longer than three thumb widths.
    static int ThumbFromPosition(int position, int minimum, int range, int length, int thumb);
    // Position of a thumb place, clamped into the range; the minimum when there is no room.
    static int PositionFromThumb(int thumbStart, int minimum, int maximum, int range, int length, int thumb);

    // The hand shown over the thumb: the program's cursor "IDC_HAND", else the help
    // program's cursor 106 (copied: *copied is set, the caller destroys it), else the
    // system's hand.
    static HCURSOR FindHandCursor(HINSTANCE program, bool* copied);

    // The timers: the held arrow's repeat, the first delay before it, the hover check.
    enum : UINT_PTR { kRepeatTimer = 1, kDelayTimer = 2, kHoverTimer = 3 };

protected:
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    void OnEnable(BOOL enable);
    DECLARE_MESSAGE_MAP()

private:
    void Draw();
    void DrawHorizontal();
    void DrawVertical();
    // The marks of a thumb bitmap's pixels (0x00RRGGBB words, rows top-down) take the
    // bar's colours; the end marks those of the channel already drawn in `target`.
    void RecolourThumb(std::vector<DWORD>& bits, int width, int height, CDC* target);
    // The channel strip's pixels become the gauge shades of the thumb colour.
    void TintStrip(std::vector<DWORD>& strip);
    void UpdateThumbPosition();
    void LimitThumbPosition();
    void PositionFromThumb();
    void Send(UINT message, int code, int position);
    void StepBack(BOOL vertical);
    void StepForward(BOOL vertical);
    CRect FirstArrowRect() const;
    CRect LastArrowRect() const;
    CRect CurrentThumbRect() const;
    int Length() const;
    int ThumbSize() const { return m_bHorizontal ? m_nBitmapWidth : m_nBitmapHeight; }

    CWnd* m_pParent = nullptr;
    int m_nThumbLeft = 25;
    int m_nThumbTop = 25;
    int m_nBitmapHeight = 12;
    int m_nBitmapWidth = 25;
    int m_nPos = 0;
    int m_nMinPos = 0;
    int m_nMaxPos = 0;
    int m_nRange = 0;
    CRect m_rectThumb{-1, -1, -1, -1};
    CRect m_rectClient{-1, -1, -1, -1};
    HCURSOR m_hHand = nullptr;
    BOOL m_bHandCopied = FALSE;
    COLORREF m_crThumb = 0;
    COLORREF m_crThumbHover;
    BOOL m_bThumbColour = FALSE;
    BOOL m_bChannelColour = TRUE;
    BOOL m_bGreyMarks = TRUE;
    BOOL m_bThumbHover = FALSE;
    BOOL m_bRightArrowDown = FALSE;
    BOOL m_bLeftArrowDown = FALSE;
    BOOL m_bUpArrowDown = FALSE;
    BOOL m_bDownArrowDown = FALSE;
    BOOL m_bThumbPressed = FALSE;
    BOOL m_bDragging = FALSE;
    BOOL m_bHorizontal = TRUE;
};
