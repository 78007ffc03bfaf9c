#include <gtest/gtest.h>

#include "model/gfx/RgbHlsColor.h"

TEST(RgbHlsColor, NameTable)
{
    const struct
    {
        int index;
        COLORREF colour;
        const char* name;
    } cases[] = {
        {0, RGB(240, 248, 255), "aliceblue"},      {140, RGB(240, 248, 255), "aliceblue"},
        {141, RGB(250, 235, 215), "antiquewhite"}, {280, RGB(240, 248, 255), "aliceblue"},
        {17, RGB(100, 149, 237), "cornflower"},    {139, RGB(154, 205, 50), "yellowgreen"},
        {-1, RGB(154, 205, 50), "yellowgreen"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.colour, CRgbHlsColor::FromIndex(c.index).GetColorRef()) << c.index;
        const int row = (c.index % 140 + 140) % 140;
        EXPECT_STREQ(c.name, CRgbHlsColor::GetNameOfIndex(row)) << c.index;
    }
    EXPECT_STREQ("", CRgbHlsColor::GetNameOfIndex(140));
    EXPECT_STREQ("", CRgbHlsColor::GetNameOfIndex(-1));
}

TEST(RgbHlsColor, Names)
{
    const struct
    {
        COLORREF colour;
        const char* name;
    } cases[] = {
        {RGB(0, 255, 255), "cyan"},    // not "aqua": later rows win
        {RGB(255, 0, 255), "magenta"}, // not "fuchsia"
        {RGB(0x12, 0x34, 0x56), "#123456"},
        {RGB(255, 0, 0), "red"},
        {RGB(255, 0, 0) | 0x01000000, "#FF0000"}, // the fourth byte counts too
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.name, CRgbHlsColor(c.colour).GetName());
}

TEST(RgbHlsColor, Text)
{
    CRgbHlsColor c = CRgbHlsColor::FromString("FF8000");
    EXPECT_EQ(255, c.GetRed());
    EXPECT_EQ(128, c.GetGreen());
    EXPECT_EQ(0, c.GetBlue());
    EXPECT_STREQ("FF8000", c.GetString());

    CRgbHlsColor bad = CRgbHlsColor::FromString("zz");
    EXPECT_EQ(RGB(0, 0, 0), bad.GetColorRef());
    CRgbHlsColor partial(RGB(1, 2, 3));
    EXPECT_FALSE(partial.SetString("FF80"));
    EXPECT_EQ(RGB(0, 0, 0), partial.GetColorRef());
    EXPECT_TRUE(partial.SetString("0a0B0c"));
    EXPECT_STREQ("0A0B0C", partial.GetString());
}

TEST(RgbHlsColor, ToHls)
{
    const struct
    {
        BYTE r, g, b;
        float hue, luminance, saturation;
    } cases[] = {
        {255, 0, 0, 360, 0.5f, 1},
        {0, 255, 0, 120, 0.5f, 1},
        {0, 0, 255, 240, 0.5f, 1},
        {255, 255, 0, 60, 0.5f, 1}, // green wins over red
        {128, 128, 128, 0, 256 / 510.0f, 0},
        {0, 0, 0, 0, 0, 0},
        {255, 255, 255, 0, 1, 0},
        {64, 128, 192, 210, 256 / 510.0f, 128 / 254.0f},
    };
    for (const auto& c : cases) {
        CRgbHlsColor colour(RGB(c.r, c.g, c.b));
        EXPECT_FLOAT_EQ(c.hue, colour.GetHue()) << (int)c.r << "," << (int)c.g << "," << (int)c.b;
        EXPECT_FLOAT_EQ(c.luminance, colour.GetLuminance()) << (int)c.r;
        EXPECT_FLOAT_EQ(c.saturation, colour.GetSaturation()) << (int)c.r;
    }
}

TEST(RgbHlsColor, ToRgbAndEdits)
{
    CRgbHlsColor c;
    c.SetHls(360, 0.5f, 1);
    EXPECT_EQ(RGB(255, 0, 0), c.GetColorRef());
    c.SetHls(0, 0.5f, 0);
    EXPECT_EQ(RGB(127, 127, 127), c.GetColorRef()); // 0.5 x 255 truncated
    c.SetHls(240, 0.25f, 1);
    EXPECT_EQ(RGB(0, 0, 127), c.GetColorRef());

    // Editing one form makes the other stale, and it follows on the next read.
    CRgbHlsColor e(RGB(255, 0, 0));
    e.SetLuminance(0.25f);
    EXPECT_EQ(RGB(127, 0, 0), e.GetColorRef());
    e.SetGreen(127);
    EXPECT_FLOAT_EQ(60, e.GetHue());
}
