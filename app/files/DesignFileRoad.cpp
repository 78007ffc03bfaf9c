#include "app/files/DesignFileRoad.h"

#include "ui/MessageDlg.h"
#include "model/ktb/DocumentFile.h"
#include "model/design/FrostwellDoc.h"
#include "fw/fwworker.h"

void ShowDesignFileMessage(LPCTSTR key)
{
    if (key != NULL && *key != 0)
        ShowLangMessage(key);
}

BOOL RunDesignFileWorker(CFrostwellDoc* doc, BOOL save, LPCTSTR path, CString& messageKey,
                         const std::function<void()>& step)
{
    messageKey.Empty();
    if (doc == NULL || path == NULL || *path == 0)
        return FALSE;
    const CString target = path;
    BOOL result = FALSE;
    const WorkerResult run =
        RunOnWorker([&] { result = save ? doc->OnSaveDocument(target) : doc->OnOpenDocument(target); }, step);
    if (run.outcome != WorkerOutcome::Done) {
        // The hook never ran or did not finish: the general message of the road.
        TRACE("design file road: %s\n", (LPCSTR)run.error);
        messageKey = save ? "IDS_STRING343" : "IDS_DESIGN_NOT_OPENED";
        return FALSE;
    }
    messageKey = TakeDesignFileMessage();
    if (!result && messageKey.IsEmpty())
        messageKey = save ? "IDS_STRING343" : "IDS_DESIGN_NOT_OPENED";
    return result;
}
