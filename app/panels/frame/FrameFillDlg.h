// The Frame menu's fill panel: how the frame of the current design area is filled (solid
// colour, linear or radial gradient of five colours) with an opacity, a gradient angle and
// the colour swatches, and the frame's outline colour and thickness.
//
// The rules it keeps: every control writes straight into the current frame record; the fill
// style is the record's own (1 solid, 2 linear, 3 radial) and which controls are enabled
// follows it alone; the outline colour belongs to no swatch; a bar or dial move stores at
// once and redraws the design, and the change is applied (modified, views updated) once,
// 100 ms after the last move; showing the panel changes nothing.
#pragma once
#include "app/panels/frame/FramePanelCommon.h"
#include "ui/ColourPicker.h"
#include "ui/LineStatic.h"
#include "ui/RoundSliderCtrl.h"
#include "ui/SkinButton.h"
#include "ui/SwatchCombo.h"
#include "ui/ValueBar.h"
#include "ui/XScrollBar.h"

class CLayerArray;

class CFrameFillDlg : public CFramePanelDlg, public CSwatchPanel
{
public:
    CFrameFillDlg();

    void OnActivate() override;

    // Markers and enabled controls from the record's fill style, then the swatch buttons.
    void UpdateFillControls();
    // Add only when the colours are no stored swatch, Remove only when they are one.
    void UpdateSwatchButtons();
    // Redraw flag, modified flag, every view updated.
    void ApplyFill();
    // The swatch list, for a test that points it at a file of its own.
    CSwatchList& Swatches() { return m_swatches; }

    // The swatch list's view of the panel: the record's five fill colours.
    void GetSwatchColours(COLORREF colours[5]) const override;
    void SetSwatchColours(const COLORREF colours[5]) override;
    void SwatchesChanged(bool designChanged) override;

    // Picker control id of colour 1 to 5, and 6 for the outline colour.
    static int PickerId(int colour);

    // The record's fill style as last read.
    int m_nFillStyle = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    LRESULT OnColourSelEndOk(WPARAM wParam, LPARAM lParam);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnTimer(UINT_PTR id);
    void OnFillClear() { ChooseFill(0); }
    void OnFillSolid() { ChooseFill(1); }
    void OnFillLinear() { ChooseFill(2); }
    void OnFillRadial() { ChooseFill(3); }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    void OnSwatchChosen() { m_swatches.Apply(); }
    void OnAddSwatch() { m_swatches.Add(); }
    void OnRemoveSwatch() { m_swatches.Remove(); }
    DECLARE_MESSAGE_MAP()

    CLayerArray* Layers() const;
    // Every fill button: entry 0's colours; Solid, Linear and Radial (1-3) also set the
    // style and full opacity, Clear (0) nothing more.
    void ChooseFill(int style);
    // The six pickers show the record's colours.
    void ShowRecordColours();

    CLineStatic m_lblSwatches, m_lblOpacity, m_lblOutlineWidth, m_lblOutlineColour, m_lblColour, m_lblAngle;
    CSwatchCombo m_swatchList;
    CStatic m_headOutline, m_headLinks, m_headFill;
    CSkinButton m_btnAdd, m_btnRemove, m_btnRadial, m_btnLinear, m_btnSolid, m_btnClear;
    CColourPicker m_pickers[6]; // colours 1 to 5, then the outline
    CRoundSliderCtrl m_dial;
    CSwatchList m_swatches;
    CXScrollBar m_opacityBar, m_outlineBar;
    CStatic m_opacityValue, m_outlineValue;
    CValueBar m_opacity;      // percent of opacity
    CValueBar m_outlineWidth; // hundredths of the outline width, shown as "0.37"
};
