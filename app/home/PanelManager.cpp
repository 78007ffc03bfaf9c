#include "app/home/PanelManager.h"
#include "app/files/DesignFileRoad.h"
#include "app/browser/FileWnd.h"
#include "ui/SaveChangesDlg.h"
#include "model/design/FrostwellDoc.h"

namespace {
// Constructed before the application object runs, so the document finds it.
CPanelManager g_panelManager;
} // namespace

CPanelManager* GetGlobalObjectC() { return &g_panelManager; }

CPanelManager::CPanelManager() : m_pDoc(NULL) { SetDocumentHost(this); }

CPanelManager::~CPanelManager()
{
    if (GetDocumentHost() == this)
        SetDocumentHost(NULL);
}

void CPanelManager::DestroyPanels(BOOL)
{
    // No modeless tool-panel host exists yet.
}

void CPanelManager::HideAllPanels()
{
    if (m_pDoc != NULL)
        m_pDoc->UpdateAllViews(NULL);
}

void CPanelManager::ForwardToActivePanel() {}

void CPanelManager::NotifyTextPanel() {}

CRect CPanelManager::GetCanvasClientRect()
{
    CRect client;
    CWnd* main = AfxGetMainWnd();
    if (main != NULL && main->GetSafeHwnd() != NULL)
        main->GetClientRect(&client);
    return client;
}

void CPanelManager::InvalidateCanvas(CFrostwellDoc* doc, const CRect& area)
{
    // The canvas is the document's view, which fills the main window's client area.
    if (doc == NULL)
        return;
    for (POSITION pos = doc->GetFirstViewPosition(); pos != NULL;) {
        CView* view = doc->GetNextView(pos);
        if (view != NULL && view->GetSafeHwnd() != NULL)
            view->InvalidateRect(&area, TRUE);
    }
}

int CPanelManager::AskSaveChanges()
{
    CSaveChangesDlg dlg;
    return (int)dlg.DoModal();
}

BOOL CPanelManager::SaveDesign(CFrostwellDoc* doc, int mode)
{
    // Until the dialog "Files" exists: the home panel's save (mode 2 asks for a path).
    return SaveDesignFromHome(doc, mode == 2);
}

CObject* CPanelManager::CreateFileBrowser(CFrostwellDoc* doc) { return new CFileWnd(doc); }
