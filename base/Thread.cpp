#include "base/Thread.h"

#include "fw/fwwin.h"
#include "fw/fwworker.h"

#include <list>
#include <process.h>

IMPLEMENT_DYNAMIC(CThreadException, CException)
IMPLEMENT_DYNAMIC(CThread, CObject)

struct CThread::SharedLockEntry
{
    CString name;
    int users = 0;
    CRITICAL_SECTION section;
};

namespace {

// The thread lock and the registry of shared sections, made before the program's main code
// runs (the first CThread or the reference below) and gone at exit with every section left.
struct ThreadGlobals
{
    CRITICAL_SECTION lock;
    std::list<CThread::SharedLockEntry*> registry;
    CRITICAL_SECTION* second = nullptr;

    ThreadGlobals() { InitializeCriticalSection(&lock); }
    ~ThreadGlobals()
    {
        for (CThread::SharedLockEntry* entry : registry) {
            DeleteCriticalSection(&entry->section);
            delete entry;
        }
        registry.clear();
        if (second != nullptr) {
            DeleteCriticalSection(second);
            delete second;
        }
        DeleteCriticalSection(&lock);
    }
};

ThreadGlobals& Globals()
{
    static ThreadGlobals globals;
    return globals;
}

[[maybe_unused]] ThreadGlobals& g_madeAtStart = Globals();

// Holds the thread lock for a scope; an exception thrown inside leaves it on the way out.
class ThreadLock
{
public:
    ThreadLock() { EnterCriticalSection(&Globals().lock); }
    ~ThreadLock() { LeaveCriticalSection(&Globals().lock); }
    ThreadLock(const ThreadLock&) = delete;
    ThreadLock& operator=(const ThreadLock&) = delete;
};

// A duplicate of a thread handle that the caller may wait on after the lock is left, while
// the thread itself closes the original when it ends.
HANDLE DuplicateForWait(HANDLE thread)
{
    HANDLE copy = nullptr;
    if (thread == nullptr ||
        !DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &copy, SYNCHRONIZE, FALSE, 0))
        return nullptr;
    return copy;
}

// Waits (answering sent messages) up to `polls` steps of 100 ms, -1 without a limit.
void WaitPolls(HANDLE thread, int polls, const std::function<bool()>& done = {})
{
    if (polls == 0 || thread == nullptr)
        return;
    int used = 0;
    FwWaitAnsweringSentMessages(thread, [&] {
        if (done && done())
            return false;
        return polls < 0 || ++used < polls;
    });
}

} // namespace

// ---------------------------------------------------------------------------------------
// CThreadException

CThreadException::CThreadException(CThread* thread) : m_pThread(thread), m_nType(kNone) {}

CThreadException::CThreadException(CThread* thread, LPCTSTR message, int type)
    : m_pThread(thread), m_strMessage(message), m_nType(type)
{}

CThreadException::CThreadException(CThread* thread, UINT messageId, int type) : m_pThread(thread), m_nType(type)
{
    SetMessage(messageId);
}

void CThreadException::SetMessage(UINT messageId)
{
    CString text;
    if (text.LoadString(messageId))
        m_strMessage = text;
}

BOOL CThreadException::GetErrorMessage(LPSTR buffer, UINT maxLength, PUINT helpContext) const
{
    if (helpContext)
        *helpContext = 0;
    if (buffer == NULL || maxLength == 0)
        return FALSE;
    lstrcpynA(buffer, m_strMessage, (int)maxLength);
    return !m_strMessage.IsEmpty();
}

int CThreadException::ReportError(UINT type, UINT messageId) const
{
    CString text = m_strMessage;
    if (messageId != 0) {
        CString resource;
        if (resource.LoadString(messageId))
            text = resource;
    }
    return AfxMessageBox(text, type);
}

CString CThreadException::GetLastErrorText(DWORD error)
{
    LPSTR text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), (LPSTR)&text, 0, nullptr);
    CString result;
    if (length != 0 && text != nullptr)
        result = CString(text, (int)length);
    if (text != nullptr)
        LocalFree(text);
    return result;
}

// ---------------------------------------------------------------------------------------
// CThread

