// A long-lived worker thread driven by numbered commands, and the exception it throws.
//
// The owner starts the thread, posts commands to it and stops or kills it; a derived class
// writes the thread's body (ThreadHandler), which takes the commands one at a time from a
// first-in-first-out queue woken by an auto-reset event.  The rules it keeps:
// - one process-wide lock (the thread lock) guards the queue, handles, identifier, status,
//   exit code and the registry of shared locks of every CThread; no operation may be called
//   from ThreadHandler while that thread holds the lock;
// - waits of the owner's thread (Stop, WaitForActivityStatus) wait on the thread's handle
//   while answering the messages other threads send it, so a worker that sends to a window
//   of the waiting thread never deadlocks it;
// - failures are thrown as CThreadException by pointer, after the lock has been left; the
//   catcher reports (ReportError) or deletes it;
// - commands 0..7: 0 none (no notification support), 1 a wait timed out, 2 posted by Start,
//   3 Run, 4 Pause, 5 Continue, 6 Reset, 7 Stop; what 2..7 do is the derived class's.
#pragma once

#include "fw/fw.h"

class CThread;

class CThreadException : public CException
{
    DECLARE_DYNAMIC(CThreadException)
public:
    enum Type {
        kNone = 0,
        kCreationFailed = 1,
        kAlreadyStarted = 2,
        kKillFailed = 3,
        kEventFailed = 4,
        kPostFailed = 5,
    };

    explicit CThreadException(CThread* thread);
    CThreadException(CThread* thread, LPCTSTR message, int type);
    CThreadException(CThread* thread, UINT messageId, int type);

    CThread* GetThread() const { return m_pThread; }
    const CString& GetMessage() const { return m_strMessage; }
    void SetMessage(LPCTSTR message) { m_strMessage = message; }
    // The text of a string resource; the message stays as it was when there is none.
    void SetMessage(UINT messageId);
    int GetType() const { return m_nType; }
    void SetType(int type) { m_nType = type; }

    BOOL GetErrorMessage(LPSTR buffer, UINT maxLength, PUINT helpContext = NULL) const override;
    // Shows the message, or the string resource `messageId` when one is given, in the
    // framework's message box; returns the box's result.
    int ReportError(UINT type = MB_OK, UINT messageId = 0) const override;

    // The system's text of an error code in the user's language; "" when it has none.
    static CString GetLastErrorText(DWORD error);

private:
    CThread* m_pThread;
    CString m_strMessage;
    int m_nType;
};

class CThread : public CObject
{
    DECLARE_DYNAMIC(CThread)
public:
    enum Command {
        kNoCommand = 0,
        kTimedOut = 1,
        kStart = 2,
        kRun = 3,
        kPause = 4,
        kContinue = 5,
        kReset = 6,
        kStop = 7,
    };
    // The exit code of an object whose thread never ran.
    static constexpr DWORD kNeverRun = (DWORD)-2;

    CThread(DWORD_PTR owner = 0, DWORD_PTR parameter = 0);
    // A thread still running is ended by force (Kill with exit code 0, nothing thrown).
    ~CThread() override;

    // Starts the thread; it finds command 2 in its queue.  Throws types 1, 2, 4, 5; a
    // running thread is left alone (type 2, "Thread is already started!").
    void Start();
    // Posts 7 and waits up to `polls` times 100 ms (-1: no limit) for the thread to end.
    // TRUE when it is not running afterwards; *exitCode gets its exit code (STILL_ACTIVE
    // while it runs).  Throws type 5.
    BOOL Stop(DWORD* exitCode, int polls = -1);
    // Ends the thread by force.  Throws type 3 unless noThrow; with noThrow the stored exit
    // code is `exitCode` whatever the system read back.
    void Kill(DWORD exitCode = 0, BOOL noThrow = FALSE);

