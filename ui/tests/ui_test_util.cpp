#include "ui/tests/ui_test_util.h"

#include "testsupport/Dump.h"

HBITMAP PatternBitmap(int width, int height, const std::function<COLORREF(int, int)>& colourAt)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr)
        return nullptr;
    const int stride = (width * 3 + 3) & ~3;
    BYTE* row = static_cast<BYTE*>(bits);
    for (int y = 0; y < height; ++y, row += stride)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colourAt(x, y);
            row[x * 3] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
    return bitmap;
}

TestParent::TestParent(int x, int y, int width, int height)
{
    CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW)), "test parent", WS_POPUP, x, y,
             width, height, nullptr, nullptr);
    // Shown without taking the activation from the programs of the tests beside it.
    ShowWindow(SW_SHOWNOACTIVATE);
}

TestParent::~TestParent()
{
    if (m_hWnd != nullptr)
        DestroyWindow();
}

HWND TestParent::AddButton(int id, DWORD style, const char* caption, const RECT& r)
{
    return ::CreateWindow("BUTTON", caption, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                          r.bottom - r.top, m_hWnd, (HMENU)(INT_PTR)id, nullptr, nullptr);
}

int TestParent::Clicks(int id) const
{
    auto it = m_clicks.find(id);
    return it == m_clicks.end() ? 0 : it->second;
}

BOOL TestParent::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // The control's own handler first (reflection); a click it passes on is counted.
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    if (lParam != 0 && HIWORD(wParam) == BN_CLICKED)
        ++m_clicks[LOWORD(wParam)];
    return TRUE;
}

DRAWITEMSTRUCT DrawRequest(HWND control, HDC dc, const RECT& item, UINT state)
{
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = (UINT)::GetDlgCtrlID(control);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = state;
    dis.hwndItem = control;
    dis.hDC = dc;
    dis.rcItem = item;
    return dis;
}

CRect BoundsOf(const DibSurface& surface, COLORREF colour)
{
    CRect r(0, 0, 0, 0);
    bool any = false;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            if (surface.At(x, y) == colour) {
                if (!any)
                    r = CRect(x, y, x + 1, y + 1);
                r.left = x < r.left ? x : r.left;
                r.top = y < r.top ? y : r.top;
                r.right = x + 1 > r.right ? x + 1 : r.right;
                r.bottom = y + 1 > r.bottom ? y + 1 : r.bottom;
                any = true;
            }
    return r;
}

int CountOf(const DibSurface& surface, COLORREF colour)
{
    int n = 0;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            n += surface.At(x, y) == colour;
    return n;
}

void CaptureToPng(std::initializer_list<HWND> windows, const char* name)
{
    // Read from each window's own DC (what it has drawn), not from the screen, which the
    // display may not have caught up with yet; later windows over earlier ones.
    CRect all(0, 0, 0, 0);
    for (HWND w : windows) {
        CRect r;
        ::GetWindowRect(w, &r);
        all.UnionRect(&all, &r);
    }
    DibSurface surface(all.Width(), all.Height(), RGB(128, 128, 128));
    for (HWND w : windows) {
        CRect r;
        ::GetWindowRect(w, &r);
        HDC dc = ::GetWindowDC(w);
        ::BitBlt(surface.Hdc(), r.left - all.left, r.top - all.top, r.Width(), r.Height(), dc, 0, 0, SRCCOPY);
        ::ReleaseDC(w, dc);
    }
    DumpPng(surface.Bitmap(), name);
}

void CaptureToPng(HWND wnd, const char* name) { CaptureToPng({wnd}, name); }
