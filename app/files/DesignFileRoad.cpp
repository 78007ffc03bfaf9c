#include "app/files/DesignFileRoad.h"

#include "ui/MessageDlg.h"
#include "model/ktb/DocumentFile.h"
#include "model/design/FrostwellDoc.h"
#include "fw/fwworker.h"

namespace {

const char kFilter[] = "Sugarleaf Studio designs (*.ktb)|*.ktb|All files (*.*)|*.*||";

} // namespace

void ShowDesignFileMessage(LPCTSTR key)
{
    if (key != NULL && *key != 0)
        ShowLangMessage(key);
}

BOOL RunDesignFileWorker(CFrostwellDoc* doc, BOOL save, LPCTSTR path, CString& messageKey)
{
    messageKey.Empty();
    if (doc == NULL || path == NULL || *path == 0)
        return FALSE;
    const CString target = path;
    BOOL result = FALSE;
    const WorkerResult run =
        RunOnWorker([&] { result = save ? doc->OnSaveDocument(target) : doc->OnOpenDocument(target); });
    if (run.outcome != WorkerOutcome::Done) {
        // The hook never ran or did not finish: the general message of the road.
        TRACE("design file road: %s\n", (LPCSTR)run.error);
        messageKey = save ? "IDS_STRING343" : "IDS_DESIGN_NOT_OPENED";
        return FALSE;
    }
    messageKey = TakeDesignFileMessage();
    return result;
}

BOOL LoadDesignFromHome(CFrostwellDoc* doc)
{
    if (doc == NULL || !doc->SaveModified())
        return FALSE;
    CFileDialog dialog(TRUE, "ktb", NULL, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kFilter);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    const CString path = dialog.GetPathName();
    CString message;
    if (!RunDesignFileWorker(doc, FALSE, path, message)) {
        ShowDesignFileMessage(message);
        return FALSE;
    }
    doc->SelectCurrentImage(path);
    return TRUE;
}

BOOL SaveDesignFromHome(CFrostwellDoc* doc, BOOL askPath)
{
    if (doc == NULL)
        return FALSE;
    CString path = doc->GetDesignPath();
    if (askPath || path.IsEmpty()) {
        CFileDialog dialog(FALSE, "ktb", path.IsEmpty() ? NULL : (LPCTSTR)path, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                           kFilter);
        if (dialog.DoModal() != IDOK)
            return FALSE;
        path = dialog.GetPathName();
    }
    return SaveDesignTo(doc, path);
}

BOOL SaveDesignTo(CFrostwellDoc* doc, LPCTSTR path)
{
    if (doc == NULL || path == NULL || *path == 0)
        return FALSE;
    // On this thread, before the worker: the sheet image is drawn from the design.
    doc->RebuildFrames();
    CString message;
    if (!RunDesignFileWorker(doc, TRUE, path, message)) {
        ShowDesignFileMessage(message);
        return FALSE;
    }
    doc->DeselectAndUpdate(path);
    return TRUE;
}