    // Appends a command (a repeat of the last queued one is dropped) and wakes the thread;
    // nothing without a thread.  Throws type 5.
    void PostCommand(UINT command);
    // Puts a command at the head of the queue without waking the thread (for the thread
    // itself, before it waits); FALSE without a thread, notification support or command.
    BOOL PostCommandFirst(UINT command);
    void Run() { PostCommand(kRun); }
    void Pause() { PostCommand(kPause); }
    void Continue() { PostCommand(kContinue); }
    void Reset() { PostCommand(kReset); }
    // Called by the thread: the next command, waiting up to `timeout` ms for one (1 when
    // the wait timed out; 0 without notification support).
    void WaitForNotification(UINT& command, DWORD timeout = INFINITE);
    void ClearCommands();
    // A copy of the commands not yet taken, oldest first.
    void GetQueuedCommands(CUIntArray& out) const;

    BOOL IsAlive() const;
    // A handle that is signalled once the running thread has really ended, for the owner
    // to wait on; NULL when no thread runs.  The caller closes it.
    HANDLE OpenEndHandle() const;

    void SetActivityStatus(int status) { InterlockedExchange(&m_nActivityStatus, (LONG)status); }
    int GetActivityStatus() const { return (int)InterlockedCompareExchange(&m_nActivityStatus, 0, 0); }
    // Waits (answering sent messages) up to `polls` times 100 ms (-1: no limit) until the
    // status is `status` or the thread is gone; TRUE when the status matches.
    BOOL WaitForActivityStatus(int status, int polls = -1) const;

    BOOL SetPriority(int priority);
    int GetPriority() const; // 0x7FFFFFFF without a thread
    DWORD GetExitCode() const;
    void SetSecurityAttributes(const SECURITY_ATTRIBUTES* attributes);
    void SetOwnerAndParameter(DWORD_PTR owner, DWORD_PTR parameter);
    void GetOwnerAndParameter(DWORD_PTR& owner, DWORD_PTR& parameter) const;
    HANDLE GetHandle() const;
    DWORD GetThreadId() const;
    UINT GetStackSize() const { return m_nStackSize; }
    void SetStackSize(UINT bytes) { m_nStackSize = bytes; }
    const CString& GetName() const { return m_strName; }

    // The thread's shared critical section (by name, for threads that share data): entered
    // after the thread lock has been left; nothing without shared-lock use or an open one.
    void Lock();
    void Unlock();
    // How many running threads share the section of that name; 0 when there is none.
    static int SharedLockUsers(LPCTSTR name);

    // A second process-wide section beside the thread lock: made on the first request;
    // entering, leaving and deleting do nothing while it does not exist.
    static void CreateSecondLock();
    static void EnterSecondLock();
    static void LeaveSecondLock();
    static void DeleteSecondLock();

protected:
    // The thread's body; its result is the thread's exit code.
    virtual DWORD ThreadHandler() = 0;
    // Called after a forced end.
    virtual void OnKill() {}

    BOOL m_bSupportNotification; // derived classes turn it on in their constructor
    BOOL m_bUseSharedLock;       // the section named m_strName is opened at each start
    CString m_strName;

public:
    // One record of the process-wide registry of shared sections, one per name in use.
    struct SharedLockEntry;

private:
    static unsigned __stdcall ThreadProc(void* self);

    // All below under the thread lock.
    BOOL IsAliveUnlocked() const;
    void ResetState();
    bool AppendCommand(UINT command, DWORD* error);
    void OpenSharedLock();
    void ReleaseSharedLock();
    [[noreturn]] void ThrowError(int type, DWORD error);

    SharedLockEntry* m_pSharedLock;
    SECURITY_ATTRIBUTES m_sa;
    SECURITY_ATTRIBUTES* m_pSa;
    HANDLE m_hThread;
    HANDLE m_hEvent;
    DWORD m_dwThreadId;
    UINT m_nStackSize;
    DWORD m_dwExitCode;
    mutable volatile LONG m_nActivityStatus;
    DWORD_PTR m_owner;
    DWORD_PTR m_parameter;
    CUIntArray m_commands;
};