CThread::CThread(DWORD_PTR owner, DWORD_PTR parameter)
    : m_bSupportNotification(FALSE), m_bUseSharedLock(FALSE), m_pSharedLock(nullptr), m_sa(), m_pSa(nullptr),
      m_hThread(nullptr), m_hEvent(nullptr), m_dwThreadId(0), m_nStackSize(0), m_dwExitCode(kNeverRun),
      m_nActivityStatus(1), m_owner(owner), m_parameter(parameter)
{
    // The globals outlive every CThread, a global one included.
    Globals();
}

CThread::~CThread()
{
    if (IsAlive()) {
        try {
            Kill(0, TRUE);
        } catch (CException* e) {
            e->Delete();
        } catch (...) {}
    }
    ThreadLock lock;
    if (m_hEvent != nullptr)
        CloseHandle(m_hEvent);
    m_hEvent = nullptr;
    if (m_hThread != nullptr) // ended on its own but never cleaned up
        CloseHandle(m_hThread);
    m_hThread = nullptr;
    ReleaseSharedLock();
    m_commands.RemoveAll();
}

BOOL CThread::IsAliveUnlocked() const
{
    DWORD code = 0;
    return m_hThread != nullptr && GetExitCodeThread(m_hThread, &code) && code == STILL_ACTIVE;
}

BOOL CThread::IsAlive() const
{
    ThreadLock lock;
    return IsAliveUnlocked();
}

HANDLE CThread::OpenEndHandle() const
{
    ThreadLock lock;
    return IsAliveUnlocked() ? DuplicateForWait(m_hThread) : nullptr;
}

void CThread::ResetState()
{
    m_hThread = nullptr;
    m_dwThreadId = 0;
    SetActivityStatus(1);
    m_pSharedLock = nullptr;
    m_commands.RemoveAll();
}

void CThread::ThrowError(int type, DWORD error)
{
    throw new CThreadException(this, CThreadException::GetLastErrorText(error), type);
}

bool CThread::AppendCommand(UINT command, DWORD* error)
{
    if (!m_bSupportNotification || m_hEvent == nullptr || command == kNoCommand)
        return true;
    const INT_PTR count = m_commands.GetSize();
    if (count > 0 && m_commands[count - 1] == command)
        return true;
    m_commands.Add(command);
    if (!SetEvent(m_hEvent)) {
        *error = GetLastError();
        return false;
    }
    return true;
}

void CThread::OpenSharedLock()
{
    if (!m_bUseSharedLock)
        return;
    for (SharedLockEntry* entry : Globals().registry) {
        if (entry->name == m_strName) {
            ++entry->users;
            m_pSharedLock = entry;
            return;
        }
    }
    SharedLockEntry* entry = new SharedLockEntry;
    entry->name = m_strName;
    entry->users = 1;
    InitializeCriticalSection(&entry->section);
    Globals().registry.push_back(entry);
    m_pSharedLock = entry;
}

void CThread::ReleaseSharedLock()
{
    SharedLockEntry* entry = m_pSharedLock;
    m_pSharedLock = nullptr;
    if (entry == nullptr)
        return;
    if (entry->users < 2) {
        Globals().registry.remove(entry);
        DeleteCriticalSection(&entry->section);
        delete entry;
    } else {
        --entry->users;
    }
}

int CThread::SharedLockUsers(LPCTSTR name)
{
    ThreadLock lock;
    for (SharedLockEntry* entry : Globals().registry)
        if (entry->name == name)
            return entry->users;
    return 0;
}

unsigned __stdcall CThread::ThreadProc(void* self)
{
    CThread* thread = static_cast<CThread*>(self);
    // Nothing thrown may leave a thread: the body's failures end the run with code -1.
    DWORD result = (DWORD)-1;
    try {
        result = thread->ThreadHandler();
    } catch (CException* e) {
        e->Delete();
    } catch (...) {}
    FwDeleteTempMaps();
    {
        ThreadLock lock;
        thread->ReleaseSharedLock();
        if (thread->m_hThread != nullptr)
            CloseHandle(thread->m_hThread);
        thread->ResetState();
        thread->m_dwExitCode = result;
    }
    // Nothing below may touch the object: its owner may delete it as soon as the lock is left.
    return result;
}

