// The document's open and save: a design file is read completely before the design is
// touched, and written beside its target, which it replaces only when complete.
#include "model/ktb/DocumentFile.h"

#include "base/ComOwner.h"
#include "base/FileUtils.h"
#include "base/Globals.h"
#include "model/ktb/DesignFile.h"
#include "model/design/FrostwellDoc.h"
#include "model/ktb/DesignSections.h"
#include "model/ktb/DesignVersion.h"
#include "model/design/ImageLayer.h"
#include "model/design/ImageLayerList.h"
#include "model/design/LayerArray.h"
#include "model/paper/PaperGlobals.h"

namespace {

CString g_message;
DesignFileMessageSink g_sink = NULL;

bool OnUserInterfaceThread()
{
    CWinApp* app = AfxGetApp();
    return app != NULL && app->m_nThreadID == GetCurrentThreadId();
}

void Report(LPCTSTR key)
{
    if (g_sink != NULL && OnUserInterfaceThread()) {
        g_sink(key);
        return;
    }
    g_message = key;
}

} // namespace

CString TakeDesignFileMessage()
{
    CString key = g_message;
    g_message.Empty();
    return key;
}

void SetDesignFileMessageSink(DesignFileMessageSink sink) { g_sink = sink; }

BOOL CFrostwellDoc::OnSaveDocument(LPCTSTR path)
{
    g_message.Empty();
    if (path == NULL || *path == 0)
        return FALSE;
    const ComScope com = EnsureCom();
    if (!com) {
        Report("IDS_STRING343");
        return FALSE;
    }
    CWaitCursor wait;
    DesignParts parts = {&m_layers, &m_images, &m_texts, GetPaperLayout(), m_pSheetImage, GetGlobalValueA()};
    if (FAILED(SaveDesignFile(path, parts))) {
        Report("IDS_STRING343");
        return FALSE;
    }
    // Only a design that is in the file takes its name.
    m_strDesignPath = path;
    m_strPathName = FullPath(path);
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CFrostwellDoc::OnOpenDocument(LPCTSTR path)
{
    g_message.Empty();
    if (path == NULL || *path == 0)
        return FALSE;
    const ComScope com = EnsureCom();
    if (!com) {
        Report("IDS_DESIGN_NOT_OPENED");
        return FALSE;
    }
    CWaitCursor wait;
    CDesignContent content;
    const DesignReadResult result = ReadDesignFile(path, content);
    if (result != kDesignRead) {
        // The design on screen, its path and its title stay as they were.
        Report(result == kDesignTooOld ? "IDS_DESIGN_TOO_OLD" : "IDS_DESIGN_NOT_OPENED");
        return FALSE;
    }
    ResetDesign();
    GetPaperLayout()->CopyFrom(content.layout);
    const CRect design = GetDesignRect();
    DesignParts parts = {&m_layers, &m_images, &m_texts, GetPaperLayout(), NULL, 0};
    MoveDesignInto(content, parts, design);
    SetPreviewRefresh(TRUE);
    m_strDesignPath = path;
    m_strPathName = FullPath(path);
    return TRUE;
}

// The section readers one entry at a time, as the document's older reader called them.
// Images are decoded where they are read and placed in the document's design rectangle.

void CImageLayerList::Load(IStorage* storage, IStream* recordStream, CFrostwellDoc* document)
{
    const CSize area = GetPaperLayout()->GetPrintableRect();
    CImageLayer* layer = new CImageLayer();
    layer->SetPlacement(document != NULL ? document->GetDesignRect() : CRect(0, 0, 0, 0), area.cx, area.cy);
    if (FAILED(ReadImageLayer(storage, recordStream, GetLoadedDesignVersion(), *layer))) {
        delete layer;
        return;
    }
    Add(layer);
}

void CLayerArray::Load(IStorage* storage, IStream* cakeData, CFrostwellDoc* doc)
{
    const CSize area = GetPaperLayout()->GetPrintableRect();
    const CRect design = doc != NULL ? doc->GetDesignRect() : GetDesignRect();
    std::vector<CImageLayer*> loose;
    FrameReadTarget target = {GetCount() > 0 ? &GetAt(0) : NULL, GetCount(), &loose, NULL, false};
    ReadFrameEntry(storage, cakeData, GetLoadedDesignVersion(), target);
    for (CImageLayer* layer : loose) {
        layer->SetPlacement(design, area.cx, area.cy);
        if (doc != NULL)
            doc->GetImageList()->Add(layer);
        else
            delete layer;
    }
    for (int k = 0; k < GetCount(); ++k) {
        FrameRecord& r = GetAt(k);
        for (CImageLayer* image : {r.backgroundImage, r.frameFillImage})
            if (image != NULL)
                image->SetPlacement(design, area.cx, area.cy);
    }
    SetRecordRects(design, area.cx, area.cy);
}
