// The splash windows that start-up does not use: the animated splash (its shape, place and
// text, and what hides it) and the splash thread's other ways of naming its bitmap.
#include <windows.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shell/SplashScreenEx.h"
#include "app/shell/SplashThread.h"
#include "res/app_res.h"
#include "testsupport/Dump.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"

namespace {

const COLORREF kKey = RGB(255, 0, 255);
const COLORREF kInside = RGB(0, 0, 200);

// A 60 x 40 24-bit bitmap file: a 10-pixel border of the key colour around 40 x 20 of blue.
std::string WriteSplashBitmap()
{
    const int w = 60, h = 40, row = (w * 3 + 3) & ~3;
    std::vector<BYTE> file(54 + (size_t)row * h, 0);
    BITMAPFILEHEADER* fh = reinterpret_cast<BITMAPFILEHEADER*>(file.data());
    fh->bfType = 0x4D42;
    fh->bfSize = (DWORD)file.size();
    fh->bfOffBits = 54;
    BITMAPINFOHEADER* ih = reinterpret_cast<BITMAPINFOHEADER*>(file.data() + 14);
    ih->biSize = 40;
    ih->biWidth = w;
    ih->biHeight = h;
    ih->biPlanes = 1;
    ih->biBitCount = 24;
    for (int y = 0; y < h; ++y) // bottom-up rows, blue green red
        for (int x = 0; x < w; ++x) {
            const bool inside = x >= 10 && x < 50 && y >= 10 && y < 30;
            const COLORREF c = inside ? kInside : kKey;
            BYTE* p = &file[54 + (size_t)(h - 1 - y) * row + (size_t)x * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    const std::string path = "splash_ex.bmp";
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    WriteFile(f, file.data(), (DWORD)file.size(), &done, nullptr);
    CloseHandle(f);
    return path;
}

// Tells when the self-deleting splash is gone.
class ProbedSplash : public CSplashScreenEx
{
public:
    explicit ProbedSplash(bool* deleted) : m_deleted(deleted) { *deleted = false; }
    ~ProbedSplash() override { *m_deleted = true; }

private:
    bool* m_deleted;
};

// Pixels of a window's client area of one colour, within a rectangle.
int CountColour(HWND wnd, const RECT& r, COLORREF colour)
{
    HDC dc = GetDC(wnd);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += GetPixel(dc, x, y) == colour;
    ReleaseDC(wnd, dc);
    return n;
}

class SplashEx : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        EnsureTestApp();
        s_bitmap = WriteSplashBitmap();
    }
    static void TearDownTestSuite() { DeleteFileA(s_bitmap.c_str()); }
    // Hides a splash that is still there and waits for it to be deleted.
    static void End(CSplashScreenEx* splash, bool* deleted)
    {
        if (!*deleted)
            splash->Hide();
        EXPECT_TRUE(PumpUntil([&] { return *deleted; }, 5000));
    }

    static std::string s_bitmap;
};
std::string SplashEx::s_bitmap;

// First in this file: the window class is registered by the first splash, with the shadow.
TEST_F(SplashEx, ShapedByItsTransparentColourAndCentred)
{
    const struct
    {
        DWORD style;
        bool keyed;
    } cases[] = {
        {CSplashScreenEx::kShadow | CSplashScreenEx::kCentreScreen, true},
        {CSplashScreenEx::kCentreScreen, false},
    };
    for (const auto& c : cases) {
        bool deleted = false;
        ProbedSplash* splash = new ProbedSplash(&deleted);
        ASSERT_TRUE(splash->Create(nullptr, "", 0, c.style));
        const HWND wnd = splash->GetSafeHwnd();
        ASSERT_TRUE(c.keyed ? splash->SetBitmap(s_bitmap.c_str(), 255, 0, 255) : splash->SetBitmap(s_bitmap.c_str()));
        char cls[64] = {};
        GetClassNameA(wnd, cls, sizeof cls);
        EXPECT_STREQ("SplashScreenExClass", cls);
        const DWORD classStyle = (DWORD)GetClassLongPtrA(wnd, GCL_STYLE);
        EXPECT_EQ((DWORD)(CS_SAVEBITS | CS_DBLCLKS), classStyle & (CS_SAVEBITS | CS_DBLCLKS));
        if (c.style & CSplashScreenEx::kShadow) {
            EXPECT_TRUE(classStyle & CS_DROPSHADOW);
        }
        EXPECT_EQ((DWORD)(WS_EX_TOPMOST | WS_EX_TOOLWINDOW),
                  (DWORD)GetWindowLongPtrA(wnd, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
        EXPECT_FALSE(IsWindowVisible(wnd));

        RECT r;
        GetWindowRect(wnd, &r);
        EXPECT_EQ(60, r.right - r.left);
        EXPECT_EQ(40, r.bottom - r.top);
        EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 60) / 2, r.left);
        EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 40) / 2, r.top);

        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        const int kind = GetWindowRgn(wnd, shape);
        if (c.keyed) {
            EXPECT_NE(ERROR, kind);
            const POINT in[] = {{10, 10}, {30, 20}, {49, 29}}, out[] = {{5, 5}, {9, 20}, {50, 20}, {30, 30}};
            for (const POINT& p : in)
                EXPECT_TRUE(PtInRegion(shape, p.x, p.y)) << p.x << "," << p.y;
            for (const POINT& p : out)
                EXPECT_FALSE(PtInRegion(shape, p.x, p.y)) << p.x << "," << p.y;
        } else {
            EXPECT_EQ(ERROR, kind) << "no transparent colour: no shape";
        }
        DeleteObject(shape);

