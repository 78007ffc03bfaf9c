// While it lives, the system shows no critical-error box ("no disk in drive A:") for this
// process: a drive probe or a folder listing fails quietly instead.  The mode found is
// restored at the end of the scope.
#pragma once

#include <windows.h>

class CriticalErrorsOff
{
public:
    CriticalErrorsOff() : m_old(::SetErrorMode(SEM_FAILCRITICALERRORS))
    {
        ::SetErrorMode(m_old | SEM_FAILCRITICALERRORS);
    }
    ~CriticalErrorsOff() { ::SetErrorMode(m_old); }
    CriticalErrorsOff(const CriticalErrorsOff&) = delete;
    CriticalErrorsOff& operator=(const CriticalErrorsOff&) = delete;

private:
    UINT m_old;
};
