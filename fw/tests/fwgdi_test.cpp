// GDI wrappers: exact pixels on tiny bitmaps, selection and restore, no handle leaks.
#include "fw/fw.h"
#include "testsupport/DibSurface.h"
#include <gtest/gtest.h>

namespace {

// An 8 x 4 black surface whose pixels are read from its bits (0xRRGGBB).
struct Canvas : DibSurface
{
    Canvas() : DibSurface(8, 4) {}
    DWORD At(int x, int y) const { return Rgb(x, y); }
};

TEST(CDC, FillSolidRectAndDraw3dRectPixels)
{
    Canvas c;
    c.dc.FillSolidRect(CRect(1, 1, 7, 3), RGB(0x10, 0x20, 0x30));
    c.dc.Draw3dRect(CRect(0, 0, 8, 4), RGB(255, 0, 0), RGB(0, 0, 255));
    // Rows as 0xRRGGBB: red top and left edges, blue right and bottom edges.
    const DWORD R = 0xFF0000, B = 0x0000FF, F = 0x102030;
    const DWORD want[4][8] = {
        {R, R, R, R, R, R, R, B},
        {R, F, F, F, F, F, F, B},
        {R, F, F, F, F, F, F, B},
        {B, B, B, B, B, B, B, B},
    };
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(want[y][x], c.At(x, y)) << "pixel " << x << "," << y;
}

TEST(CDC, PenBrushAndRop)
{
    Canvas c;
    CPen pen(PS_SOLID, 1, RGB(0, 255, 0));
    CBrush brush(RGB(0, 0, 255));
    CPen* oldPen = c.dc.SelectObject(&pen);
    CBrush* oldBrush = c.dc.SelectObject(&brush);
    ASSERT_NE(nullptr, oldPen);
    ASSERT_NE(nullptr, oldBrush);
    c.dc.Rectangle(0, 0, 4, 4);
    EXPECT_EQ(0x00FF00u, c.At(0, 0));
    EXPECT_EQ(0x00FF00u, c.At(3, 3));
    EXPECT_EQ(0x0000FFu, c.At(1, 1));
    EXPECT_EQ(0x000000u, c.At(4, 0));
    // Lines end before their end point; R2_NOT inverts.
    c.dc.SetROP2(R2_NOT);
    EXPECT_EQ(R2_NOT, c.dc.GetROP2());
    c.dc.MoveTo(4, 0);
    c.dc.LineTo(8, 0);
    EXPECT_EQ(0xFFFFFFu, c.At(4, 0));
    EXPECT_EQ(0xFFFFFFu, c.At(7, 0));
    c.dc.SelectObject(oldPen);
    c.dc.SelectObject(oldBrush);
    EXPECT_EQ(oldPen->GetSafeHandle(), GetCurrentObject(c.dc, OBJ_PEN));
    EXPECT_EQ(oldBrush->GetSafeHandle(), GetCurrentObject(c.dc, OBJ_BRUSH));
}

TEST(CDC, MappingConversions)
{
    Canvas c;
    c.dc.SetMapMode(MM_ANISOTROPIC);
    c.dc.SetWindowExt(100, 100);
    c.dc.SetViewportExt(50, 200);
    c.dc.SetViewportOrg(10, 20);
    struct
    {
        POINT device;
        POINT logical;
    } cases[] = {
        {{10, 20}, {0, 0}},
        {{60, 220}, {100, 100}},
        {{0, 0}, {-20, -10}},
    };
    for (auto& k : cases) {
        CPoint p = k.device;
        c.dc.DPtoLP(&p);
        EXPECT_EQ(k.logical.x, p.x);
        EXPECT_EQ(k.logical.y, p.y);
        c.dc.LPtoDP(&p);
        EXPECT_EQ(k.device.x, p.x);
        EXPECT_EQ(k.device.y, p.y);
    }
    CSize s(100, 50);
    c.dc.LPtoDP(&s);
    EXPECT_EQ(CSize(50, 100), s);
    CRect r(0, 0, 100, 100);
    c.dc.LPtoDP(&r);
    EXPECT_EQ(CRect(10, 20, 60, 220), r);
    EXPECT_FALSE(c.dc.IsPrinting());
}

TEST(CDC, BoundsAccumulateWhatWasDrawn)
{
    Canvas c;
    struct
    {
        const char* name;
        void (*draw)(CDC&);
        RECT want;
    } cases[] = {
        {"rectangle", [](CDC& dc) { dc.Rectangle(1, 1, 4, 3); }, {1, 1, 4, 3}},
        {"two fills",
         [](CDC& dc) {
             dc.FillSolidRect(0, 0, 2, 2, 0);
             dc.FillSolidRect(5, 2, 1, 1, 0);
         },
         {0, 0, 6, 3}},
        {"pixel", [](CDC& dc) { dc.SetPixel(7, 3, RGB(1, 2, 3)); }, {7, 3, 8, 4}},
    };
    for (auto& k : cases) {
        c.dc.SetBoundsRect(NULL, DCB_ENABLE | DCB_RESET);
        k.draw(c.dc);
        CRect bounds;
        UINT state = c.dc.GetBoundsRect(&bounds, DCB_RESET);
        EXPECT_TRUE(state & DCB_SET) << k.name;
        EXPECT_EQ(CRect(k.want), bounds) << k.name << ": " << bounds.left << "," << bounds.top << "," << bounds.right
                                         << "," << bounds.bottom;
    }
    c.dc.SetBoundsRect(NULL, DCB_DISABLE);
}

TEST(CDC, ObjectsAreDeselectedBeforeTheDcGoes)
{
    // A DC destroyed with our bitmap still selected puts its own back first, so the
    // bitmap is free to be used elsewhere afterwards.
    CBitmap bitmap;
    HBITMAP handle;
    {
        CDC screen;
        screen.CreateCompatibleDC(NULL);
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 4, 4));
        handle = (HBITMAP)bitmap.GetSafeHandle();
        CDC dc;
        dc.CreateCompatibleDC(&screen);
        dc.SelectObject(&bitmap);
        CDC other;
        other.CreateCompatibleDC(&screen);
        EXPECT_EQ(NULL, SelectObject(other, handle)) << "bitmap is still in the first DC";
    }
    CDC again;
    again.CreateCompatibleDC(NULL);
    EXPECT_NE(nullptr, again.SelectObject(&bitmap)) << "bitmap was left selected";
    again.DeleteDC();
    EXPECT_TRUE(bitmap.DeleteObject());
    EXPECT_EQ(0u, (UINT)GetObjectType(handle));
    EXPECT_FALSE(bitmap.DeleteObject()) << "a second delete must do nothing";
}