        splash->Show();
        EXPECT_TRUE(IsWindowVisible(wnd));
        EXPECT_NE(wnd, GetActiveWindow()) << "shown without activation";
        End(splash, &deleted);
        EXPECT_FALSE(IsWindow(wnd));
    }
}

TEST_F(SplashEx, CentredOnItsParent)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, 100, 80, 400, 300, nullptr, nullptr));
    bool deleted = false;
    ProbedSplash* splash = new ProbedSplash(&deleted);
    ASSERT_TRUE(splash->Create(&parent, "", 0, CSplashScreenEx::kCentreParent));
    ASSERT_TRUE(splash->SetBitmap(s_bitmap.c_str()));
    RECT r;
    GetWindowRect(splash->GetSafeHwnd(), &r);
    EXPECT_EQ(100 + (400 - 60) / 2, r.left);
    EXPECT_EQ(80 + (300 - 40) / 2, r.top);
    End(splash, &deleted);
    parent.DestroyWindow();
}

// The text in its colour, font and rectangle over the bitmap; each change shows at once.
TEST_F(SplashEx, TextIsDrawnAndRedrawnAtOnce)
{
    bool deleted = false;
    ProbedSplash* splash = new ProbedSplash(&deleted);
    ASSERT_TRUE(splash->Create(nullptr, "MMM", 0, CSplashScreenEx::kCentreScreen));
    ASSERT_TRUE(splash->SetBitmap(s_bitmap.c_str()));
    splash->SetTextColor(RGB(255, 255, 255));
    ASSERT_TRUE(splash->SetTextFont("Arial", 12, CSplashScreenEx::kBold));
    splash->SetTextRect(CRect(10, 10, 50, 30));
    splash->Show();
    const HWND wnd = splash->GetSafeHwnd();
    const RECT text = {10, 10, 50, 30}, border = {0, 0, 60, 10};
    ASSERT_TRUE(PumpUntil([&] { return CountColour(wnd, text, RGB(255, 255, 255)) > 10; }, 5000))
        << "no white text on the bitmap";
    EXPECT_GT(CountColour(wnd, text, kInside), 100) << "the bitmap behind the text";
    EXPECT_EQ(0, CountColour(wnd, border, RGB(255, 255, 255))) << "text outside its rectangle";
    SaveScreenshot(wnd, "splash-ex-text");

    // No message handled in between: each setter repaints by itself.
    splash->SetTextColor(RGB(255, 255, 0));
    EXPECT_GT(CountColour(wnd, text, RGB(255, 255, 0)), 10);
    EXPECT_EQ(0, CountColour(wnd, text, RGB(255, 255, 255)));
    splash->SetText("");
    EXPECT_EQ(0, CountColour(wnd, text, RGB(255, 255, 0)));
    End(splash, &deleted);
}

