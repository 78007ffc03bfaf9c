// CString: formatting, editing, sharing and the ANSI <-> UTF-16 conversions.
#include "fw/fw.h"
#include "fw/res/fwres.h"
#include <gtest/gtest.h>

namespace {

CString F(LPCSTR format, ...)
{
    CString s;
    va_list args;
    va_start(args, format);
    s.FormatV(format, args);
    va_end(args);
    return s;
}

TEST(CStringFormat, PrintfTable)
{
    CString key("metric"), value("1");
    struct
    {
        CString got;
        const char* want;
    } cases[] = {
        {F("%s", (LPCTSTR)key), "metric"},
        {F("%s==%s", (LPCTSTR)key, (LPCTSTR)value), "metric==1"},
        {F("%s\\%s", "C:\\data", "ziviz.dat"), "C:\\data\\ziviz.dat"},
        {F("%d", -42), "-42"},
        {F("%d%%", 50), "50%"},
        {F("%dmm", 254), "254mm"},
        {F("%f", 1.5), "1.500000"},
        {F("%f", 0.1f), "0.100000"},
        {F("%0.2f", 2.5), "2.50"},
        {F("%0.2f", 1.0 / 3), "0.33"},
        {F("%0.2f", -0.5), "-0.50"},
        {F("%0.0f%%", 250.0), "250%"},
        {F("%08x", 0xBEEFu), "0000beef"},
        {F("%02X%02X%02X", 255, 128, 0), "FF8000"},
        {F("%u", 4000000000u), "4000000000"},
        {F("%c%c", 'o', 'k'), "ok"},
        {F("%5s|%-3d|", "ab", 7), "   ab|7  |"},
        {F("%s", ""), ""},
        {F(""), ""},
    };
    for (auto& c : cases) {
        EXPECT_STREQ(c.want, (LPCTSTR)c.got);
        EXPECT_EQ((int)strlen(c.want), c.got.GetLength()) << c.want;
    }
}

TEST(CStringFormat, LongResultAndOwnTextAsArgument)
{
    CString long_;
    long_.Format("%0500d", 7);
    EXPECT_EQ(500, long_.GetLength());
    EXPECT_EQ('7', long_[499]);
    EXPECT_EQ('0', long_[0]);

    CString s("cake");
    s.Format("%s and %s", (LPCTSTR)s, (LPCTSTR)s);
    EXPECT_STREQ("cake and cake", s);

    s.AppendFormat(" x%d", 2);
    EXPECT_STREQ("cake and cake x2", s);
}

TEST(CString, ExtractionTable)
{
    CString s("Hello, cake");
    struct
    {
        CString got;
        const char* want;
    } cases[] = {
        {s.Left(5), "Hello"},
        {s.Left(0), ""},
        {s.Left(-1), ""},
        {s.Left(100), "Hello, cake"},
        {s.Right(4), "cake"},
        {s.Right(100), "Hello, cake"},
        {s.Right(-2), ""},
        {s.Mid(7), "cake"},
        {s.Mid(7, 2), "ca"},
        {s.Mid(7, 100), "cake"},
        {s.Mid(100), ""},
        {s.Mid(-3, 2), "He"},
        {s.SpanIncluding("Hel"), "Hell"},
        {s.SpanExcluding(",."), "Hello"},
    };
    for (auto& c : cases)
        EXPECT_STREQ(c.want, (LPCTSTR)c.got);
}

TEST(CString, SearchTable)
{
    CString s("a.b.c\\d.png");
    struct
    {
        int got;
        int want;
    } cases[] = {
        {s.Find('.'), 1},         {s.Find('.', 2), 3},      {s.Find('.', 100), -1},  {s.Find('x'), -1},
        {s.Find("b.c"), 2},       {s.Find("png", 9), -1},   {s.Find(""), 0},         {s.ReverseFind('.'), 7},
        {s.ReverseFind('\\'), 5}, {s.ReverseFind('z'), -1}, {s.FindOneOf("\\c"), 4}, {s.FindOneOf("xyz"), -1},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i)
        EXPECT_EQ(cases[i].want, cases[i].got) << "case " << i;
    EXPECT_EQ(8, s.Find("png"));
}

TEST(CString, EditingTable)
{
    struct Case
    {
        const char* start;
        void (*edit)(CString&);
        const char* want;
    } cases[] = {
        {"a#b#c", [](CString& s) { EXPECT_EQ(2, s.Replace('#', '\n')); }, "a\nb\nc"},
        {"aXXbXX", [](CString& s) { EXPECT_EQ(2, s.Replace("XX", "yyy")); }, "ayyybyyy"},
        {"abc", [](CString& s) { EXPECT_EQ(0, s.Replace("", "z")); }, "abc"},
        {"a.b.c", [](CString& s) { EXPECT_EQ(2, s.Replace(".", "")); }, "abc"},
        {"a b  c ", [](CString& s) { EXPECT_EQ(4, s.Remove(' ')); }, "abc"},
        {"  \t pad \r\n", [](CString& s) { s.Trim(); }, "pad"},
        {"  pad  ", [](CString& s) { s.TrimLeft(); }, "pad  "},
        {"  pad  ", [](CString& s) { s.TrimRight(); }, "  pad"},
        {"xxpadxx", [](CString& s) { s.Trim('x'); }, "pad"},
        {"0012.500",
         [](CString& s) {
             s.TrimRight("0");
             s.TrimLeft('0');
         },
         "12.5"},
        {"MiXed", [](CString& s) { s.MakeUpper(); }, "MIXED"},
        {"MiXed", [](CString& s) { s.MakeLower(); }, "mixed"},
        {"abc", [](CString& s) { s.MakeReverse(); }, "cba"},
        {"ac", [](CString& s) { EXPECT_EQ(3, s.Insert(1, 'b')); }, "abc"},
        {"ad", [](CString& s) { s.Insert(1, "bc"); }, "abcd"},
        {"ab", [](CString& s) { s.Insert(99, "c"); }, "abc"},
        {"abcdef", [](CString& s) { EXPECT_EQ(4, s.Delete(1, 2)); }, "adef"},
        {"abc", [](CString& s) { s.Delete(2, 99); }, "ab"},
        {"abc", [](CString& s) { s.Delete(5); }, "abc"},
        {"abc", [](CString& s) { s.SetAt(1, 'X'); }, "aXc"},
        {"ab",
         [](CString& s) {
             s += 'c';
             s += "de";
             s += CString("f");
         },
         "abcdef"},
        {"abc", [](CString& s) { s.Empty(); }, ""},
    };
    for (auto& c : cases) {
        CString s(c.start);
        c.edit(s);
        EXPECT_STREQ(c.want, (LPCTSTR)s) << "from \"" << c.start << "\"";
        EXPECT_EQ((int)strlen(c.want), s.GetLength());
    }
}

TEST(CString, CompareAndConcatenate)
{
    CString a("Apple"), b("apple");
    EXPECT_LT(a.Compare(b), 0);
    EXPECT_EQ(0, a.CompareNoCase(b));
    EXPECT_TRUE(a == "Apple");
    EXPECT_TRUE("Apple" == a);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(a < b);
    EXPECT_FALSE(CString() == "x");
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_TRUE(CString((LPCSTR)NULL).IsEmpty());

    CString joined = "[" + a + ']' + "-" + 'x';
    EXPECT_STREQ("[Apple]-x", joined);
    EXPECT_STREQ("aaa", CString('a', 3));
    EXPECT_STREQ("ab", CString("abc", 2));
}

TEST(CString, CopiesAreIndependent)
{
    CString a("shared");
    CString b(a);
    CString c;
    c = a;
    b.SetAt(0, 'S');
    c += "!";
    LPSTR p = a.GetBuffer(20);
    strcpy(p, "own buffer");
    a.ReleaseBuffer();
    EXPECT_STREQ("own buffer", a);
    EXPECT_EQ(10, a.GetLength());
    EXPECT_STREQ("Shared", b);
    EXPECT_STREQ("shared!", c);

    CString d(a);
    a.ReleaseBuffer(3); // explicit length cuts
    EXPECT_STREQ("own", a);
    EXPECT_STREQ("own buffer", d);

    CString moved(std::move(d));
    EXPECT_STREQ("own buffer", moved);
    EXPECT_TRUE(d.IsEmpty());

    CString self("self");
    self = self;
    self += self;
    EXPECT_STREQ("selfself", self);
    self += self.Mid(2);
    EXPECT_STREQ("selfselflfself", self);
}

TEST(CString, GetBufferSetLengthAndTokenize)
{
    CString s;
    LPSTR p = s.GetBufferSetLength(3);
    memcpy(p, "xyz", 3);
    s.ReleaseBuffer(3);
    EXPECT_STREQ("xyz", s);

    CString line("15,,255, 7");
    const char* want[] = {"15", "255", " 7"};
    int pos = 0, n = 0;
    for (CString t = line.Tokenize(",", pos); pos != -1; t = line.Tokenize(",", pos)) {
        ASSERT_LT(n, 3);
        EXPECT_STREQ(want[n++], t);
    }
    EXPECT_EQ(3, n);
}

TEST(CStringConversion, CafeRoundTripInWesternCodePage)
{
    ASSERT_EQ(1252u, GetACP());
    CString ansi("Caf\xE9");
    CStringW wide(ansi);
    ASSERT_EQ(4, wide.GetLength());
    EXPECT_EQ(0, wcscmp(L"Caf\u00E9", wide));
    CString back(wide);
    EXPECT_STREQ("Caf\xE9", back);

    BSTR bstr = ansi.AllocSysString();
    ASSERT_NE(nullptr, bstr);
    EXPECT_EQ(4u, SysStringLen(bstr));
    EXPECT_EQ(0xE9, bstr[3]);
    EXPECT_STREQ("Caf\xE9", CString(bstr));
    SysFreeString(bstr);

    BSTR target = SysAllocString(L"old text");
    CString("Caf\xE9 cr\xE8me").SetSysString(&target);
    EXPECT_EQ(0, wcscmp(L"Caf\u00E9 cr\u00E8me", target));
    SysFreeString(target);

    // The euro sign sits at 0x80 in code page 1252.
    EXPECT_STREQ("\x80", CString(L"\u20AC"));
    EXPECT_EQ(0x20AC, CStringW("\x80")[0]);
    EXPECT_TRUE(CString((LPCWSTR)NULL).IsEmpty());
    EXPECT_EQ(0, CStringW((LPCSTR)NULL).GetLength());
    EXPECT_STREQ("Ca", CString(L"Caf\u00E9", 2));
}

TEST(CStringResource, LoadsFromTheStringTable)
{
    CString s;
    EXPECT_TRUE(s.LoadString(FW_IDS_UNTITLED));
    EXPECT_STREQ("Untitled", s);
    EXPECT_STREQ("Untitled", CString(MAKEINTRESOURCEA(FW_IDS_UNTITLED)));
    EXPECT_FALSE(s.LoadString(FW_IDS_UNTITLED + 1));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_FALSE(s.LoadString(12345));
}

} // namespace
