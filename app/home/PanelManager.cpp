#include "app/home/PanelManager.h"
#include "app/panels/background/BackgroundMenuDlg.h"
#include "app/panels/frame/FrameMenuDlg.h"
#include "res/background_res.h"
#include "res/frame_res.h"
#include "app/files/FilesDlg.h"
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
    DestroyPanels(FALSE);
    if (GetDocumentHost() == this)
        SetDocumentHost(NULL);
}

namespace {

// Destroys a host's window and deletes it; the pointer is null before the window goes.
template <class Host> void DestroyHost(Host*& host)
{
    Host* gone = host;
    host = nullptr;
    if (gone == nullptr)
        return;
    if (gone->GetSafeHwnd() != nullptr)
        gone->DestroyWindow();
    delete gone;
}

} // namespace

void CPanelManager::DestroyPanels(BOOL spareBackground)
{
    if (!spareBackground)
        DestroyHost(m_pBackgroundMenu);
    DestroyHost(m_pFrameMenu);
}

void CPanelManager::RelayoutHosts()
{
    for (CMenuHostDlg* host : {static_cast<CMenuHostDlg*>(m_pBackgroundMenu), static_cast<CMenuHostDlg*>(m_pFrameMenu)})
        if (host != nullptr)
            host->LayoutPanels();
    if (m_pDoc != NULL)
        m_pDoc->UpdateAllViews(NULL);
}

void CPanelManager::PrepareSwitch()
{
    if (m_pDoc != NULL) {
        m_pDoc->SetImageToolMode(FALSE);
        m_pDoc->SetTextToolMode(FALSE);
    }
    for (CMenuHostDlg* host : {static_cast<CMenuHostDlg*>(m_pBackgroundMenu), static_cast<CMenuHostDlg*>(m_pFrameMenu)})
        if (host != nullptr && host->GetSafeHwnd() != nullptr)
            host->ShowWindow(SW_HIDE);
    InvalidateDesignArea();
}

CWnd* CPanelManager::ActiveView() const
{
    CWnd* main = AfxGetMainWnd();
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(main);
    CView* view = frame != nullptr ? frame->GetActiveView() : nullptr;
    if (view == nullptr && m_pDoc != NULL) {
        POSITION pos = m_pDoc->GetFirstViewPosition();
        view = pos != NULL ? m_pDoc->GetNextView(pos) : nullptr;
    }
    return view;
}

template <class Host> Host* CPanelManager::CreateHost(UINT templateId)
{
    auto* host = new Host(nullptr);
    host->m_pDoc = m_pDoc;
    host->SetMenuStyle();
    if (!host->Create(templateId, ActiveView())) {
        // Nothing half-made is kept or shown.
        DestroyHost(host);
        return nullptr;
    }
    host->LayoutPanels();
    host->ShowWindow(SW_SHOW);
    return host;
}

void CPanelManager::ActivateAndShow(CMenuHostDlg* host)
{
    if (CSkinPanelDlg* panel = host->GetPanelAt(host->GetCurrentPanelIndex()))
        panel->OnActivate();
    host->ShowWindow(SW_SHOW);
}

void CPanelManager::ShowBackgroundMenu()
{
    PrepareSwitch();
    if (m_pBackgroundMenu == nullptr)
        m_pBackgroundMenu = CreateHost<CBackgroundMenuDlg>(IDD_BACKGROUND_MENU);
    else
        ActivateAndShow(m_pBackgroundMenu);
}

void CPanelManager::ShowFrameMenu()
{
    PrepareSwitch();
    if (m_pFrameMenu == nullptr)
        m_pFrameMenu = CreateHost<CFrameMenuDlg>(IDD_FRAME_MENU);
    else
        ActivateAndShow(m_pFrameMenu);
}

void CPanelManager::InvalidateDesignArea() { CDocumentHost::InvalidateDesignArea(m_pDoc); }

void CPanelManager::InvalidateDesignArea(CFrostwellDoc* doc) { CDocumentHost::InvalidateDesignArea(doc); }

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
    // The dialog "Files" ends with IDOK after a save only when the design was saved.
    if (doc == NULL)
        return FALSE;
    CFilesDlg files(AfxGetMainWnd());
    files.m_pDoc = doc;
    files.SetMode(mode);
    return files.DoModal() == IDOK;
}

CObject* CPanelManager::CreateFileBrowser(CFrostwellDoc* doc) { return new CFileWnd(doc); }
