#include "model/design/FrostwellDoc.h"
#include "base/Globals.h"
#include "base/KeyStore.h"
#include "base/TextTable.h"
#include "model/design/DocumentHost.h"
#include "model/design/DesignUpdateHint.h"
#include "model/design/ImageLayer.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/design/PaperPreview.h"
#include "model/paper/PaperSize.h"
#include "model/design/TextItem.h"

namespace {

CDocumentHost* g_documentHost = NULL;

// Margins of the canvas around the design rectangle in the main window's client area.
const int kMarginLeft = 125;
const int kMarginTop = 25;
const int kMarginRight = 245;
const int kMarginBottom = 5;

// The built-in layout every new document starts with: one A4 portrait sheet.
const WORD kStartLayout = 2;

// The design area within the main window's client area: clear of the home panel on the
// left, the top band and the tool panels on the right.
const int kDesignAreaLeft = 120;
const int kDesignAreaTop = 20;
const int kDesignAreaRight = 240;

} // namespace

void SetDocumentHost(CDocumentHost* host) { g_documentHost = host; }

CDocumentHost* GetDocumentHost() { return g_documentHost; }

IMPLEMENT_DYNCREATE(CFrostwellDoc, CDocument)

BEGIN_MESSAGE_MAP(CFrostwellDoc, CDocument)
    ON_COMMAND(ID_FILE_OPEN, &CFrostwellDoc::OnFileOpen)
    ON_COMMAND(ID_FILE_SAVE, &CFrostwellDoc::OnSaveCommand)
END_MESSAGE_MAP()

CFrostwellDoc::CFrostwellDoc()
    : m_bRedraw(1), m_pSheetImage(NULL), m_pFileBrowser(NULL), m_bCellImageDirty(0), m_nCurrentFrame(0),
      m_bFixedRect(0), m_bImageTool(0), m_bTextTool(0), m_bViewReady(0), m_pSelectedImage(NULL), m_pSelectedText(NULL),
      m_bImagesShown(1), m_bTextsShown(1), m_bPerRecord(1), m_bTextTracker(1), m_bPreviewRefresh(1)
{
    CDocumentHost* host = GetDocumentHost();
    if (host != NULL)
        m_pFileBrowser = host->CreateFileBrowser(this);
    FindJpegEncoder();
    CString language = GetSetting("language");
    LoadLanguageFile(language);
    GetGlobalObjectB()->AddOversizedPapers();
    GetGlobalObjectA()->AddBuiltInLayouts();
    if (host != NULL)
        host->AttachDocument(this);
    SetGlobalValueA(0);
    CPaperLayout* start = GetGlobalObjectA()->Lookup(kStartLayout);
    if (start != NULL)
        GetPaperLayout()->CopyFrom(*start);
    m_bFixedRect = 0;
    SetDisplayMode(GetSettingInt("display") != 0);
    SetMetric(GetSettingInt("metric") != 0);
    SetSelectedLayerA(NULL);
    SetSelectedLayerB(NULL);
}

CFrostwellDoc::~CFrostwellDoc()
{
    delete m_pSheetImage;
    delete m_pFileBrowser;
}

void CFrostwellDoc::Serialize(CArchive&)
{
    // Designs are compound files, never archives.
}

void CFrostwellDoc::SetModifiedFlag(BOOL modified) { CDocument::SetModifiedFlag(modified); }

BOOL CFrostwellDoc::OnNewDocument() { return CDocument::OnNewDocument(); }

void CFrostwellDoc::SetPathName(LPCTSTR path, BOOL addToMru)
{
    // The dialog "Files" titles the window with the path it opened or saved; a design named
    // on the command line shows the same (the framework alone would show the file name).
    CDocument::SetPathName(path, addToMru);
    SetTitle(GetPathName());
}

// OnOpenDocument and OnSaveDocument: with the design file (DocumentFile.cpp).

void CFrostwellDoc::OnFileOpen()
{
    // Designs are opened through the home panel, not the framework's command.
}

void CFrostwellDoc::OnSaveCommand()
{
    // A design without a file asks for a place through the dialog "Files".  One with a file
    // is saved here on this thread, as the framework saves, but with the sheet image
    // rebuilt first so that the file's thumbnail shows the design as saved; a failure
    // leaves title, path and changes as they were (the hook's message shows at once).
    if (m_strDesignPath.IsEmpty()) {
        CDocumentHost* host = GetDocumentHost();
        if (host != NULL)
            host->SaveDesign(this, 2);
        return;
    }
    const CString path = m_strDesignPath;
    RebuildFrames();
    if (OnSaveDocument(path))
        DeselectAndUpdate(path);
}

void CFrostwellDoc::SetSheetImage(Gdiplus::Bitmap* image)
{
    if (image != m_pSheetImage)
        delete m_pSheetImage;
    m_pSheetImage = image;
}

