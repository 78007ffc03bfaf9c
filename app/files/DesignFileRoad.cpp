#include "app/files/DesignFileRoad.h"

#include "app/shell/MessageDlg.h"
#include "model/ktb/DocumentFile.h"
#include "model/design/FrostwellDoc.h"

namespace {

const char kFilter[] = "Sugarleaf Studio designs (*.ktb)|*.ktb|All files (*.*)|*.*||";

struct WorkerArgs
{
    CFrostwellDoc* doc;
    BOOL save;
    CString path;
    BOOL result;
    CString message;
};

DWORD WINAPI DesignFileWorker(LPVOID p)
{
    WorkerArgs* a = (WorkerArgs*)p;
    try {
        a->result = a->save ? a->doc->OnSaveDocument(a->path) : a->doc->OnOpenDocument(a->path);
    } catch (...) {
        a->result = FALSE;
        a->message = a->save ? "IDS_STRING343" : "IDS_DESIGN_NOT_OPENED";
        return 0;
    }
    a->message = TakeDesignFileMessage();
    return 0;
}

void ShowDesignFileMessage(LPCTSTR key)
{
    if (key != NULL && *key != 0)
        ShowLangMessage(key);
}

// On the user-interface thread the hooks hand their message here to be shown at once.
struct SinkInstaller
{
    SinkInstaller() { SetDesignFileMessageSink(&ShowDesignFileMessage); }
} g_sinkInstaller;

} // namespace

BOOL RunDesignFileWorker(CFrostwellDoc* doc, BOOL save, LPCTSTR path, CString& messageKey)
{
    messageKey.Empty();
    if (doc == NULL || path == NULL || *path == 0)
        return FALSE;
    WorkerArgs args = {doc, save, path, FALSE, CString()};
    HANDLE worker = CreateThread(NULL, 0, DesignFileWorker, &args, 0, NULL);
    if (worker == NULL) {
        messageKey = save ? "IDS_STRING343" : "IDS_DESIGN_NOT_OPENED";
        return FALSE;
    }
    // Waiting, this thread still takes the messages other threads send it (a worker that
    // asked it something would otherwise wait for ever); nothing posted is handled.
    for (;;) {
        DWORD woke = MsgWaitForMultipleObjects(1, &worker, FALSE, 100, QS_SENDMESSAGE);
        if (woke == WAIT_OBJECT_0)
            break;
        if (woke == WAIT_OBJECT_0 + 1) {
            MSG msg;
            PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        } else if (woke == WAIT_FAILED) {
            WaitForSingleObject(worker, INFINITE);
            break;
        }
    }
    CloseHandle(worker);
    messageKey = args.message;
    return args.result;
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
