// What the design document needs of the windows around it.  The program's window
// layer installs one host at start-up; without one the document still works on its
// own (no panels, no dialogs, the main window's client area as canvas).
#pragma once
#include "fw/fw.h"

class CFrostwellDoc;

class CDocumentHost
{
public:
    virtual ~CDocumentHost() {}
    // The panel switcher takes the document.
    virtual void AttachDocument(CFrostwellDoc* doc) = 0;
    // Destroys the tool-panel hosts; with spareOne one host is spared.
    virtual void DestroyPanels(BOOL spareOne) = 0;
    // The client rectangle the canvas is laid out in (the main window's).
    virtual CRect GetCanvasClientRect() = 0;
    // The question "Save Changes": IDOK (Yes), IDCANCEL or 100 (No).
    virtual int AskSaveChanges() = 0;
    // Saves through the dialog "Files" in mode 1 (known path) or 2 (ask for one).
    // TRUE only when the design was saved.
    virtual BOOL SaveDesign(CFrostwellDoc* doc, int mode) = 0;
    // The file browser pane the document embeds (owned by the document).
    virtual CObject* CreateFileBrowser(CFrostwellDoc* doc) = 0;
    // Paints the area (main window client coordinates) of doc's canvas again, erased.
    virtual void InvalidateCanvas(CFrostwellDoc* doc, const CRect& area) = 0;
    // After an edit of doc: the tool panel on show re-reads the design.  The panel
    // switcher answers it once tool panels exist; until then there is nothing to tell.
    virtual void RefreshActivePanel(CFrostwellDoc* doc) {}
    // The design area of doc's canvas (its client rectangle less the home panel on the
    // left, the tool host on the right and 20 pixels at the top) painted again, the scene
    // rendered anew; the document is not marked modified.
    virtual void InvalidateDesignArea(CFrostwellDoc* doc);
};

void SetDocumentHost(CDocumentHost* host);
CDocumentHost* GetDocumentHost();
