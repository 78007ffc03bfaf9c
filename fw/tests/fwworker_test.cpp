// The worker road: each way a job can end comes back as its outcome and text, nothing the
// job threw outlives it, and the waiting thread answers what the worker sends it.
#include "fw/fw.h"
#include "fw/fwworker.h"
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace {

const UINT kAsk = WM_APP + 11;
DWORD g_answeredOn = 0;

LRESULT CALLBACK AskProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == kAsk) {
        g_answeredOn = GetCurrentThreadId();
        return (LRESULT)(w * w);
    }
    return DefWindowProcA(window, message, w, l);
}

// A message-only window of the calling thread.
struct AskWindow
{
    HWND handle = nullptr;
    AskWindow()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = AskProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "FwWorkerAsk";
        RegisterClassA(&wc);
        handle = CreateWindowA("FwWorkerAsk", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    }
    ~AskWindow() { DestroyWindow(handle); }
};

HANDLE NeverStarts(unsigned(__stdcall*)(void*), void*) { return nullptr; }

struct StarterSwap
{
    FwWorkerThreadStarter previous;
    explicit StarterSwap(FwWorkerThreadStarter starter) : previous(FwSetWorkerThreadStarter(starter)) {}
    ~StarterSwap() { FwSetWorkerThreadStarter(previous); }
};

TEST(RunOnWorker, EachEndingGivesItsOutcomeAndLeavesNoObject)
{
    AskWindow window;
    ASSERT_NE(nullptr, window.handle);
    const DWORD uiThread = GetCurrentThreadId();
    // The memory exception is one object made at its first throw: make it before counting.
    try {
        AfxThrowMemoryException();
    } catch (CException* e) {
        e->Delete();
    }
    {
        // The count sees a framework exception while it lives.
        const LONG before = FwLiveObjects();
        CFileException probe;
        EXPECT_EQ(before + 1, FwLiveObjects());
    }

    bool ran = false;
    DWORD jobThread = 0;
    LRESULT answer = 0;
    struct Case
    {
        const char* name;
        std::function<void()> job;
        bool startFails;
        WorkerOutcome outcome;
        const char* error;
    } cases[] = {
        {"plain", [&] { jobThread = GetCurrentThreadId(); }, false, WorkerOutcome::Done, ""},
        {"file exception", [] { AfxThrowFileException(CFileException::diskFull, -1, "cake.ktb"); }, false,
         WorkerOutcome::Failed, "cake.ktb could not be accessed because the disk is full."},
        {"memory exception", [] { AfxThrowMemoryException(); }, false, WorkerOutcome::Failed, "Out of memory."},
        {"exception without text", [] { AfxThrowUserException(); }, false, WorkerOutcome::Failed, "CUserException"},
        {"std::bad_alloc", [] { throw std::bad_alloc(); }, false, WorkerOutcome::Failed, "std::bad_alloc"},
        {"std::runtime_error", [] { throw std::runtime_error("icing cracked"); }, false, WorkerOutcome::Failed,
         "icing cracked"},
        {"anything else", [] { throw 42; }, false, WorkerOutcome::Failed, "unknown exception"},
        {"thread cannot start", [&] { ran = true; }, true, WorkerOutcome::NotStarted, ""},
        {"sends to a window of the waiting thread",
         [&] {
             // Bounded, so a wait that ignores sent messages fails here instead of hanging.
             DWORD_PTR reply = 0;
             if (!SendMessageTimeoutA(window.handle, kAsk, 7, 0, SMTO_NORMAL, 10000, &reply))
                 throw std::runtime_error("the waiting thread did not answer");
             answer = (LRESULT)reply;
         },
         false, WorkerOutcome::Done, ""},
    };
    for (const Case& c : cases) {
        const LONG objects = FwLiveObjects();
        WorkerResult result;
        {
            StarterSwap swap(c.startFails ? &NeverStarts : nullptr);
            result = RunOnWorker(c.job);
        }
        EXPECT_EQ((int)c.outcome, (int)result.outcome) << c.name;
        EXPECT_STREQ(c.error, result.error) << c.name;
        EXPECT_EQ(objects, FwLiveObjects()) << c.name;
    }
    EXPECT_NE(0u, jobThread);
    EXPECT_NE(uiThread, jobThread) << "the job ran on a thread of its own";
    EXPECT_FALSE(ran) << "a job whose thread could not start never ran";
    EXPECT_EQ(49, answer);
    EXPECT_EQ(uiThread, g_answeredOn) << "the window's handler ran on the waiting thread";
}

TEST(RunOnWorker, StepsWhileTheJobRuns)
{
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, release);
    const DWORD uiThread = GetCurrentThreadId();
    int steps = 0;
    bool stepsOnCaller = true;
    bool released = false;
    const WorkerResult result = RunOnWorker(
        [&] {
            released = WaitForSingleObject(release, 10000) == WAIT_OBJECT_0;
            if (!released)
                throw std::runtime_error("never released");
        },
        [&] {
            stepsOnCaller = stepsOnCaller && GetCurrentThreadId() == uiThread;
            if (++steps == 2)
                SetEvent(release);
        });
    CloseHandle(release);
    EXPECT_EQ((int)WorkerOutcome::Done, (int)result.outcome) << (LPCSTR)result.error;
    EXPECT_TRUE(released);
    EXPECT_GE(steps, 2);
    EXPECT_TRUE(stepsOnCaller);
}

TEST(RunOnWorker, AThrowingStepWaitsForTheJobBeforeItLeaves)
{
    // The job reads the caller's frame: leaving before it ends would free what it reads.
    // After the step throws, the job still needs the waiting thread to answer it.
    AskWindow window;
    ASSERT_NE(nullptr, window.handle);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, release);
    volatile bool jobEnded = false;
    std::string caught;
    try {
        RunOnWorker(
            [&] {
                WaitForSingleObject(release, 10000);
                DWORD_PTR reply = 0;
                SendMessageTimeoutA(window.handle, kAsk, 3, 0, SMTO_NORMAL, 10000, &reply);
                jobEnded = reply == 9;
            },
            [&] {
                SetEvent(release);
                throw std::runtime_error("progress window gone");
            });
    } catch (const std::runtime_error& e) {
        caught = e.what();
        EXPECT_TRUE(jobEnded) << "left while the job still ran";
    }
    CloseHandle(release);
    EXPECT_EQ("progress window gone", caught);
}

TEST(FwWaitAnsweringSentMessages, EndsWhenSignalledOrWhenAStepSaysSo)
{
    HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE set = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    ASSERT_NE(nullptr, never);
    ASSERT_NE(nullptr, set);
    int steps = 0;
    EXPECT_FALSE(FwWaitAnsweringSentMessages(never, [&] { return ++steps < 3; }));
    EXPECT_EQ(3, steps) << "one step per 100 ms until the third said stop";
    steps = 0;
    EXPECT_TRUE(FwWaitAnsweringSentMessages(set, [&] { return ++steps < 3; }));
    EXPECT_EQ(0, steps) << "a signalled handle ends the wait before any step";
    EXPECT_TRUE(FwWaitAnsweringSentMessages(set));
    CloseHandle(never);
    CloseHandle(set);
}

} // namespace
