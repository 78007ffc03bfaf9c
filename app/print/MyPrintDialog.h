// The print dialog: the common print dialog on the program's own template, with the
// "Print Outline" option and the paper adjustments in whole millimetres by which every
// printed item is moved to make up for the printer's feed.
#pragma once

#include "fw/fwwin.h"

class CMyPrintDialog : public CPrintDialog
{
    DECLARE_DYNAMIC(CMyPrintDialog)
public:
    // The adjustments start from the values given; the printer name is shown as given.
    CMyPrintDialog(BOOL printSetupOnly, BYTE outline, BYTE invert, int horizontalMm, int verticalMm,
                   CString printerName, DWORD flags, CWnd* parent = nullptr);

    int GetHorizontalAdjustment() const { return m_horizontal; }
    int GetVerticalAdjustment() const { return m_vertical; }
    BOOL IsOutlineChecked() const { return m_outline != 0; }
    BOOL IsInvertChecked() const { return m_invert != 0; }

    // How far the bars reach, millimetres.
    enum { kHorizontalRange = 5, kVerticalRange = 20 };

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnHScroll(UINT code, UINT position, CScrollBar* bar);
    void OnVScroll(UINT code, UINT position, CScrollBar* bar);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    DECLARE_MESSAGE_MAP()

    // The bar's new position after a scroll request, within its range.
    static int ScrollTo(CScrollBar& bar, UINT code, UINT position);
    void ShowAdjustment(UINT id, int mm);

    int m_outline;
    int m_invert; // exchanged with the hidden "Invert Print " box; nothing reads it
    CString m_printerName;
    CScrollBar m_horizontalBar;
    CScrollBar m_verticalBar;
    int m_horizontal;
    int m_vertical;
    CBrush m_brush;
};
