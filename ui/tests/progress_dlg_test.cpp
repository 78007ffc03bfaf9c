// The progress dialog run as the image edit dialog runs it: a worker thread per showing that
// reports through the callback, a Cancel that only sets the flag, and the runs that would
// otherwise leave a modal dialog nobody can close.
#include "ui/ProgressDlg.h"
#include "ui/tests/ui_test_util.h"

#include "fw/fwworker.h"
#include "res/ui_res.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/Dump.h"
#include "testsupport/Input.h"
#include "testsupport/Pump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <vector>

namespace {

// What the workers and the test's checks share; one run at a time.
struct WorkerRun
{
    HANDLE go = ::CreateEvent(nullptr, FALSE, FALSE, nullptr);
    std::atomic<bool> reported{false};
    std::atomic<bool> ran{false};
    std::vector<int> answers;
    bool openAtZero = false;
    HWND dialog = nullptr; // as the worker was given it
    bool hadBar = false;
    EffectJob seen = {};
    ~WorkerRun() { ::CloseHandle(go); }
};
WorkerRun* g_run = nullptr;

// A check that runs on the UI thread (inside the dialog's loop) once the worker reported.
std::function<void()> g_check;
void CALLBACK CheckWhenReported(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g_run->reported.load() || !g_check)
        return;
    g_run->reported = false;
    auto check = g_check;
    check();
}

// Reports (50, 100) and then (0, 0), waiting after each until the test has looked.
UINT HalfThenEmpty(LPVOID parameter)
{
    EffectJob* job = static_cast<EffectJob*>(parameter);
    g_run->dialog = job->dialog;
    g_run->answers.push_back(job->progress(50, 100, job->dialog));
    g_run->reported = true;
    ::WaitForSingleObject(g_run->go, 10000);
    g_run->answers.push_back(job->progress(0, 0, job->dialog));
    g_run->reported = true;
    ::WaitForSingleObject(g_run->go, 10000);
    ::PostMessage(job->dialog, WM_PROGRESS_DONE, 0, 0);
    delete job;
    return 0;
}

int BarPos(HWND bar, PBRANGE* range)
{
    ::SendMessage(bar, PBM_GETRANGE, FALSE, (LPARAM)range);
    return (int)::SendMessage(bar, PBM_GETPOS, 0, 0);
}

TEST(ProgressDlg, ReportsFillTheBar)
{
    WorkerRun run;
    g_run = &run;
    DialogDriver driver([](HWND) {}); // the worker's own reports drive this run
    int step = 0;
    int pos[2] = {-1, -1};
    PBRANGE range[2] = {};
    COLORREF quarter = 0, threeQuarters = 0, filled = ::GetSysColor(COLOR_HIGHLIGHT);
    g_check = [&]() {
        HWND dialog = g_run->dialog;
        HWND bar = ::GetDlgItem(dialog, IDC_PROGRESS_BAR);
        pos[step] = BarPos(bar, &range[step]);
        if (step == 0) {
            ::RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            CRect r;
            ::GetClientRect(bar, &r);
            HDC dc = ::GetDC(bar);
            quarter = ::GetPixel(dc, r.Width() / 4, r.Height() / 2);
            threeQuarters = ::GetPixel(dc, r.Width() * 3 / 4, r.Height() / 2);
            ::ReleaseDC(bar, dc);
            CaptureToPng(dialog, "progress-half");
        }
        ++step;
        ::SetEvent(g_run->go);
    };
    UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &CheckWhenReported);
    CProgressDlg dlg;
    dlg.SetThreadProc(&HalfThenEmpty);
    EXPECT_EQ(IDOK, dlg.DoModal());
    ::KillTimer(nullptr, timer);
    g_check = nullptr;
    ASSERT_TRUE(driver.Acted());
    ASSERT_EQ(2, step);
    EXPECT_EQ(50, pos[0]);
    EXPECT_EQ(0, range[0].iLow);
    EXPECT_EQ(100, range[0].iHigh);
    EXPECT_EQ(filled, quarter) << "a quarter of the way along is inside the bar";
    EXPECT_NE(filled, threeQuarters) << "three quarters of the way along is beyond it";
    EXPECT_EQ(0, pos[1]);
    EXPECT_EQ(0, range[1].iHigh) << "a total of 0 sets an empty range";
    EXPECT_EQ((std::vector<int>{1, 1}), run.answers);
}

// A one-shot timer: lets the worker go on.
void CALLBACK ReleaseWorker(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    ::SetEvent(g_run->go);
}

// Reports until the answer is 0 (after the test cancelled), noting whether the dialog was
// still open then; then says it is done.
UINT ReportUntilStopped(LPVOID parameter)
{
    EffectJob* job = static_cast<EffectJob*>(parameter);
    g_run->dialog = job->dialog;
    for (int i = 1; i <= 2; ++i) {
        const int answer = job->progress(i, 10, job->dialog);
        g_run->answers.push_back(answer);
        if (answer == 0) {
            g_run->openAtZero = ::IsWindowVisible(job->dialog) != FALSE;
            break;
        }
        g_run->reported = true;
        ::WaitForSingleObject(g_run->go, 10000);
    }
    ::PostMessage(job->dialog, WM_PROGRESS_DONE, 0, 0);
    delete job;
    return 0;
}

