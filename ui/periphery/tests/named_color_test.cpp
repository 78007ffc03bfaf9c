// Colour texts read and written: names in any case, "#RRGGBB", "r,g,b" held to one byte per
// channel, and what an unreadable text gives.
#include "ui/periphery/NamedColor.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(NamedColor, TextsGiveTheirColours)
{
    struct Case
    {
        const char* text;
        COLORREF want;
    } cases[] = {
        {"AliceBlue", RGB(0xF0, 0xF8, 0xFF)},
        {"aLICEbLUE", RGB(0xF0, 0xF8, 0xFF)},
        {"Gray", RGB(0x7F, 0x7F, 0x7F)},
        {"BlanchedAlmond", RGB(0xFF, 0xFF, 0xCD)},
        {"YellowGreen", RGB(0x8B, 0xCD, 0x32)},
        {"lawngreen", RGB(0x7C, 0xFC, 0x00)},
        {"NoSuchColour", 0},
        {"", 0},
        // Decimal numbers: a missing third one is 0; each one is held to 0..255, so that
        // a large red never spills into green.
        {"255,128", RGB(255, 128, 0)},
        {"10,20,30", RGB(10, 20, 30)},
        {"300,0,0", RGB(255, 0, 0)},
        {"0,999,-5", RGB(0, 255, 0)},
        {"-1,-1,256", RGB(0, 0, 255)},
        // Hex: exactly '#' and six digits; each pair read up to its first non-hex digit.
        {"#FF8000", RGB(255, 128, 0)},
        {"#ff8000", RGB(255, 128, 0)},
        {"#FF80", 0},
        {"#FF800000", 0},
        {"FF#8000", 0},
        {"#1G2H3I", RGB(1, 2, 3)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.want, CNamedColor(c.text).GetColor()) << c.text;
}

TEST(NamedColor, NamesAndHexReadBack)
{
    struct Case
    {
        COLORREF colour;
        const char* name;
        const char* hex;
    } cases[] = {
        {RGB(0xF0, 0xF8, 0xFF), "AliceBlue", "#F0F8FF"},
        {RGB(0x7F, 0x7F, 0x7F), "Gray", "#7F7F7F"},
        {RGB(0x80, 0x80, 0x80), "not defined", "#808080"},
        {RGB(0x00, 0xFF, 0xFF), "Aqua", "#00FFFF"}, // Cyan too: the first row wins
        {RGB(0xB8, 0x86, 0x0B), "DarkGoldenRod", "#B8860B"},
        {RGB(0xD3, 0xD3, 0xD3), "LightGrey", "#D3D3D3"},
        {RGB(0x12, 0x34, 0x56), "not defined", "#123456"},
    };
    for (const Case& c : cases) {
        CNamedColor colour(c.colour);
        EXPECT_STREQ(c.name, colour.GetName()) << c.hex;
        EXPECT_STREQ(c.hex, colour.GetHex()) << c.name;
    }
}

TEST(NamedColor, SettersReplaceTheColour)
{
    CNamedColor colour(RGB(1, 2, 3));
    EXPECT_EQ(RGB(255, 0, 0), colour.SetName("RED"));
    EXPECT_EQ(0u, colour.SetName("Reddish")) << "an unknown name gives black";
    colour.SetColor(RGB(9, 9, 9));
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), colour.SetHex("#123456"));
    EXPECT_EQ(0u, colour.SetHex("123456")) << "no '#'";
    EXPECT_EQ(0u, CNamedColor().GetColor());
}

TEST(NamedColor, TableHoldsEachNameOnceInOrder)
{
    int count = 0;
    const CNamedColor::Row* rows = CNamedColor::Table(&count);
    ASSERT_EQ(140, count);
    EXPECT_STREQ("AliceBlue", rows[0].name);
    EXPECT_STREQ("YellowGreen", rows[count - 1].name);
    std::set<std::string> seen;
    for (int i = 0; i < count; ++i) {
        EXPECT_TRUE(seen.insert(rows[i].name).second) << rows[i].name;
        if (i > 0) {
            EXPECT_LT(_stricmp(rows[i - 1].name, rows[i].name), 0) << rows[i].name;
        }
        // Each name reads back as its own colour.
        EXPECT_EQ(rows[i].colour, CNamedColor(rows[i].name).GetColor()) << rows[i].name;
    }
}

} // namespace
