#include "testsupport/Dump.h"

#include "base/Globals.h"
#include "fw/fw.h"

bool DumpPng(Gdiplus::Bitmap& bitmap, const char* name)
{
    char dir[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableA("SL_DUMP_DIR", dir, sizeof dir);
    if (length == 0 || length >= sizeof dir)
        return false;
    CLSID png;
    if (GetEncoderClsid(L"image/png", &png) < 0)
        return false;
    const CStringW path(CString(dir) + "\\" + name + ".png");
    return bitmap.Save((LPCWSTR)path, &png, nullptr) == Gdiplus::Ok;
}

bool DumpPng(HBITMAP bitmap, const char* name)
{
    Gdiplus::Bitmap copy(bitmap, nullptr);
    return DumpPng(copy, name);
}
