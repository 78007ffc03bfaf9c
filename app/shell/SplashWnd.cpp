#include "app/shell/SplashWnd.h"

#include <gdiplus.h>

BEGIN_MESSAGE_MAP(CSplashWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CSplashWnd::CSplashWnd() {}

CSplashWnd::~CSplashWnd()
{
    if (m_bitmap != nullptr)
        DeleteObject(m_bitmap);
}

void CSplashWnd::SetBitmapResource(UINT resourceId)
{
    m_resourceId = resourceId;
    m_fromFile = FALSE;
}

void CSplashWnd::SetBitmapFile(LPCTSTR path)
{
    m_path = path;
    m_fromFile = TRUE;
}

void CSplashWnd::LoadBitmap()
{
    if (m_fromFile)
        m_bitmap = (HBITMAP)LoadImageA(nullptr, m_path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    else if (IS_INTRESOURCE(m_resourceId)) // a larger id would be read as a name's address
        m_bitmap = (HBITMAP)LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_resourceId), IMAGE_BITMAP, 0, 0,
                                       LR_CREATEDIBSECTION);
    BITMAP info = {};
    if (m_bitmap != nullptr && GetObjectA(m_bitmap, sizeof info, &info)) {
        m_width = info.bmWidth;
        m_height = info.bmHeight;
    }
}

BOOL CSplashWnd::Create()
{
    LoadBitmap();
    m_owner.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                     CW_USEDEFAULT, nullptr, nullptr);
    if (!CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW)), "", WS_POPUP | WS_VISIBLE, 0, 0, m_width,
                  m_height, m_owner.GetSafeHwnd(), nullptr))
        return FALSE;
    MakePalette();
    RealizePalette();
    return TRUE;
}

int CSplashWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CenterWindow();
    return 0;
}

void CSplashWnd::MakePalette()
{
    BITMAP info = {};
    if (m_bitmap != nullptr && GetObjectA(m_bitmap, sizeof info, &info) && info.bmPlanes * info.bmBitsPixel <= 8) {
        RGBQUAD table[256] = {};
        HDC memory = CreateCompatibleDC(nullptr);
        UINT count = 0;
        {
            CSelectGuard bitmap(memory, m_bitmap);
            count = GetDIBColorTable(memory, 0, 256, table);
        }
        DeleteDC(memory);
        struct
        {
            WORD version;
            WORD entries;
            PALETTEENTRY entry[256];
        } palette = {0x300, 256, {}};
        for (UINT i = 0; i < count && i < 256; i++) {
            palette.entry[i].peRed = table[i].rgbRed;
            palette.entry[i].peGreen = table[i].rgbGreen;
            palette.entry[i].peBlue = table[i].rgbBlue;
            palette.entry[i].peFlags = 0;
        }
        m_palette.CreatePalette(reinterpret_cast<LOGPALETTE*>(&palette));
    } else {
        CClientDC screen(nullptr);
        m_palette.CreateHalftonePalette(&screen);
    }
}

void CSplashWnd::RealizePalette()
{
    if (m_palette.GetSafeHandle() == nullptr)
        return;
    HDC dc = ::GetDC(m_hWnd);
    UINT changed = 0;
    {
        CSelectGuard palette(dc, m_palette.GetSafeHandle());
        changed = ::RealizePalette(dc);
    }
    ::ReleaseDC(m_hWnd, dc);
    if (changed > 0)
        Invalidate();
}

void CSplashWnd::OnPaletteChanged(CWnd* pFocusWnd)
{
    if (pFocusWnd != this)
        RealizePalette();
}

void CSplashWnd::OnPaint()
{
    CPaintDC dc(this);
    if (m_bitmap == nullptr)
        return;
    Gdiplus::Bitmap* bitmap = Gdiplus::Bitmap::FromHBITMAP(m_bitmap, nullptr);
    if (bitmap == nullptr)
        return;
    Gdiplus::Graphics graphics(dc.GetSafeHdc());
    Gdiplus::ImageAttributes attributes;
    graphics.DrawImage(bitmap, Gdiplus::Rect(0, 0, 640, 510), 0, 0, 640, 510, Gdiplus::UnitPixel, &attributes);
    delete bitmap;
}

void CSplashWnd::OnLButtonDown(UINT, CPoint)
{
    // Dragging anywhere moves the splash, as by a caption.
    SendMessage(WM_LBUTTONUP);
    SendMessage(WM_SYSCOMMAND, SC_MOVE + 2);
}

void CSplashWnd::OnClose()
{
    if (m_mayClose)
        CWnd::OnClose();
}

void CSplashWnd::PostNcDestroy()
{
    // The owner goes with the splash, on the thread that made both.
    if (m_owner.GetSafeHwnd() != nullptr)
        m_owner.DestroyWindow();
    CWnd::PostNcDestroy();
}
