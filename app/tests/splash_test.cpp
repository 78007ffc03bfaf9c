// The splash thread and window on their own: the window it shows, that it cannot be
// closed before the program allows it, and a hide that never waits without end.
#include <windows.h>
#include <gtest/gtest.h>

#include "app/shell/SplashThread.h"
#include "res/app_res.h"
#include "testsupport/Pump.h"
#include "testsupport/TestApp.h"

namespace {

class SplashFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { EnsureTestApp(); }

    // A splash thread as start-up makes it: suspended, owned by the caller.
    CSplashThread* Begin(UINT bitmap)
    {
        auto* thread = static_cast<CSplashThread*>(
            AfxBeginThread(RUNTIME_CLASS(CSplashThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED));
        if (thread != nullptr) {
            thread->m_bAutoDelete = FALSE;
            thread->SetBitmap(bitmap);
        }
        return thread;
    }
    static HWND WaitForWindow(CSplashThread* thread)
    {
        return thread->WaitForSplash(5000) ? thread->m_splash.GetSafeHwnd() : nullptr;
    }
    static void End(CSplashThread* thread)
    {
        thread->HideSplash();
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread->m_hThread, 5000));
        delete thread;
    }
};

TEST_F(SplashFixture, ShowsTheBitmapCentredAndCannotBeClosedByTheUser)
{
    CSplashThread* thread = Begin(IDB_SPLASH);
    ASSERT_NE(nullptr, thread);
    thread->ResumeThread();
    HWND splash = WaitForWindow(thread);
    ASSERT_NE(nullptr, splash);

    RECT r;
    GetWindowRect(splash, &r);
    EXPECT_EQ(640, r.right - r.left);
    EXPECT_EQ(480, r.bottom - r.top);
    EXPECT_NEAR((GetSystemMetrics(SM_CXSCREEN) - 640) / 2, r.left, 1);
    EXPECT_NEAR((GetSystemMetrics(SM_CYSCREEN) - 480) / 2, r.top, 1);
    EXPECT_EQ((DWORD)(WS_POPUP | WS_VISIBLE),
              (DWORD)GetWindowLong(splash, GWL_STYLE) & (WS_POPUP | WS_VISIBLE | WS_CAPTION));
    HWND owner = GetWindow(splash, GW_OWNER);
    ASSERT_NE(nullptr, owner);
    EXPECT_EQ(owner, thread->m_splash.GetOwnerHwnd());
    EXPECT_FALSE(IsWindowVisible(owner));

    // The palette holds the bitmap's own colour table.
    HBITMAP bitmap = (HBITMAP)LoadImageA(GetModuleHandle(nullptr), MAKEINTRESOURCEA(IDB_SPLASH), IMAGE_BITMAP, 0, 0,
                                         LR_CREATEDIBSECTION);
    ASSERT_NE(nullptr, bitmap);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RGBQUAD table[256];
    UINT colours = GetDIBColorTable(memory, 0, 256, table);
    EXPECT_EQ(256u, colours);
    PALETTEENTRY entries[256];
    ASSERT_EQ(256u, GetPaletteEntries(thread->m_splash.GetPalette(), 0, 256, entries));
    for (UINT i = 0; i < colours; i++) {
        EXPECT_EQ(table[i].rgbRed, entries[i].peRed) << i;
        EXPECT_EQ(table[i].rgbGreen, entries[i].peGreen) << i;
        EXPECT_EQ(table[i].rgbBlue, entries[i].peBlue) << i;
    }

    // What the window shows is the bitmap, pixel for pixel at its origin, once the splash's
    // own thread has painted it.
    RedrawWindow(splash, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC window = GetDC(splash);
    const POINT probes[] = {{0, 0}, {320, 100}, {320, 300}, {250, 300}, {639, 479}};
    auto shown = [&] {
        for (const POINT& p : probes)
            if (GetPixel(memory, p.x, p.y) != GetPixel(window, p.x, p.y))
                return false;
        return true;
    };
    PumpUntil(shown, 5000);
    for (const POINT& p : probes)
        EXPECT_EQ(GetPixel(memory, p.x, p.y), GetPixel(window, p.x, p.y)) << p.x << "," << p.y;
    ReleaseDC(splash, window);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);

    // A close request (Alt+F4, the close command) is ignored until the program hides it.
    SendMessage(splash, WM_CLOSE, 0, 0);
    SendMessage(splash, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(splash));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(thread->m_hThread, 100));

    thread->HideSplash();
    EXPECT_FALSE(IsWindow(splash));
    EXPECT_FALSE(IsWindow(owner)); // the owner goes with it
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread->m_hThread, 5000)) << "thread ended";
    delete thread;
}

TEST_F(SplashFixture, HideNeverWaitsWithoutEnd)
{
    CSplashThread* thread = Begin(IDB_SPLASH);
    ASSERT_NE(nullptr, thread);
    // Not resumed: its window never comes.  The hide gives up instead of hanging.
    DWORD start = GetTickCount();
    thread->HideSplash(300);
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 250u);
    EXPECT_LT(took, 3000u);
    thread->ResumeThread();
    ASSERT_NE(nullptr, WaitForWindow(thread));
    End(thread);
}

TEST_F(SplashFixture, MissingBitmapGivesAnEmptyWindow)
{
    CSplashThread* thread = Begin(12345);
    ASSERT_NE(nullptr, thread);
    thread->ResumeThread();
    HWND splash = WaitForWindow(thread);
    ASSERT_NE(nullptr, splash);
    RECT r;
    GetWindowRect(splash, &r);
    EXPECT_EQ(0, r.right - r.left);
    EXPECT_EQ(0, r.bottom - r.top);
    EXPECT_EQ(0, thread->m_splash.GetBitmapWidth());
    End(thread);
}

} // namespace
