// Run-time classes, creation by class record, exceptions by pointer, times, wait cursor.
#include "fw/fw.h"
#include <gtest/gtest.h>
#include <thread>

namespace {

class CWorker : public CObject
{
    DECLARE_DYNCREATE(CWorker)
public:
    int value = 42;
};
IMPLEMENT_DYNCREATE(CWorker, CObject)

class CSplashWorker : public CWorker
{
    DECLARE_DYNCREATE(CSplashWorker)
};
IMPLEMENT_DYNCREATE(CSplashWorker, CWorker)

class CPlain : public CObject
{
    DECLARE_DYNAMIC(CPlain)
};
IMPLEMENT_DYNAMIC(CPlain, CObject)

TEST(CRuntimeClass, KindsAndCreation)
{
    CSplashWorker splash;
    CPlain plain;
    struct
    {
        const CObject* object;
        const CRuntimeClass* cls;
        BOOL kind;
    } cases[] = {
        {&splash, RUNTIME_CLASS(CSplashWorker), TRUE}, {&splash, RUNTIME_CLASS(CWorker), TRUE},
        {&splash, RUNTIME_CLASS(CObject), TRUE},       {&splash, RUNTIME_CLASS(CPlain), FALSE},
        {&plain, RUNTIME_CLASS(CWorker), FALSE},       {&plain, RUNTIME_CLASS(CObject), TRUE},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.kind, c.object->IsKindOf(c.cls))
            << c.object->GetRuntimeClass()->m_lpszClassName << " as " << c.cls->m_lpszClassName;

    EXPECT_STREQ("CSplashWorker", splash.GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ((int)sizeof(CSplashWorker), RUNTIME_CLASS(CSplashWorker)->m_nObjectSize);
    EXPECT_EQ(RUNTIME_CLASS(CWorker), RUNTIME_CLASS(CSplashWorker)->m_pBaseClass);

    CObject* created = RUNTIME_CLASS(CSplashWorker)->CreateObject();
    ASSERT_NE(nullptr, created);
    EXPECT_EQ(RUNTIME_CLASS(CSplashWorker), created->GetRuntimeClass());
    EXPECT_EQ(42, static_cast<CWorker*>(created)->value);
    EXPECT_EQ(static_cast<CWorker*>(created), DYNAMIC_DOWNCAST(CWorker, created));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CPlain, created));
    delete created;
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CPlain)->CreateObject());

    // The framework's own classes have records too.
    CStringArray strings;
    EXPECT_TRUE(strings.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_STREQ("CStringArray", strings.GetRuntimeClass()->m_lpszClassName);
}

TEST(CException, ThrownByPointerAndDeletedByCatcher)
{
    struct
    {
        void (*thrower)();
        const CRuntimeClass* cls;
    } cases[] = {
        {[] { AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, "x.dat"); },
         RUNTIME_CLASS(CFileException)},
        {[] { AfxThrowMemoryException(); }, RUNTIME_CLASS(CMemoryException)},
        {[] { AfxThrowResourceException(); }, RUNTIME_CLASS(CResourceException)},
        {[] { AfxThrowNotSupportedException(); }, RUNTIME_CLASS(CNotSupportedException)},
        {[] { AfxThrowUserException(); }, RUNTIME_CLASS(CUserException)},
    };
    for (auto& c : cases) {
        const CRuntimeClass* caught = NULL;
        try {
            c.thrower();
        } catch (CException* e) {
            caught = e->GetRuntimeClass();
            EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
            e->Delete();
        }
        EXPECT_EQ(c.cls, caught);
    }

    // The memory exception is preallocated: deleting it twice is harmless.
    CMemoryException* first = NULL;
    CMemoryException* second = NULL;
    try {
        AfxThrowMemoryException();
    } catch (CMemoryException* e) {
        first = e;
        e->Delete();
    }
    try {
        AfxThrowMemoryException();
    } catch (CMemoryException* e) {
        second = e;
        e->Delete();
    }
    EXPECT_EQ(first, second);

    char message[128];
    CMemoryException memory;
    EXPECT_TRUE(memory.GetErrorMessage(message, sizeof message));
    EXPECT_STRNE("", message);
    CUserException user;
    EXPECT_FALSE(user.GetErrorMessage(message, sizeof message));
    EXPECT_STREQ("", message);
}

