#include "app/home/PanelManager.h"
#include "app/browser/FileWnd.h"
#include "app/files/FilesDlg.h"
#include "app/panels/background/BackgroundMenuDlg.h"
#include "app/panels/frame/FrameMenuDlg.h"
#include "model/design/FrostwellDoc.h"
#include "res/background_res.h"
#include "res/frame_res.h"
#include "ui/SaveChangesDlg.h"

namespace {
// Constructed before the application object runs, so the document finds it.
CPanelManager g_panelManager;

// The order in which every host is hidden, docked again and destroyed.
const CPanelManager::HostKind kWalkOrder[] = {
    CPanelManager::kSettingsHost, CPanelManager::kPrintingHost, CPanelManager::kBackgroundHost,
    CPanelManager::kImagingHost,  CPanelManager::kTextHost,     CPanelManager::kFrameHost,
};

// The hosts the program has so far; the printing, imaging, text and settings hosts come
// with their screens.
CMenuHostDlg* MakeProgramHost(CPanelManager::HostKind kind, UINT& templateId)
{
    switch (kind) {
    case CPanelManager::kBackgroundHost:
        templateId = IDD_BACKGROUND_MENU;
        return new CBackgroundMenuDlg(nullptr);
    case CPanelManager::kFrameHost:
        templateId = IDD_FRAME_MENU;
        return new CFrameMenuDlg(nullptr);
    default:
        return nullptr;
    }
}

// Destroys a host's window and deletes it; the pointer is null before the window goes.
void DestroyHost(CMenuHostDlg*& host)
{
    CMenuHostDlg* gone = host;
    host = nullptr;
    if (gone == nullptr)
        return;
    if (gone->GetSafeHwnd() != nullptr)
        gone->DestroyWindow();
    delete gone;
}

// Until the imaging and text hosts exist, their tool selects the current frame's first
// image layer or text, so that the canvas tracker has something to work on.
void SelectFirstImage(CFrostwellDoc* doc)
{
    CImageLayerList* images = doc->GetImageList();
    CImageLayer* first = NULL;
    for (POSITION pos = images->GetHeadPosition(); pos != NULL && first == NULL;) {
        CImageLayerPair pair = images->GetNext(pos);
        if (pair.frame == doc->GetCurrentFrame())
            first = pair.layer;
    }
    doc->SetSelectedLayerA(first);
}

void SelectFirstText(CFrostwellDoc* doc)
{
    CTextItemList* texts = doc->GetTextList();
    CTextItem* first = NULL;
    for (POSITION pos = texts->GetHeadPosition(); pos != NULL && first == NULL;) {
        CTextItemPair pair = texts->GetNext(pos);
        if (pair.frame == doc->GetCurrentFrame())
            first = pair.item;
    }
    doc->SetSelectedLayerB(first);
}

} // namespace

CPanelManager* GetGlobalObjectC() { return &g_panelManager; }

CPanelManager::CPanelManager() : m_pDoc(NULL) { SetDocumentHost(this); }

CPanelManager::~CPanelManager()
{
    DestroyPanels(FALSE);
    if (GetDocumentHost() == this)
        SetDocumentHost(NULL);
}

CPanelManager::HostMaker CPanelManager::SetHostMaker(HostMaker maker)
{
    HostMaker before = m_maker;
    m_maker = maker;
    return before;
}

CBackgroundMenuDlg* CPanelManager::GetBackgroundMenu() const
{
    return static_cast<CBackgroundMenuDlg*>(m_hosts[kBackgroundHost]);
}

CFrameMenuDlg* CPanelManager::GetFrameMenu() const { return static_cast<CFrameMenuDlg*>(m_hosts[kFrameHost]); }

void CPanelManager::DestroyPanels(BOOL spareBackground)
{
    for (HostKind kind : kWalkOrder)
        if (kind != kBackgroundHost || !spareBackground)
            DestroyHost(m_hosts[kind]);
}

void CPanelManager::RelayoutHosts()
{
    for (HostKind kind : kWalkOrder)
        if (m_hosts[kind] != nullptr && m_hosts[kind]->GetSafeHwnd() != nullptr)
            m_hosts[kind]->LayoutPanels();
    if (m_pDoc != NULL)
        m_pDoc->UpdateAllViews(NULL, 0);
}

