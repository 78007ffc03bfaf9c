// A static control drawn as a caption with a dotted rule beside it, the way the panels label
// a set of controls; and a slider that shows its value in a tracking tooltip.
//
// The rule it keeps: the rule stands h pixels (half the text's height) clear of the text on
// the side it runs from; colours come from the skin.
#pragma once
#include "fw/fwwin.h"

class CLineStatic : public CStatic
{
public:
    CLineStatic() = default;
    // Lit captions are yellow, dimmed ones green; invalidates the control.
    void SetHighlight(BOOL lit);
    BOOL GetHighlight() const { return m_bHighlight; }

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()

    BYTE m_bHighlight = TRUE;
    COLORREF m_crText = 0;
};

class CTipSliderCtrl : public CSliderCtrl
{
public:
    // Which format the value takes: "caption:50%", "caption:12pt", or the percentage through
    // the floating-point format.
    enum ValueKind { kPercent = 0, kPoints = 1, kPercentFloat = 2 };

    CTipSliderCtrl() = default;
    void SetValueCaption(const CString& caption, int kind);
    static CString FormatValue(const CString& caption, int kind, int position);
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()

    void ShowTip(const CString& text);

    CToolTipCtrl m_tip;
    int m_nLastPos = -1; // the position the tip shows; -1: no tooltip yet
    CString m_caption;
    int m_nKind = kPercent;
};
