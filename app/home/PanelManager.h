// The process-wide switcher of the tool-panel hosts: it holds the document, answers the
// calls of the document and the view, and creates, shows and destroys the tool hosts (so
// far the Background and Frame menus).
//
// The rules it keeps: at most one host shows after a show; a host is made on first use and
// kept, hidden and shown again, until DestroyPanels; a host whose window cannot be made is
// deleted and nothing is shown.
#pragma once
#include "fw/fwwin.h"
#include "model/design/DocumentHost.h"

class CBackgroundMenuDlg;
class CFrameMenuDlg;
class CMenuHostDlg;

class CPanelManager : public CDocumentHost
{
public:
    CPanelManager();
    ~CPanelManager() override;
    CPanelManager(const CPanelManager&) = delete;
    CPanelManager& operator=(const CPanelManager&) = delete;

    void SetDocument(CFrostwellDoc* doc) { m_pDoc = doc; }
    CFrostwellDoc* GetDocument() const { return m_pDoc; }
    // Deletes every host; with spareBackground the Background menu is kept.
    void DestroyPanels(BOOL spareBackground) override;
    // Docks the existing hosts again and has the document update all views.
    void RelayoutHosts();
    // The first step of every show: tool modes off, every host hidden, design area painted.
    void PrepareSwitch();
    // Shows the Background menu, made over the active view on first use.
    void ShowBackgroundMenu();
    // The redraw flag set and the design area of the main window painted again.
    void InvalidateDesignArea();
    CBackgroundMenuDlg* GetBackgroundMenu() const { return m_pBackgroundMenu; }
    // Shows the Frame menu, made over the active view on first use.
    void ShowFrameMenu();
    CFrameMenuDlg* GetFrameMenu() const { return m_pFrameMenu; }
    // Has the images (text) host's current panel re-read the selection.
    void ForwardToActivePanel();
    void NotifyTextPanel();

    // The document's host.
    void AttachDocument(CFrostwellDoc* doc) override { SetDocument(doc); }
    CRect GetCanvasClientRect() override;
    int AskSaveChanges() override;
    BOOL SaveDesign(CFrostwellDoc* doc, int mode) override;
    CObject* CreateFileBrowser(CFrostwellDoc* doc) override;
    void InvalidateCanvas(CFrostwellDoc* doc, const CRect& area) override;
    void InvalidateDesignArea(CFrostwellDoc* doc) override;

private:
    // The parent of a new host: the main frame's active view.
    CWnd* ActiveView() const;
    // Makes a menu host's window over the active view; a host whose window cannot be made
    // is deleted (null returned).
    template <class Host> Host* CreateHost(UINT templateId);
    // Shows a host made before, its current panel activated again.
    static void ActivateAndShow(CMenuHostDlg* host);

    CFrostwellDoc* m_pDoc;
    CBackgroundMenuDlg* m_pBackgroundMenu = nullptr;
    CFrameMenuDlg* m_pFrameMenu = nullptr;
};

CPanelManager* GetGlobalObjectC();