TEST(ProgressDlg, CancelWaitsForTheWorkerAndEndsWithCancel)
{
    struct
    {
        const char* how;
        std::function<void(HWND)> cancel;
    } cases[] = {
        {"Cancel command", [](HWND dlg) { ::PostMessage(dlg, WM_COMMAND, IDCANCEL, 0); }},
        {"Escape", [](HWND dlg) { PressEscape(dlg); }},
        {"command 1016", [](HWND dlg) { ::PostMessage(dlg, WM_COMMAND, ID_PROGRESS_CANCEL, 0); }},
    };
    for (const auto& c : cases) {
        WorkerRun run;
        g_run = &run;
        DialogDriver driver([](HWND) {});
        int looks = 0;
        bool openAfterCancel = false;
        g_check = [&]() {
            // First look: cancel. The next timer comes only after the queue is empty, so the
            // cancel has been handled by then: the dialog must still be there.
            c.cancel(g_run->dialog);
            ++looks;
            g_check = [&]() {};
            ::SetTimer(nullptr, 0, 20, &ReleaseWorker);
        };
        UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &CheckWhenReported);
        CProgressDlg dlg;
        dlg.SetThreadProc(&ReportUntilStopped);
        EXPECT_EQ(IDCANCEL, dlg.DoModal()) << c.how;
        ::KillTimer(nullptr, timer);
        g_check = nullptr;
        openAfterCancel = run.openAtZero;
        EXPECT_EQ(1, looks) << c.how;
        EXPECT_EQ((std::vector<int>{1, 0}), run.answers) << c.how << ": go on before Cancel, stop after";
        EXPECT_TRUE(openAfterCancel) << c.how << ": the dialog stays until the worker is done";
    }
}

HANDLE NoThread(unsigned(__stdcall*)(void*), void*) { return nullptr; }

UINT NoteRan(LPVOID parameter)
{
    g_run->ran = true;
    EffectJob* job = static_cast<EffectJob*>(parameter);
    ::PostMessage(job->dialog, WM_PROGRESS_DONE, 0, 0);
    delete job;
    return 0;
}

// Posts a report, then ends without saying it is done.
UINT EndsWithoutDone(LPVOID parameter)
{
    g_run->ran = true;
    EffectJob* job = static_cast<EffectJob*>(parameter);
    ::PostMessage(job->dialog, WM_PROGRESS_REPORT, 30, 60);
    delete job;
    return 0;
}

// Says it is done as its last act and ends at once: its "done" is handled before the end of
// the thread is noticed.
UINT DoneAndGone(LPVOID parameter)
{
    g_run->ran = true;
    EffectJob* job = static_cast<EffectJob*>(parameter);
    ::PostMessage(job->dialog, WM_PROGRESS_DONE, 0, 0);
    delete job;
    return 0;
}

TEST(ProgressDlg, RunsThatCannotEndWellEndWithinASecond)
{
    struct
    {
        const char* what;
        AFX_THREADPROC proc;
        bool failStart;
        INT_PTR result;
        bool ran;
    } cases[] = {
        {"worker that cannot start", &NoteRan, true, IDCANCEL, false},
        {"worker that ends without done", &EndsWithoutDone, false, IDCANCEL, true},
        {"no worker procedure", nullptr, false, IDCANCEL, false},
        {"worker that says done and ends", &DoneAndGone, false, IDOK, true},
    };
    for (const auto& c : cases) {
        for (int repeat = 0; repeat < 5; ++repeat) {
            WorkerRun run;
            g_run = &run;
            DialogDriver driver(DialogDriver::EveryDialog(), [](HWND) {});
            FwWorkerThreadStarter previous = c.failStart ? FwSetWorkerThreadStarter(&NoThread) : nullptr;
            CProgressDlg dlg;
            dlg.SetThreadProc(c.proc);
            const DWORD start = ::GetTickCount();
            const INT_PTR result = dlg.DoModal();
            const DWORD took = ::GetTickCount() - start;
            if (c.failStart)
                FwSetWorkerThreadStarter(previous);
            EXPECT_EQ(c.result, result) << c.what;
            EXPECT_LT(took, 1000u) << c.what;
            EXPECT_EQ(c.ran, run.ran.load()) << c.what;
        }
    }
}

UINT KeepJob(LPVOID parameter)
{
    EffectJob* job = static_cast<EffectJob*>(parameter);
    g_run->seen = *job;
    g_run->hadBar = ::GetDlgItem(job->dialog, IDC_PROGRESS_BAR) != nullptr;
    ::PostMessage(job->dialog, WM_PROGRESS_DONE, 0, 0);
    delete job;
    return 0;
}

TEST(ProgressDlg, WorkerGetsTheJobAsSet)
{
    WorkerRun run;
    g_run = &run;
    DialogDriver driver([](HWND) {});
    BYTE rgb[12] = {};
    Gdiplus::Bitmap image(2, 2, PixelFormat32bppARGB), mask(2, 2, PixelFormat8bppIndexed);
    CProgressDlg dlg;
    dlg.SetThreadProc(&KeepJob);
    dlg.SetJobParams(2, 2, rgb, 50, 100, -0.25f, 7, RGB(1, 2, 3), 9, 10, 11, 12, 13);
    dlg.SetImages(&image, &mask);
    ASSERT_EQ(IDOK, dlg.DoModal());
    const EffectJob& job = run.seen;
    EXPECT_EQ(2, job.width);
    EXPECT_EQ(2, job.height);
    EXPECT_EQ(rgb, job.rgb);
    EXPECT_TRUE(run.hadBar) << "the messages go to the progress dialog";
    EXPECT_TRUE(job.progress == &CProgressDlg::ProgressCallback) << "the dialog's progress callback";
    EXPECT_EQ(50, job.paramA);
    EXPECT_EQ(100, job.paramB);
    EXPECT_EQ(-0.25f, job.paramFloat);
    EXPECT_EQ(7u, job.wordC);
    EXPECT_EQ(RGB(1, 2, 3), job.wordD);
    EXPECT_EQ(9u, job.wordE);
    EXPECT_EQ(CRect(10, 11, 12, 13), CRect(job.rect));
    EXPECT_EQ(&image, job.image);
    EXPECT_EQ(&mask, job.mask);
}

} // namespace
