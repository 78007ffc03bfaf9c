#include "app/home/PanelManager.h"
#include "app/panels/background/BackgroundMenuDlg.h"
#include "res/background_res.h"
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

void CPanelManager::DestroyPanels(BOOL spareBackground)
{
    if (!spareBackground && m_pBackgroundMenu != nullptr) {
        CBackgroundMenuDlg* menu = m_pBackgroundMenu;
        m_pBackgroundMenu = nullptr;
        if (menu->GetSafeHwnd() != nullptr)
            menu->DestroyWindow();
        delete menu;
    }
}

void CPanelManager::RelayoutHosts()
{
    if (m_pBackgroundMenu != nullptr)
        m_pBackgroundMenu->LayoutPanels();
    if (m_pDoc != NULL)
        m_pDoc->UpdateAllViews(NULL);
}

void CPanelManager::PrepareSwitch()
{
    if (m_pDoc != NULL) {
        m_pDoc->SetImageToolMode(FALSE);
        m_pDoc->SetTextToolMode(FALSE);
    }
    if (m_pBackgroundMenu != nullptr && m_pBackgroundMenu->GetSafeHwnd() != nullptr)
        m_pBackgroundMenu->ShowWindow(SW_HIDE);
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

void CPanelManager::ShowBackgroundMenu()
{
    PrepareSwitch();
    if (m_pBackgroundMenu == nullptr) {
        auto* menu = new CBackgroundMenuDlg(nullptr);
        menu->m_pDoc = m_pDoc;
        menu->SetMenuStyle();
        if (!menu->Create(IDD_BACKGROUND_MENU, ActiveView())) {
            // Nothing half-made is shown.
            if (menu->GetSafeHwnd() != nullptr)
                menu->DestroyWindow();
            delete menu;
            return;
        }
        menu->LayoutPanels();
        m_pBackgroundMenu = menu;
    } else if (CSkinPanelDlg* panel = m_pBackgroundMenu->GetPanelAt(m_pBackgroundMenu->GetCurrentPanelIndex())) {
        panel->OnActivate();
    }
    m_pBackgroundMenu->ShowWindow(SW_SHOW);
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