void CFrostwellDoc::ResetDesign()
{
    m_bImagesShown = m_bTextsShown = m_bPerRecord = 1;
    m_pSelectedImage = NULL;
    m_pSelectedText = NULL;
    m_nCurrentFrame = 0;
    m_bPreviewRefresh = 0;
    m_bCellImageDirty = 0;
    m_strDesignPath.Empty();
    SetSelectedLayerA(NULL);
    SetSelectedLayerB(NULL);
    m_layers.Reset(1);
    m_texts.RemoveAll();
    m_images.RemoveAll();
    m_images.SetCurrentFrame(0);
    m_texts.SetCurrentFrame(0);
    SetModifiedFlag(FALSE);
    SetSheetImage(NULL);
}

void CFrostwellDoc::OnCloseDocument()
{
    if (GetDocumentHost() != NULL)
        GetDocumentHost()->DestroyPanels(FALSE);
    ResetDesign();
    SetTitle("Untitled");
    CDocument::OnCloseDocument();
}

BOOL CFrostwellDoc::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CDocumentHost* host = GetDocumentHost();
    if (host == NULL)
        return FALSE; // no one to ask: keep the design
    switch (host->AskSaveChanges()) {
    case IDOK:
        // Only a save that worked lets the design go; a cancelled or failed save keeps it.
        return host->SaveDesign(this, m_strDesignPath.IsEmpty() ? 2 : 1);
    case IDCANCEL:
        return FALSE;
    default: // No: the changes are dropped
        return TRUE;
    }
}

void CFrostwellDoc::DesignEdited(EditScope scope)
{
    SetRedrawFlag();
    SetModifiedFlag(TRUE);
    CDocumentHost* host = GetDocumentHost();
    if (scope == EditScope::AllViews) {
        UpdateAllViews(NULL, 0);
    } else if (host != NULL) {
        CRect area = host->GetCanvasClientRect();
        area.DeflateRect(kDesignAreaLeft, scope == EditScope::DesignArea ? kDesignAreaTop : 0, kDesignAreaRight, 0);
        host->InvalidateCanvas(this, area);
    }
    if (host != NULL)
        host->RefreshActivePanel(this);
}

void CDocumentHost::InvalidateDesignArea(CFrostwellDoc* doc)
{
    if (doc == NULL)
        return;
    doc->SetRedrawFlag();
    CRect area = GetCanvasClientRect();
    area.DeflateRect(kDesignAreaLeft, kDesignAreaTop, kDesignAreaRight, 0);
    InvalidateCanvas(doc, area);
}

void CFrostwellDoc::SetCurrentFrame(int n)
{
    if (n > m_layers.GetCount() - 1)
        n = 0;
    if (GetDocumentHost() != NULL)
        GetDocumentHost()->DestroyPanels(TRUE);
    m_nCurrentFrame = n;
    m_images.SetCurrentFrame(n);
    m_texts.SetCurrentFrame(n);
    m_layers.SetCurrent(n);
    SetSelectedLayerA(NULL);
    SetSelectedLayerB(NULL);
    SetRedrawFlag();
    UpdateAllViews(NULL, 0);
}

void CFrostwellDoc::SetCurrentFrameNoUpdate(int n)
{
    m_images.SetCurrentFrame(n);
    m_texts.SetCurrentFrame(n);
    m_layers.SetCurrent(n);
}

void CFrostwellDoc::SetSelectedLayerA(CImageLayer* layer)
{
    m_pSelectedImage = layer;
    if (layer != NULL)
        layer->m_selected = true;
}

void CFrostwellDoc::SetSelectedLayerB(CTextItem* item)
{
    m_pSelectedText = item;
    if (item != NULL)
        item->m_selected = 1;
}

CRect CFrostwellDoc::FitDesignRect(const CRect& base, int W, int H, BOOL shiftByMargins)
{
    // An item without size has no rectangle (and must not divide by zero).
    if (W <= 0 || H <= 0 || base.Width() <= 0 || base.Height() <= 0)
        return CRect();
    float scale = base.Height() / (H * 0.01f);
    int w = (int)(W * 0.01f * scale);
    CRect r;
    if (w > base.Width()) {
        scale = base.Width() / (W * 0.01f);
        int h = (int)(H * 0.01f * scale);
        r.SetRect(0, 0, base.Width(), h);
        if (shiftByMargins)
            r.OffsetRect(kMarginLeft, kMarginTop);
        r.OffsetRect(0, (base.Height() - h) / 2);
    } else {
        r.SetRect(0, 0, w, base.Height());
        if (shiftByMargins)
            r.OffsetRect(kMarginLeft, kMarginTop);
        r.OffsetRect((base.Width() - w) / 2, 0);
    }
    return r;
}

