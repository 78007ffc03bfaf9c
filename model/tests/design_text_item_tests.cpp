// Text items: placement, fills and outline, arc layout, mirrored printing, resizing.
// Glyph shapes differ between font builds, so the checks are bounds and colours.
#include "design_fixture.h"
#include "testsupport/Dump.h"
#include "base/Globals.h"
#include "model/design/TextItem.h"

using namespace Gdiplus;
using namespace design_test;

namespace {

bool IsWhite(ARGB c) { return c == 0xFFFFFFFF; }
bool IsBlack(ARGB c) { return c == 0xFF000000; }
bool IsOther(ARGB c) { return (c >> 24) != 0 && c != 0xFFFFFFFF && c != 0xFF000000; }

struct PrintFlags
{
    PrintFlags(int mirror, int printing)
    {
        SetGlobalValueA(mirror);
        SetGlobalValueC(printing);
    }
    ~PrintFlags()
    {
        SetGlobalValueA(0);
        SetGlobalValueC(0);
    }
};

// "Cake" 0.6 inch high at (1.5, 0.5) on a 3 x 1 inch canvas.
void BigCake(CTextItem& t)
{
    t.m_text = "Cake";
    t.m_fontSize = 60;
    t.m_outlineSize = 4;
    t.SetPrintableSize(3.0f, 1.0f);
}

int CentreX(const RECT& r) { return (r.left + r.right) / 2; }
int CentreY(const RECT& r) { return (r.top + r.bottom) / 2; }

} // namespace

TEST(DesignTextItem, NewItemDrawsAtItsDefaultPlace)
{
    CTextItem t;
    t.m_text = "Cake";
    EXPECT_EQ(100, t.m_imageOpacity); // opaque until told otherwise
    Canvas c(720, 960);               // 7.5 x 10 inches
    t.Draw(&c.graphics, PointF(0, 0));
    RECT r = PaintedBounds(c.bitmap);
    ASSERT_GT(r.right, r.left);
    EXPECT_NEAR(360, CentreX(r), 2); // (3.75, 5.0) inches
    EXPECT_NEAR(480, CentreY(r), 3);
    EXPECT_LT(r.right - r.left, 20); // 0.05 inch em
    // The hit region follows the drawn text.
    EXPECT_TRUE(t.ContainsPoint(360, 480, 96.0f));
    EXPECT_FALSE(t.ContainsPoint(300, 480, 96.0f));
}

TEST(DesignTextItem, FillKindsAndOutline)
{
    const struct
    {
        int fillKind;
        int outlineSize;
        bool white, black;
    } cases[] = {
        {1, 4, true, true},   // white letters, black outline
        {0, 4, false, true},  // no fill: only the outline
        {1, 0, true, false},  // no outline
        {7, 0, false, false}, // unknown fill kind, no outline: nothing
    };
    for (const auto& k : cases) {
        CTextItem t;
        BigCake(t);
        t.m_fillKind = k.fillKind;
        t.m_outlineSize = k.outlineSize;
        t.m_fillColour[1] = 0x00FF00; // ignored by the solid fill
        Canvas c(288, 96);
        t.Draw(&c.graphics, PointF(0, 0));
        c.graphics.Flush(FlushIntentionSync);
        DumpPng(c.bitmap, k.fillKind == 1 && k.outlineSize == 4 ? "text_fill" : "text_other");
        EXPECT_EQ(k.white, CountPixels(c.bitmap, IsWhite) > 100) << k.fillKind << "/" << k.outlineSize;
        EXPECT_EQ(k.black, CountPixels(c.bitmap, IsBlack) > 100) << k.fillKind << "/" << k.outlineSize;
        EXPECT_EQ(0, CountPixels(c.bitmap, IsOther)) << k.fillKind << "/" << k.outlineSize;
        if (k.white || k.black) {
            RECT r = PaintedBounds(c.bitmap);
            EXPECT_NEAR(144, CentreX(r), 3);
            EXPECT_NEAR(48, CentreY(r), 6);
        }
    }
}

TEST(DesignTextItem, ArcRadiusZeroLaysTheTextOutStraight)
{
    CTextItem straight;
    BigCake(straight);
    Canvas s(288, 96);
    straight.Draw(&s.graphics, PointF(0, 0));
    RECT rs = PaintedBounds(s.bitmap);

    for (float radius : {0.0f, -1.0f}) {
        CTextItem arc;
        BigCake(arc);
        arc.m_arcLayout = 1;
        arc.m_arcRadius = radius;
        arc.m_bubbleKind = 1; // never a bubble with arc layout
        Canvas c(288, 96);
        arc.Draw(&c.graphics, PointF(0, 0));
        RECT r = PaintedBounds(c.bitmap);
        EXPECT_EQ(rs.left, r.left) << radius;
        EXPECT_EQ(rs.right, r.right) << radius;
        EXPECT_EQ(rs.top, r.top) << radius;
        EXPECT_EQ(rs.bottom, r.bottom) << radius;
        for (int i = 0; i < 4; i++)
            EXPECT_TRUE(arc.GetCorners()[i].X == arc.GetCorners()[i].X) << "NaN corner";
    }

    // On a real circle the text bends: above the centre, inside the circle's box.
    CTextItem arc;
    BigCake(arc);
    arc.m_fontSize = 30;
    arc.m_arcLayout = 1;
    arc.m_arcRadius = 0.4f;
    arc.m_position = PointF(1.5f, 0.6f);
    Canvas c(288, 96);
    arc.Draw(&c.graphics, PointF(0, 0));
    RECT r = PaintedBounds(c.bitmap);
    ASSERT_GT(r.right, r.left);
    EXPECT_LE(r.bottom, 58 + 2); // glyphs stand on the upper half
    EXPECT_GE(r.top, (int)((0.6f - 0.4f - 0.3f) * 96) - 2);
}

