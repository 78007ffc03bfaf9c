// The popup's colour table and the texts of its cell tooltips.
#include "ui/ColourPopup.h"

#include <gtest/gtest.h>

namespace {

TEST(ColourPopupTable, ToolTextsNameAndHexDigits)
{
    struct Case
    {
        int index;
        const char* text;
    } cases[] = {
        {0, "Black [000000]"},        {2, "Dark Olive Green [004040]"}, // a leading 0 below 16
        {9, "Orange [ff6820]"},                                         // lower-case digits, red first
        {35, "Pale green  [98fb98]"},                                   // the name ends with a blank
        {37, "Pale blue [68838b]"},   {39, "White [ffffff]"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.text, CColourPopup::ToolText(c.index)) << c.index;
    EXPECT_EQ(40, CColourPopup::kColourCount);
    EXPECT_EQ(RGB(0, 0, 94), CColourPopup::kColours[4].colour) << "\"Dark Teal\" is a blue";
    EXPECT_EQ(RGB(192, 255, 255), CColourPopup::kColours[29].colour);
}

} // namespace
