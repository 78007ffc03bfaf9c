// The main of every test executable: GoogleTest with GDI+ for the whole run.
//
// The run ends the process itself once the results are out. Under a loaded Wine a finished
// run has now and then not exited (every test passed, then ctest's timeout): the normal exit
// path still runs static destructors and library detach code while a worker a test left
// behind may hold a lock. The results and the exit code are those of the run either way.
#include "testsupport/GdiplusEnv.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

namespace {

// Threads of this process other than the calling one.
std::set<DWORD> OtherThreadIds()
{
    std::set<DWORD> ids;
    const HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return ids;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Thread32First(snap, &entry); more; more = ::Thread32Next(snap, &entry))
        if (entry.th32OwnerProcessID == ::GetCurrentProcessId() && entry.th32ThreadID != ::GetCurrentThreadId())
            ids.insert(entry.th32ThreadID);
    ::CloseHandle(snap);
    return ids;
}

// The module and offset where a thread started ("?" when it cannot be told).
std::string StartModule(DWORD id)
{
    typedef LONG(WINAPI * QueryThread)(HANDLE, int, PVOID, ULONG, PULONG);
    const QueryThread query = reinterpret_cast<QueryThread>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQueryInformationThread")));
    const HANDLE thread = ::OpenThread(THREAD_QUERY_INFORMATION, FALSE, id);
    void* start = nullptr;
    const int kWin32StartAddress = 9;
    const bool known = query != nullptr && thread != nullptr &&
                       query(thread, kWin32StartAddress, &start, sizeof start, nullptr) == 0 && start != nullptr;
    if (thread != nullptr)
        ::CloseHandle(thread);
    HMODULE module = nullptr;
    char name[MAX_PATH] = "?";
    if (known &&
        ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                             (LPCSTR)start, &module))
        ::GetModuleFileNameA(module, name, MAX_PATH);
    const char* base = strrchr(name, '\\');
    char where[MAX_PATH + 32];
    snprintf(where, sizeof where, "%s+0x%llx", base != nullptr ? base + 1 : name,
             (unsigned long long)((const char*)start - (const char*)module));
    return module != nullptr ? where : name;
}

// Names each test that ends with threads it did not begin with, and where they started,
// so that the test that leaves a worker running shows in the log.
class ThreadWatch : public ::testing::EmptyTestEventListener
{
    std::set<DWORD> m_before;
    void OnTestStart(const ::testing::TestInfo&) override { m_before = OtherThreadIds(); }
    void OnTestEnd(const ::testing::TestInfo& info) override
    {
        std::string started;
        int count = 0;
        for (DWORD id : OtherThreadIds())
            if (m_before.count(id) == 0) {
                started += " " + StartModule(id);
                ++count;
            }
        if (count > 0)
            std::printf("threads left running by %s.%s: %d (started in%s)\n", info.test_suite_name(), info.name(),
                        count, started.c_str());
    }
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GdiplusEnv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ThreadWatch);
    {
        // GoogleTest watches each thread that keeps a trace with a thread of its own, until
        // that thread ends: this one's watcher starts now, before any test, and is no
        // test's.
        SCOPED_TRACE("the run");
    }
    const std::set<DWORD> before = OtherThreadIds();
    const int result = RUN_ALL_TESTS();
    // Said, so that a worker left running by a test shows in the log.
    int left = 0;
    for (DWORD id : OtherThreadIds())
        left += before.count(id) == 0 ? 1 : 0;
    std::printf("threads still running at the end: %d\n", left);
    std::fflush(stdout);
    std::fflush(stderr);
    ::TerminateProcess(::GetCurrentProcess(), (UINT)result);
    return result;
}
