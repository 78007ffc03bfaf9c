#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <vector>

#include "model/gfx/ShapeOutline.h"

using namespace Gdiplus;

namespace {

using ShapeOutline = ::testing::Test;

struct PathData
{
    std::vector<PointF> points;
    std::vector<BYTE> types;
};

PathData Read(const GraphicsPath& path)
{
    PathData d;
    const INT n = path.GetPointCount();
    d.points.resize(n);
    d.types.resize(n);
    if (n > 0) {
        path.GetPathPoints(d.points.data(), n);
        path.GetPathTypes(d.types.data(), n);
    }
    return d;
}

#define EXPECT_POINT(x, y, p)          \
    do {                               \
        SCOPED_TRACE(#p);              \
        EXPECT_NEAR((x), (p).X, 1e-5); \
        EXPECT_NEAR((y), (p).Y, 1e-5); \
    } while (0)

TEST_F(ShapeOutline, OrnamentFit)
{
    const struct
    {
        float m, W, H;
        double step;
        int countX, countY;
        double left, top;
    } cases[] = {
        {0, 4, 4, 1, 4, 4, 0, 0},                        // square: no excess
        {0.5f, 4, 3, 2.0 / 3, 5, 3, 0.5 - 1.0 / 6, 0.5}, // 3 x 2: five steps cover 10/3
        {0.5f, 3, 4, 2.0 / 3, 3, 5, 0.5, 0.5 - 1.0 / 6},
        {1, 10, 6, 0.5, 16, 8, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.m << " " << c.W << "x" << c.H);
        OrnamentFit fit;
        ASSERT_TRUE(ComputeOrnamentFit(c.m, c.W, c.H, &fit));
        EXPECT_NEAR(c.step, fit.step, 1e-9);
        EXPECT_EQ(c.countX, fit.countX);
        EXPECT_EQ(c.countY, fit.countY);
        EXPECT_NEAR(c.left, fit.left, 1e-6);
        EXPECT_NEAR(c.top, fit.top, 1e-6);
        EXPECT_NEAR(c.W - c.left, fit.right, 1e-6); // the excess is shared on both sides
        EXPECT_NEAR(c.H - c.top, fit.bottom, 1e-6);
    }
}

TEST_F(ShapeOutline, EmptyInnerAreaAddsNoOrnaments)
{
    // A frame as wide as half the area leaves no inside: the step would be 0.
    const float sizes[][3] = {{2, 4, 4}, {3, 4, 4}, {0, 0, 4}, {0, 4, 0.00001f}};
    for (const auto& s : sizes) {
        OrnamentFit fit;
        EXPECT_FALSE(ComputeOrnamentFit(s[0], s[1], s[2], &fit));
        for (int style : {7, 8, 10, 14}) {
            GraphicsPath path;
            EXPECT_TRUE(CShapePath::AddFrameStyle(&path, style, s[0], 0.1f, s[1], s[2]));
            EXPECT_EQ(0, path.GetPointCount()) << style;
        }
    }
}

TEST_F(ShapeOutline, ScallopsOnASquare)
{
    GraphicsPath path;
    CShapePath::AddScallops(&path, 0, 0.2f, 4, 4);
    const PathData d = Read(path);
    ASSERT_EQ(1u + 16 * 3, d.points.size()); // four ornaments per edge, one figure
    EXPECT_EQ(PathPointTypeStart, d.types[0]);
    for (size_t k = 1; k < d.types.size(); ++k)
        EXPECT_EQ(PathPointTypeBezier, d.types[k] & 7);
    // First ornament on the top edge, first on the right edge, last on the left edge.
    EXPECT_POINT(0, 0, d.points[0]);
    EXPECT_POINT(0.25, -0.2, d.points[1]);
    EXPECT_POINT(0.75, -0.2, d.points[2]);
    EXPECT_POINT(1, 0, d.points[3]);
    EXPECT_POINT(4, 0, d.points[12]);
    EXPECT_POINT(4.2, 0.25, d.points[13]);
    EXPECT_POINT(4.2, 0.75, d.points[14]);
    EXPECT_POINT(4, 1, d.points[15]);
    EXPECT_POINT(-0.2, 0.75, d.points[46]);
    EXPECT_POINT(-0.2, 0.25, d.points[47]);
    EXPECT_POINT(0, 0, d.points[48]);
}

TEST_F(ShapeOutline, InwardScallopsAreNegatedOutwardOnes)
{
    GraphicsPath style8, style7;
    CShapePath::AddFrameStyle(&style8, 8, 0.25f, 0.3f, 5, 3);
    CShapePath::AddFrameStyle(&style7, 7, 0.25f, -0.3f, 5, 3);
    const PathData a = Read(style8), b = Read(style7);
    ASSERT_EQ(a.points.size(), b.points.size());
    ASSERT_GT(a.points.size(), 1u);
    for (size_t k = 0; k < a.points.size(); ++k) {
        EXPECT_TRUE(a.points[k].Equals(b.points[k])) << k;
        EXPECT_EQ(a.types[k], b.types[k]) << k;
    }
}

TEST_F(ShapeOutline, ZigzagAndWavesOnAWideArea)
{
    // Inner 3 x 2: s = 2/3, five steps across, three down, starting 1/6 outside.
    GraphicsPath zigzag, waves;
    CShapePath::AddZigzag(&zigzag, 0.5f, 0.1f, 4, 3);
    CShapePath::AddWaves(&waves, 0.5f, 0.1f, 4, 3);
    const PathData z = Read(zigzag), w = Read(waves);
    ASSERT_EQ(1u + 2 * (5 + 3 + 5 + 3), z.points.size());
    ASSERT_EQ(1u + 3 * (5 + 3 + 5 + 3), w.points.size());
    const float L = 0.5f - 1.0f / 6, s = 2.0f / 3;
    EXPECT_POINT(L, 0.5, z.points[0]);
    EXPECT_POINT(L + s / 2, 0.4, z.points[1]);
    EXPECT_POINT(L + s, 0.5, z.points[2]);
    EXPECT_POINT(L, 0.5, w.points[0]);
    EXPECT_POINT(L + s / 4, 0.4, w.points[1]);
    EXPECT_POINT(L + s - s / 4, 0.6, w.points[2]);
    EXPECT_POINT(L + s, 0.5, w.points[3]);
}

TEST_F(ShapeOutline, StraightAndRoundedStyles)
{
    // m = 1, d = 0.5 on 6 x 4: the nominal rectangle is (1,1)-(5,3).
    GraphicsPath rounded, squares, notched, bowedOut, bowedIn, scurves;
    CShapePath::AddRoundedRect(&rounded, 1, 0.5f, 6, 4);
    CShapePath::AddCornerSquares(&squares, 1, 0.5f, 6, 4);
    CShapePath::AddNotchedCorners(&notched, 1, 0.5f, 6, 4);
    CShapePath::AddBowedOut(&bowedOut, 1, 0.4f, 6, 4);
    CShapePath::AddBowedIn(&bowedIn, 1, 0.4f, 6, 4);
    CShapePath::AddSCurves(&scurves, 1, 0.4f, 6, 4);

    const PathData r = Read(rounded);
    ASSERT_EQ(17u, r.points.size()); // four lines and four corner Beziers back to the start
    EXPECT_POINT(1.5, 1, r.points[0]);
    EXPECT_POINT(4.5, 1, r.points[1]);
    EXPECT_POINT(4.75, 1, r.points[2]);
    EXPECT_POINT(5, 1.25, r.points[3]);
    EXPECT_POINT(5, 1.5, r.points[4]);
    EXPECT_POINT(1.5, 1, r.points[16]);

    const PathData sq = Read(squares);
    ASSERT_EQ(21u, sq.points.size());
    EXPECT_POINT(4.5, 0.5, sq.points[2]);
    EXPECT_POINT(5.5, 0.5, sq.points[3]);
    const PathData n = Read(notched);
    ASSERT_EQ(13u, n.points.size());
    EXPECT_POINT(4.5, 1.5, n.points[2]);

    const PathData o = Read(bowedOut), i = Read(bowedIn), s = Read(scurves);
    ASSERT_EQ(13u, o.points.size());
    ASSERT_EQ(13u, i.points.size());
    ASSERT_EQ(13u, s.points.size());
    EXPECT_POINT(1.4, 0.9, o.points[1]); // q = d/4 outwards
    EXPECT_POINT(1.4, 1.1, i.points[1]); // and inwards
    EXPECT_POINT(1.4, 1.2, s.points[1]); // q = d/2, one side then the other
    EXPECT_POINT(4.6, 0.8, s.points[2]);
}

TEST_F(ShapeOutline, CornerArcs)
{
    // Loops reach d outside each corner; concave corners stay within the rectangle.
    GraphicsPath loops, concave, rect, ellipse;
    CShapePath::AddCornerLoops(&loops, 1, 0.5f, 6, 4);
    CShapePath::AddConcaveCorners(&concave, 1, 0.5f, 6, 4);
    CShapePath::AddRectangle(&rect, 1, 6, 4);
    CShapePath::AddEllipse(&ellipse, 1, 6, 4);
    RectF b;
    loops.GetBounds(&b);
    EXPECT_NEAR(0.5, b.X, 1e-3);
    EXPECT_NEAR(0.5, b.Y, 1e-3);
    EXPECT_NEAR(5, b.Width, 1e-3);
    EXPECT_NEAR(3, b.Height, 1e-3);
    concave.GetBounds(&b);
    EXPECT_NEAR(1, b.X, 1e-3);
    EXPECT_NEAR(4, b.Width, 1e-3);
    EXPECT_NEAR(2, b.Height, 1e-3);
    const PathData c = Read(concave);
    EXPECT_POINT(1.5, 1, c.points[0]);
    EXPECT_POINT(4.5, 1, c.points[1]);
    EXPECT_POINT(1.5, 1, c.points.back());
    for (GraphicsPath* p : {&rect, &ellipse}) {
        p->GetBounds(&b);
        EXPECT_NEAR(1, b.X, 1e-4);
        EXPECT_NEAR(1, b.Y, 1e-4);
        EXPECT_NEAR(4, b.Width, 1e-4);
        EXPECT_NEAR(2, b.Height, 1e-4);
    }
    GraphicsPath none;
    EXPECT_FALSE(CShapePath::AddFrameStyle(&none, 15, 1, 1, 6, 4));
    EXPECT_FALSE(CShapePath::AddFrameStyle(&none, 0, 1, 1, 6, 4));
    EXPECT_EQ(0, none.GetPointCount());
}

// Distance from p to the flattened outline (one figure).
double DistanceToOutline(const GraphicsPath& path, PointF p)
{
    GraphicsPath* flat = path.Clone();
    flat->Flatten(NULL, 0.001f);
    const PathData d = Read(*flat);
    delete flat;
    double best = 1e9;
    for (size_t k = 0; k + 1 < d.points.size(); ++k) {
        const double ax = d.points[k].X, ay = d.points[k].Y;
        const double dx = d.points[k + 1].X - ax, dy = d.points[k + 1].Y - ay;
        const double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((p.X - ax) * dx + (p.Y - ay) * dy) / len2 : 0;
        t = t < 0 ? 0 : (t > 1 ? 1 : t);
        best = std::min(best, std::hypot(ax + t * dx - p.X, ay + t * dy - p.Y));
    }
    return best;
}

TEST_F(ShapeOutline, CornerArcsTurnTheRightWay)
{
    // m = 1, d = 0.5 on 6 x 4: corners (1,1), (5,1), (5,3), (1,3). Each loop of style 5 runs
    // three quarters round its corner and leaves out the quarter inside the rectangle; each
    // cut of style 6 is exactly that inner quarter.
    GraphicsPath loops, concave;
    CShapePath::AddCornerLoops(&loops, 1, 0.5f, 6, 4);
    CShapePath::AddConcaveCorners(&concave, 1, 0.5f, 6, 4);
    const double r = 0.5 / std::sqrt(2.0); // d at 45 degrees
    const struct
    {
        float cx, cy;   // corner
        float inx, iny; // unit diagonal pointing into the rectangle
    } corners[] = {{5, 1, -1, 1}, {5, 3, -1, -1}, {1, 3, 1, -1}, {1, 1, 1, 1}};
    for (const auto& c : corners) {
        SCOPED_TRACE(testing::Message() << "corner " << c.cx << "," << c.cy);
        const PointF inner((REAL)(c.cx + c.inx * r), (REAL)(c.cy + c.iny * r));
        const PointF outer((REAL)(c.cx - c.inx * r), (REAL)(c.cy - c.iny * r));
        const PointF side((REAL)(c.cx + c.inx * r), (REAL)(c.cy - c.iny * r));
        EXPECT_LT(DistanceToOutline(loops, outer), 0.002);
        EXPECT_LT(DistanceToOutline(loops, side), 0.002);
        EXPECT_GT(DistanceToOutline(loops, inner), 0.1);
        EXPECT_LT(DistanceToOutline(concave, inner), 0.002);
        EXPECT_GT(DistanceToOutline(concave, outer), 0.1);
        EXPECT_GT(DistanceToOutline(concave, side), 0.1);
    }
}

TEST_F(ShapeOutline, SquareBubbleWithTailBelow)
{
    // Text 10 x 5: body 11 x 6, tail half-width 0.6, tail 2 long under the middle.
    GraphicsPath path;
    AddSpeechBubblePath1(&path, 4, 0.2f, 2, 10, 5);
    const PathData d = Read(path);
    ASSERT_EQ(24u, d.points.size()); // three points at each of the eight places
    // Before the move by (-5.5, -3): (11,0) corner, right middle, (11,6), tail, ...
    const float expect[24][2] = {
        {11, 0},   {11, 0},   {11, 0},   // top-right corner, no tail
        {11, 3},   {11, 3},   {11, 3},   // right middle
        {11, 6},   {11, 6},   {11, 6},   // bottom-right
        {6.1f, 6}, {5.5f, 8}, {4.9f, 6}, // the tail
        {0, 6},    {0, 6},    {0, 6},    // bottom-left
        {0, 3},    {0, 3},    {0, 3},    // left middle
        {0, 0},    {0, 0},    {0, 0},    // top-left
        {5.5f, 0}, {5.5f, 0}, {5.5f, 0}, // top middle
    };
    for (int k = 0; k < 24; ++k)
        EXPECT_POINT(expect[k][0] - 5.5f, expect[k][1] - 3.0f, d.points[k]);
    EXPECT_TRUE(d.types.back() & PathPointTypeCloseSubpath);
    RectF b;
    path.GetBounds(&b);
    EXPECT_NEAR(-5.5, b.X, 1e-4);
    EXPECT_NEAR(-3, b.Y, 1e-4);
    EXPECT_NEAR(11, b.Width, 1e-4);
    EXPECT_NEAR(8, b.Height, 1e-4);
}

TEST_F(ShapeOutline, BubbleTails)
{
    // Tip of each tail position on an 11 x 6 body (text 10 x 5), tail length 1, before the
    // move; position 0 and 9 add none.
    const struct
    {
        int pos;
        float x, y;
    } tips[] = {{1, 12, -1}, {2, 12, 3}, {3, 12, 7}, {4, 5.5f, 7}, {5, -1, 7}, {6, -1, 3}, {7, -1, -1}, {8, 5.5f, -1}};
    for (const auto& t : tips) {
        for (int variant = 1; variant <= 2; ++variant) {
            GraphicsPath path;
            if (variant == 1)
                AddSpeechBubblePath1(&path, t.pos, 0.2f, 1, 10, 5);
            else
                AddSpeechBubblePath2(&path, t.pos, 0.2f, 1, 10, 5);
            const PathData d = Read(path);
            bool found = false;
            for (const PointF& p : d.points)
                if (std::fabs(p.X - (t.x - 5.5f)) < 1e-4 && std::fabs(p.Y - (t.y - 3)) < 1e-4)
                    found = true;
            EXPECT_TRUE(found) << "position " << t.pos << " variant " << variant;
        }
    }
    for (int pos : {0, 9}) {
        GraphicsPath path;
        AddSpeechBubblePath1(&path, pos, 0.2f, 1, 10, 5);
        RectF b;
        path.GetBounds(&b);
        EXPECT_NEAR(11, b.Width, 1e-4) << pos;
        EXPECT_NEAR(6, b.Height, 1e-4) << pos;
    }
}

TEST_F(ShapeOutline, RoundedBubbleCorners)
{
    // r = 0.25 x 5; the corner carrying the tail stays square.
    GraphicsPath path;
    AddSpeechBubblePath2(&path, 1, 0.2f, 1, 10, 5);
    const PathData d = Read(path);
    // Tail at the top-right corner: (11 - 0.6, 0), tip (12, -1), (11, 0.6).
    EXPECT_POINT(10.4 - 5.5, -3, d.points[0]);
    EXPECT_POINT(12 - 5.5, -1 - 3, d.points[1]);
    EXPECT_POINT(11 - 5.5, 0.6 - 3, d.points[2]);
    // The bottom-right corner is a Bezier (11, 6 - r) (11, 6 - r/2) (11 - r/2, 6) (11 - r, 6).
    const float r = 1.25f;
    bool found = false;
    for (size_t k = 0; k + 3 < d.points.size(); ++k) {
        if (std::fabs(d.points[k].X - 5.5f) < 1e-4 && std::fabs(d.points[k].Y - (3 - r)) < 1e-4) {
            EXPECT_EQ(PathPointTypeBezier, d.types[k + 1] & 7);
            EXPECT_POINT(5.5, 3 - r / 2, d.points[k + 1]);
            EXPECT_POINT(5.5 - r / 2, 3, d.points[k + 2]);
            EXPECT_POINT(5.5 - r, 3, d.points[k + 3]);
            found = true;
        }
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(27u, d.points.size()); // three at the tail corner, four at the others
}

// The free builders draw the outlines of their frame styles, point for point.
TEST_F(ShapeOutline, FreeBuildersDrawTheirStyles)
{
    typedef void (*WithOrnament)(GraphicsPath*, float, float, float, float);
    typedef void (*Plain)(GraphicsPath*, float, float, float);
    const struct
    {
        int style;
        WithOrnament withOrnament;
        Plain plain;
    } cases[] = {
        {1, NULL, AddRectanglePath},      {3, AddBowedOutPath, NULL},       {4, AddBowedInPath, NULL},
        {5, AddCornerLoopsPath, NULL},    {6, AddConcaveCornersPath, NULL}, {7, AddScallopsPath, NULL},
        {9, NULL, AddEllipsePath},        {10, AddZigzagPath, NULL},        {11, AddSCurvesPath, NULL},
        {12, AddCornerSquaresPath, NULL}, {14, AddWavesPath, NULL},
    };
    const float m = 0.25f, d = 0.4f, W = 3.5f, H = 2.0f;
    for (const auto& c : cases) {
        GraphicsPath free, byStyle;
        if (c.plain)
            c.plain(&free, m, W, H);
        else
            c.withOrnament(&free, m, d, W, H);
        ASSERT_TRUE(CShapePath::AddFrameStyle(&byStyle, c.style, m, d, W, H)) << c.style;
        const PathData a = Read(free), b = Read(byStyle);
        ASSERT_GT(a.points.size(), 3u) << c.style;
        ASSERT_EQ(b.points.size(), a.points.size()) << c.style;
        EXPECT_EQ(b.types, a.types) << c.style;
        for (size_t i = 0; i < a.points.size(); ++i) {
            EXPECT_FLOAT_EQ(b.points[i].X, a.points[i].X) << c.style << " point " << i;
            EXPECT_FLOAT_EQ(b.points[i].Y, a.points[i].Y) << c.style << " point " << i;
        }
    }
    static_assert(std::has_virtual_destructor<CPathBuilder>::value, "builders are deleted through the base");
}

} // namespace
