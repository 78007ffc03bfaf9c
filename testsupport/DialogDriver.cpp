#include "testsupport/DialogDriver.h"

#include <gtest/gtest.h>

DialogDriver* DialogDriver::s_self = nullptr;

DialogDriver::DialogDriver(std::vector<Step> steps) : m_steps(std::move(steps))
{
    // One driver at a time: two would race for the same dialogs.
    EXPECT_EQ(nullptr, s_self) << "a DialogDriver is already running on this thread";
    s_self = this;
    m_timer = ::SetTimer(nullptr, 0, 40, &DialogDriver::Tick);
}

DialogDriver::DialogDriver(Step step) : DialogDriver(std::vector<Step>{std::move(step)}) {}

DialogDriver::DialogDriver(EveryDialog, Step step) : DialogDriver(std::vector<Step>{std::move(step)})
{
    m_every = true;
}

DialogDriver::~DialogDriver()
{
    ::KillTimer(nullptr, m_timer);
    if (s_self == this)
        s_self = nullptr;
    for (const std::string& title : m_unexpected)
        ADD_FAILURE() << "a dialog that no step expected came and was cancelled: \"" << title << "\"";
    for (const std::string& title : m_overdue)
        ADD_FAILURE() << "a dialog was still open after its step and was cancelled: \"" << title << "\"";
}

namespace {

struct Search
{
    const std::map<HWND, DWORD>* handled;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    char cls[16] = "";
    ::GetClassNameA(wnd, cls, sizeof cls);
    if (::IsWindowVisible(wnd) && lstrcmpA(cls, "#32770") == 0 && !(::GetWindowLong(wnd, GWL_STYLE) & WS_CHILD) &&
        search->handled->find(wnd) == search->handled->end()) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND DialogDriver::FindNewDialog()
{
    // A handle of a dialog that has gone may be given to a new one.
    for (auto it = m_handled.begin(); it != m_handled.end();)
        it = ::IsWindow(it->first) ? std::next(it) : m_handled.erase(it);
    Search search = {&m_handled, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void DialogDriver::Cancel(HWND dlg, std::vector<std::string>& list)
{
    char title[256] = "";
    ::GetWindowTextA(dlg, title, sizeof title);
    list.push_back(title);
    ::PostMessage(dlg, WM_COMMAND, IDCANCEL, 0);
}

void DialogDriver::CancelOverdue()
{
    const DWORD now = ::GetTickCount();
    for (auto& handled : m_handled) {
        // A dialog that a nested one disabled waits for that one, not for its own input.
        HWND dlg = handled.first;
        if (handled.second != 0 && now - handled.second > m_stepBoundMs && ::IsWindowVisible(dlg) &&
            ::IsWindowEnabled(dlg)) {
            handled.second = 0; // cancelled once
            Cancel(dlg, m_overdue);
        }
    }
}

void DialogDriver::Next()
{
    CancelOverdue();
    HWND dlg = FindNewDialog();
    if (dlg == nullptr)
        return;
    m_handled[dlg] = ::GetTickCount() | 1; // never 0, which marks "cancelled"
    if (!m_every && m_taken >= m_steps.size()) {
        m_handled[dlg] = 0;
        Cancel(dlg, m_unexpected);
        return;
    }
    const Step& step = m_steps[m_every ? 0 : m_taken];
    ++m_taken;
    // A step may run a nested loop: no other dialog is handed out meanwhile.
    m_busy = true;
    step(dlg);
    m_busy = false;
}

void CALLBACK DialogDriver::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (s_self != nullptr && !s_self->m_busy)
        s_self->Next();
}
