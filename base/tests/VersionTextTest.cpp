#include <gtest/gtest.h>

#include "base/VersionText.h"

TEST(VersionText, ComparesPartByPart)
{
    const struct
    {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {
        {"10.15", "10.3", 1}, // not 10.15 < 10.3 as decimal numbers would have it
        {"10.3", "10.0", 1},  {"10.0", "7.8", 1},     {"7.8", "7.5", 1},     {"10.15", "10.15", 0},
        {"10.0", "10", 0},    {"10", "10.0.0", 0},    {"6.7", "6.10", -1},   {"5.01", "5.1", 0},
        {"9.9", "10.0", -1},  {"", "0", 0},           {"", "5.01", -1},      {"junk", "0.0", 0},
        {" 7.8", "7.8", 0},   {"7.8 beta", "7.8", 0}, {"10.3.1", "10.3", 1}, {"99999999999.1", "1.0", 1},
    };
    for (const auto& c : cases) {
        const int r = CompareVersionText(c.a, c.b);
        EXPECT_EQ(c.sign, (r > 0) - (r < 0)) << c.a << " vs " << c.b;
        const int back = CompareVersionText(c.b, c.a);
        EXPECT_EQ(-c.sign, (back > 0) - (back < 0)) << c.b << " vs " << c.a;
    }
    EXPECT_EQ(0, CompareVersionText(NULL, "0"));
}

TEST(VersionText, AtLeast)
{
    EXPECT_TRUE(IsVersionAtLeast("10.15", "10.3"));
    EXPECT_TRUE(IsVersionAtLeast("10.3", "10.3"));
    EXPECT_FALSE(IsVersionAtLeast("10.2", "10.3"));
    EXPECT_TRUE(IsVersionAtLeast("7.8", "7.8"));
    EXPECT_FALSE(IsVersionAtLeast("7.7", "7.8"));
}
