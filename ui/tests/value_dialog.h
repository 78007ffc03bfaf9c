// The value controls' test dialog: a slider, a skinned scroll bar, a round dial, their
// labels and a button, placed to the pixel; every WM_HSCROLL / WM_VSCROLL it gets is noted
// with its code, position, sender and time, and is passed on to the value bars.
#pragma once
#include "ui/RoundSliderCtrl.h"
#include "ui/ValueBar.h"
#include "ui/XScrollBar.h"
#include "ui/tests/ui_test_res.h"

#include "res/ui_res.h"
#include "testsupport/DibSurface.h"

#include <stdlib.h>
#include <vector>

// What a window shows of its client area now, read from its own DC.
inline void Snap(HWND wnd, DibSurface& into)
{
    HDC dc = ::GetDC(wnd);
    ::BitBlt(into.Hdc(), 0, 0, into.Width(), into.Height(), dc, 0, 0, SRCCOPY);
    ::ReleaseDC(wnd, dc);
}

// Whether two colours differ by at most `tolerance` in every channel.
inline bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance && abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

struct ScrollNote
{
    UINT message; // WM_HSCROLL or WM_VSCROLL
    UINT code;
    int position; // the high word, as the sender put it
    HWND from;
    DWORD time;
};

class ValueDialog : public CDialog
{
public:
    // The bars' rectangles in client pixels: a scroll bar 200 x 12, a dial 80 x 80.
    static constexpr RECT kScroll = {10, 50, 210, 62};
    static constexpr RECT kVScroll = {330, 10, 342, 190};
    static constexpr RECT kDial = {10, 80, 90, 160};

    ValueDialog() : CDialog(IDD_T_VALUES, nullptr) {}
    ~ValueDialog() override
    {
        if (m_hWnd != nullptr)
            DestroyWindow();
    }

    // Shows the dialog topmost at (x, y) of the screen, made wide enough for the bars.
    bool Open(int x, int y, const RECT& scroll = kScroll)
    {
        // The pointer away from the dialog, so that no mouse move of the system lands on it.
        ::SetCursorPos(x + 600, y + 500);
        if (!Create(IDD_T_VALUES))
            return false;
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, x, y, 400, 240, SWP_SHOWWINDOW);
        ::SetForegroundWindow(m_hWnd);
        Place(IDC_T_VAL_SCROLL_SPOT, scroll);
        Place(IDC_T_VAL_VSCROLL_SPOT, kVScroll);
        Place(IDC_T_VAL_DIAL, kDial);
        if (!bar.CreateFromStatic(WS_CHILD | WS_VISIBLE | 0x14E, this, IDC_T_VAL_SCROLL_SPOT, IDC_T_VAL_SCROLL))
            return false;
        if (!vbar.CreateFromStatic(WS_CHILD | WS_VISIBLE | 0x14F, this, IDC_T_VAL_VSCROLL_SPOT, IDC_T_VAL_VSCROLL))
            return false;
        if (!dial.SubclassDlgItem(IDC_T_VAL_DIAL, this))
            return false;
        dial.SetKnobBitmap(IDB_SKIN_KNOB);
        return true;
    }

    void Place(int id, const RECT& r)
    {
        ::MoveWindow(::GetDlgItem(m_hWnd, id), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }

    // The notes of one sender and code.
    std::vector<ScrollNote> From(HWND from, UINT code) const
    {
        std::vector<ScrollNote> out;
        for (const ScrollNote& n : notes)
            if (n.from == from && n.code == code)
                out.push_back(n);
        return out;
    }
    size_t CountFrom(HWND from) const
    {
        size_t n = 0;
        for (const ScrollNote& note : notes)
            n += note.from == from;
        return n;
    }

    CXScrollBar bar;
    CXScrollBar vbar;
    CRoundSliderCtrl dial;
    std::vector<CValueBar*> values; // the bars the dialog passes its scroll messages to
    std::vector<ScrollNote> notes;
    DWORD lastChange = 0; // when a value bar last took a change

protected:
    void OnOK() override {}
    void OnCancel() override {}
    void Note(UINT message, UINT code, UINT pos, CScrollBar* from)
    {
        HWND sender = from != nullptr ? from->GetSafeHwnd() : nullptr;
        notes.push_back({message, code, (int)(short)pos, sender, ::GetTickCount()});
        for (CValueBar* v : values) {
            const int before = v->GetPosition();
            if (v->OnScroll(sender, code, (int)(short)pos) && v->GetPosition() != before)
                lastChange = ::GetTickCount();
        }
    }
    void OnHScroll(UINT code, UINT pos, CScrollBar* from) { Note(WM_HSCROLL, code, pos, from); }
    void OnVScroll(UINT code, UINT pos, CScrollBar* from) { Note(WM_VSCROLL, code, pos, from); }
    void OnTimer(UINT_PTR id)
    {
        for (CValueBar* v : values)
            v->OnTimer(id);
    }
    DECLARE_MESSAGE_MAP()
};
