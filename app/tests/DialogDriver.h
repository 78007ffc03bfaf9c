// Answers a dialog the way a person would: the test's action runs once on the first
// visible top-level dialog of the thread, from a timer of the modal loop that shows it.
#pragma once

#include <windows.h>
#include <functional>
#include <utility>

class DialogDriver
{
public:
    explicit DialogDriver(std::function<void(HWND)> act) : m_act(std::move(act))
    {
        s_self = this;
        m_timer = ::SetTimer(NULL, 0, 50, &DialogDriver::Tick);
    }
    ~DialogDriver()
    {
        ::KillTimer(NULL, m_timer);
        s_self = NULL;
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    bool acted = false;

private:
    static BOOL CALLBACK Find(HWND wnd, LPARAM found)
    {
        char cls[16];
        ::GetClassNameA(wnd, cls, sizeof cls);
        if (::IsWindowVisible(wnd) && lstrcmpA(cls, "#32770") == 0 &&
            !(::GetWindowLong(wnd, GWL_STYLE) & WS_CHILD)) { // not a panel inside a host
            *(HWND*)found = wnd;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s_self == NULL || s_self->acted)
            return;
        HWND dlg = NULL;
        ::EnumThreadWindows(::GetCurrentThreadId(), Find, (LPARAM)&dlg);
        if (dlg == NULL)
            return;
        s_self->acted = true;
        s_self->m_act(dlg);
    }

    static inline DialogDriver* s_self = NULL;
    std::function<void(HWND)> m_act;
    UINT_PTR m_timer;
};