TEST(DesignTextItem, MirroredPrintLandsOnTheOtherSide)
{
    const struct
    {
        int mirror, printing;
        int centreX;
    } cases[] = {{0, 0, 96}, {1, 0, 96}, {0, 1, 96}, {1, 1, 624}}; // x = 1 or 6.5 inches
    for (const auto& k : cases) {
        PrintFlags flags(k.mirror, k.printing);
        CTextItem t;
        t.m_text = "Cake";
        t.m_fontSize = 30;
        t.SetPrintableSize(7.5f, 2.0f);
        t.m_position = PointF(1.0f, 1.0f);
        Canvas c(720, 192);
        t.Draw(&c.graphics, PointF(0, 0));
        RECT r = PaintedBounds(c.bitmap);
        EXPECT_NEAR(k.centreX, CentreX(r), 3) << k.mirror << k.printing;
    }
}

TEST(DesignTextItem, SpeechBubbleSurroundsTheText)
{
    CTextItem t;
    BigCake(t);
    t.m_bubbleKind = 2;
    t.m_bubbleFillColour = 0x0000FF;
    t.m_bubbleTailPosition = 4;
    t.m_bubbleLineThickness = 0;
    t.m_outlineSize = 0;
    Canvas c(288, 96);
    t.Draw(&c.graphics, PointF(0, 0));
    RECT r = PaintedBounds(c.bitmap);
    RectF b = t.m_textBounds;
    // The body is 1.1 x 1.2 times the text, the tail below.
    EXPECT_NEAR(b.Width * 1.1f * 96, r.right - r.left, 3);
    EXPECT_GT(r.bottom - r.top, b.Height * 1.2f * 96);
    bool (*red)(ARGB) = [](ARGB x) { return x == 0xFFFF0000; };
    EXPECT_GT(CountPixels(c.bitmap, red), 100);
}

TEST(DesignTextItem, ResizeByHandle)
{
    const struct
    {
        int fontSize;
        float scale;
        int expected;
    } sizes[] = {{5, 1.1f, 5}, {10, 2.0f, 20}, {3, 0.1f, 1}, {3, 0.0f, 3}, {3, -1.0f, 3}};
    for (const auto& k : sizes) {
        CTextItem t;
        t.m_text = "Cake";
        t.m_fontSize = k.fontSize;
        t.ResizeByHandle(k.scale, 9, 96.0f);
        EXPECT_EQ(k.expected, t.m_fontSize) << k.fontSize << " x " << k.scale;
    }

    // Handle 3 keeps the right edge of the extent.
    CTextItem t;
    t.m_text = "Cake";
    t.m_fontSize = 40;
    GraphicsPath p;
    t.BuildTextPath(&p);
    t.UpdateOutline(&p);
    float right0 = -1000;
    for (int i = 0; i < 4; i++)
        right0 = t.GetCorners()[i].X > right0 ? t.GetCorners()[i].X : right0;
    t.ResizeByHandle(2.0f, 3, 96.0f);
    EXPECT_EQ(80, t.m_fontSize);
    GraphicsPath q;
    t.BuildTextPath(&q);
    t.UpdateOutline(&q);
    float right1 = -1000;
    for (int i = 0; i < 4; i++)
        right1 = t.GetCorners()[i].X > right1 ? t.GetCorners()[i].X : right1;
    EXPECT_NEAR(right0, right1, 0.01);
}

TEST(DesignTextItem, MissingFaceAndEmptyTextDrawNothing)
{
    const struct
    {
        const char* face;
        const char* text;
    } cases[] = {{"No Such Face At All", "Cake"}, {"Arial", ""}};
    for (const auto& k : cases) {
        CTextItem t;
        t.m_fontFace = k.face;
        t.m_text = k.text;
        t.m_bubbleKind = 1;
        Canvas c(720, 960);
        t.Draw(&c.graphics, PointF(0, 0));
        RECT r = PaintedBounds(c.bitmap);
        EXPECT_EQ(0, r.right - r.left) << k.face;
        EXPECT_FALSE(t.ContainsPoint(360, 480, 96.0f)) << k.face;
    }
}

