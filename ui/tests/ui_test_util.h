// Small helpers of the toolkit's tests: bitmaps of known pixels, a plain parent window,
// draw requests, and where a colour lies on a surface.
#pragma once
#include "fw/fwwin.h"
#include "testsupport/DibSurface.h"

#include <functional>
#include <initializer_list>
#include <map>

// A 24-bit DIB section whose pixel (x, y) is colourAt(x, y); the caller (or the button it is
// given to) owns it.
HBITMAP PatternBitmap(int width, int height, const std::function<COLORREF(int, int)>& colourAt);
inline HBITMAP SolidBitmap(int width, int height, COLORREF colour)
{
    return PatternBitmap(width, height, [colour](int, int) { return colour; });
}

// A visible top-level window at (x, y) that children can live in, destroyed with the
// object. Being a framework window it reflects its children's notifications to them, and
// it counts the click notifications it gets per control id.
class TestParent : public CWnd
{
public:
    TestParent(int x, int y, int width, int height);
    ~TestParent() override;
    HWND Hwnd() const { return m_hWnd; }
    // A child button of that style and caption at the rectangle.
    HWND AddButton(int id, DWORD style, const char* caption, const RECT& r);
    int Clicks(int id) const;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    std::map<int, int> m_clicks;
};

// A draw request for an owner-drawn control onto a surface.
DRAWITEMSTRUCT DrawRequest(HWND control, HDC dc, const RECT& item, UINT state);

// The smallest rectangle holding every pixel of exactly that colour (empty: none).
CRect BoundsOf(const DibSurface& surface, COLORREF colour);
int CountOf(const DibSurface& surface, COLORREF colour);

// The window as it has drawn itself, saved for a person to look at (under SL_DUMP_DIR); and
// several windows where they stand on the screen, later ones over earlier ones.
void CaptureToPng(HWND wnd, const char* name);
void CaptureToPng(std::initializer_list<HWND> windows, const char* name);
