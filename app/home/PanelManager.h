// The process-wide switcher of the tool-panel hosts.  No tool panel exists yet, so it
// holds the document and answers the calls of the document and the view.
#pragma once
#include "fw/fwwin.h"
#include "model/design/DocumentHost.h"

class CPanelManager : public CDocumentHost
{
public:
    CPanelManager();
    ~CPanelManager() override;
    CPanelManager(const CPanelManager&) = delete;
    CPanelManager& operator=(const CPanelManager&) = delete;

    void SetDocument(CFrostwellDoc* doc) { m_pDoc = doc; }
    CFrostwellDoc* GetDocument() const { return m_pDoc; }
    void DestroyPanels(BOOL spareOne) override;
    // Lays the existing hosts out again and has the document update all views.
    void HideAllPanels();
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

private:
    CFrostwellDoc* m_pDoc;
};

CPanelManager* GetGlobalObjectC();
