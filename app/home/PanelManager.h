// The process-wide switcher of the tool-panel hosts: it holds the document, answers the
// calls of the document and the view, and creates, shows and destroys the six tool hosts
// (printing, background, imaging, text, settings, frame) beside the canvas.
//
// The rules it keeps: every show first turns both tool modes off, hides every host and
// paints the design area; at most one host shows after a show; a host is made on first use
// and kept, hidden and shown again, until DestroyPanels; a host whose window cannot be made
// is deleted and nothing is shown. A host whose screen the program does not have yet is not
// made: its show does everything else.
#pragma once
#include "fw/fwwin.h"
#include "model/design/DocumentHost.h"

class CBackgroundMenuDlg;
class CFrameMenuDlg;
class CMenuHostDlg;

class CPanelManager : public CDocumentHost
{
public:
    // The hosts, in the order the switcher holds them.
    enum HostKind { kPrintingHost, kBackgroundHost, kImagingHost, kTextHost, kSettingsHost, kFrameHost, kHostKinds };
    // Makes a host of a kind (not yet created) and names its template; null when the program
    // has no such host.
    typedef CMenuHostDlg* (*HostMaker)(HostKind kind, UINT& templateId);

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
    // The shows: each host is made over the active view on first use, else its current
    // panel is activated again (the settings host is shown unchanged; the printing host
    // goes back to its first panel). Imaging and text turn their tool mode on.
    void ShowBackgroundMenu();
    void ShowFrameMenu();
    void ShowImagingMenu();
    void ShowTextMenu();
    void ShowSettingsMenu();
    void ShowPrintingMenu();
    // The redraw flag set and the design area of the main window painted again.
    void InvalidateDesignArea();
    CBackgroundMenuDlg* GetBackgroundMenu() const;
    CFrameMenuDlg* GetFrameMenu() const;
    CMenuHostDlg* GetHost(HostKind kind) const { return m_hosts[kind]; }
    // Has the imaging (text) host's current panel re-read the selection; the view calls
    // both after a canvas click has selected, moved, resized or rotated an object.
    void ForwardToActivePanel();
    void NotifyTextPanel();

    // Kept for callers to come; nothing reaches them yet.
    void ShowFirstFramePanel();
    void ShowFirstBackgroundPanel();
    void RefreshImagingPanels();
    void RefreshTextPanels();

    // Tests make their own hosts; returns the maker before (null: the program's).
    HostMaker SetHostMaker(HostMaker maker);

    // The document's host.
    void AttachDocument(CFrostwellDoc* doc) override { SetDocument(doc); }
    CRect GetCanvasClientRect() override;
    int AskSaveChanges() override;
    BOOL SaveDesign(CFrostwellDoc* doc, int mode) override;
    CObject* CreateFileBrowser(CFrostwellDoc* doc) override;
    void InvalidateCanvas(CFrostwellDoc* doc, const CRect& area) override;
    void InvalidateDesignArea(CFrostwellDoc* doc) override;
    // After an edit: the visible host's current panel re-reads the design. The imaging and
    // text hosts are left to the view's forwarders, so one canvas edit refreshes once.
    void RefreshActivePanel(CFrostwellDoc* doc) override;

private:
    // The parent of a new host: the main frame's active view.
    CWnd* ActiveView() const;
    // The show of one host: PrepareSwitch, the tool mode, then make or activate and show.
    enum Reshow { kActivateCurrent, kUnchanged, kFirstPanel };
    void ShowHost(HostKind kind, Reshow reshow);
    // Makes a host's window over the active view; a host whose window cannot be made is
    // deleted (null returned).
    CMenuHostDlg* CreateHost(HostKind kind);
    // Calls `call` on the current panel of a host, when the host and its panel exist.
    template <class Call> void OnCurrentPanel(CMenuHostDlg* host, Call call);

    // The hosts by kind; each null until first shown.
    CMenuHostDlg* m_hosts[kHostKinds] = {};
    CFrostwellDoc* m_pDoc;
    HostMaker m_maker = nullptr;
};

CPanelManager* GetGlobalObjectC();