void CThread::Start()
{
    ThreadLock lock;
    if (IsAliveUnlocked())
        throw new CThreadException(this, "Thread is already started!", CThreadException::kAlreadyStarted);
    if (m_hThread != nullptr) { // ended on its own but never cleaned up
        CloseHandle(m_hThread);
        ReleaseSharedLock();
    }
    ResetState();
    if (m_bSupportNotification && m_hEvent == nullptr) {
        m_hEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        if (m_hEvent == nullptr)
            ThrowError(CThreadException::kEventFailed, GetLastError());
    }
    OpenSharedLock();
    // _beginthreadex, not CreateThread: the body uses the C runtime.  The new thread waits
    // for the lock before it touches the object.
    unsigned id = 0;
    m_hThread = reinterpret_cast<HANDLE>(_beginthreadex(m_pSa, m_nStackSize, &ThreadProc, this, 0, &id));
    if (m_hThread == nullptr) {
        const DWORD error = GetLastError();
        ReleaseSharedLock();
        ResetState();
        ThrowError(CThreadException::kCreationFailed, error);
    }
    m_dwThreadId = id;
    DWORD error = 0;
    if (!AppendCommand(kStart, &error)) {
        TerminateThread(m_hThread, (DWORD)-1);
        WaitForSingleObject(m_hThread, 5000);
        CloseHandle(m_hThread);
        ReleaseSharedLock();
        ResetState();
        ThrowError(CThreadException::kPostFailed, error);
    }
    SetActivityStatus(0);
}

BOOL CThread::Stop(DWORD* exitCode, int polls)
{
    HANDLE ended = nullptr;
    {
        ThreadLock lock;
        if (!IsAliveUnlocked()) {
            if (m_hThread != nullptr) {
                GetExitCodeThread(m_hThread, &m_dwExitCode);
                CloseHandle(m_hThread);
                ReleaseSharedLock();
            }
            if (exitCode)
                *exitCode = m_dwExitCode;
            ResetState();
            return TRUE;
        }
        DWORD error = 0;
        if (!AppendCommand(kStop, &error)) {
            if (exitCode)
                *exitCode = m_dwExitCode;
            ThrowError(CThreadException::kPostFailed, error);
        }
        ended = DuplicateForWait(m_hThread);
    }
    // The lock is left so that the thread can take its commands and end.
    WaitPolls(ended, polls);
    if (ended != nullptr)
        CloseHandle(ended);
    ThreadLock lock;
    DWORD code = m_dwExitCode;
    if (m_hThread != nullptr && !GetExitCodeThread(m_hThread, &code))
        code = m_dwExitCode;
    if (exitCode)
        *exitCode = code;
    return code != STILL_ACTIVE;
}

void CThread::Kill(DWORD exitCode, BOOL noThrow)
{
    bool killed = false;
    {
        ThreadLock lock;
        if (!IsAliveUnlocked() && m_hThread == nullptr) {
            m_dwExitCode = exitCode;
            ResetState();
            return;
        }
        BOOL terminated = TRUE;
        DWORD error = 0;
        if (m_hThread != nullptr) {
            terminated = TerminateThread(m_hThread, exitCode);
            if (!terminated)
                error = GetLastError();
            else // termination is asynchronous: read the code once the thread is gone
                WaitForSingleObject(m_hThread, 5000);
            GetExitCodeThread(m_hThread, &m_dwExitCode);
        }
        if (!terminated && !noThrow)
            ThrowError(CThreadException::kKillFailed, error);
        if (noThrow)
            m_dwExitCode = exitCode;
        if (m_hThread != nullptr)
            CloseHandle(m_hThread);
        ReleaseSharedLock();
        ResetState();
        killed = true;
    }
    if (killed)
        OnKill();
}

void CThread::PostCommand(UINT command)
{
    ThreadLock lock;
    if (m_hThread == nullptr)
        return;
    DWORD error = 0;
    if (!AppendCommand(command, &error))
        ThrowError(CThreadException::kPostFailed, error);
}

BOOL CThread::PostCommandFirst(UINT command)
{
    ThreadLock lock;
    if (m_hThread == nullptr || !m_bSupportNotification || command == kNoCommand)
        return FALSE;
    m_commands.InsertAt(0, command);
    return TRUE;
}