CRect CFrostwellDoc::GetDesignRect()
{
    CSize size = GetPaperLayout()->GetPrintableRect();
    CRect base;
    if (m_bFixedRect) {
        base = m_rectFixed;
    } else {
        CDocumentHost* host = GetDocumentHost();
        if (host != NULL)
            base = host->GetCanvasClientRect();
        base.DeflateRect(kMarginLeft, kMarginTop, kMarginRight, kMarginBottom);
    }
    return FitDesignRect(base, size.cx, size.cy, !m_bFixedRect);
}

void CFrostwellDoc::RelayoutDesign()
{
    if (!m_bViewReady)
        return;
    SetRedrawFlag();
    CSize size = GetPaperLayout()->GetPrintableRect();
    CRect design = GetDesignRect();
    m_images.SetPlacementAll(design, size.cx, size.cy);
    m_texts.Relayout();
    m_layers.SetRecordRects(design, size.cx, size.cy);
    UpdateAllViews(NULL, 0);
}

float CFrostwellDoc::GetPaperHalfSize() const
{
    CSize size = GetPaperLayout()->GetPrintableRect();
    int smaller = size.cx < size.cy ? size.cx : size.cy;
    return smaller / 2.0f;
}

void CFrostwellDoc::RebuildFrames()
{
    SetRedrawFlag();
    CPaperPreview preview;
    preview.SetDocument(this);
    preview.LoadSettings();
    preview.SetOutputSize(200, 200);
    // Rendered off screen only: the sheet image is what matters, and painting it onto
    // the main window would leave a stray picture over the panels until the next paint.
    preview.Draw(NULL, 0, 0, FALSE);
}

void CFrostwellDoc::SelectCurrentImage(LPCTSTR path)
{
    SetSelectedLayerA(m_images.GetCurrent());
    SetTitle(path);
    SetRedrawFlag();
    UpdateAllViews(NULL, kHintRedrawNow);
}

void CFrostwellDoc::DeselectAndUpdate(LPCTSTR path)
{
    SetTitle(path);
    SetRedrawFlag();
    UpdateAllViews(NULL, 0);
    SetModifiedFlag(FALSE);
}

int CFrostwellDoc::CountCells(float offset, float item, float gap, float sheet)
{
    int count = 1;
    float step = gap + item;
    if (step <= 0)
        return count; // a step that does not advance would never end
    float x = offset + item;
    while (x < sheet) {
        x += step;
        if (x <= sheet)
            ++count;
    }
    return count;
}

CSize CFrostwellDoc::CountCellsOnPaper(int gapWidth, int gapHeight) const
{
    const CPaperLayout* layout = GetPaperLayout();
    Gdiplus::SizeF item = layout->GetPrintableSize();
    Gdiplus::SizeF sheet(0, 0);
    if (layout->GetPaperSize() != NULL)
        sheet = layout->GetPaperSize()->GetPrintableSize();
    int columns = CountCells(layout->GetRowOffset(0), item.Width, gapWidth / 100.0f, sheet.Width);
    int rows = CountCells(layout->GetColumnOffset(0), item.Height, gapHeight / 100.0f, sheet.Height);
    return CSize(columns, rows);
}

CTextItem* CFrostwellDoc::AddTextLayer(bool add)
{
    CTextItem* item = new CTextItem;
    item->m_fontSize = 20;
    item->m_text.Empty();
    if (add)
        m_texts.AddPair(item);
    return item;
}

BOOL CFrostwellDoc::RemoveSelectedText()
{
    if (m_pSelectedText == NULL || !m_texts.Remove(m_pSelectedText))
        return FALSE;
    m_pSelectedText = NULL;
    return TRUE;
}

void CFrostwellDoc::SetLanguageSetting(LPCTSTR language) { SetSetting("language", language); }

BOOL CFrostwellDoc::IsPaperCodeOne() const
{
    const CPaperSize* paper = GetPaperLayout()->GetPaperSize();
    return paper != NULL && paper->GetPaperCode() == 1;
}

float CFrostwellDoc::GetUsedArea()
{
    Gdiplus::SizeF item = GetPaperLayout()->GetPrintableSize();
    float one = item.Width * item.Height;
    int frames = m_layers.GetCount();
    if (!GetPaperLayout()->IsOneDesignPerCell())
        return one * frames;
    int used = 0;
    for (int f = 0; f < frames; ++f)
        if (m_images.CountInFrame(f) > 0 || m_texts.CountInFrame(f) > 0 || m_layers.RecordHasContent(f))
            ++used;
    return one * used;
}

BOOL CFrostwellDoc::QueryState(LPCTSTR key)
{
    CString k(key);
    if (k == "IMAGE_EXISTS")
        return m_pSelectedImage != NULL;
    if (k == "TEXT_EXISTS")
        return m_pSelectedText != NULL;
    int style = m_layers.GetCount() > 0 ? m_layers.GetFrameStyle() : 0;
    if (k == "FRAME_INTENSITY")
        return !(style == 0 || style == 1 || style == 9);
    if (k == "FRAME_EXISTS")
        return style != 0;
    return TRUE;
}
