#include "testsupport/Dump.h"

#include "base/Globals.h"
#include "fw/fw.h"

namespace {

bool SavePng(Gdiplus::Bitmap& bitmap, const CString& path)
{
    CLSID png;
    if (GetEncoderClsid(L"image/png", &png) < 0)
        return false;
    return bitmap.Save(CStringW(path), &png, nullptr) == Gdiplus::Ok;
}

} // namespace

bool DumpPng(Gdiplus::Bitmap& bitmap, const char* name)
{
    char dir[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableA("SL_DUMP_DIR", dir, sizeof dir);
    if (length == 0 || length >= sizeof dir)
        return false;
    return SavePng(bitmap, CString(dir) + "\\" + name + ".png");
}

bool DumpPng(HBITMAP bitmap, const char* name)
{
    Gdiplus::Bitmap copy(bitmap, nullptr);
    return DumpPng(copy, name);
}

bool DumpPng(const DibSurface& surface, const char* name)
{
    // Read from the bits: the surface's bitmap stays selected into its DC.
    Gdiplus::Bitmap view(surface.Width(), surface.Height(), surface.Width() * 4, PixelFormat32bppRGB,
                         reinterpret_cast<BYTE*>(const_cast<DWORD*>(surface.Bits())));
    return DumpPng(view, name);
}

bool SaveScreenshot(HWND wnd, const char* name)
{
    CRect r;
    ::GetClientRect(wnd, &r);
    HDC screen = ::GetDC(wnd);
    CBitmap shown;
    CDC memory;
    bool copied = false;
    if (shown.CreateCompatibleBitmap(CDC::FromHandle(screen), r.Width(), r.Height()) &&
        memory.CreateCompatibleDC(CDC::FromHandle(screen))) {
        CSelectGuard selected(&memory, &shown);
        copied = selected.Selected() && ::BitBlt(memory.m_hDC, 0, 0, r.Width(), r.Height(), screen, 0, 0, SRCCOPY);
    }
    ::ReleaseDC(wnd, screen);
    if (!copied)
        return false;
    ::CreateDirectoryA("..\\screenshots", nullptr);
    Gdiplus::Bitmap image((HBITMAP)shown.m_hObject, nullptr);
    return SavePng(image, CString("..\\screenshots\\") + name + ".png");
}