void CPanelManager::PrepareSwitch()
{
    if (m_pDoc != NULL) {
        m_pDoc->SetTextToolMode(FALSE);
        m_pDoc->SetImageToolMode(FALSE);
    }
    for (HostKind kind : kWalkOrder)
        if (m_hosts[kind] != nullptr && m_hosts[kind]->GetSafeHwnd() != nullptr)
            m_hosts[kind]->ShowWindow(SW_HIDE);
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

CMenuHostDlg* CPanelManager::CreateHost(HostKind kind)
{
    UINT templateId = 0;
    CMenuHostDlg* host = m_maker != nullptr ? m_maker(kind, templateId) : MakeProgramHost(kind, templateId);
    if (host == nullptr)
        return nullptr;
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

template <class Call> void CPanelManager::OnCurrentPanel(CMenuHostDlg* host, Call call)
{
    if (host == nullptr || host->GetSafeHwnd() == nullptr)
        return;
    if (CSkinPanelDlg* panel = host->GetPanelAt(host->GetCurrentPanelIndex()))
        call(panel);
}

void CPanelManager::ShowHost(HostKind kind, Reshow reshow)
{
    PrepareSwitch();
    if (m_pDoc != NULL && kind == kImagingHost)
        m_pDoc->SetImageToolMode(TRUE);
    if (m_pDoc != NULL && kind == kTextHost)
        m_pDoc->SetTextToolMode(TRUE);
    CMenuHostDlg*& host = m_hosts[kind];
    if (host == nullptr) {
        host = CreateHost(kind);
        return;
    }
    if (reshow == kActivateCurrent)
        OnCurrentPanel(host, [](CSkinPanelDlg* panel) { panel->OnActivate(); });
    else if (reshow == kFirstPanel)
        host->ShowPanelByIndex(0);
    host->ShowWindow(SW_SHOW);
}

void CPanelManager::ShowBackgroundMenu() { ShowHost(kBackgroundHost, kActivateCurrent); }

void CPanelManager::ShowFrameMenu() { ShowHost(kFrameHost, kActivateCurrent); }

void CPanelManager::ShowImagingMenu()
{
    ShowHost(kImagingHost, kActivateCurrent);
    if (m_hosts[kImagingHost] == nullptr && m_pDoc != NULL)
        SelectFirstImage(m_pDoc);
}

void CPanelManager::ShowTextMenu()
{
    ShowHost(kTextHost, kActivateCurrent);
    if (m_hosts[kTextHost] == nullptr && m_pDoc != NULL)
        SelectFirstText(m_pDoc);
}

void CPanelManager::ShowSettingsMenu() { ShowHost(kSettingsHost, kUnchanged); }

void CPanelManager::ShowPrintingMenu() { ShowHost(kPrintingHost, kFirstPanel); }

void CPanelManager::InvalidateDesignArea() { CDocumentHost::InvalidateDesignArea(m_pDoc); }

void CPanelManager::InvalidateDesignArea(CFrostwellDoc* doc) { CDocumentHost::InvalidateDesignArea(doc); }

void CPanelManager::ForwardToActivePanel()
{
    OnCurrentPanel(m_hosts[kImagingHost], [](CSkinPanelDlg* panel) { panel->RefreshFromSelection(); });
}

void CPanelManager::NotifyTextPanel()
{
    OnCurrentPanel(m_hosts[kTextHost], [](CSkinPanelDlg* panel) { panel->RefreshFromSelection(); });
}

void CPanelManager::RefreshActivePanel(CFrostwellDoc* doc)
{
    for (HostKind kind : kWalkOrder) {
        CMenuHostDlg* host = m_hosts[kind];
        if (kind == kImagingHost || kind == kTextHost || host == nullptr || !::IsWindowVisible(host->GetSafeHwnd()))
            continue;
        OnCurrentPanel(host, [](CSkinPanelDlg* panel) { panel->RefreshFromSelection(); });
    }
}

void CPanelManager::ShowFirstFramePanel()
{
    if (m_hosts[kFrameHost] != nullptr && m_hosts[kFrameHost]->GetSafeHwnd() != nullptr)
        m_hosts[kFrameHost]->ShowPanelByIndex(0);
}

void CPanelManager::ShowFirstBackgroundPanel()
{
    if (m_hosts[kBackgroundHost] != nullptr && m_hosts[kBackgroundHost]->GetSafeHwnd() != nullptr)
        m_hosts[kBackgroundHost]->ShowPanelByIndex(0);
}

namespace {
void ActivatePanels(CMenuHostDlg* host, int first, int second)
{
    if (host == nullptr || host->GetSafeHwnd() == nullptr)
        return;
    for (int index : {first, second})
        if (CSkinPanelDlg* panel = host->GetPanelAt(index))
            panel->OnActivate();
}
} // namespace

void CPanelManager::RefreshImagingPanels() { ActivatePanels(m_hosts[kImagingHost], 0, 1); }

void CPanelManager::RefreshTextPanels() { ActivatePanels(m_hosts[kTextHost], 0, 3); }

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
