// Units, GDI+ helpers, the shared dialog font and bubble-help text.
#include <windows.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <math.h>

#include "base/Globals.h"

namespace {

// The helpers that use GDI+ (started for the whole run by the tests' main).
using WithGdiplus = ::testing::Test;

// Restores the metric switch after a test.
struct MetricScope
{
    BOOL old = IsMetric();
    explicit MetricScope(BOOL on) { SetMetric(on); }
    ~MetricScope() { SetMetric(old); }
};

TEST(Units, ConvertAndTruncate)
{
    struct
    {
        BOOL metric;
        float inches;
        int units;
    } to[] = {
        {FALSE, 0.019f, 1},                       // truncated, not rounded
        {FALSE, 1.0f, 100}, {FALSE, -0.019f, -1}, // toward zero
        {TRUE, 1.0f, 254},  {TRUE, 0.5f, 127},    {TRUE, 0.0039f, 0},
    };
    for (const auto& c : to) {
        MetricScope metric(c.metric);
        EXPECT_EQ(c.units, ToDisplayUnitsA(c.inches)) << c.metric << " " << c.inches;
    }
    struct
    {
        BOOL metric;
        int units;
        float inches;
        int hundredths;
    } from[] = {
        {FALSE, 100, 1.0f, 100}, {FALSE, 254, 2.54f, 254},   {TRUE, 254, 1.0f, 100},
        {TRUE, 127, 0.5f, 50},   {TRUE, 10, 10 / 254.0f, 3}, // 1 mm = 3.9 hundredths, truncated
    };
    for (const auto& c : from) {
        MetricScope metric(c.metric);
        EXPECT_FLOAT_EQ(c.inches, FromDisplayUnits(c.units)) << c.metric << " " << c.units;
        EXPECT_EQ(c.hundredths, DisplayUnitsToHundredths(c.units)) << c.metric << " " << c.units;
    }
}

TEST(Units, MetricChoices)
{
    struct
    {
        BOOL metric;
        int n, fifty, half, twice;
    } cases[] = {
        {FALSE, 7, 40, 7, 7}, {TRUE, 7, 50, 3, 14}, {TRUE, -7, 50, -3, -14}, // toward zero
    };
    for (const auto& c : cases) {
        MetricScope metric(c.metric);
        EXPECT_EQ(c.fifty, UnitsFiftyOrForty()) << c.metric;
        EXPECT_EQ(c.half, HalveWhenMetric(c.n)) << c.metric << " " << c.n;
        EXPECT_EQ(c.twice, DoubleWhenMetric(c.n)) << c.metric << " " << c.n;
    }
}

TEST(Geometry, RotatePointRoundsToNearest)
{
    struct
    {
        LONG x, y;
        double degrees, scale;
        LONG ex, ey;
    } cases[] = {
        {1, 0, 90, 2, 0, 2},       {10, 0, 180, 1, -10, 0}, // -10 + 0.5 truncated would be -9
        {3, 4, 90, 1, -4, 3},      {100, 0, 45, 1, 71, 71}, // 70.71
        {100, 0, -45, 1, 71, -71}, {2, 0, 0, 1.25, 3, 0},   // 2.5 goes up
        {-2, 0, 0, 1.25, -2, 0},                            // -2.5 goes up too
    };
    for (const auto& c : cases) {
        POINT p = {c.x, c.y};
        RotatePoint(p, c.degrees, c.scale);
        EXPECT_EQ(c.ex, p.x) << c.x << "," << c.y << " by " << c.degrees;
        EXPECT_EQ(c.ey, p.y) << c.x << "," << c.y << " by " << c.degrees;
    }
}

TEST(Geometry, RotatePointF)
{
    struct
    {
        float x, y;
        double degrees, scale;
        float ex, ey;
    } cases[] = {
        {1, 0, 90, 2, 0, 2}, {1, 0, 180, 1, -1, 0}, {0, 1, 90, 1, -1, 0}, {2, 3, 0, 0.5, 1, 1.5}, {1, 0, -90, 1, 0, -1},
    };
    for (const auto& c : cases) {
        Gdiplus::PointF pt(c.x, c.y);
        RotatePointF(pt, c.degrees, c.scale);
        EXPECT_NEAR(c.ex, pt.X, 1e-5) << c.degrees;
        EXPECT_NEAR(c.ey, pt.Y, 1e-5) << c.degrees;
    }
}

TEST_F(WithGdiplus, EncoderLookup)
{
    CLSID untouched;
    memset(&untouched, 0xAB, sizeof untouched);
    CLSID clsid = untouched;
    EXPECT_EQ(-1, GetEncoderClsid(L"image/x-none", &clsid));
    EXPECT_EQ(0, memcmp(&clsid, &untouched, sizeof clsid));
    EXPECT_EQ(-1, GetEncoderClsid(L"IMAGE/PNG", &clsid)); // exact, case-sensitive
    EXPECT_EQ(0, memcmp(&clsid, &untouched, sizeof clsid));

    int png = GetEncoderClsid(L"image/png", &clsid);
    EXPECT_GE(png, 0);
    CLSID jpeg = untouched;
    EXPECT_GE(GetEncoderClsid(L"image/jpeg", &jpeg), 0);
    EXPECT_NE(0, memcmp(&clsid, &jpeg, sizeof clsid));
    FindJpegEncoder();
    CLSID kept = GetJpegEncoderClsid();
    EXPECT_EQ(0, memcmp(&kept, &jpeg, sizeof kept));
}

// Draws a 2 x 1 bitmap (red, half-transparent green) over white with the given attributes.
Gdiplus::Color DrawOverWhite(Gdiplus::ImageAttributes* attributes, int x)
{
    Gdiplus::Bitmap source(2, 1, PixelFormat32bppARGB);
    source.SetPixel(0, 0, Gdiplus::Color(255, 200, 0, 0));
    source.SetPixel(1, 0, Gdiplus::Color(255, 0, 100, 50));
    Gdiplus::Bitmap target(2, 1, PixelFormat32bppARGB);
    Gdiplus::Graphics g(&target);
    g.Clear(Gdiplus::Color(255, 255, 255, 255));
    g.DrawImage(&source, Gdiplus::Rect(0, 0, 2, 1), 0, 0, 2, 1, Gdiplus::UnitPixel, attributes);
    Gdiplus::Color colour;
    target.GetPixel(x, 0, &colour);
    return colour;
}

TEST_F(WithGdiplus, ColourMatrices)
{
    struct
    {
        int percent;
        Gdiplus::ARGB red;
        Gdiplus::ARGB other;
    } opacity[] = {
        {100, 0xFFC80000, 0xFF006432}, // unchanged
        {0, 0xFFFFFFFF, 0xFFFFFFFF},   // invisible
    };
    for (const auto& c : opacity) {
        Gdiplus::ImageAttributes attributes;
        EXPECT_EQ(Gdiplus::Ok, SetOpacityMatrix(&attributes, c.percent));
        EXPECT_EQ(c.red, DrawOverWhite(&attributes, 0).GetValue()) << c.percent;
        EXPECT_EQ(c.other, DrawOverWhite(&attributes, 1).GetValue()) << c.percent;
    }
    Gdiplus::ImageAttributes half;
    SetOpacityMatrix(&half, 50);
    Gdiplus::Color blended = DrawOverWhite(&half, 0);
    EXPECT_NEAR(227, blended.GetRed(), 2);
    EXPECT_NEAR(127, blended.GetGreen(), 2);

    Gdiplus::ImageAttributes dim;
    EXPECT_EQ(Gdiplus::Ok, SetDimMatrix(&dim));
    Gdiplus::Color dimmed = DrawOverWhite(&dim, 0);
    EXPECT_NEAR(140, dimmed.GetRed(), 1); // 200 x 0.7
    EXPECT_EQ(0, dimmed.GetGreen());
    EXPECT_EQ(255, dimmed.GetAlpha());
    dimmed = DrawOverWhite(&dim, 1);
    EXPECT_NEAR(70, dimmed.GetGreen(), 1);
    EXPECT_NEAR(35, dimmed.GetBlue(), 1);
}

TEST_F(WithGdiplus, BlankAndRewrittenBitmaps)
{
    Gdiplus::Bitmap* blank = CreateArgbBitmap(3, 2);
    ASSERT_NE(nullptr, blank);
    EXPECT_EQ(3u, blank->GetWidth());
    EXPECT_EQ(2u, blank->GetHeight());
    EXPECT_EQ((Gdiplus::PixelFormat)PixelFormat32bppARGB, blank->GetPixelFormat());
    for (int x = 0; x < 3; x++)
        for (int y = 0; y < 2; y++) {
            Gdiplus::Color c;
            blank->GetPixel(x, y, &c);
            EXPECT_EQ(0u, c.GetValue()) << x << "," << y;
        }

    const Gdiplus::ARGB pixels[2][3] = {{0xFF102030, 0x80FFFFFF, 0x00000000}, {0x7F010203, 0xFFFFFFFF, 0xFF000000}};
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 3; x++)
            blank->SetPixel(x, y, Gdiplus::Color(pixels[y][x]));
    RewriteBitmapPixels(blank);
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 3; x++) {
            Gdiplus::Color c;
            blank->GetPixel(x, y, &c);
            EXPECT_EQ(pixels[y][x], c.GetValue()) << x << "," << y;
        }
    RewriteBitmapPixels(nullptr);
    delete blank;
}