TEST(CGdiObject, WrappersOwnOnlyWhatTheyCreate)
{
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    {
        CPen* temp = CPen::FromHandle(pen);
        EXPECT_EQ(pen, (HPEN)*temp);
        EXPECT_EQ(temp, CPen::FromHandle(pen)); // one wrapper per handle
        FwDeleteTempObjects();
    }
    EXPECT_EQ((DWORD)OBJ_PEN, GetObjectType(pen)) << "a temporary wrapper deleted the pen";
    {
        CPen owner;
        owner.Attach(pen);
    }
    EXPECT_EQ(0u, (UINT)GetObjectType(pen)) << "the attached pen was not deleted";

    // While the maps are locked (a nested tracking loop), wrappers survive a clean-up.
    AfxLockTempMaps();
    CBrush* white = CBrush::FromHandle((HBRUSH)GetStockObject(WHITE_BRUSH));
    FwDeleteTempObjects();
    CBrush* black = CBrush::FromHandle((HBRUSH)GetStockObject(BLACK_BRUSH));
    EXPECT_NE(white, black); // had white been freed, black would likely take its place
    EXPECT_EQ(white, CBrush::FromHandle((HBRUSH)GetStockObject(WHITE_BRUSH)));
    EXPECT_TRUE(AfxUnlockTempMaps());
    EXPECT_FALSE(AfxUnlockTempMaps());

    CBrush system;
    ASSERT_TRUE(system.CreateSysColorBrush(COLOR_WINDOW));
    HGDIOBJ sys = system.GetSafeHandle();
    system.DeleteObject();
    EXPECT_NE(0u, (UINT)GetObjectType(sys));

    CRgn a, b, both;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRectRgn(5, 5, 15, 15);
    both.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(COMPLEXREGION, both.CombineRgn(&a, &b, RGN_OR));
    CRect box;
    both.GetRgnBox(&box);
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(0, box.top);
    EXPECT_EQ(15, box.right);
    EXPECT_EQ(15, box.bottom);
    EXPECT_TRUE(both.PtInRegion(12, 12));
    EXPECT_FALSE(both.PtInRegion(14, 1));
    HGDIOBJ h = both.Detach();
    EXPECT_EQ(nullptr, both.GetSafeHandle());
    DeleteObject(h);
}

