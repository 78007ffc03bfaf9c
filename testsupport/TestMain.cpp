// The main of every test executable: GoogleTest with GDI+ for the whole run.
//
// The run ends the process itself once the results are out. Under a loaded Wine a finished
// run has now and then not exited (every test passed, then ctest's timeout): the normal exit
// path still runs static destructors and library detach code while a worker a test left
// behind may hold a lock. The results and the exit code are those of the run either way.
#include "testsupport/GdiplusEnv.h"

#include <tlhelp32.h>

#include <cstdio>

namespace {

// Threads of this process other than the calling one.
int OtherThreads()
{
    const HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return -1;
    int count = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Thread32First(snap, &entry); more; more = ::Thread32Next(snap, &entry))
        if (entry.th32OwnerProcessID == ::GetCurrentProcessId() && entry.th32ThreadID != ::GetCurrentThreadId())
            ++count;
    ::CloseHandle(snap);
    return count;
}

// Names each test that ends with more threads than it began with, so that the test that
// leaves a worker running shows in the log.
class ThreadWatch : public ::testing::EmptyTestEventListener
{
    int m_before = 0;
    void OnTestStart(const ::testing::TestInfo&) override { m_before = OtherThreads(); }
    void OnTestEnd(const ::testing::TestInfo& info) override
    {
        const int after = OtherThreads();
        if (after > m_before)
            std::printf("threads left running by %s.%s: %d\n", info.test_suite_name(), info.name(), after - m_before);
    }
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GdiplusEnv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ThreadWatch);
    const int result = RUN_ALL_TESTS();
    // Said, so that a worker left running by a test shows in the log.
    std::printf("threads still running at the end: %d\n", OtherThreads());
    std::fflush(stdout);
    std::fflush(stderr);
    ::TerminateProcess(::GetCurrentProcess(), (UINT)result);
    return result;
}
