// A drawer with a plain style sheet, a canvas to measure and draw on, and a reference canvas
// on which the tests draw what the drawer should have drawn, with plain GDI.
#pragma once
#include "html/HtmlDrawer.h"
#include "html_test_util.h"
#include "testsupport/DibSurface.h"
#include "testsupport/Dump.h"

namespace html_test {

class HtmlDrawerTest : public ::testing::Test
{
protected:
    static const int kWidth = 400;
    static const int kHeight = 240;
    // The body in a 16-pixel Arial; tests name other fonts themselves.
    static constexpr const char* kSheet = "body {font-size: 16px; font-family: arial; color: black}";

    HtmlDrawerTest() : canvas(kWidth, kHeight, RGB(255, 255, 255)), reference(kWidth, kHeight, RGB(255, 255, 255))
    {
        drawer.SetCssStyles(kSheet);
    }

    // Measures text on the canvas.
    SIZE Measure(LPCTSTR text)
    {
        SIZE size = {-1, -1};
        drawer.PrepareOutput(canvas.Hdc(), text, &size);
        return size;
    }
    // Measures text and draws it at (0, 0) in its measured size; returns the size.
    SIZE Render(LPCTSTR text)
    {
        const SIZE size = Measure(text);
        const RECT rect = {0, 0, size.cx, size.cy};
        drawer.DrawPreparedOutput(canvas.Hdc(), &rect);
        return size;
    }
    // The canvas and the reference are the same, pixel for pixel.
    void ExpectSameAsReference(const char* what)
    {
        const std::string diff = canvas.Diff(reference);
        EXPECT_EQ("", diff) << what;
        // SL_DUMP_DIR (a Windows folder) keeps both pictures of a difference for a look.
        if (!diff.empty()) {
            const CString name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
            DumpPng(canvas, name + "-drawn");
            DumpPng(reference, name + "-reference");
        }
    }

    CPPHtmlDrawer drawer;
    DibSurface canvas;
    DibSurface reference;
};

} // namespace html_test
