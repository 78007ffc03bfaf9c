// The Background menu's image panel: a picture from the folder "IMAGES_DIR" tiled over the
// current design area as its background, with the tile's angle, size and transparency.
//
// The rules it keeps: the dial and both bars always show the current record (they are set
// again on every activation, so a switch of design area never leaves another area's values
// to be dragged from); a move stores its value at once and the design is redrawn once,
// 100 ms after the last move; the controls of the picture are enabled only while the
// record has one.
#pragma once
#include "app/panels/background/BackgroundPickDlg.h"
#include "ui/LineStatic.h"
#include "ui/RoundSliderCtrl.h"
#include "ui/ValueBar.h"
#include "ui/XScrollBar.h"

class CBackgroundImageDlg : public CBackgroundPickDlg
{
public:
    CBackgroundImageDlg();

    void OnActivate() override;
    // The value statics from the record: size and transparency in percent.
    void UpdateTileTexts();

protected:
    CImageLayer* CurrentImage() override;
    Gdiplus::Bitmap* PreviewBitmap(CImageLayer* image) override;
    void StoreImage(std::unique_ptr<CImageLayer> loaded) override;
    void ShowNormalView() override;
    void ShowBrowsingView() override;
    void AfterPick() override;
    void OnDeleteImage() override;
    void OnNewImage() override;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnTimer(UINT_PTR id);
    DECLARE_MESSAGE_MAP()

    // The tile controls enabled, the value statics shown and the labels lit as the record
    // has a picture or not.
    void FollowImage();
    // The dial and the bars from the record.
    void ShowTileSettings();
    void ShowTileControls(bool show);

    CRoundSliderCtrl m_dial;
    CXScrollBar m_sizeBar, m_transBar;
    CStatic m_sizeValue, m_transValue;
    CValueBar m_size, m_transparency;
    CLineStatic m_lblAngle, m_lblSize, m_lblTransparency;
};
