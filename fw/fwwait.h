// The wait (hourglass) cursor.
//
// Each thread keeps its own count of active waits, so a worker may create CWaitCursor
// objects freely. Only the UI thread changes the cursor: the thread that called
// FwSetUiThread, or, until someone does, the thread that ran the program's static
// initialisation (the process's main thread). The first wait of the UI thread shows the
// hourglass, the last one restores the cursor that was there before.
#pragma once
#include "fw/fwdefs.h"

class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    // Shows the hourglass again (after a dialog or message box changed the cursor).
    void Restore();

private:
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

void FwSetUiThread(DWORD threadId);
DWORD FwGetUiThread();
// The same count as CWaitCursor, for BeginWaitCursor/EndWaitCursor of the window layer.
void FwBeginWaitCursor();
void FwEndWaitCursor();
void FwRestoreWaitCursor();
// Active waits of the calling thread; the window layer keeps the hourglass on WM_SETCURSOR
// while the UI thread's count is above 0.
int FwGetWaitCursorCount();
