// The Frame menu's image fill panel: fills the frame of the current design area with an
// image picked in the file browser, with the fill's size, offset, transparency and angle,
// and a preview of the image.
//
// The rules it keeps: the picked file is read on a worker into a new layer that nothing
// else sees; the record's old image fill is replaced only once the new one has loaded, so
// a file that is no image leaves the fill as it was and nothing is shown to the user; the
// document is touched on the user-interface thread only; the panel has two views, the
// settings (controls and preview) and the browser (New's), and Esc or Cancel return from
// the browser; a bar or dial move stores at once, redraws the design and applies once,
// 100 ms after the last move.
#pragma once
#include "app/panels/frame/FramePanelCommon.h"
#include "app/browser/FileWnd.h"
#include "ui/LineStatic.h"
#include "ui/RoundSliderCtrl.h"
#include "ui/SkinButton.h"
#include "ui/ValueBar.h"
#include "ui/XScrollBar.h"

class CLayerArray;

class CFrameImageFillDlg : public CFramePanelDlg
{
public:
    CFrameImageFillDlg();

    void OnActivate() override;

    // Reads the browser's picked file into a new layer and, when it loaded, makes it the
    // record's image fill; TRUE then. A failed read (or a worker that could not start)
    // leaves the record as it was.
    BOOL LoadSelectedImage();
    // Redraw flag, modified flag, every view updated.
    void ApplyImageFill();
    // The rectangle the preview draws in (client coordinates).
    CRect PreviewRect() const;
    CFileWnd& Browser() { return m_browser; }
    BOOL IsBrowsing() const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Esc and the Cancel button: back to the settings view, nothing closes.
    void OnCancel() override;
    // Esc within the panel is the panel's: the host (whose dialog message handling a
    // control panel's keys reach) would close.
    BOOL PreTranslateMessage(MSG* msg) override;

    LRESULT OnFilePicked(WPARAM wParam, LPARAM lParam);
    void OnNewImage();
    void OnRemoveImage();
    void OnCancelButton() { OnCancel(); }
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnTimer(UINT_PTR id);
    void OnPaint();
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    DECLARE_MESSAGE_MAP()

    CLayerArray* Layers() const;
    // The settings view's controls: Remove, the bars and the dial shown (`show`), the
    // value texts shown only with an image, the labels shown (`labels`) and lit (`lit`);
    // Remove, the bars and the dial usable only with an image.
    void ShowSettings(BOOL show, BOOL labels, BOOL lit);
    void ShowValues(BOOL show);
    void LightLabels(BOOL lit);

    CLineStatic m_lblSize, m_lblOffset, m_lblTransparency, m_lblAngle;
    CSkinButton m_btnRemove, m_btnCancel, m_btnNew;
    CRoundSliderCtrl m_dial;
    CXScrollBar m_sizeBar, m_offsetBar, m_transBar;
    CStatic m_sizeValue, m_offsetValue, m_transValue;
    CValueBar m_size, m_offset, m_transparency;
    CFileWnd m_browser;
};
