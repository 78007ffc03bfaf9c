#include "fw/fwworker.h"
#include "fw/fwwin.h"
#include <exception>
#include <new>
#include <process.h>

namespace {

HANDLE StartWithRuntime(unsigned(__stdcall* entry)(void*), void* argument)
{
    // _beginthreadex, not CreateThread: the job may use the C runtime.
    return reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, entry, argument, 0, nullptr));
}

FwWorkerThreadStarter g_starter = &StartWithRuntime;

struct WorkerCall
{
    const std::function<void()>* job;
    WorkerResult result;
};

// Setting the text may itself run out of memory: the outcome stands without it.
void Fail(WorkerResult& result, LPCSTR text)
{
    result.outcome = WorkerOutcome::Failed;
    try {
        result.error = text;
    } catch (CException* e) {
        e->Delete();
    } catch (...) {}
}

void FailWith(WorkerResult& result, const CException* e)
{
    char text[512] = "";
    if (e->GetErrorMessage(text, sizeof text) && text[0] != 0)
        Fail(result, text);
    else
        Fail(result, e->GetRuntimeClass()->m_lpszClassName);
}

unsigned __stdcall WorkerEntry(void* argument)
{
    WorkerCall* call = static_cast<WorkerCall*>(argument);
    try {
        (*call->job)();
        call->result.outcome = WorkerOutcome::Done;
    } catch (CException* e) {
        FailWith(call->result, e);
        e->Delete();
    } catch (const std::exception& e) { // std::bad_alloc included
        Fail(call->result, e.what());
    } catch (...) {
        Fail(call->result, "unknown exception");
    }
    // Wrappers the job took from FromHandle belong to this thread, which ends now.
    FwDeleteTempMaps();
    return 0;
}

} // namespace

bool FwWaitAnsweringSentMessages(HANDLE handle, const std::function<bool()>& step)
{
    const DWORD period = 100;
    DWORD last = GetTickCount();
    for (;;) {
        DWORD timeout = INFINITE;
        if (step) {
            // Unsigned subtraction counts across the wrap of the tick counter.
            const DWORD passed = GetTickCount() - last;
            timeout = passed >= period ? 0 : period - passed;
        }
        const DWORD woke = MsgWaitForMultipleObjects(1, &handle, FALSE, timeout, QS_SENDMESSAGE);
        if (woke == WAIT_OBJECT_0)
            return true;
        if (woke == WAIT_OBJECT_0 + 1) {
            // Peeking delivers the sent messages; nothing posted is taken.
            MSG msg;
            PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        } else if (woke == WAIT_FAILED) {
            return WaitForSingleObject(handle, INFINITE) == WAIT_OBJECT_0;
        }
        if (step && GetTickCount() - last >= period) {
            last = GetTickCount();
            if (!step())
                return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
        }
    }
}

FwWorkerThreadStarter FwSetWorkerThreadStarter(FwWorkerThreadStarter starter)
{
    FwWorkerThreadStarter previous = g_starter;
    g_starter = starter != nullptr ? starter : &StartWithRuntime;
    return previous;
}

HANDLE FwStartWorkerThread(unsigned(__stdcall* entry)(void*), void* argument) { return g_starter(entry, argument); }

WorkerResult RunOnWorker(const std::function<void()>& job, const std::function<void()>& step)
{
    WorkerCall call = {&job, WorkerResult()};
    HANDLE thread = FwStartWorkerThread(&WorkerEntry, &call);
    if (thread == nullptr)
        return WorkerResult();
    // A step that throws ends the stepping; its exception is kept for the caller, who gets
    // it once the worker has ended.
    std::exception_ptr stepFailure;
    bool stepping = static_cast<bool>(step);
    std::function<bool()> stepper;
    if (stepping)
        stepper = [&] {
            if (stepping) {
                try {
                    step();
                } catch (...) {
                    stepFailure = std::current_exception();
                    stepping = false;
                }
            }
            return true;
        };
    FwWaitAnsweringSentMessages(thread, stepper);
    CloseHandle(thread);
    if (stepFailure)
        std::rethrow_exception(stepFailure);
    return call.result;
}
