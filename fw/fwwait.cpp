#include "fw/fwwait.h"

namespace {

// The thread that runs static initialisation is the process's main thread.
volatile DWORD g_uiThread = GetCurrentThreadId();
thread_local int t_waitCount = 0;
HCURSOR g_restoreCursor = NULL; // touched by the UI thread only

bool OnUiThread() { return GetCurrentThreadId() == g_uiThread; }

} // namespace

void FwSetUiThread(DWORD threadId) { g_uiThread = threadId; }
DWORD FwGetUiThread() { return g_uiThread; }

void FwBeginWaitCursor()
{
    if (t_waitCount++ == 0 && OnUiThread())
        g_restoreCursor = SetCursor(LoadCursor(NULL, IDC_WAIT));
}

void FwEndWaitCursor()
{
    if (t_waitCount <= 0)
        return;
    if (--t_waitCount == 0 && OnUiThread()) {
        SetCursor(g_restoreCursor ? g_restoreCursor : LoadCursor(NULL, IDC_ARROW));
        g_restoreCursor = NULL;
    }
}

void FwRestoreWaitCursor()
{
    if (t_waitCount > 0 && OnUiThread())
        SetCursor(LoadCursor(NULL, IDC_WAIT));
}

int FwGetWaitCursorCount() { return t_waitCount; }

CWaitCursor::CWaitCursor() { FwBeginWaitCursor(); }
CWaitCursor::~CWaitCursor() { FwEndWaitCursor(); }
void CWaitCursor::Restore() { FwRestoreWaitCursor(); }
