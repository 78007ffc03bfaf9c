// The shared half of the Background menu's two picture panels (the tiled background image
// and the border image): a file browser pane in which the user picks a picture for one
// image slot of the current frame record, New / Delete / Cancel, the quick-links list, the
// normal and the browsing view, and the preview of the slot's picture.
//
// The rules it keeps: a picked file is read on a worker into a new layer while the UI
// thread waits answering sent messages and stepping the pane's progress bar; the slot's old
// picture stays until the new one has loaded, so a file that is no picture (or a worker
// that cannot start) changes nothing and shows nothing; only the UI thread touches the
// document; the preview draws "no image" when the picture has no bitmap or no size.
#pragma once
#include "app/browser/FileWnd.h"
#include "ui/SkinButton.h"
#include "ui/SkinPanelDlg.h"

#include <memory>

class CBackgroundMenuDlg;
class CImageLayer;
class CLayerArray;

namespace Gdiplus {
class Bitmap;
}

// What differs between the two panels.
struct PickPanelTraits
{
    UINT templateId;
    int thumbnailMode;        // the pane's file kind
    const char* folderKey;    // the data folder the pane starts in and remembers
    int browserBottom;        // pixels left free under the pane
    CRect previewInsets;      // the preview area: the client less these (left, top, right, bottom)
    COLORREF quickLinkColour; // the quick-links list's text
};

class CBackgroundPickDlg : public CSkinPanelDlg
{
public:
    CBackgroundPickDlg(const PickPanelTraits& traits);

    BOOL OnPanelCancel() override { return TRUE; }
    int OnPanelBack() override { return 0; }
    int OnPanelNext() override { return 0; }
    BOOL OnPanelFinish() override { return TRUE; }

    CFileWnd& Browser() { return m_browser; }
    BOOL IsBrowsing() const;

    // The largest rectangle of the bitmap's shape centred in the area (nothing for a
    // bitmap or an area without size).
    static bool FitPreview(const CRect& area, UINT width, UINT height, Gdiplus::RectF* out);
    // The slot's picture fitted into the area, or, without one, the white outline and the
    // "no image" text.
    static void DrawPreview(HDC dc, const CRect& area, Gdiplus::Bitmap* bitmap);

protected:
    // The slot's picture of the current record (null: none) and the bitmap its preview shows.
    virtual CImageLayer* CurrentImage() = 0;
    virtual Gdiplus::Bitmap* PreviewBitmap(CImageLayer* image) = 0;
    // Puts a loaded layer into the slot, which then owns it.
    virtual void StoreImage(std::unique_ptr<CImageLayer> loaded) = 0;
    // The two views.
    virtual void ShowNormalView() = 0;
    virtual void ShowBrowsingView() = 0;
    // After a pick (loaded or not): the panel's view again.
    virtual void AfterPick() = 0;
    // Delete: the slot emptied.
    virtual void OnDeleteImage() = 0;
    // New: the pane shown.
    virtual void OnNewImage() = 0;

    void DoDataExchange(CDataExchange* pDX) override;
    // Makes the pane (hidden) before the base initialisation, then the quick links.
    BOOL OnInitDialog() override;
    // Cancel and Esc: back to the normal view.
    void OnCancel() override { ShowNormalView(); }
    // Esc in the panel is the panel's own Cancel, not the menu's.
    BOOL PreTranslateMessage(MSG* msg) override;

    CBackgroundMenuDlg* Host() const;
    CLayerArray* Layers() const;
    bool HasImage() { return CurrentImage() != nullptr; }
    // The pane over the client area less its free strip at the bottom.
    void PlaceBrowser();
    void ShowBrowser(bool show, bool enable);
    // Reads the pane's picked file on a worker: the new layer, placed on the design
    // rectangle, or null (not a picture, no file, the worker did not start). On success the
    // pane's folder becomes the panel's data folder.
    std::unique_ptr<CImageLayer> LoadPickedFile();
    // The preview's area, and that area painted again (only it: the panel does not clip its
    // children, so erasing all of it would paint over them).
    CRect PreviewArea() const;
    void InvalidatePreview();
    // The design after an edit: redraw flag, modified flag, every view updated.
    void DesignChanged();

    void OnPaint();
    void OnQuickLink();
    void OnNewClicked() { OnNewImage(); }
    void OnDeleteClicked() { OnDeleteImage(); }
    void OnCancelClicked() { OnCancel(); }
    LRESULT OnFilePicked(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    const PickPanelTraits m_traits;
    CFileWnd m_browser;
    CSkinButton m_btnNew, m_btnDelete, m_btnCancel;
    CListBox m_quickLinks;
};
