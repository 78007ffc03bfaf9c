// The test prefix must give GDI+ the fonts the program names and the Western code page.
#include <windows.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

namespace {

TEST(Platform, ArialIsAvailableToGdiplus)
{
    for (const wchar_t* face : {L"Arial", L"Times New Roman", L"Courier New"}) {
        Gdiplus::FontFamily family(face);
        EXPECT_EQ(Gdiplus::Ok, family.GetLastStatus()) << "font family missing";
        Gdiplus::GraphicsPath path;
        Gdiplus::StringFormat format;
        path.AddString(L"Cake", -1, &family, Gdiplus::FontStyleRegular, 20.0f, Gdiplus::PointF(0, 0), &format);
        EXPECT_GT(path.GetPointCount(), 10);
    }
}

TEST(Platform, AnsiCodePageIsWestern) { EXPECT_EQ(1252u, GetACP()); }

} // namespace
