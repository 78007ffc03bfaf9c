// The home panel's open and save road: the document's hook runs on a worker while this
// thread waits; the wait answers what other threads send this thread, and the hook shows
// nothing on the worker but hands its message back.
#include <windows.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include "app/files/DesignFileRoad.h"
#include "base/ComOwner.h"
#include "model/ktb/DocumentFile.h"
#include "model/design/DocumentHost.h"
#include "model/design/FrostwellDoc.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"

namespace {

const UINT kAsk = WM_APP + 7;
LONG g_answered = 0;

LRESULT CALLBACK AnswerProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l)
{
    if (msg == kAsk) {
        InterlockedIncrement(&g_answered);
        return 1;
    }
    return DefWindowProcA(hwnd, msg, w, l);
}

// A host whose canvas size is asked of a window of the waiting thread, as a window layer
// may do: the open on the worker finishes only when that thread answers.
class AskingHost : public CDocumentHost
{
public:
    void AttachDocument(CFrostwellDoc*) override {}
    void DestroyPanels(BOOL) override {}
    CRect GetCanvasClientRect() override
    {
        DWORD_PTR answer = 0;
        if (GetCurrentThreadId() != uiThread)
            answered = SendMessageTimeoutA(window, kAsk, 0, 0, SMTO_NORMAL, 3000, &answer) != 0 || answered;
        return CRect(0, 0, 1000, 800);
    }
    int AskSaveChanges() override { return IDCANCEL; }
    BOOL SaveDesign(CFrostwellDoc*, int) override { return FALSE; }
    CObject* CreateFileBrowser(CFrostwellDoc*) override { return NULL; }
    void InvalidateCanvas(CFrostwellDoc*, const CRect&) override {}

    HWND window = NULL;
    DWORD uiThread = 0;
    bool answered = false;
};

std::vector<CString> g_shown;
void RecordShown(LPCTSTR key) { g_shown.push_back(key); }

TEST(KtbRoad, WorkerRunsTheHookWhileTheWaitAnswersSentMessages)
{
    const ComScope com = EnsureCom();
    if (GetGlobalObjectB()->GetCount() == 0)
        GetGlobalObjectB()->AddOversizedPapers();
    if (GetGlobalObjectA()->GetCount() == 0)
        GetGlobalObjectA()->AddBuiltInLayouts();

    WNDCLASSA wc = {};
    wc.lpfnWndProc = AnswerProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "KtbRoadAnswer";
    RegisterClassA(&wc);
    AskingHost host;
    host.window = CreateWindowA("KtbRoadAnswer", "", 0, 0, 0, 10, 10, HWND_MESSAGE, NULL, wc.hInstance, NULL);
    host.uiThread = GetCurrentThreadId();
    ASSERT_NE((HWND)NULL, host.window);
    CDocumentHost* previous = GetDocumentHost();
    SetDocumentHost(&host);
    SetDesignFileMessageSink(&RecordShown);

    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    CString path = CString(cwd) + "\\ktb_road.ktb";
    DeleteFileA(path);
    {
        CFrostwellDoc doc;
        doc.m_bAutoDelete = FALSE;
        doc.GetLayers()->Reset(2);
        doc.GetLayers()->GetAt(1).frameStyle = 6;
        CString message;
        DWORD start = GetTickCount();
        EXPECT_TRUE(RunDesignFileWorker(&doc, TRUE, path, message));
        EXPECT_EQ("", message);

        doc.GetLayers()->Reset(1);
        EXPECT_TRUE(RunDesignFileWorker(&doc, FALSE, path, message));
        EXPECT_EQ("", message);
        EXPECT_TRUE(host.answered) << "the open asked the waiting thread and was answered";
        EXPECT_EQ(2, doc.GetLayers()->GetCount());
        EXPECT_EQ(6, doc.GetLayers()->GetAt(1).frameStyle);

        // Failures come back as message keys; nothing is shown on the worker.
        doc.SetTitle("Cake");
        doc.SetModifiedFlag(TRUE);
        EXPECT_FALSE(RunDesignFileWorker(&doc, TRUE, CString(cwd) + "\\no such folder\\x.ktb", message));
        EXPECT_EQ("IDS_STRING343", message);
        EXPECT_FALSE(RunDesignFileWorker(&doc, FALSE, CString(cwd) + "\\no such file.ktb", message));
        EXPECT_EQ("IDS_DESIGN_NOT_OPENED", message);
        EXPECT_STREQ("Cake", doc.GetTitle());
        EXPECT_TRUE(doc.IsModified());
        EXPECT_STREQ(path, doc.GetDesignPath());
        EXPECT_TRUE(g_shown.empty());
        EXPECT_LT(GetTickCount() - start, 10000u);
    }
    DeleteFileA(path);
    SetDesignFileMessageSink(NULL);
    SetDocumentHost(previous);
    DestroyWindow(host.window);
}

} // namespace
