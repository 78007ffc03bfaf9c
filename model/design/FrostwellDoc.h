// The design document: frame records, image layers and text items of one design, with
// the current design area, the selection, the tool modes and the drawing switches.
#pragma once
#include "fw/fwwin.h"
#include "model/design/ImageLayerList.h"
#include "model/design/LayerArray.h"
#include "model/design/TextItemList.h"
#include <gdiplus.h>

class CImageLayer;
class CTextItem;

// What an edit has painted again (CFrostwellDoc::DesignEdited).
enum class EditScope {
    // The design area: the main window's client area less 120 pixels on the left, 20 at
    // the top and 240 on the right (the home panel, the tool panels).
    DesignArea,
    // The same down from the top edge: the rulers above the design show the marks of
    // the selection, which a drag on the canvas moves.
    DesignAreaAndRulers,
    // Every view updates (and repaints its design, the redraw flag being set).
    AllViews,
};

class CFrostwellDoc : public CDocument
{
    DECLARE_DYNCREATE(CFrostwellDoc)
public:
    CFrostwellDoc();
    ~CFrostwellDoc() override;

    // Framework hooks.
    void Serialize(CArchive& ar) override;
    void SetModifiedFlag(BOOL modified = TRUE) override;
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCTSTR path) override;
    BOOL OnSaveDocument(LPCTSTR path) override;
    void OnCloseDocument() override;
    BOOL SaveModified() override;
    // The title is the design's whole path, whichever road opened or saved it.
    void SetPathName(LPCTSTR path, BOOL addToMru = TRUE) override;

    void ResetDesign();
    int GetCurrentFrame() const { return m_nCurrentFrame; }
    void SetCurrentFrame(int n);
    void SetCurrentFrameNoUpdate(int n);
    void SetSelectedLayerA(CImageLayer* layer);
    void SetSelectedLayerB(CTextItem* item);
    CImageLayer* GetSelectedImage() const { return m_pSelectedImage; }
    CTextItem* GetCurrentObject() const { return m_pSelectedText; }
    CLayerArray* GetLayers() { return &m_layers; }
    CImageLayerList* GetImageList() { return &m_images; }
    CTextItemList* GetTextList() { return &m_texts; }

    // The one call after an edit: sets the redraw flag and the modified flag, has the
    // scope painted again and lets the active tool panel re-read the design.
    void DesignEdited(EditScope scope);

    void SetRedrawFlag() { m_bRedraw = 1; }
    // The file browser pane the host made for the document (no window of its own).
    CObject* GetFileBrowser() const { return m_pFileBrowser; }
    void ClearRedrawFlag() { m_bRedraw = 0; }
    BOOL NeedsRedraw() const { return m_bRedraw; }
    void SetCellImageDirty(BOOL on) { m_bCellImageDirty = on ? 1 : 0; }
    BOOL IsCellImageDirty() const { return m_bCellImageDirty; }
    void SetPreviewRefresh(BOOL on) { m_bPreviewRefresh = on ? 1 : 0; }
    BOOL NeedsPreviewRefresh() const { return m_bPreviewRefresh; }
    void SetImageToolMode(BOOL on) { m_bImageTool = on ? 1 : 0; }
    BOOL IsImageToolMode() const { return m_bImageTool; }
    void SetTextToolMode(BOOL on) { m_bTextTool = on ? 1 : 0; }
    BOOL IsTextToolMode() const { return m_bTextTool; }
    CFrostwellDoc* SetTextTrackerShown(BOOL on)
    {
        m_bTextTracker = on ? 1 : 0;
        return this;
    }
    BOOL IsTextTrackerShown() const { return m_bTextTracker; }
    void SetViewReady(BOOL on) { m_bViewReady = on ? 1 : 0; }
    BOOL IsViewReady() const { return m_bViewReady; }
    void SetFixedDesignRect(BOOL on) { m_bFixedRect = on ? 1 : 0; }
    BOOL HasFixedDesignRect() const { return m_bFixedRect; }
    void SetFixedDesignRectValue(const CRect& r) { m_rectFixed = r; }
    CRect GetFixedDesignRect() const { return m_rectFixed; }
    BOOL AreImagesShown() const { return m_bImagesShown; }
    void SetImagesShown(BOOL on) { m_bImagesShown = on ? 1 : 0; }
    BOOL AreTextsShown() const { return m_bTextsShown; }
    void SetTextsShown(BOOL on) { m_bTextsShown = on ? 1 : 0; }
    BOOL IsPerRecordDrawing() const { return m_bPerRecord; }
    void SetPerRecordDrawing(BOOL on) { m_bPerRecord = on ? 1 : 0; }
    CString GetDesignPath() const { return m_strDesignPath; }
    void SetDesignPath(LPCTSTR path) { m_strDesignPath = path; }
    Gdiplus::Bitmap* GetSheetImage() const { return m_pSheetImage; }
    // Takes ownership; the previous sheet image is deleted.
    void SetSheetImage(Gdiplus::Bitmap* image);

    // The design rectangle in view pixels: the printable item size fitted into the
    // canvas area (or into the fixed rectangle); empty for an item without size.
    CRect GetDesignRect();
    // The design rectangle for a given client rectangle (no fixed rectangle).
    static CRect FitDesignRect(const CRect& client, int widthHundredths, int heightHundredths, BOOL shiftByMargins);
    void RelayoutDesign();
    float GetPaperHalfSize() const;
    // Renders the current layout's paper preview once, which leaves the sheet image (the
    // design file's thumbnail) on the document.  Called before a save.
    void RebuildFrames();
    void SelectCurrentImage(LPCTSTR path);
    void DeselectAndUpdate(LPCTSTR path);
    // Columns and rows of cells that fit on the paper with the given gaps (hundredths).
    CSize CountCellsOnPaper(int gapWidth, int gapHeight) const;
    static int CountCells(float offset, float item, float gap, float sheet);

    // A new text item (font size 20, no text), appended to the current frame when add.
    CTextItem* AddTextLayer(bool add);
    // Removes the selected text item; FALSE when none is selected or the list lacks it.
    BOOL RemoveSelectedText();
    void SetLanguageSetting(LPCTSTR language);
    // Stores "key=value" into the archive as one of its strings.
    static void WriteKeyLine(CArchive& ar, LPCTSTR key, int value);
    // Saves the "Image<n>.png" streams of another design file into the scans folder as
    // "<design name>-<n>.png"; returns how many were saved.  Streams that are not sound
    // PNGs are passed over; nothing is read from an unreadable file.
    int ImportImagesFromDesign(LPCTSTR path);
    // Whether the current layout's paper has the paper code 1.
    BOOL IsPaperCodeOne() const;
    // Printable area of all design areas in square inches; with one design per cell only
    // the areas that hold something count.
    float GetUsedArea();
    // "IMAGE_EXISTS", "TEXT_EXISTS", "FRAME_INTENSITY", "FRAME_EXISTS"; TRUE for others.
    BOOL QueryState(LPCTSTR key);

protected:
    void OnFileOpen();
    // The save key: the same save road as the home panel's Save, through the host.
    void OnSaveCommand();
    DECLARE_MESSAGE_MAP()

    BYTE m_bRedraw;
    Gdiplus::Bitmap* m_pSheetImage;
    CObject* m_pFileBrowser;
    BYTE m_bCellImageDirty;
    int m_nCurrentFrame;
    BYTE m_bFixedRect;
    CRect m_rectFixed;
    BYTE m_bImageTool;
    BYTE m_bTextTool;
    BYTE m_bViewReady;
    CImageLayerList m_images;
    CTextItemList m_texts;
    CLayerArray m_layers;
    CImageLayer* m_pSelectedImage;
    CTextItem* m_pSelectedText;
    CString m_strDesignPath;
    BYTE m_bImagesShown;
    BYTE m_bTextsShown;
    BYTE m_bPerRecord;
    BYTE m_bTextTracker;
    BYTE m_bPreviewRefresh;
};