// The display time hides it, faded where the system can; with the input style the first key
// or click does; without it the same input leaves it shown.  Each time the object goes too.
TEST_F(SplashEx, HiddenByItsTimeOrTheFirstInput)
{
    using S = CSplashScreenEx;
    const struct
    {
        const char* what;
        DWORD style, time;
        UINT message;
        bool hides;
    } cases[] = {
        {"display time, faded", S::kFadeIn | S::kFadeOut | S::kCentreScreen, 150, 0, true},
        {"key", S::kHideOnInput, 0, WM_KEYDOWN, true},
        {"system key", S::kHideOnInput, 0, WM_SYSKEYDOWN, true},
        {"right button", S::kHideOnInput, 0, WM_RBUTTONDOWN, true},
        {"left button on the frame", S::kHideOnInput, 0, WM_NCLBUTTONDOWN, true},
        {"key without the input style", S::kCentreScreen, 0, WM_KEYDOWN, false},
        {"button without the input style", S::kCentreScreen, 0, WM_LBUTTONDOWN, false},
    };
    for (const auto& c : cases) {
        bool deleted = false;
        ProbedSplash* splash = new ProbedSplash(&deleted);
        ASSERT_TRUE(splash->Create(nullptr, "", c.time, c.style)) << c.what;
        ASSERT_TRUE(splash->SetBitmap(s_bitmap.c_str())) << c.what;
        const HWND wnd = splash->GetSafeHwnd();
        splash->Show();
        EXPECT_TRUE(IsWindowVisible(wnd)) << c.what;
        if (c.message != 0)
            SendMessageA(wnd, c.message, 0, 0); // handled when the call returns
        if (c.hides) {
            EXPECT_TRUE(PumpUntil([&] { return deleted; }, 5000)) << c.what;
            EXPECT_FALSE(IsWindow(wnd)) << c.what;
        } else {
            EXPECT_FALSE(deleted) << c.what;
            EXPECT_TRUE(IsWindowVisible(wnd)) << c.what;
            End(splash, &deleted);
        }
    }
}

// The splash thread's bitmap by a 16-bit id, by the whole id, or from a file; an id that
// names no resource gives an empty window instead of being read as an address.
TEST_F(SplashEx, SplashThreadBitmapVariants)
{
    const struct
    {
        const char* what;
        void (*set)(CSplashThread*);
        int w, h;
    } cases[] = {
        {"low 16 bits", [](CSplashThread* t) { t->SetBitmap(IDB_SPLASH | 0x10000); }, 640, 480},
        {"whole id", [](CSplashThread* t) { t->SetBitmapResource(IDB_SPLASH); }, 640, 480},
        {"whole id above 16 bits", [](CSplashThread* t) { t->SetBitmapResource(IDB_SPLASH | 0x10000); }, 0, 0},
        {"file", [](CSplashThread* t) { t->SetBitmapFile(s_bitmap.c_str()); }, 60, 40},
    };
    for (const auto& c : cases) {
        auto* thread = static_cast<CSplashThread*>(
            AfxBeginThread(RUNTIME_CLASS(CSplashThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED));
        ASSERT_NE(nullptr, thread) << c.what;
        thread->m_bAutoDelete = FALSE;
        c.set(thread);
        thread->ResumeThread();
        ASSERT_TRUE(thread->WaitForSplash(5000)) << c.what;
        RECT r;
        GetWindowRect(thread->m_splash.GetSafeHwnd(), &r);
        EXPECT_EQ(c.w, r.right - r.left) << c.what;
        EXPECT_EQ(c.h, r.bottom - r.top) << c.what;
        thread->HideSplash();
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread->m_hThread, 5000)) << c.what;
        delete thread;
    }
}

} // namespace
