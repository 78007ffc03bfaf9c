// A panel's numeric setting: a slider, a skinned scroll bar or a round dial bound to the
// label that shows its value. The panel gives the stored value (a float of the design) and
// takes it back; the bar keeps control, label and design in step and applies a change
// through the panel's callback, at once or 100 ms after the last move (the panel's timer
// 102), so that a drag applies once.
//
// The rule it keeps: a stored value becomes a position by scale, rounded to the nearest
// whole number (a value like 0.29 is 28.999998 after scaling in float and must still show
// 29), clamped to the range; each change that is applied marks the design modified once,
// through the document's DesignEdited.
#pragma once
#include "fw/fwwin.h"
#include "model/design/FrostwellDoc.h"

#include <functional>

class CXScrollBar;

// The label formats of the panels.
extern const char kValuePercent[];     // "%d%%"
extern const char kValueTwoDecimals[]; // "%0.2f"
extern const char kValueMillimetres[]; // "%dmm"
extern const char kValueDegrees[];     // "%ld°" (the degree sign is the ANSI byte 0xB0)

enum class ValueControl { Slider, ScrollBar, RoundSlider };

class CValueBar
{
public:
    // The panels' deferred-apply timer.
    enum : UINT_PTR { kDeferTimer = 102 };
    enum : UINT { kDeferMs = 100 };

    using ApplyFn = std::function<void(float stored)>;

    CValueBar() = default;
    CValueBar(const CValueBar&) = delete;
    CValueBar& operator=(const CValueBar&) = delete;

    // `control` is the slider, the CXScrollBar or the CRoundSliderCtrl (created or
    // subclassed already) of kind `kind`; `label` may be null. Position = stored x scale.
    // The range is set on the control. A float format ("%0.2f") shows position / scale,
    // the others the position.
    void Bind(CWnd* control, CWnd* label, ValueControl kind, float scale, const char* format, int minimum, int maximum,
              bool deferred);
    // Where an applied change goes: the panel's callback, then doc->DesignEdited(scope).
    void SetApply(ApplyFn apply) { m_apply = std::move(apply); }
    void SetDocument(CFrostwellDoc* doc, EditScope scope = EditScope::DesignArea)
    {
        m_pDoc = doc;
        m_scope = scope;
    }

    // Shows a stored value (control and label); applies nothing.
    void SetStored(float stored);
    float GetStored() const { return (float)((double)m_nPos / m_fScale); }
    int GetPosition() const { return m_nPos; }
    CString GetLabelText() const;
    HWND GetControl() const { return m_pControl != nullptr ? m_pControl->GetSafeHwnd() : nullptr; }

    // The panel passes on its WM_HSCROLL / WM_VSCROLL: TRUE when it came from this bar's
    // control (the change is then stored and applied or scheduled).
    BOOL OnScroll(HWND from, UINT code, int position);
    // The panel passes on its WM_TIMER: TRUE when it was the deferred-apply timer; a
    // pending change of this bar is applied then.
    BOOL OnTimer(UINT_PTR id);
    // Applies a pending change now (a panel that closes before the timer fires).
    void Flush();
    bool IsPending() const { return m_bPending; }

    // The nearest whole position of a stored value: rounded, never truncated.
    static int ToPosition(double stored, float scale);
    // The label text of a position.
    static CString FormatValue(const char* format, int position, float scale);

private:
    int Clamp(int position) const;
    int ReadControl(int posted) const;
    void ShowPosition(bool onControl = true);
    void Apply();

    CWnd* m_pControl = nullptr;
    CWnd* m_pLabel = nullptr;
    ValueControl m_kind = ValueControl::Slider;
    float m_fScale = 100.0f;
    CString m_strFormat;
    int m_nMin = 0;
    int m_nMax = 100;
    bool m_bDeferred = false;
    bool m_bPending = false;
    int m_nPos = 0;
    ApplyFn m_apply;
    CFrostwellDoc* m_pDoc = nullptr;
    EditScope m_scope = EditScope::DesignArea;
};