TEST(CException, BadAllocBecomesMemoryException)
{
    bool caught = false;
    try {
        FwMapBadAlloc([]() -> int { throw std::bad_alloc(); });
    } catch (CMemoryException* e) {
        caught = true;
        e->Delete();
    }
    EXPECT_TRUE(caught);
    EXPECT_EQ(7, FwMapBadAlloc([] { return 7; }));
}

TEST(CFileExceptionCause, FromOsErrors)
{
    struct
    {
        LONG os;
        int cause;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, CFileException::fileNotFound},
        {ERROR_PATH_NOT_FOUND, CFileException::badPath},
        {ERROR_ACCESS_DENIED, CFileException::accessDenied},
        {ERROR_SHARING_VIOLATION, CFileException::sharingViolation},
        {ERROR_DISK_FULL, CFileException::diskFull},
        {ERROR_HANDLE_EOF, CFileException::endOfFile},
        {NO_ERROR, CFileException::none},
        {ERROR_NOT_ENOUGH_MEMORY, CFileException::genericException},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.cause, CFileException::OsErrorToException(c.os)) << c.os;
}

TEST(CTime, LocalFieldsFileTimesAndFormat)
{
    CTime t(2009, 3, 14, 15, 9, 26);
    struct
    {
        int got;
        int want;
    } fields[] = {
        {t.GetYear(), 2009}, {t.GetMonth(), 3},   {t.GetDay(), 14},      {t.GetHour(), 15},
        {t.GetMinute(), 9},  {t.GetSecond(), 26}, {t.GetDayOfWeek(), 7}, // a Saturday
    };
    for (auto& f : fields)
        EXPECT_EQ(f.want, f.got);
    EXPECT_STREQ("2009-03-14 15:09:26", t.Format("%Y-%m-%d %H:%M:%S"));

    // A file time is UTC; CTime shows it in local time, the same instant.
    SYSTEMTIME utc = {2009, 3, 6, 14, 15, 9, 26, 0};
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&utc, &ft));
    CTime fromFile(ft);
    EXPECT_EQ(fromFile.FormatGmt("%Y-%m-%d %H:%M:%S"), CString("2009-03-14 15:09:26"));
    FILETIME zero = {0, 0};
    EXPECT_EQ(0, CTime(zero).GetTime());

    CTimeSpan span = CTime(2009, 3, 15, 15, 9, 26) - t;
    EXPECT_EQ(1, span.GetDays());
    EXPECT_EQ(86400, span.GetTotalSeconds());
    EXPECT_TRUE(t + CTimeSpan(1, 0, 0, 0) == CTime(2009, 3, 15, 15, 9, 26));
    EXPECT_LE(t.GetTime(), CTime::GetCurrentTime().GetTime());

    SYSTEMTIME back;
    ASSERT_TRUE(t.GetAsSystemTime(back));
    EXPECT_EQ(2009, back.wYear);
    EXPECT_EQ(26, back.wSecond);
}

TEST(CWaitCursor, CountsPerThreadAndShowsOnlyOnTheUiThread)
{
    FwSetUiThread(GetCurrentThreadId());
    HCURSOR arrow = LoadCursor(NULL, IDC_ARROW);
    HCURSOR wait = LoadCursor(NULL, IDC_WAIT);
    SetCursor(arrow);
    {
        CWaitCursor outer;
        EXPECT_EQ(1, FwGetWaitCursorCount());
        EXPECT_EQ(wait, GetCursor());
        int workerCount = -1, workerInner = -1;
        std::thread worker([&] {
            CWaitCursor inWorker;
            workerInner = FwGetWaitCursorCount();
            {
                CWaitCursor nested;
            }
            workerCount = FwGetWaitCursorCount();
        });
        worker.join();
        EXPECT_EQ(1, workerInner);
        EXPECT_EQ(1, workerCount);
        EXPECT_EQ(1, FwGetWaitCursorCount()); // the worker's waits are its own
        {
            CWaitCursor inner;
            EXPECT_EQ(2, FwGetWaitCursorCount());
            SetCursor(arrow); // as a message box would
            inner.Restore();
            EXPECT_EQ(wait, GetCursor());
        }
        EXPECT_EQ(wait, GetCursor()); // still inside the outer wait
    }
    EXPECT_EQ(0, FwGetWaitCursorCount());
    EXPECT_EQ(arrow, GetCursor());
    FwEndWaitCursor(); // unbalanced end: ignored
    EXPECT_EQ(0, FwGetWaitCursorCount());
}

} // namespace
