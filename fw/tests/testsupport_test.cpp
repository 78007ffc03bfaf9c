// The shared test helpers see what they are for: a leak check that sees a leak, a wait
// that ends on its condition and at its bound, a dialog driver that answers dialogs in
// turn and fails a test on a dialog no step expected.
#include "window_test_app.h"
#include "window_test_res.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/GdiCheck.h"
#include "testsupport/Input.h"
#include "testsupport/Pixels.h"
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include <memory>
#include <string>
#include <vector>

namespace {

TEST(TestSupport, LiveGdiCheckSeesObjectsAndWrappersLeftAlive)
{
    static const struct
    {
        const char* what;
        int rawBrushes;
        int wrappers;
    } cases[] = {
        {"nothing left", 0, 0},
        {"ten brushes", 10, 0},
        {"one wrapper", 0, 1},
    };
    for (const auto& c : cases) {
        std::vector<HBRUSH> raw;
        std::vector<std::unique_ptr<CBrush>> wrapped;
        LiveGdiCheck check;
        for (int i = 0; i < c.rawBrushes; ++i)
            raw.push_back(::CreateSolidBrush(RGB(i, 1, 2)));
        for (int i = 0; i < c.wrappers; ++i)
            wrapped.push_back(std::make_unique<CBrush>(RGB(i, 3, 4)));
        // Made and deleted meanwhile: no trace.
        ::DeleteObject(::CreateSolidBrush(RGB(9, 9, 9)));
        EXPECT_GE(check.ObjectsAdded(), c.rawBrushes + c.wrappers) << c.what;
        EXPECT_EQ(c.wrappers, check.WrappersAdded()) << c.what;
        EXPECT_EQ(c.rawBrushes + c.wrappers == 0, (bool)check.Unchanged()) << c.what;
        for (HBRUSH b : raw)
            ::DeleteObject(b);
        wrapped.clear();
        EXPECT_TRUE(check.Unchanged()) << c.what << ", once deleted";
    }
}

TEST(TestSupport, SamePixelsCountsTheDifferencesAndNamesTheFirst)
{
    const Picture square{2, 2, {1, 2, 3, 4}};
    static const struct
    {
        const char* what;
        Picture other;
        const char* message; // empty: the same
    } cases[] = {
        {"the same", {2, 2, {1, 2, 3, 4}}, ""},
        {"two pixels", {2, 2, {1, 9, 3, 5}}, "2 of 4 pixels differ; the first at 1,0: 0x00000002 != 0x00000009"},
        {"alpha only", {2, 2, {1, 2, 3, 0xFF000004}}, "1 of 4 pixels differ; the first at 1,1"},
        {"one row", {4, 1, {1, 2, 3, 4}}, "sizes differ: 2 x 2 and 4 x 1"},
        {"nothing read", {}, "a picture could not be read"},
    };
    for (const auto& c : cases) {
        const ::testing::AssertionResult result = SamePixels(square, c.other);
        EXPECT_EQ(*c.message == 0, (bool)result) << c.what;
        EXPECT_NE(std::string::npos, std::string(result.message()).find(c.message))
            << c.what << ": " << result.message();
    }

    // Bitmaps: read through GDI+, a missing one fails.
    Gdiplus::Bitmap a(3, 2, PixelFormat32bppARGB), b(3, 2, PixelFormat32bppARGB);
    EXPECT_TRUE(SamePixels(&a, &b));
    b.SetPixel(2, 1, Gdiplus::Color(0xFF102030));
    EXPECT_FALSE(SamePixels(&a, &b));
    EXPECT_EQ(0xFF102030u, PictureOf(b).At(2, 1));
    EXPECT_FALSE(SamePixels(&a, nullptr));
}

bool g_ticked = false;
void CALLBACK Ticked(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    g_ticked = true;
}

TEST(TestSupport, PumpUntilEndsOnItsConditionOrAtItsBound)
{
    g_ticked = false;
    ::SetTimer(nullptr, 0, 30, &Ticked);
    EXPECT_TRUE(PumpUntil([] { return g_ticked; }, 5000)) << "the timer's message was handled";
    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(PumpUntil([] { return false; }, 200));
    const DWORD took = ::GetTickCount() - start;
    EXPECT_GE(took, 190u);
    EXPECT_LT(took, 3000u);
}

TEST(TestSupport, DialogDriverAnswersInTurnAndFailsOnADialogNoStepExpected)
{
    CString typed;
    CDialog first(IDD_TEST_CONTROLS), second(IDD_TEST_CONTROLS), third(IDD_TEST_CONTROLS);
    EXPECT_NONFATAL_FAILURE(
        {
            DialogDriver driver({[&](HWND dlg) {
                                     TypeText(dlg, IDC_TEST_EDIT, "cake");
                                     typed = ItemText(dlg, IDC_TEST_EDIT);
                                     Press(dlg, IDOK);
                                 },
                                 [](HWND dlg) { Press(dlg, IDCANCEL); }});
            EXPECT_EQ(IDOK, first.DoModal());
            EXPECT_EQ(IDCANCEL, second.DoModal());
            EXPECT_EQ(IDCANCEL, third.DoModal()) << "cancelled by the driver";
            EXPECT_EQ(2u, driver.StepsTaken());
            EXPECT_EQ(std::vector<std::string>{"Controls"}, driver.Unexpected());
        },
        "a dialog that no step expected came and was cancelled: \"Controls\"");
    EXPECT_STREQ("cake", (LPCTSTR)typed);
}

TEST(TestSupport, DialogDriverCancelsADialogItsStepLeftOpen)
{
    CDialog dlg(IDD_TEST_CONTROLS);
    EXPECT_NONFATAL_FAILURE(
        {
            DialogDriver driver([](HWND) {}); // gives no input
            driver.SetStepBound(300);
            EXPECT_EQ(IDCANCEL, dlg.DoModal());
            EXPECT_TRUE(driver.Acted());
        },
        "a dialog was still open after its step and was cancelled: \"Controls\"");
}

TEST(TestSupport, PressOnAControlAPersonCannotUseFails)
{
    CDialog dlg(IDD_TEST_CONTROLS);
    EXPECT_NONFATAL_FAILURE(
        {
            DialogDriver driver([](HWND d) {
                ::EnableWindow(::GetDlgItem(d, IDOK), FALSE);
                Press(d, IDOK);
            });
            EXPECT_EQ(IDOK, dlg.DoModal()) << "the click still ends the dialog";
        },
        "control 1 is disabled");
}

} // namespace
