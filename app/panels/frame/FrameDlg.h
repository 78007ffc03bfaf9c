// The Frame menu's frame panel: one of the 14 frame styles for the current design area, the
// frame's size and the intensity of its effect, and Remove.
//
// The rules it keeps: the panel keeps no state of its own, every activation reads the bars
// from the current frame record; a bar move stores its value at once and has the design
// drawn again, and the change is applied (redraw, modified, views updated) once, 100 ms
// after the last move; a stored value shows rounded to the nearest position; a record
// without a frame offers nothing but the styles.
#pragma once
#include "app/browser/ThumbListCtrl.h"
#include "app/panels/frame/FramePanelCommon.h"
#include "ui/LineStatic.h"
#include "ui/SkinButton.h"
#include "ui/ValueBar.h"
#include "ui/XScrollBar.h"

class CLayerArray;

class CFrameDlg : public CFramePanelDlg
{
public:
    explicit CFrameDlg(CWnd* parent = nullptr);

    // The built-in frame styles, 1 to 14, and the bitmap that shows each (0: no such style).
    enum { kStyleCount = 14 };
    static UINT StyleBitmap(int style);

    void OnActivate() override;
    // The 14 styles into the frame list.
    void FillFrameList();
    // What a record with or without a frame offers.
    void UpdateControls();
    // The controls, then the design: redraw, modified, every view updated.
    void ApplyFrameChange();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    LRESULT OnFrameChosen(WPARAM wParam, LPARAM lParam);
    void OnRemoveFrame();
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnTimer(UINT_PTR id);
    DECLARE_MESSAGE_MAP()

    CLayerArray* Layers() const;
    bool HasFrame() const;
    // The intensity label shows half the bar's position.
    void ShowIntensityValue();
    void EnableIntensity(BOOL on);

    CLineStatic m_lblStyles, m_lblIntensity, m_lblSize;
    CStatic m_styleHeading, m_linksHeading;
    CThumbListCtrl m_frameList;
    CSkinButton m_btnRemove;
    CXScrollBar m_sizeBar, m_intensityBar;
    CStatic m_sizeValue, m_intensityValue;
    CValueBar m_size;      // frame size x 100, "%d%%" of the position
    CValueBar m_intensity; // frame intensity x 100
};
