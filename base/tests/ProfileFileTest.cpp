#include <gtest/gtest.h>

#include "base/ProfileFile.h"
#include "base/RegKey.h"

namespace {

// Profile functions look for a bare file name in the Windows folder: use a full path.
CString TestIniPath()
{
    char full[MAX_PATH];
    GetFullPathNameA("profile_test.ini", MAX_PATH, full, NULL);
    return full;
}

class ProfileFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DeleteFileA(TestIniPath());
        ini.SetPath(TestIniPath());
    }
    CIniFile ini;
};

TEST_F(ProfileFile, NumbersAsText)
{
    const struct
    {
        int value, base;
        const char* text;
    } cases[] = {{-42, 10, "-42"}, {8, 8, "10"}, {255, 16, "FF"}, {5, 2, "101"}, {0, 2, "0"}, {7, 3, "7"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(ini.WriteInt("n", "v", c.value, c.base));
        EXPECT_STREQ(c.text, ini.GetString("n", "v")) << c.value << " base " << c.base;
        EXPECT_EQ(c.value, ini.GetInt("n", "v", 99, c.base)) << c.value << " base " << c.base;
    }
    ASSERT_TRUE(ini.WriteUInt("n", "u", 4000000000u));
    EXPECT_EQ(4000000000u, ini.GetUInt("n", "u", 0));
    EXPECT_EQ(99, ini.GetInt("n", "missing", 99));
    ASSERT_TRUE(ini.IncreaseInt("n", "u", 1));
    ASSERT_TRUE(ini.WriteDouble("n", "d", 1.5));
    EXPECT_STREQ("1.500000", ini.GetString("n", "d"));
    ASSERT_TRUE(ini.WriteDouble("n", "d", 2.24, 1));
    EXPECT_STREQ("2.2", ini.GetString("n", "d"));
    ASSERT_TRUE(ini.IncreaseDouble("n", "d", 0.5, 2));
    EXPECT_DOUBLE_EQ(2.7, ini.GetDouble("n", "d", 0));
    EXPECT_DOUBLE_EQ(-1, ini.GetDouble("n", "none", -1));
}

TEST_F(ProfileFile, YesNoAndCharacters)
{
    const struct
    {
        const char* text;
        BOOL value;
    } cases[] = {{"true", TRUE}, {"YES", TRUE}, {"1", TRUE},     {"12", TRUE},
                 {"0", FALSE},   {"no", FALSE}, {"false", FALSE}};
    for (const auto& c : cases) {
        ini.WriteString("b", "v", c.text);
        EXPECT_EQ(c.value, ini.GetBool("b", "v", !c.value)) << c.text;
    }
    EXPECT_EQ(TRUE, ini.GetBool("b", "missing", TRUE));
    ini.WriteBool("b", "v", TRUE);
    ini.InvertBool("b", "v");
    EXPECT_STREQ("0", ini.GetString("b", "v"));
    ini.WriteChar("b", "c", 'x');
    EXPECT_EQ('x', ini.GetChar("b", "c", '?'));
    EXPECT_EQ('?', ini.GetChar("b", "none", '?'));
    EXPECT_FALSE(ini.WriteString(NULL, "v", "x"));
    EXPECT_FALSE(ini.WriteString("b", "", "x"));
    EXPECT_STREQ("d", ini.GetString("b", NULL, "d"));
}

TEST_F(ProfileFile, BlocksListsAndLongTexts)
{
    const BYTE bytes[] = {0x01, 0xAB, 0xFF};
    ini.WriteData("x", "data", bytes, 3);
    EXPECT_STREQ("01ABFF", ini.GetString("x", "data"));
    BYTE back[4] = {};
    EXPECT_EQ(2, ini.GetData("x", "data", back, 4, 1));
    EXPECT_EQ(0xAB, back[0]);
    ini.AppendData("x", "data", bytes, 1);
    EXPECT_STREQ("01ABFF01", ini.GetString("x", "data"));
    ini.WriteString("x", "bad", "01G2");
    EXPECT_EQ(0, ini.GetData("x", "bad", back, 4));

    const RECT r = {1, -2, 300, 4};
    ini.WriteRect("x", "rect", r);
    const RECT def = {9, 9, 9, 9};
    const RECT got = ini.GetRect("x", "rect", def);
    EXPECT_TRUE(EqualRect(&r, &got));
    const POINT p = {7, 8};
    const POINT none = ini.GetPoint("x", "data", p); // only 4 bytes stored: the default
    EXPECT_EQ(7, none.x);

    CStringArray items;
    items.Add("a");
    items.Add(" b ");
    ini.WriteStringList("x", "list", items, ";");
    CStringArray read;
    EXPECT_EQ(2, ini.GetStringList("x", "list", read, ";", TRUE));
    EXPECT_STREQ("b", read[1]);

    CString longText('z', 1500); // more than the first buffers hold
    ini.WriteString("x", "long", longText);
    EXPECT_EQ(1500, ini.GetString("x", "long").GetLength());
    ini.AppendString("x", "long", "!");
    EXPECT_EQ(1501, ini.GetString("x", "long").GetLength());
}

TEST_F(ProfileFile, SectionsAndKeys)
{
    ini.WriteString("One", "a", "1");
    ini.WriteString("One", "b", "2");
    ini.WriteString("Two", "c", "3");
    EXPECT_TRUE(ini.SectionExists("one"));
    EXPECT_FALSE(ini.SectionExists("three"));
    EXPECT_TRUE(ini.KeyExists("One", "a"));
    EXPECT_FALSE(ini.KeyExists("One", "z"));
    CStringArray keys;
    EXPECT_EQ(2, ini.GetKeyNames("One", keys));
    EXPECT_STREQ("b", keys[1]);

    EXPECT_FALSE(ini.CopySection("One", "one"));       // the same section
    EXPECT_FALSE(ini.CopySection("None", "Three"));    // no source
    EXPECT_FALSE(ini.CopySection("One", "Two", TRUE)); // refused: target exists
    EXPECT_TRUE(ini.CopySection("One", "Two"));
    EXPECT_FALSE(ini.KeyExists("Two", "c")); // the target was replaced
    EXPECT_STREQ("2", ini.GetString("Two", "b"));
    EXPECT_TRUE(ini.MoveSection("Two", "Three"));
    EXPECT_FALSE(ini.SectionExists("Two"));

    EXPECT_TRUE(ini.CopyKey("One", "a", "Three", "z"));
    EXPECT_FALSE(ini.CopyKey("One", "a", "Three", "z", TRUE));
    EXPECT_TRUE(ini.MoveKey("One", "a", "One", "q"));
    EXPECT_FALSE(ini.KeyExists("One", "a"));
    EXPECT_TRUE(ini.DeleteKey("One", "q"));
    EXPECT_TRUE(ini.DeleteSection("Three"));
    CStringArray names;
    EXPECT_EQ(1, ini.GetSectionNames(names));
}

TEST(RegistryKey, Values)
{
    CRegistryKey reg;
    EXPECT_FALSE(reg.SetRootKey((HKEY)0x80000010));
    EXPECT_TRUE(reg.SetRootKey(HKEY_CURRENT_USER));
    const char* path = "Software\\SugarleafTests\\RegistryKey";
    reg.DeleteKey(path);
    EXPECT_FALSE(reg.SetKey(path, FALSE));
    EXPECT_NE(0, reg.GetLastResult());
    ASSERT_TRUE(reg.SetKey(path, TRUE));
    EXPECT_TRUE(reg.KeyExists(path));

    EXPECT_TRUE(reg.WriteString("s", "text"));
    EXPECT_STREQ("text", reg.ReadString("s", "def"));
    EXPECT_EQ((DWORD)REG_SZ, reg.GetValueType("s"));
    EXPECT_EQ(5u, reg.GetValueSize("s"));
    EXPECT_TRUE(reg.WriteInt("i", -7));
    EXPECT_EQ(-7, reg.ReadInt("i", 0));
    EXPECT_EQ((DWORD)REG_BINARY, reg.GetValueType("i"));
    EXPECT_TRUE(reg.WriteDouble("d", 2.5));
    EXPECT_EQ(2.5, reg.ReadDouble("d", 0));
    EXPECT_EQ(0.0, reg.ReadDouble("i", 0)); // 4 bytes are no double
    const RECT r = {1, 2, 3, 4};
    EXPECT_TRUE(reg.WriteRect("r", r));
    const RECT got = reg.ReadRect("r", RECT{});
    EXPECT_TRUE(EqualRect(&r, &got));
    const int three[3] = {5, 6, 7};
    EXPECT_TRUE(reg.WriteThree("t", three));
    int back[3] = {};
    EXPECT_TRUE(reg.ReadThree("t", back));
    EXPECT_EQ(7, back[2]);
    LOGFONTA font = {};
    font.lfHeight = -12;
    strcpy(font.lfFaceName, "Arial");
    EXPECT_TRUE(reg.WriteFont("f", &font));
    LOGFONTA fontBack = {};
    EXPECT_TRUE(reg.ReadFont("f", &fontBack));
    EXPECT_STREQ("Arial", fontBack.lfFaceName);
    EXPECT_EQ(60u, reg.GetValueSize("f"));
    EXPECT_EQ(6u, reg.GetValueCount());
    EXPECT_EQ(0u, reg.GetSubKeyCount());
    EXPECT_EQ(9u, reg.ReadDword("i", 9)); // not a REG_DWORD

    EXPECT_TRUE(reg.DeleteValue("s"));
    EXPECT_FALSE(reg.ValueExists("s"));
    EXPECT_STREQ("def", reg.ReadString("s", "def"));
    reg.Close();
    EXPECT_TRUE(reg.GetKey().IsEmpty());
    EXPECT_TRUE(reg.DeleteKey(path));
    EXPECT_TRUE(reg.DeleteKey(path)); // already gone
    EXPECT_FALSE(reg.KeyExists(path));
    reg.DeleteKey("Software\\SugarleafTests");
}

} // namespace
