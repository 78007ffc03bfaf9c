// The Background menu's fill panel: clear, solid colour, linear or radial gradient for the
// current design area's background, with five colours, a transparency, a gradient angle and
// the colour swatches.
//
// The rules it keeps: every control writes straight into the current frame record and the
// design is redrawn through the host after each change; the fill kind is derived from the
// record (radial, else linear, else solid) and kept in the host too, so it outlives the
// panel's window; which controls are enabled follows the kind alone.
#pragma once
#include "ui/ColourPicker.h"
#include "ui/LineStatic.h"
#include "ui/RoundSliderCtrl.h"
#include "ui/SkinButton.h"
#include "ui/SkinPanelDlg.h"
#include "ui/SwatchCombo.h"
#include "ui/ValueBar.h"
#include "ui/XScrollBar.h"

class CBackgroundMenuDlg;
class CLayerArray;

class CBackgroundFillDlg : public CSkinPanelDlg, public CSwatchPanel
{
public:
    CBackgroundFillDlg();

    void OnActivate() override;
    BOOL OnPanelCancel() override { return TRUE; }
    int OnPanelBack() override;
    int OnPanelNext() override;
    BOOL OnPanelFinish() override;

    // Kind from the record, the markers, the enabled controls, the swatch buttons.
    void RefreshFillControls();
    // Add only when the colours are no stored swatch, Remove only when they are one.
    void UpdateSwatchButtons();
    // The selected swatch's colours become the record's.
    void ApplySelectedSwatch();

    // The swatch list's view of the panel: the record's five colours.
    void GetSwatchColours(COLORREF colours[5]) const override;
    void SetSwatchColours(const COLORREF colours[5]) override;
    void SwatchesChanged(bool designChanged) override;

    // 0 clear, 1 solid, 2 linear, 3 radial; -1 until the first is set or derived.
    int m_nFillKind = -1;

    // Picker control id of colour 1 to 5.
    static int PickerId(int colour);
    static COLORREF RecordColour(CLayerArray* layers, int colour);
    static void SetRecordColour(CLayerArray* layers, int colour, COLORREF value);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    LRESULT OnColourSelEndOk(WPARAM wParam, LPARAM lParam);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnFillClear() { SetPlainFill(0); }
    void OnFillSolid() { SetPlainFill(1); }
    void OnFillLinear() { SetGradientFill(2); }
    void OnFillRadial() { SetGradientFill(3); }
    void OnNothing() {}
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    void OnQuickLink();
    void OnSwatchChosen() { ApplySelectedSwatch(); }
    void OnAddSwatch();
    void OnRemoveSwatch();
    DECLARE_MESSAGE_MAP()

    CBackgroundMenuDlg* Host() const;
    CLayerArray* Layers() const;
    // Clear (0) and Solid (1): entry 0's colours, opaque, no gradient.
    void SetPlainFill(int kind);
    // Linear (2) and Radial (3): the colours kept unless there was no gradient yet.
    void SetGradientFill(int kind);
    void SetFillKind(int kind);
    void SelectFirstSwatch();
    // The pickers show the record's colours; the transparency bar and its value text.
    void ShowRecordColours();

    CSkinButton m_btnSolid, m_btnLinear, m_btnRadial, m_btnClear, m_btnAdd, m_btnRemove;
    CListBox m_quickLinks;
    CStatic m_hidden[4];
    CRoundSliderCtrl m_dial;
    CXScrollBar m_bar;
    CStatic m_transparencyValue;
    CValueBar m_transparency; // the bar and its value text: opacity in percent
    CSwatchCombo m_swatchList;
    CColourPicker m_pickers[5]; // colour 1 to 5
    CLineStatic m_lblColours, m_lblSwatches, m_lblTransparency, m_lblAngle;
    CSwatchList m_swatches;
};
