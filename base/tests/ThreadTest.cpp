// The command-driven worker thread: starting twice, stopping with and without a limit,
// the command queue, shared sections by name, forced ends, and stopping a worker that is
// waiting for the stopping thread to answer it.
#include "base/Thread.h"
#include "testsupport/DialogDriver.h"
#include "testsupport/Input.h"
#include "testsupport/Pump.h"

#include <gtest/gtest.h>
#include <functional>

namespace {

class TestThread : public CThread
{
public:
    explicit TestThread(std::function<DWORD(TestThread&)> body, LPCTSTR name = "", bool shared = false)
        : m_body(std::move(body))
    {
        m_bSupportNotification = TRUE;
        m_bUseSharedLock = shared;
        m_strName = name;
    }
    ~TestThread() override
    {
        // Whatever a test left running ends before the body it runs goes away.
        if (IsAlive())
            Kill(0, TRUE);
    }
    DWORD ThreadHandler() override { return m_body(*this); }
    void OnKill() override { ++kills; }
    int kills = 0;

private:
    std::function<DWORD(TestThread&)> m_body;
};

// Takes every command and never ends; only a forced end stops it.
class Endless : public CThread
{
public:
    Endless() { m_bSupportNotification = TRUE; }
    DWORD ThreadHandler() override
    {
        UINT command = 0;
        for (;;)
            WaitForNotification(command);
    }
};

// Takes commands until 7, then ends with 5.
DWORD UntilStop(TestThread& t)
{
    UINT command = 0;
    do
        t.WaitForNotification(command);
    while (command != CThread::kStop);
    return 5;
}

// An event the test sets; closed at the end of the test.
struct Event
{
    HANDLE handle = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~Event() { CloseHandle(handle); }
    void Set() { SetEvent(handle); }
    bool WaitSet(DWORD ms = 10000) const { return WaitForSingleObject(handle, ms) == WAIT_OBJECT_0; }
};

TEST(Thread, StartingARunningThreadThrowsAndLeavesItRunning)
{
    TestThread thread(&UntilStop);
    EXPECT_EQ(CThread::kNeverRun, thread.GetExitCode());
    EXPECT_EQ(1, thread.GetActivityStatus());
    thread.Start();
    EXPECT_TRUE(thread.IsAlive());
    EXPECT_EQ(0, thread.GetActivityStatus());
    const DWORD id = thread.GetThreadId();
    CThreadException* caught = nullptr;
    try {
        thread.Start();
    } catch (CThreadException* e) {
        caught = e;
    }
    ASSERT_NE(nullptr, caught);
    EXPECT_EQ(CThreadException::kAlreadyStarted, caught->GetType());
    EXPECT_STREQ("Thread is already started!", caught->GetMessage());
    EXPECT_EQ(&thread, caught->GetThread());
    EXPECT_TRUE(thread.IsAlive());
    EXPECT_EQ(id, thread.GetThreadId()) << "the running thread was left alone";

    // The catcher shows it in the framework's message box.
    CString shown;
    {
        DialogDriver driver([&](HWND box) {
            shown = ItemText(box, 0xFFFF);
            Press(box, IDOK);
        });
        EXPECT_EQ(IDOK, caught->ReportError());
    }
    EXPECT_STREQ("Thread is already started!", shown);
    caught->Delete();

    DWORD code = 0;
    EXPECT_TRUE(thread.Stop(&code, 50));
    EXPECT_EQ(5u, code);
}

TEST(Thread, StopWaitsForItsPollsOrTheEnd)
{
    // A thread that ignores 7 until it is released.
    Event release;
    TestThread deaf([&](TestThread&) -> DWORD { return release.WaitSet() ? 9 : 10; });
    deaf.Start();
    DWORD code = 0;
    const DWORD start = GetTickCount();
    EXPECT_FALSE(deaf.Stop(&code, 10));
    const DWORD spent = GetTickCount() - start;
    EXPECT_EQ((DWORD)STILL_ACTIVE, code);
    EXPECT_GE(spent, 900u) << "10 polls of 100 ms";
    EXPECT_LT(spent, 5000u);
    EXPECT_TRUE(deaf.IsAlive());

    // Released, it ends on its own; Stop then gives its code at once.
    release.Set();
    EXPECT_TRUE(PumpUntil([&] { return !deaf.IsAlive(); }));
    code = 0;
    EXPECT_TRUE(deaf.Stop(&code, 0));
    EXPECT_EQ(9u, code);
    EXPECT_EQ(9u, deaf.GetExitCode());
    EXPECT_EQ(0, deaf.kills);

    // Without a limit Stop waits for the handler's own end.
    TestThread obedient(&UntilStop);
    obedient.Start();
    code = 0;
    EXPECT_TRUE(obedient.Stop(&code));
    EXPECT_EQ(5u, code);
    EXPECT_FALSE(obedient.IsAlive());
    EXPECT_EQ(nullptr, obedient.GetHandle());
    EXPECT_EQ(0x7FFFFFFF, obedient.GetPriority());
    EXPECT_FALSE(obedient.SetPriority(THREAD_PRIORITY_LOWEST));

    // ... and the object may run again.
    obedient.Start();
    EXPECT_TRUE(obedient.SetPriority(THREAD_PRIORITY_BELOW_NORMAL));
    EXPECT_EQ(THREAD_PRIORITY_BELOW_NORMAL, obedient.GetPriority());
    EXPECT_TRUE(obedient.Stop(&code, 50));
    EXPECT_EQ(5u, code);
}

TEST(Thread, QueueKeepsOrderAndDropsARepeat)
{
    // The thread waits before it looks at its queue, so the test sees what was queued.
    Event go;
    CUIntArray taken;
    TestThread thread([&](TestThread& t) -> DWORD {
        go.WaitSet();
        UINT command = 0;
        do {
            t.WaitForNotification(command, 5000);
            taken.Add(command);
        } while (command != CThread::kStop && command != CThread::kTimedOut);
        return 0;
    });
    thread.PostCommand(CThread::kContinue); // no thread yet: nothing queued
    thread.Start();
    thread.Continue();
    thread.Continue();
    thread.PostCommand(CThread::kNoCommand);
    thread.PostCommand(CThread::kStop);
    EXPECT_TRUE(thread.PostCommandFirst(CThread::kRun));
    EXPECT_FALSE(thread.PostCommandFirst(CThread::kNoCommand));
    CUIntArray queued;
    thread.GetQueuedCommands(queued);
    const UINT expected[] = {CThread::kRun, CThread::kStart, CThread::kContinue, CThread::kStop};
    ASSERT_EQ(4, (int)queued.GetSize());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(expected[i], queued[i]) << "queue position " << i;

    go.Set();
    DWORD code = 0;
    EXPECT_TRUE(thread.Stop(&code, 50));
    ASSERT_EQ(4, (int)taken.GetSize()) << "taken one at a time, nothing lost, nothing added";
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(expected[i], taken[i]) << "taken " << i;

    // A wait that times out gives 1.
    TestThread waiter([](TestThread& t) -> DWORD {
        UINT command = 0;
        t.WaitForNotification(command); // 2, from Start
        t.WaitForNotification(command, 50);
        return command;
    });
    waiter.Start();
    EXPECT_TRUE(PumpUntil([&] { return !waiter.IsAlive(); }));
    EXPECT_EQ((DWORD)CThread::kTimedOut, waiter.GetExitCode());
}

TEST(Thread, ThreadsOfOneNameShareOneSection)
{
    Event releaseFirst, releaseSecond;
    int inside = 0;
    auto body = [&](Event& release) {
        return [&](TestThread& t) -> DWORD {
            t.Lock();
            ++inside;
            t.Unlock();
            return release.WaitSet() ? 0 : 1;
        };
    };
    TestThread first(body(releaseFirst), "Sugar", true);
    TestThread second(body(releaseSecond), "Sugar", true);
    TestThread other(&UntilStop, "Flour", true);
    EXPECT_EQ(0, CThread::SharedLockUsers("Sugar"));
    first.Start();
    second.Start();
    other.Start();
    EXPECT_EQ(2, CThread::SharedLockUsers("Sugar"));
    EXPECT_EQ(1, CThread::SharedLockUsers("Flour"));
    EXPECT_TRUE(PumpUntil([&] { return inside == 2; }));

    releaseFirst.Set();
    EXPECT_TRUE(PumpUntil([&] { return !first.IsAlive(); }));
    EXPECT_EQ(1, CThread::SharedLockUsers("Sugar")) << "still held by the second";
    releaseSecond.Set();
    EXPECT_TRUE(PumpUntil([&] { return !second.IsAlive(); }));
    EXPECT_EQ(0, CThread::SharedLockUsers("Sugar")) << "gone with the second";
    EXPECT_EQ(1, CThread::SharedLockUsers("Flour"));

    // A forced end releases its share too.
    other.Kill(3, FALSE);
    EXPECT_EQ(0, CThread::SharedLockUsers("Flour"));
    EXPECT_EQ(1, other.kills);
    EXPECT_EQ(3u, other.GetExitCode());
    EXPECT_FALSE(other.IsAlive());
}

// A window of the test's thread that the worker sends to.
const UINT kAsk = WM_APP + 21;
LRESULT CALLBACK AskProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == kAsk)
        return (LRESULT)(w + 1);
    return DefWindowProcA(window, message, w, l);
}

