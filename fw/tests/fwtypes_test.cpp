// CRect, CPoint and CSize arithmetic.
#include "fw/fw.h"
#include <gtest/gtest.h>

namespace {

TEST(CRect, OperationsTable)
{
    struct Case
    {
        const char* name;
        CRect start;
        void (*edit)(CRect&);
        CRect want;
    } cases[] = {
        {"normalise", CRect(10, 20, 0, 5), [](CRect& r) { r.NormalizeRect(); }, CRect(0, 5, 10, 20)},
        {"inflate", CRect(5, 5, 10, 10), [](CRect& r) { r.InflateRect(2, 1); }, CRect(3, 4, 12, 11)},
        {"inflate sides", CRect(5, 5, 10, 10), [](CRect& r) { r.InflateRect(1, 2, 3, 4); }, CRect(4, 3, 13, 14)},
        {"deflate", CRect(0, 0, 10, 10), [](CRect& r) { r.DeflateRect(1, 2); }, CRect(1, 2, 9, 8)},
        {"deflate by rect", CRect(0, 0, 10, 10),
         [](CRect& r) {
             CRect d(1, 2, 3, 4);
             r.DeflateRect(&d);
         },
         CRect(1, 2, 7, 6)},
        {"offset", CRect(0, 0, 2, 2), [](CRect& r) { r.OffsetRect(3, -1); }, CRect(3, -1, 5, 1)},
        {"offset point", CRect(0, 0, 2, 2), [](CRect& r) { r += CPoint(1, 1); }, CRect(1, 1, 3, 3)},
        {"move to", CRect(5, 5, 8, 9), [](CRect& r) { r.MoveToXY(0, 1); }, CRect(0, 1, 3, 5)},
        {"intersect", CRect(0, 0, 10, 10),
         [](CRect& r) { EXPECT_TRUE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(5, -5, 20, 5))); }, CRect(5, 0, 10, 5)},
        {"disjoint", CRect(0, 0, 10, 10),
         [](CRect& r) { EXPECT_FALSE(r.IntersectRect(CRect(0, 0, 1, 1), CRect(2, 2, 3, 3))); }, CRect(0, 0, 0, 0)},
        {"union", CRect(), [](CRect& r) { r.UnionRect(CRect(0, 0, 1, 1), CRect(5, 5, 6, 7)); }, CRect(0, 0, 6, 7)},
        {"union with empty", CRect(), [](CRect& r) { r.UnionRect(CRect(2, 2, 2, 9), CRect(5, 5, 6, 7)); },
         CRect(5, 5, 6, 7)},
        {"and", CRect(0, 0, 4, 4), [](CRect& r) { r &= CRect(2, 2, 8, 8); }, CRect(2, 2, 4, 4)},
        {"or", CRect(0, 0, 4, 4), [](CRect& r) { r |= CRect(2, 2, 8, 8); }, CRect(0, 0, 8, 8)},
    };
    for (auto& c : cases) {
        CRect r = c.start;
        c.edit(r);
        EXPECT_EQ(c.want, r) << c.name << ": got " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

TEST(CRect, MeasuresAndTests)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(100, r.Width());
    EXPECT_EQ(50, r.Height());
    EXPECT_EQ(CSize(100, 50), r.Size());
    EXPECT_EQ(CPoint(60, 45), r.CenterPoint());
    EXPECT_EQ(CPoint(10, 20), r.TopLeft());
    EXPECT_EQ(CPoint(110, 70), r.BottomRight());
    r.TopLeft() = CPoint(0, 0);
    EXPECT_EQ(CRect(0, 0, 110, 70), r);

    struct
    {
        CPoint p;
        BOOL in;
    } points[] = {
        {{0, 0}, TRUE}, {{109, 69}, TRUE}, {{110, 10}, FALSE}, {{10, 70}, FALSE}, {{-1, 5}, FALSE},
    };
    for (auto& k : points)
        EXPECT_EQ(k.in, r.PtInRect(k.p)) << k.p.x << "," << k.p.y;

    struct
    {
        CRect r;
        BOOL empty;
        BOOL null;
    } rects[] = {
        {CRect(), TRUE, TRUE},
        {CRect(1, 1, 1, 5), TRUE, FALSE},
        {CRect(5, 5, 1, 1), TRUE, FALSE},
        {CRect(0, 0, 1, 1), FALSE, FALSE},
    };
    for (auto& k : rects) {
        EXPECT_EQ(k.empty, k.r.IsRectEmpty());
        EXPECT_EQ(k.null, k.r.IsRectNull());
    }
}

TEST(CPoint, ArithmeticAndMousePacking)
{
    CPoint p(3, 4);
    EXPECT_EQ(CPoint(4, 6), p + CSize(1, 2));
    EXPECT_EQ(CSize(2, 2), p - CPoint(1, 2));
    EXPECT_EQ(CPoint(-3, -4), -p);
    p.Offset(1, 1);
    EXPECT_EQ(CPoint(4, 5), p);
    // Mouse coordinates are signed 16-bit values (left of or above a window: negative).
    EXPECT_EQ(CPoint(-2, 300), CPoint((LPARAM)MAKELPARAM(-2, 300)));
    CSize s(5, 6);
    s += CSize(1, 1);
    EXPECT_EQ(CSize(6, 7), s);
}

} // namespace
