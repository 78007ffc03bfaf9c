// Waiting in a test the way the program waits: this thread's messages are handled through
// the framework's pump (pre-translation, idle clean-up of temporary wrappers) while the
// test waits for a condition, never for a fixed time.  Every wait has a bound.
#pragma once
#include "fw/fwwin.h"

// Handles one queued message of this thread, or waits up to maxWaitMs for one to come
// (or for the condition to change on another thread).
void PumpOnce(DWORD maxWaitMs);

// Handles this thread's messages until condition() holds or timeoutMs have passed;
// returns condition() as it is at the end.
template <class Condition> bool PumpUntil(Condition condition, DWORD timeoutMs = 5000)
{
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        const DWORD spent = ::GetTickCount() - start;
        if (spent >= timeoutMs)
            return condition();
        const DWORD left = timeoutMs - spent;
        PumpOnce(left < 10 ? left : 10);
    }
    return true;
}

// Handles what is queued now (posted messages, paints, timers that are due) until the
// queue is empty or maxMs have passed; true when the queue was emptied.
bool PumpPending(DWORD maxMs = 500);