TEST(Thread, StopAnswersAWorkerThatSendsToTheStoppingThread)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = AskProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ThreadTestAsk";
    RegisterClassA(&wc);
    HWND window = CreateWindowA("ThreadTestAsk", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, window);

    Event sending;
    TestThread thread([&](TestThread& t) -> DWORD {
        UINT command = 0;
        t.WaitForNotification(command); // 2
        sending.Set();
        // Bounded, so a Stop that does not answer fails instead of hanging the run.
        DWORD_PTR reply = 0;
        if (!SendMessageTimeoutA(window, kAsk, 41, 0, SMTO_NORMAL, 10000, &reply))
            return 99;
        do
            t.WaitForNotification(command);
        while (command != CThread::kStop);
        return (DWORD)reply;
    });
    thread.Start();
    ASSERT_TRUE(sending.WaitSet());
    DWORD code = 0;
    EXPECT_TRUE(thread.Stop(&code, 50));
    EXPECT_EQ(42u, code) << "the send was answered during the stop";
    DestroyWindow(window);
}

TEST(Thread, WaitForActivityStatusAndForcedEnds)
{
    TestThread thread([](TestThread& t) -> DWORD {
        UINT command = 0;
        for (;;) {
            t.WaitForNotification(command);
            if (command == CThread::kPause)
                t.SetActivityStatus(3);
        }
    });
    thread.Start();
    EXPECT_FALSE(thread.WaitForActivityStatus(3, 2)) << "not paused yet";
    thread.Pause();
    EXPECT_TRUE(thread.WaitForActivityStatus(3, 50));

    // It never takes 7: only a forced end stops it.
    DWORD code = 0;
    EXPECT_FALSE(thread.Stop(&code, 1));
    HANDLE ended = thread.OpenEndHandle();
    ASSERT_NE(nullptr, ended);
    thread.Kill(77, TRUE);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ended, 5000));
    CloseHandle(ended);
    EXPECT_EQ(77u, thread.GetExitCode());
    EXPECT_EQ(1, thread.kills);
    EXPECT_EQ(1, thread.GetActivityStatus());
    EXPECT_EQ(nullptr, thread.OpenEndHandle());

    // The destructor ends a running thread by force.
    HANDLE orphan = nullptr;
    {
        Endless running;
        running.Start();
        orphan = running.OpenEndHandle();
    }
    ASSERT_NE(nullptr, orphan);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(orphan, 5000));
    CloseHandle(orphan);
}

TEST(Thread, ErrorTextsAreTheSystems)
{
    EXPECT_FALSE(CThreadException::GetLastErrorText(ERROR_FILE_NOT_FOUND).IsEmpty());
    EXPECT_STREQ("", CThreadException::GetLastErrorText(0x2FFFFFFF));
    CThreadException plain(nullptr);
    EXPECT_EQ(0, plain.GetType());
    EXPECT_STREQ("", plain.GetMessage());
    char text[64] = "x";
    EXPECT_FALSE(plain.GetErrorMessage(text, sizeof text));
    EXPECT_STREQ("", text);
    // Type 5 carries the system text of the failure.
    CThreadException posted(nullptr, CThreadException::GetLastErrorText(ERROR_INVALID_HANDLE), 5);
    EXPECT_TRUE(posted.GetErrorMessage(text, sizeof text));
    EXPECT_STRNE("", text);
}

} // namespace
