// The Background menu's frames panel: a border picture from the folder "FRAMES_DIR" laid over
// the current design area as its frame image. The menu holds it only while the frame
// records' frames-tool flag is set.
//
// The rules it keeps: the old border stays until the new one has loaded; the new one is
// stored for the current design area (its frame index is the current frame); Delete stands
// only while there is a border to delete.
#pragma once
#include "app/panels/background/BackgroundPickDlg.h"

class CBackgroundFramesDlg : public CBackgroundPickDlg
{
public:
    CBackgroundFramesDlg();

    void OnActivate() override;

protected:
    CImageLayer* CurrentImage() override;
    Gdiplus::Bitmap* PreviewBitmap(CImageLayer* image) override;
    void StoreImage(std::unique_ptr<CImageLayer> loaded) override;
    void ShowNormalView() override;
    void ShowBrowsingView() override;
    void AfterPick() override;
    void OnDeleteImage() override;
    void OnNewImage() override { ShowBrowsingView(); }

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    CStatic m_title, m_linksTitle;
};
