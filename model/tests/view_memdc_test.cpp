// The kept off-screen bitmap of the view's paint: reuse, size changes, printers, flush.
#include "model/gfx/MemDC.h"
#include "testsupport/DibSurface.h"
#include <gtest/gtest.h>

namespace {

// A white target whose pixels can be read back.
struct Surface : DibSurface
{
    Surface(int w, int h) : DibSurface(w, h, RGB(255, 255, 255)) {}
};

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlue = RGB(0, 0, 255);

TEST(ViewMemDC, SecondPaintOfSameSizeShowsKeptImage)
{
    Surface target(20, 10);
    CMemDCCache cache;
    CRect client(0, 0, 20, 10);
    EXPECT_TRUE(cache.NeedsRedraw());
    {
        CMemDC mem(&target.dc, client, client, &cache);
        ASSERT_TRUE(mem.IsBuffered());
        mem.FillSolidRect(CRect(2, 2, 5, 5), kRed);
        EXPECT_EQ(kWhite, target.At(3, 3)) << "nothing reaches the target before the flush";
        EXPECT_TRUE(mem.FlushIfOlder(0));
    }
    EXPECT_EQ(kRed, target.At(3, 3));
    CBitmap* first = cache.GetBitmap();

    target.Fill(client, kWhite); // the screen was covered
    {
        CMemDC mem(&target.dc, client, client, &cache); // draws nothing
        EXPECT_TRUE(mem.FlushIfOlder(0));
    }
    EXPECT_EQ(first, cache.GetBitmap()) << "the bitmap is reused";
    EXPECT_EQ(kRed, target.At(3, 3)) << "the kept image is shown again";
    EXPECT_EQ(RGB(0, 0, 0), target.At(10, 3)) << "the whole kept image, unpainted parts too";
}

TEST(ViewMemDC, ChangedSizeDropsTheBitmap)
{
    Surface target(30, 30);
    CMemDCCache cache;
    {
        CMemDC mem(&target.dc, CRect(0, 0, 20, 10), CRect(), &cache);
        mem.FillSolidRect(CRect(0, 0, 20, 10), kRed);
    }
    cache.ClearStale();
    EXPECT_FALSE(cache.NeedsRedraw());
    {
        CMemDC mem(&target.dc, CRect(0, 0, 30, 25), CRect(), &cache);
        EXPECT_TRUE(mem.FlushIfOlder(0));
    }
    EXPECT_TRUE(cache.NeedsRedraw()) << "a new bitmap is stale";
    EXPECT_EQ(CRect(0, 0, 30, 25), cache.GetRect());
    BITMAP bm;
    ASSERT_TRUE(cache.GetBitmap()->GetBitmap(&bm));
    EXPECT_EQ(30, bm.bmWidth);
    EXPECT_EQ(25, bm.bmHeight);
}

TEST(ViewMemDC, TargetRectangleLimitsDrawingAndCopy)
{
    Surface target(20, 20);
    CMemDCCache cache;
    {
        // Bitmap over the client, but only the 5..10 square is painted and copied.
        CMemDC mem(&target.dc, CRect(0, 0, 20, 20), CRect(5, 5, 10, 10), &cache);
        mem.FillSolidRect(CRect(0, 0, 20, 20), kBlue);
        mem.FlushIfOlder(0);
    }
    EXPECT_EQ(kBlue, target.At(5, 5));
    EXPECT_EQ(kBlue, target.At(9, 9));
    EXPECT_EQ(kWhite, target.At(4, 5));
    EXPECT_EQ(kWhite, target.At(10, 9));
}

TEST(ViewMemDC, OffsetBitmapRectangleUsesTargetCoordinates)
{
    Surface target(40, 40);
    CMemDCCache cache;
    {
        CMemDC mem(&target.dc, CRect(10, 20, 30, 40), CRect(), &cache);
        mem.FillSolidRect(CRect(12, 22, 14, 24), kRed); // target coordinates
        mem.FlushIfOlder(0);
    }
    EXPECT_EQ(kRed, target.At(12, 22));
    EXPECT_EQ(kRed, target.At(13, 23));
    EXPECT_NE(kRed, target.At(14, 24));
    EXPECT_EQ(kWhite, target.At(9, 19)) << "outside the bitmap rectangle";
    EXPECT_EQ(kWhite, target.At(30, 30));
}

TEST(ViewMemDC, PrinterIsNotBuffered)
{
    Surface target(10, 10);
    target.dc.m_bPrinting = TRUE;
    CMemDCCache cache;
    {
        CMemDC mem(&target.dc, CRect(0, 0, 10, 10), CRect(), &cache);
        EXPECT_FALSE(mem.IsBuffered());
        EXPECT_TRUE(mem.IsPrinting());
        mem.FillSolidRect(CRect(1, 1, 3, 3), kRed);
        EXPECT_EQ(kRed, target.At(1, 1)) << "drawing reaches the printer directly";
        EXPECT_FALSE(mem.FlushIfOlder(0));
    }
    EXPECT_EQ(NULL, cache.GetBitmap());
    // The target's DC survives the memory DC.
    EXPECT_EQ(kRed, target.At(2, 2));
    target.dc.m_bPrinting = FALSE;
}

TEST(ViewMemDC, FlushHonoursAge)
{
    Surface target(10, 10);
    CMemDCCache cache;
    CMemDC mem(&target.dc, CRect(0, 0, 10, 10), CRect(), &cache);
    mem.FillSolidRect(CRect(0, 0, 10, 10), kRed);
    EXPECT_FALSE(mem.FlushIfOlder(500)) << "too young: nothing copied";
    EXPECT_EQ(kWhite, target.At(5, 5));
    EXPECT_TRUE(mem.FlushIfOlder(0));
    EXPECT_EQ(kRed, target.At(5, 5));
}

TEST(ViewMemDC, LockedCacheFallsBackToTheTarget)
{
    Surface target(10, 10);
    CMemDCCache cache;
    cache.SetLocked(TRUE);
    CMemDC mem(&target.dc, CRect(0, 0, 10, 10), CRect(), &cache);
    EXPECT_FALSE(mem.IsBuffered());
    mem.FillSolidRect(CRect(0, 0, 2, 2), kRed);
    EXPECT_EQ(kRed, target.At(0, 0));
    EXPECT_EQ(NULL, cache.GetBitmap());
}

} // namespace