TEST_F(WithGdiplus, DrawingStyleFollowsPrintingAndDisplayMode)
{
    struct
    {
        BOOL printing, display;
        Gdiplus::SmoothingMode smoothing;
        Gdiplus::InterpolationMode interpolation;
        Gdiplus::CompositingQuality compositing;
    } cases[] = {
        {FALSE, FALSE, Gdiplus::SmoothingModeNone, Gdiplus::InterpolationModeLowQuality,
         Gdiplus::CompositingQualityHighSpeed},
        {TRUE, FALSE, Gdiplus::SmoothingModeHighQuality, Gdiplus::InterpolationModeHighQuality,
         Gdiplus::CompositingQualityHighQuality},
        {FALSE, TRUE, Gdiplus::SmoothingModeHighQuality, Gdiplus::InterpolationModeHighQuality,
         Gdiplus::CompositingQualityHighQuality},
    };
    BOOL oldDisplay = GetDisplayMode();
    for (const auto& c : cases) {
        SetDisplayMode(c.display);
        Gdiplus::Bitmap bitmap(4, 4, PixelFormat32bppARGB);
        Gdiplus::Graphics g(&bitmap);
        DrawWithCurrentStyle(&g, c.printing);
        // GDI+ reads back the quality modes as the modes they stand for.
        Gdiplus::SmoothingMode smoothing = g.GetSmoothingMode();
        EXPECT_TRUE(smoothing == c.smoothing ||
                    (c.smoothing == Gdiplus::SmoothingModeHighQuality && smoothing == Gdiplus::SmoothingModeAntiAlias))
            << c.printing << c.display;
        Gdiplus::InterpolationMode interpolation = g.GetInterpolationMode();
        EXPECT_TRUE(interpolation == c.interpolation ||
                    (c.interpolation == Gdiplus::InterpolationModeHighQuality &&
                     interpolation == Gdiplus::InterpolationModeHighQualityBicubic) ||
                    (c.interpolation == Gdiplus::InterpolationModeLowQuality &&
                     interpolation == Gdiplus::InterpolationModeBilinear))
            << c.printing << c.display;
        EXPECT_EQ(c.compositing, g.GetCompositingQuality()) << c.printing << c.display;
    }
    SetDisplayMode(oldDisplay);
}

