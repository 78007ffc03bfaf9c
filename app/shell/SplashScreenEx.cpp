#include "app/shell/SplashScreenEx.h"

#include <vector>

namespace {

const char kClassName[] = "SplashScreenExClass";
const UINT_PTR kDisplayTimer = 1;
const DWORD kFadeInMs = 500;
const DWORD kFadeOutMs = 200;

bool IsHidingInput(UINT message)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

// The pixels of a bitmap that differ from the colour, as a region built from the runs of
// such pixels on each row.  NULL when the pixels cannot be read.
HRGN RegionWithout(HBITMAP bitmap, int width, int height, COLORREF colour)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels((size_t)width * (size_t)height);
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, (UINT)height, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != height)
        return nullptr;
    const DWORD key = ((DWORD)GetRValue(colour) << 16) | ((DWORD)GetGValue(colour) << 8) | GetBValue(colour);
    std::vector<RECT> runs;
    for (int y = 0; y < height; ++y) {
        const DWORD* row = &pixels[(size_t)y * (size_t)width];
        for (int x = 0; x < width;) {
            while (x < width && (row[x] & 0xFFFFFF) == key)
                ++x;
            const int start = x;
            while (x < width && (row[x] & 0xFFFFFF) != key)
                ++x;
            if (x > start)
                runs.push_back({start, y, x, y + 1});
        }
    }
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    RGNDATA* region = reinterpret_cast<RGNDATA*>(data.data());
    region->rdh.dwSize = sizeof(RGNDATAHEADER);
    region->rdh.iType = RDH_RECTANGLES;
    region->rdh.nCount = (DWORD)runs.size();
    region->rdh.nRgnSize = (DWORD)(runs.size() * sizeof(RECT));
    region->rdh.rcBound = {0, 0, width, height};
    if (!runs.empty())
        memcpy(region->Buffer, runs.data(), runs.size() * sizeof(RECT));
    return ::ExtCreateRegion(nullptr, (DWORD)data.size(), region);
}

} // namespace

BEGIN_MESSAGE_MAP(CSplashScreenEx, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CSplashScreenEx::CSplashScreenEx()
    // Looked up: a system without it shows and hides without fading.
    : m_animate(
          reinterpret_cast<AnimateWindowProc>(::GetProcAddress(::GetModuleHandleA("USER32.DLL"), "AnimateWindow")))
{
    SetTextDefaultFont();
}

CSplashScreenEx::~CSplashScreenEx()
{
    if (m_bitmap != nullptr)
        ::DeleteObject(m_bitmap);
    if (m_ownFont && m_font != nullptr)
        ::DeleteObject(m_font);
}

BOOL CSplashScreenEx::Create(CWnd* parent, LPCTSTR text, DWORD displayTimeMs, DWORD style)
{
    m_parent = parent != nullptr ? parent->GetSafeHwnd() : nullptr;
    m_text = text != nullptr ? text : "";
    m_displayTime = displayTimeMs;
    m_style = style;
    WNDCLASS wc = {};
    wc.style = CS_SAVEBITS | CS_DBLCLKS | ((style & kShadow) ? CS_DROPSHADOW : 0);
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = ::GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = kClassName;
    if (!AfxRegisterClass(&wc)) {
        // Systems without drop shadows refuse the style.
        wc.style &= ~CS_DROPSHADOW;
        if (!AfxRegisterClass(&wc))
            return FALSE;
    }
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, 0, 0, 0, 0, m_parent, nullptr, nullptr))
        return FALSE;
    m_created = true;
    return TRUE;
}

BOOL CSplashScreenEx::SetBitmap(UINT resourceId, WORD red, WORD green, WORD blue)
{
    // Only 16-bit ids name a resource; anything above would be read as a name's address.
    if (!IS_INTRESOURCE(resourceId))
        return FALSE;
    HBITMAP bitmap = (HBITMAP)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0,
                                           LR_CREATEDIBSECTION);
    return TakeBitmap(bitmap, red, green, blue);
}

