// The selection guard: what was selected before comes back when the guard goes, an owned
// object is deleted after that, a failed selection changes nothing, and no handle is left.
#include "fw/fw.h"
#include <functional>
#include <gtest/gtest.h>

namespace {

// A 2 x 1 DIB section in a memory DC: the DC's own pen, brush, font and palette stay in it.
struct TinyDC
{
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ firstBitmap;
    TinyDC()
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = 2;
        info.bmiHeader.biHeight = -1;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        dc = CreateCompatibleDC(nullptr);
        firstBitmap = SelectObject(dc, bitmap);
    }
    ~TinyDC()
    {
        SelectObject(dc, firstBitmap);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    HGDIOBJ Current(UINT kind) const { return GetCurrentObject(dc, kind); }
};

bool Exists(HGDIOBJ object) { return GetObjectType(object) != 0; }

int SystemGdiObjects() { return (int)GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

TEST(CSelectGuard, RestoresDeletesAndLeavesNoHandle)
{
    struct Case
    {
        const char* name;
        std::function<void(TinyDC&)> run;
    } cases[] = {
        {"restores on scope exit, keeps an object it does not own",
         [](TinyDC& t) {
             const HGDIOBJ original = t.Current(OBJ_PEN);
             HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
             {
                 CSelectGuard guard(t.dc, pen);
                 EXPECT_TRUE(guard.Selected());
                 EXPECT_EQ(original, guard.Previous());
                 EXPECT_EQ((HGDIOBJ)pen, t.Current(OBJ_PEN));
             }
             EXPECT_EQ(original, t.Current(OBJ_PEN));
             EXPECT_TRUE(Exists(pen));
             DeleteObject(pen);
         }},
        {"deleteAfter deletes the object once it is out of the DC",
         [](TinyDC& t) {
             const HGDIOBJ original = t.Current(OBJ_BRUSH);
             HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
             {
                 CSelectGuard guard(t.dc, brush, true);
                 EXPECT_TRUE(Exists(brush));
                 PatBlt(t.dc, 0, 0, 1, 1, PATCOPY);
             }
             EXPECT_EQ(original, t.Current(OBJ_BRUSH));
             EXPECT_FALSE(Exists(brush));
             EXPECT_EQ(RGB(0, 0, 255), GetPixel(t.dc, 0, 0)) << "drawn with the guarded brush";
             EXPECT_EQ(RGB(0, 0, 0), GetPixel(t.dc, 1, 0));
         }},
        {"a bitmap held by another DC is not selected; the DC keeps its own",
         [](TinyDC& t) {
             TinyDC other;
             {
                 CSelectGuard guard(t.dc, other.bitmap);
                 EXPECT_FALSE(guard.Selected());
                 EXPECT_EQ(nullptr, guard.Previous());
                 EXPECT_EQ((HGDIOBJ)t.bitmap, t.Current(OBJ_BITMAP));
             }
             EXPECT_EQ((HGDIOBJ)t.bitmap, t.Current(OBJ_BITMAP));
             EXPECT_EQ((HGDIOBJ)other.bitmap, other.Current(OBJ_BITMAP));
             // Positive control: a free bitmap goes in and comes out.
             HBITMAP free = CreateCompatibleBitmap(t.dc, 1, 1);
             {
                 CSelectGuard guard(t.dc, free, true);
                 EXPECT_TRUE(guard.Selected());
                 EXPECT_EQ((HGDIOBJ)free, t.Current(OBJ_BITMAP));
             }
             EXPECT_EQ((HGDIOBJ)t.bitmap, t.Current(OBJ_BITMAP));
             EXPECT_FALSE(Exists(free));
         }},
        {"no DC, no object or a region: nothing selected, an owned object still deleted",
         [](TinyDC& t) {
             HPEN pen = CreatePen(PS_SOLID, 1, RGB(4, 5, 6));
             {
                 CSelectGuard guard(nullptr, pen, true);
                 EXPECT_FALSE(guard.Selected());
             }
             EXPECT_FALSE(Exists(pen));
             HRGN region = CreateRectRgn(0, 0, 1, 1);
             {
                 CSelectGuard guard(t.dc, region, true);
                 EXPECT_FALSE(guard.Selected());
                 HRGN clip = CreateRectRgn(0, 0, 0, 0);
                 EXPECT_EQ(0, GetClipRgn(t.dc, clip)) << "the region did not become the clip";
                 DeleteObject(clip);
             }
             EXPECT_FALSE(Exists(region));
             CSelectGuard nothing(t.dc, nullptr);
             EXPECT_FALSE(nothing.Selected());
         }},
        {"nested guards restore in order",
         [](TinyDC& t) {
             const HGDIOBJ original = t.Current(OBJ_PEN);
             HPEN outerPen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
             HPEN innerPen = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
             {
                 CSelectGuard outer(t.dc, outerPen, true);
                 {
                     CSelectGuard inner(t.dc, innerPen, true);
                     EXPECT_EQ((HGDIOBJ)outerPen, inner.Previous());
                     EXPECT_EQ((HGDIOBJ)innerPen, t.Current(OBJ_PEN));
                 }
                 EXPECT_EQ((HGDIOBJ)outerPen, t.Current(OBJ_PEN));
                 EXPECT_FALSE(Exists(innerPen));
                 EXPECT_TRUE(Exists(outerPen));
             }
             EXPECT_EQ(original, t.Current(OBJ_PEN));
             EXPECT_FALSE(Exists(outerPen));
         }},
        {"a palette goes in and out through SelectPalette",
         [](TinyDC& t) {
             const HGDIOBJ original = t.Current(OBJ_PAL);
             HPALETTE palette = CreateHalftonePalette(t.dc);
             ASSERT_NE(nullptr, palette);
             {
                 CSelectGuard guard(t.dc, palette, true);
                 EXPECT_TRUE(guard.Selected());
                 EXPECT_EQ(original, guard.Previous());
                 EXPECT_EQ((HGDIOBJ)palette, t.Current(OBJ_PAL));
             }
             EXPECT_EQ(original, t.Current(OBJ_PAL));
             EXPECT_FALSE(Exists(palette));
         }},
        {"wrappers: the CGdiObject keeps its handle",
         [](TinyDC& t) {
             CDC dc;
             dc.Attach(CreateCompatibleDC(nullptr));
             const HGDIOBJ original = GetCurrentObject(dc, OBJ_FONT);
             const LONG wrappers = FwGdiLiveHandles();
             {
                 CFont font;
                 LOGFONT lf = {};
                 lf.lfHeight = -12;
                 lstrcpyA(lf.lfFaceName, "Liberation Sans");
                 ASSERT_TRUE(font.CreateFontIndirect(&lf));
                 {
                     CSelectGuard guard(&dc, &font);
                     EXPECT_TRUE(guard.Selected());
                     EXPECT_EQ(font.GetSafeHandle(), GetCurrentObject(dc, OBJ_FONT));
                 }
                 EXPECT_EQ(original, GetCurrentObject(dc, OBJ_FONT));
                 EXPECT_TRUE(Exists(font.GetSafeHandle()));
                 EXPECT_EQ(wrappers + 1, FwGdiLiveHandles());
                 CSelectGuard none(&dc, static_cast<CGdiObject*>(nullptr));
                 EXPECT_FALSE(none.Selected());
             }
             EXPECT_EQ(wrappers, FwGdiLiveHandles());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LONG wrappers = FwGdiLiveHandles();
        const int system = SystemGdiObjects();
        {
            TinyDC t;
            ASSERT_NE(nullptr, t.dc);
            ASSERT_NE(nullptr, t.bitmap);
            c.run(t);
        }
        EXPECT_EQ(wrappers, FwGdiLiveHandles());
        EXPECT_EQ(system, SystemGdiObjects());
    }
}

} // namespace
