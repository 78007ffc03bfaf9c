#include "testsupport/Pixels.h"

#include "testsupport/DibSurface.h"

#include <stdio.h>

Picture PictureOf(Gdiplus::Bitmap& bitmap)
{
    Picture picture;
    Gdiplus::BitmapData data;
    Gdiplus::Rect all(0, 0, (INT)bitmap.GetWidth(), (INT)bitmap.GetHeight());
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok)
        return picture;
    picture.width = all.Width;
    picture.height = all.Height;
    picture.pixels.reserve((size_t)all.Width * all.Height);
    for (int y = 0; y < all.Height; ++y) {
        const DWORD* row =
            reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(data.Scan0) + (ptrdiff_t)y * data.Stride);
        picture.pixels.insert(picture.pixels.end(), row, row + all.Width);
    }
    bitmap.UnlockBits(&data);
    return picture;
}

Picture PictureOfWindow(HWND wnd, const RECT& r)
{
    Picture picture;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return picture;
    DibSurface copy(w, h);
    HDC screen = ::GetDC(wnd);
    const bool copied = copy.Valid() && ::BitBlt(copy.Hdc(), 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ::ReleaseDC(wnd, screen);
    if (!copied)
        return picture;
    picture.width = w;
    picture.height = h;
    picture.pixels.reserve((size_t)w * h);
    const DWORD* bits = copy.Bits();
    for (size_t i = 0; i < (size_t)w * h; ++i)
        picture.pixels.push_back(bits[i] & 0xFFFFFF);
    return picture;
}

::testing::AssertionResult SamePixels(const Picture& actual, const Picture& expected)
{
    if (actual.pixels.empty() || expected.pixels.empty())
        return ::testing::AssertionFailure() << "a picture could not be read";
    if (actual.width != expected.width || actual.height != expected.height)
        return ::testing::AssertionFailure() << "sizes differ: " << actual.width << " x " << actual.height << " and "
                                             << expected.width << " x " << expected.height;
    size_t differ = 0, first = 0;
    for (size_t i = 0; i < actual.pixels.size(); ++i)
        if (actual.pixels[i] != expected.pixels[i] && differ++ == 0)
            first = i;
    if (differ == 0)
        return ::testing::AssertionSuccess();
    const int x = (int)(first % actual.width), y = (int)(first / actual.width);
    char where[96];
    snprintf(where, sizeof where, "the first at %d,%d: 0x%08lX != 0x%08lX", x, y, (unsigned long)actual.At(x, y),
             (unsigned long)expected.At(x, y));
    return ::testing::AssertionFailure() << differ << " of " << actual.pixels.size() << " pixels differ; " << where;
}

::testing::AssertionResult SamePixels(Gdiplus::Bitmap* actual, Gdiplus::Bitmap* expected)
{
    if (actual == nullptr || expected == nullptr)
        return ::testing::AssertionFailure() << "missing bitmap";
    return SamePixels(PictureOf(*actual), PictureOf(*expected));
}