void CThread::WaitForNotification(UINT& command, DWORD timeout)
{
    command = kNoCommand;
    HANDLE event = nullptr;
    {
        ThreadLock lock;
        if (!m_bSupportNotification || m_hEvent == nullptr)
            return;
        if (m_commands.GetSize() > 0) {
            command = m_commands[0];
            m_commands.RemoveAt(0);
            return;
        }
        event = m_hEvent;
    }
    // The event only wakes the thread: it may still be set from commands already taken, so
    // an empty look waits again for what is left of the time.
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD left = INFINITE;
        if (timeout != INFINITE) {
            const DWORD spent = GetTickCount() - start;
            left = spent >= timeout ? 0 : timeout - spent;
        }
        if (WaitForSingleObject(event, left) != WAIT_OBJECT_0) {
            command = kTimedOut;
            return;
        }
        ThreadLock lock;
        if (m_commands.GetSize() > 0) {
            command = m_commands[0];
            m_commands.RemoveAt(0);
            return;
        }
    }
}

void CThread::ClearCommands()
{
    ThreadLock lock;
    m_commands.RemoveAll();
}

void CThread::GetQueuedCommands(CUIntArray& out) const
{
    ThreadLock lock;
    out.Copy(m_commands);
}

BOOL CThread::WaitForActivityStatus(int status, int polls) const
{
    if (GetActivityStatus() == status)
        return TRUE;
    HANDLE ended = OpenEndHandle();
    WaitPolls(ended, polls, [&] { return GetActivityStatus() == status; });
    if (ended != nullptr)
        CloseHandle(ended);
    return GetActivityStatus() == status;
}

BOOL CThread::SetPriority(int priority)
{
    ThreadLock lock;
    return m_hThread != nullptr && SetThreadPriority(m_hThread, priority);
}

int CThread::GetPriority() const
{
    ThreadLock lock;
    return m_hThread != nullptr ? GetThreadPriority(m_hThread) : 0x7FFFFFFF;
}

DWORD CThread::GetExitCode() const
{
    ThreadLock lock;
    DWORD code = 0;
    if (IsAliveUnlocked() && GetExitCodeThread(m_hThread, &code))
        return code;
    return m_dwExitCode;
}

void CThread::SetSecurityAttributes(const SECURITY_ATTRIBUTES* attributes)
{
    ThreadLock lock;
    if (attributes == nullptr) {
        m_pSa = nullptr;
        return;
    }
    m_sa = *attributes;
    m_pSa = &m_sa;
}

void CThread::SetOwnerAndParameter(DWORD_PTR owner, DWORD_PTR parameter)
{
    ThreadLock lock;
    m_owner = owner;
    m_parameter = parameter;
}

void CThread::GetOwnerAndParameter(DWORD_PTR& owner, DWORD_PTR& parameter) const
{
    ThreadLock lock;
    owner = m_owner;
    parameter = m_parameter;
}

HANDLE CThread::GetHandle() const
{
    ThreadLock lock;
    return m_hThread;
}

DWORD CThread::GetThreadId() const
{
    ThreadLock lock;
    return m_dwThreadId;
}

void CThread::Lock()
{
    CRITICAL_SECTION* section = nullptr;
    {
        ThreadLock lock;
        if (m_bUseSharedLock && m_pSharedLock != nullptr)
            section = &m_pSharedLock->section;
    }
    if (section != nullptr)
        EnterCriticalSection(section);
}

void CThread::Unlock()
{
    CRITICAL_SECTION* section = nullptr;
    {
        ThreadLock lock;
        if (m_bUseSharedLock && m_pSharedLock != nullptr)
            section = &m_pSharedLock->section;
    }
    if (section != nullptr)
        LeaveCriticalSection(section);
}

void CThread::CreateSecondLock()
{
    ThreadLock lock;
    if (Globals().second == nullptr) {
        Globals().second = new CRITICAL_SECTION;
        InitializeCriticalSection(Globals().second);
    }
}

void CThread::EnterSecondLock()
{
    CRITICAL_SECTION* section = nullptr;
    {
        ThreadLock lock;
        section = Globals().second;
    }
    if (section != nullptr)
        EnterCriticalSection(section);
}

void CThread::LeaveSecondLock()
{
    CRITICAL_SECTION* section = nullptr;
    {
        ThreadLock lock;
        section = Globals().second;
    }
    if (section != nullptr)
        LeaveCriticalSection(section);
}

void CThread::DeleteSecondLock()
{
    ThreadLock lock;
    if (Globals().second != nullptr) {
        DeleteCriticalSection(Globals().second);
        delete Globals().second;
        Globals().second = nullptr;
    }
}
