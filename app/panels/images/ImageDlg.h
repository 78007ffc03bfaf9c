// The image layer panel: size, transparency and angle of the image layer selected in the
// document, its place in the layer order, fit and centre, removal, and the image edit
// dialog's three tools.  The second page of the imaging host.
//
// The rules it keeps: it holds no layer of its own, every operation reads the document's
// selected layer at that moment and does nothing without one; a bar or dial move stores
// its value at once, has the host redraw, and redraws once more 100 ms after the last move
// (timer 102); every edit that changes the design marks it modified (Remove and Centre
// included); Fit and the resolution text skip a layer without bitmap or without size.
#pragma once
#include "ui/LineStatic.h"
#include "ui/RoundSliderCtrl.h"
#include "ui/SkinButton.h"
#include "ui/SkinPanelDlg.h"
#include "ui/ValueBar.h"
#include "ui/XScrollBar.h"

class CImageLayer;

// What the panel needs of the host that carries it besides the host base: the document
// redrawn (redraw flag and every view updated; not marked modified).
class CImagePanelHost
{
public:
    virtual ~CImagePanelHost() = default;
    virtual void UpdateDocument() = 0;
};

class CImageDlg : public CSkinPanelDlg
{
public:
    CImageDlg();

    // The host's side; set before the panel is created.
    CImagePanelHost* m_pImageHost = nullptr;

    void OnActivate() override;
    BOOL OnPanelCancel() override { return TRUE; }
    int OnPanelBack() override { return FALSE; }
    int OnPanelNext() override { return FALSE; }
    BOOL OnPanelFinish() override;
    void RefreshFromSelection() override;

    // Whether the layer order can change (more than one layer in the current frame).
    BOOL CanReorder() const { return m_bCanReorder; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnTimer(UINT_PTR id);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    void OnPageChosen();
    void OnFit();
    void OnCentre();
    void OnLayerUp();
    void OnLayerDown();
    void OnRemove();
    void OnEffects() { RunImageEdit(30773, 2); }
    void OnRedEye() { RunImageEdit(247, 1); }
    void OnCrop() { RunImageEdit(621, 0); }
    DECLARE_MESSAGE_MAP()

    CImageLayer* Layer() const;
    // The controls from the selected layer; withLayering also the DPI text and the order.
    void Refresh(bool withLayering);
    void ShowDpi(CImageLayer* layer);
    void UpdateLayering();
    // The host redraws the document.
    void RedrawDocument();
    void RunImageEdit(UINT templateId, int tool);

    CSkinButton m_btnRedEye, m_btnCrop, m_btnUp, m_btnDown, m_btnCentre, m_btnFit, m_btnEffects, m_btnRemove;
    CListBox m_pages;
    CRoundSliderCtrl m_rotation;
    CLineStatic m_lblAngle, m_lblTransparency, m_lblSize, m_lblLook, m_lblLayout, m_lblLayering;
    CXScrollBar m_sizeBar, m_transBar;
    CStatic m_sizeValue, m_transValue;
    CValueBar m_size, m_transparency;
    BYTE m_bCanReorder = FALSE;
};
