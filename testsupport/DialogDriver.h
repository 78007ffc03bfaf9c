// Answers the dialogs a test's action shows, the way a person would.  Every dialog that
// shows on this thread while the driver lives (a visible top-level "#32770" window, not a
// panel inside a host) is handed once, in the order they show, to the next step, from a
// timer of whichever modal loop shows it.  A step gives its input (Press, TypeText, ...)
// and returns; the dialog's own loop then handles that input.
//
// A dialog that comes when no step is left is a failure of the test (named by its
// title) and is cancelled, and so is a dialog still open and usable a while (15 seconds
// unless set) after its step: the input did not end it.  A test never hangs on a dialog.
#pragma once
#include "fw/fwwin.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class DialogDriver
{
public:
    using Step = std::function<void(HWND dlg)>;
    // Chooses the constructor that answers every dialog with one step.
    struct EveryDialog
    {};

    // One step per dialog, in the order the dialogs show.
    explicit DialogDriver(std::vector<Step> steps);
    // One step for the one dialog the action shows.
    explicit DialogDriver(Step step);
    // The same step for every dialog the action shows, however many.
    DialogDriver(EveryDialog, Step step);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // How many dialogs a step was given; whether there was one.
    size_t StepsTaken() const { return m_taken; }
    bool Acted() const { return m_taken > 0; }
    // The titles of the dialogs that came when no step was left.
    const std::vector<std::string>& Unexpected() const { return m_unexpected; }
    // How long a dialog may stay open and usable after its step.
    void SetStepBound(DWORD ms) { m_stepBoundMs = ms; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Next();
    HWND FindNewDialog();
    void CancelOverdue();
    void Cancel(HWND dlg, std::vector<std::string>& list);

    static DialogDriver* s_self;
    std::vector<Step> m_steps;
    bool m_every = false;
    size_t m_taken = 0;
    std::map<HWND, DWORD> m_handled; // each dialog handed out, with when
    std::vector<std::string> m_unexpected;
    std::vector<std::string> m_overdue;
    DWORD m_stepBoundMs = 15000;
    UINT_PTR m_timer = 0;
    bool m_busy = false;
};