int SystemGdiObjects() { return (int)GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

TEST(CGdiObject, NoHandleLeaksOverManyCycles)
{
    struct Cycle
    {
        const char* name;
        void (*run)();
    } cycles[] = {
        {"memory DC with bitmap, pen, brush, font",
         [] {
             CDC dc;
             dc.CreateCompatibleDC(NULL);
             CBitmap bitmap;
             bitmap.CreateCompatibleBitmap(&dc, 16, 16);
             CPen pen(PS_DASH, 1, RGB(1, 2, 3));
             CBrush brush(HS_CROSS, RGB(4, 5, 6));
             CFont font;
             font.CreatePointFont(120, "Arial");
             CBitmap* oldBitmap = dc.SelectObject(&bitmap);
             CPen* oldPen = dc.SelectObject(&pen);
             CBrush* oldBrush = dc.SelectObject(&brush);
             CFont* oldFont = dc.SelectObject(&font);
             dc.Ellipse(0, 0, 16, 16);
             dc.TextOut(0, 0, CString("Cake"));
             dc.SelectObject(oldFont);
             dc.SelectObject(oldBrush);
             dc.SelectObject(oldPen);
             dc.SelectObject(oldBitmap);
         }},
        {"objects destroyed while still selected",
         [] {
             CDC dc;
             dc.CreateCompatibleDC(NULL);
             CBitmap bitmap;
             bitmap.CreateCompatibleBitmap(&dc, 8, 8);
             dc.SelectObject(&bitmap);
             CPen pen(PS_SOLID, 2, RGB(0, 0, 0));
             dc.SelectObject(&pen);
             dc.DeleteDC(); // puts the originals back, then the objects can go
         }},
        {"regions and palettes",
         [] {
             CRgn a, b;
             a.CreateRoundRectRgn(0, 0, 20, 20, 5, 5);
             b.CreateRectRgn(0, 0, 1, 1);
             b.CopyRgn(&a);
             CDC dc;
             dc.CreateCompatibleDC(NULL);
             dc.SelectClipRgn(&b);
             dc.SelectClipRgn(NULL);
             CPalette palette;
             palette.CreateHalftonePalette(&dc);
             CPalette* old = dc.SelectPalette(&palette, FALSE);
             dc.SelectPalette(old, FALSE);
         }},
        {"attach, detach and re-create",
         [] {
             CBrush brush;
             brush.CreateSolidBrush(RGB(1, 1, 1));
             brush.CreateSolidBrush(RGB(2, 2, 2)); // replaces: the first is deleted
             HGDIOBJ h = brush.Detach();
             CBrush other;
             other.Attach(h);
             CDC dc;
             dc.Attach(CreateCompatibleDC(NULL));
         }},
        {"stock objects and temporary wrappers",
         [] {
             CDC dc;
             dc.CreateCompatibleDC(NULL);
             CGdiObject* old = dc.SelectStockObject(NULL_BRUSH);
             dc.SelectObject(old);
             CDC* temp = CDC::FromHandle(dc.GetSafeHdc());
             temp->SetBkMode(TRANSPARENT);
             CBrush::FromHandle((HBRUSH)GetStockObject(WHITE_BRUSH))->DeleteObject();
             FwDeleteTempObjects();
         }},
    };
    for (auto& c : cycles) {
        c.run(); // a first run may create lasting system objects (fonts)
        LONG held = FwGdiLiveHandles();
        int system = SystemGdiObjects(); // 0 where the system does not count them
        for (int i = 0; i < 500; ++i)
            c.run();
        EXPECT_EQ(held, FwGdiLiveHandles()) << c.name;
        EXPECT_EQ(system, SystemGdiObjects()) << c.name;
    }
    EXPECT_EQ((DWORD)OBJ_BRUSH, GetObjectType(GetStockObject(WHITE_BRUSH)));
}

TEST(CDC, ReturnedWrappersStayValidOverManySelections)
{
    // A long-lived DC hands out a wrapper for each object it replaces. The one for the
    // DC's own pen must stay the same object however many short-lived pens pass through.
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    CPen first(PS_SOLID, 1, RGB(9, 9, 9));
    CPen* original = dc.SelectObject(&first);
    ASSERT_NE(nullptr, original);
    HGDIOBJ originalHandle = original->GetSafeHandle();
    dc.SelectObject(original);
    for (int i = 0; i < 2000; ++i) {
        CPen pen(PS_SOLID, 1, RGB(i & 255, 0, 0));
        CPen* old = dc.SelectObject(&pen);
        EXPECT_EQ(original, old);
        CPen* mine = dc.SelectObject(old);
        EXPECT_EQ(pen.GetSafeHandle(), mine->GetSafeHandle());
    }
    EXPECT_EQ(originalHandle, original->GetSafeHandle());
    EXPECT_EQ(originalHandle, GetCurrentObject(dc, OBJ_PEN));
}

TEST(CGdiObject, LiveCountFollowsOwnership)
{
    LONG start = FwGdiLiveHandles();
    {
        CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
        CDC dc;
        dc.CreateCompatibleDC(NULL);
        EXPECT_EQ(start + 2, FwGdiLiveHandles());
        CPen* old = dc.SelectObject(&pen);
        EXPECT_EQ(start + 2, FwGdiLiveHandles()) << "the returned wrapper owns nothing";
        dc.SelectObject(old);
        HPEN leaked = (HPEN)pen.Detach();
        EXPECT_EQ(start + 1, FwGdiLiveHandles());
        DeleteObject(leaked);
    }
    EXPECT_EQ(start, FwGdiLiveHandles());
}

} // namespace
