// Running one job on a worker thread while the calling (user-interface) thread waits.
//
// The rule it keeps: nothing thrown on the worker leaves it (a framework exception is
// deleted there and only its text comes back), the caller never returns while the worker
// still runs, and the waiting thread keeps answering the messages other threads send it.
// A job never shows UI: the waiting thread does not pump posted messages.
#pragma once
#include "fw/fwstring.h"
#include <functional>

enum class WorkerOutcome { Done, NotStarted, Failed };

struct WorkerResult
{
    WorkerOutcome outcome = WorkerOutcome::NotStarted;
    CString error; // Failed: the exception's text
};

// Runs `job` on a new worker thread. The calling thread waits on the thread handle while it
// handles sent messages (a worker may SendMessage to a window of the waiting thread without
// deadlock), calling `step` (when given) every 100 ms. A thread that cannot start gives
// NotStarted (the job never ran). A thrown CException* is caught and Delete()d on the worker,
// std::bad_alloc and any other exception are caught there; each gives Failed with its text
// (GetErrorMessage, or the class name when it has none; what(); "unknown exception").
// Should `step` throw, stepping stops and the exception is rethrown once the worker ended.
WorkerResult RunOnWorker(const std::function<void()>& job, const std::function<void()>& step = {});

// The one wait of a thread that others may send to: waits until `handle` is signalled,
// handling the messages other threads send this one (nothing posted is taken), and calls
// `step` (when given) every 100 ms; a step that returns false ends the wait. True when the
// handle was signalled, false when a step ended the wait.
bool FwWaitAnsweringSentMessages(HANDLE handle, const std::function<bool()>& step = {});

// Test seam: the call that starts the worker thread (_beginthreadex by default), returning
// the thread's handle or NULL when it could not start. Setting NULL restores the default;
// returns the one that was set.
typedef HANDLE (*FwWorkerThreadStarter)(unsigned(__stdcall* entry)(void*), void* argument);
FwWorkerThreadStarter FwSetWorkerThreadStarter(FwWorkerThreadStarter starter);

// Starts a worker thread through that same starter, for a caller that waits its own way (a
// modal dialog fed by the worker's messages): the thread's handle, which the caller closes,
// or NULL when it could not start (the entry never runs then).
HANDLE FwStartWorkerThread(unsigned(__stdcall* entry)(void*), void* argument);