BOOL CSplashScreenEx::SetBitmap(LPCTSTR fileName, WORD red, WORD green, WORD blue)
{
    if (fileName == nullptr || *fileName == 0)
        return FALSE;
    HBITMAP bitmap =
        (HBITMAP)::LoadImageA(nullptr, fileName, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    return TakeBitmap(bitmap, red, green, blue);
}

BOOL CSplashScreenEx::TakeBitmap(HBITMAP bitmap, WORD red, WORD green, WORD blue)
{
    BITMAP info = {};
    if (bitmap == nullptr || !::GetObjectA(bitmap, sizeof info, &info)) {
        if (bitmap != nullptr)
            ::DeleteObject(bitmap);
        return FALSE;
    }
    if (m_bitmap != nullptr)
        ::DeleteObject(m_bitmap);
    m_bitmap = bitmap;
    m_width = info.bmWidth;
    m_height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    m_textRect.SetRect(0, 0, m_width, m_height);
    Place();
    if (m_hWnd != nullptr) {
        HRGN shape = nullptr;
        if (red != kNoTransparency && green != kNoTransparency && blue != kNoTransparency)
            shape = RegionWithout(m_bitmap, m_width, m_height, RGB(red, green, blue));
        SetWindowRgn(shape, TRUE); // the window owns the region from here
    }
    return TRUE;
}

void CSplashScreenEx::Place()
{
    if (m_hWnd == nullptr)
        return;
    CRect area;
    if ((m_style & kCentreParent) && m_parent != nullptr && ::IsWindow(m_parent))
        ::GetWindowRect(m_parent, &area);
    else if (m_style & (kCentreScreen | kCentreParent))
        area.SetRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    CRect now;
    GetWindowRect(&now);
    const int x = area.IsRectNull() ? now.left : area.left + (area.Width() - m_width) / 2;
    const int y = area.IsRectNull() ? now.top : area.top + (area.Height() - m_height) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, m_width, m_height, SWP_NOACTIVATE | SWP_NOZORDER);
}

void CSplashScreenEx::Redraw()
{
    if (m_hWnd != nullptr)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CSplashScreenEx::SetText(LPCTSTR text)
{
    m_text = text != nullptr ? text : "";
    Redraw();
}

BOOL CSplashScreenEx::SetTextFont(LPCTSTR face, int pointSize, int styles)
{
    HDC screen = ::GetDC(nullptr);
    const int height = -MulDiv(pointSize, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    HFONT font =
        ::CreateFontA(height, 0, 0, 0, (styles & kBold) ? FW_BOLD : FW_NORMAL, (styles & kItalic) ? TRUE : FALSE,
                      (styles & kUnderline) ? TRUE : FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
    if (font == nullptr)
        return FALSE;
    if (m_ownFont && m_font != nullptr)
        ::DeleteObject(m_font);
    m_font = font;
    m_ownFont = true;
    Redraw();
    return TRUE;
}

void CSplashScreenEx::SetTextDefaultFont()
{
    if (m_ownFont && m_font != nullptr)
        ::DeleteObject(m_font);
    m_font = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    m_ownFont = false;
    Redraw();
}

void CSplashScreenEx::SetTextColor(COLORREF colour)
{
    m_textColour = colour;
    Redraw();
}

void CSplashScreenEx::SetTextRect(const CRect& rect)
{
    m_textRect = rect;
    Redraw();
}

void CSplashScreenEx::SetTextFormat(UINT format)
{
    m_textFormat = format;
    Redraw();
}

void CSplashScreenEx::Show()
{
    if (m_hWnd == nullptr)
        return;
    Place(); // without activating it or changing the Z order
    if ((m_style & kFadeIn) && m_animate != nullptr)
        m_animate(m_hWnd, kFadeInMs, AW_BLEND);
    else
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    if (m_displayTime != 0)
        SetTimer(kDisplayTimer, m_displayTime);
}

void CSplashScreenEx::Hide()
{
    if (m_hWnd == nullptr)
        return;
    KillTimer(kDisplayTimer);
    if ((m_style & kFadeOut) && m_animate != nullptr && ::IsWindowVisible(m_hWnd))
        m_animate(m_hWnd, kFadeOutMs, AW_BLEND | AW_HIDE);
    DestroyWindow(); // the object is deleted with its window: nothing may touch it after this
}

LRESULT CSplashScreenEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((m_style & kHideOnInput) && IsHidingInput(message)) {
        Hide();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CSplashScreenEx::OnEraseBkgnd(CDC*)
{
    return TRUE; // the paint covers every pixel
}

void CSplashScreenEx::OnPaint()
{
    CPaintDC dc(this);
    HDC target = dc.GetSafeHdc();
    if (m_bitmap != nullptr) {
        HDC memory = ::CreateCompatibleDC(target);
        {
            CSelectGuard bitmap(memory, m_bitmap);
            ::BitBlt(target, 0, 0, m_width, m_height, memory, 0, 0, SRCCOPY);
        }
        ::DeleteDC(memory);
    }
    if (!m_text.IsEmpty()) {
        CSelectGuard font(target, m_font);
        ::SetBkMode(target, TRANSPARENT);
        ::SetTextColor(target, m_textColour);
        CRect r = m_textRect;
        ::DrawTextA(target, m_text, m_text.GetLength(), &r, m_textFormat);
    }
}

void CSplashScreenEx::OnTimer(UINT_PTR id)
{
    if (id == kDisplayTimer)
        Hide();
}

void CSplashScreenEx::PostNcDestroy()
{
    if (m_created)
        delete this;
}