TEST_F(WithGdiplus, DrawingScaleOfTheDesignRectangle)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    int dpi = dc.GetDeviceCaps(LOGPIXELSX);
    Gdiplus::Graphics g(dc.GetSafeHdc());
    float res = g.GetDpiX();
    // A rectangle of 5 x 3 inches at twice the DC's scale, starting 2 and 1 inches in.
    CRect rect(2 * dpi, 1 * dpi, 2 * dpi + 10 * dpi, 1 * dpi + 6 * dpi);
    double x = -1, y = -1, w = 0, h = 0;
    float scale = ComputeDrawingScale(&dc, &g, rect, 5.0f, 3.0f, x, y, w, h);
    float s = 10.0f * dpi / (5.0f * res);
    EXPECT_FLOAT_EQ(dpi / res * s, scale);
    EXPECT_NEAR(2.0 / s, x, 1e-5);
    EXPECT_NEAR(1.0 / s, y, 1e-5);
    EXPECT_EQ(5.0, w);
    EXPECT_EQ(3.0, h);

    x = y = -1; // without a graphics object the DC's own resolution counts
    scale = ComputeDrawingScale(&dc, nullptr, rect, 5.0f, 3.0f, x, y, w, h);
    EXPECT_FLOAT_EQ(2.0f, scale);
    EXPECT_NEAR(1.0, x, 1e-5);
    EXPECT_NEAR(0.5, y, 1e-5);
}

TEST(Texts, BubbleHelpHtml)
{
    EXPECT_STREQ("<center><ilst idres=599 cx=10 cy=10 mask width=100% height=100%><br>"
                 "<h2>Title</h2><br><hr color=blue></centre><br><justify><br>Body 50%d</justify>"
                 "<br=2><right><i></i></right>",
                 FormatBubbleHelp("Title", "Body 50%d", "", 599));
}

TEST(Texts, SharedDialogFont)
{
    HFONT font = GetDialogFont();
    ASSERT_NE(nullptr, font);
    EXPECT_EQ(font, GetDialogFont()); // one font for every dialog
    LOGFONTA lf = {};
    ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf));
    EXPECT_STREQ("Arial", lf.lfFaceName);
    EXPECT_EQ(-12, lf.lfHeight);
    EXPECT_EQ(700, lf.lfWeight);
    EXPECT_EQ(ANSI_CHARSET, lf.lfCharSet);
    EXPECT_EQ(ANTIALIASED_QUALITY, lf.lfQuality);
    EXPECT_EQ(FF_SWISS, lf.lfPitchAndFamily);

    // The two other shared fonts, each made once.
    const struct
    {
        HFONT (*get)();
        const char* face;
        LONG height, weight;
        BYTE italic;
    } others[] = {
        {GetSmallDialogFont, "Arial", 8, 400, FALSE},
        {GetTitleFont, "Times New Roman", -32, 400, TRUE},
    };
    for (const auto& o : others) {
        HFONT f = o.get();
        ASSERT_NE(nullptr, f) << o.face;
        EXPECT_EQ(f, o.get()) << o.face;
        EXPECT_NE(font, f) << o.face;
        ASSERT_TRUE(GetObjectA(f, sizeof lf, &lf));
        EXPECT_STREQ(o.face, lf.lfFaceName);
        EXPECT_EQ(o.height, lf.lfHeight) << o.face;
        EXPECT_EQ(o.weight, lf.lfWeight) << o.face;
        EXPECT_EQ(o.italic, lf.lfItalic) << o.face;
    }
}

} // namespace
