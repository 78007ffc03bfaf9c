#include "testsupport/Pump.h"

namespace {

bool MessageWaiting()
{
    MSG m;
    return ::PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE) != FALSE;
}

} // namespace

void PumpOnce(DWORD maxWaitMs)
{
    if (MessageWaiting()) {
        AfxPumpMessage();
        return;
    }
    ::MsgWaitForMultipleObjectsEx(0, nullptr, maxWaitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

bool PumpPending(DWORD maxMs)
{
    const DWORD start = ::GetTickCount();
    while (MessageWaiting()) {
        if (::GetTickCount() - start >= maxMs)
            return false;
        AfxPumpMessage();
    }
    return true;
}