TEST(DesignTextItem, ImageFillTilesIntoTheLetters)
{
    Bitmap tile(4, 4, PixelFormat32bppARGB);
    Graphics(&tile).Clear(Color(255, 0, 0, 255));
    const struct
    {
        int opacity;
        ARGB colour;
    } cases[] = {{100, 0xFF0000FF}, {50, 0xFF8080FF}};
    for (const auto& k : cases) {
        CTextItem t;
        BigCake(t);
        t.m_outlineSize = 0;
        ASSERT_TRUE(t.SetFillImage(&tile));
        EXPECT_FALSE(t.SetFillImage(NULL));
        t.m_imageOpacity = k.opacity;
        Canvas c(288, 96);
        t.Draw(&c.graphics, PointF(0, 0));
        c.graphics.Flush(FlushIntentionSync);
        static ARGB want;
        want = k.colour;
        bool (*match)(ARGB) = [](ARGB x) { return (bool)ArgbNear(x, want, 2); };
        EXPECT_GT(CountPixels(c.bitmap, match), 100) << k.opacity;
    }
}

TEST(DesignTextItem, GradientFillsRunAcrossTheText)
{
    // Colours 1 to 5: red, green, blue, yellow, magenta.  The linear fill runs 1, 2, 5,
    // 3, 4 from left to right; the four-corner fill puts 1 at the top-left corner.
    const COLORREF colours[5] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF};
    const struct
    {
        int kind;
        ARGB left, right;
    } cases[] = {{2, 0xFFFF0000, 0xFFFFFF00}};
    for (const auto& k : cases) {
        CTextItem t;
        t.m_text = "HHHH";
        t.m_fontSize = 80;
        t.m_outlineSize = 0;
        t.m_fillKind = k.kind;
        for (int i = 0; i < 5; i++)
            t.m_fillColour[i] = colours[i];
        t.SetPrintableSize(4.0f, 1.0f);
        Canvas c(384, 96);
        t.Draw(&c.graphics, PointF(0, 0));
        RECT r = PaintedBounds(c.bitmap);
        ASSERT_GT(r.right, r.left);
        int y = (r.top + r.bottom) / 2;
        EXPECT_TRUE(ArgbNear(k.left, c.At(r.left + 1, y), 60)) << std::hex << c.At(r.left + 1, y);
        EXPECT_TRUE(ArgbNear(k.right, c.At(r.right - 2, y), 60)) << std::hex << c.At(r.right - 2, y);
    }

    CTextItem t;
    t.m_text = "HHHH";
    t.m_fontSize = 80;
    t.m_outlineSize = 0;
    t.m_fillKind = 3;
    for (int i = 0; i < 5; i++)
        t.m_fillColour[i] = colours[i];
    t.SetPrintableSize(4.0f, 1.0f);
    Canvas c(384, 96);
    t.Draw(&c.graphics, PointF(0, 0));
    RECT r = PaintedBounds(c.bitmap);
    EXPECT_TRUE(ArgbNear(0xFFFF0000, c.At(r.left + 1, r.top + 1), 60)) << std::hex << c.At(r.left + 1, r.top + 1);
    EXPECT_TRUE(ArgbNear(0xFFFFFF00, c.At(r.right - 2, r.bottom - 2), 60))
        << std::hex << c.At(r.right - 2, r.bottom - 2);
}

TEST(DesignTextItem, OutlinePenIsSizeTimesFiveThousandths)
{
    // Square letters: a pen centred on the glyph edge widens the painted bounds by its
    // own width (half on either side), whatever the glyph shapes.
    CTextItem filled;
    filled.m_text = "HH";
    filled.m_fontSize = 60;
    filled.m_outlineSize = 0;
    filled.SetPrintableSize(3.0f, 1.5f);
    Canvas f(288, 144);
    filled.Draw(&f.graphics, PointF(0, 0));
    RECT rf = PaintedBounds(f.bitmap);
    ASSERT_GT(rf.right, rf.left);

    const struct
    {
        int size;
        float pixels; // size x 0.005 inch at 96 pixels per inch
    } cases[] = {{20, 9.6f}, {40, 19.2f}};
    for (const auto& k : cases) {
        CTextItem outlined;
        outlined.m_text = "HH";
        outlined.m_fontSize = 60;
        outlined.m_fillKind = 0;
        outlined.m_outlineSize = k.size;
        outlined.SetPrintableSize(3.0f, 1.5f);
        Canvas c(288, 144);
        outlined.Draw(&c.graphics, PointF(0, 0));
        RECT r = PaintedBounds(c.bitmap);
        EXPECT_NEAR(k.pixels, (r.right - r.left) - (rf.right - rf.left), 2.0f) << k.size;
        EXPECT_NEAR(k.pixels, (r.bottom - r.top) - (rf.bottom - rf.top), 2.0f) << k.size;
    }
}
