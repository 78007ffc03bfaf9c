// The home panel: plain buttons for the main actions that exist so far (a new design
// through the wizard, whose Finish shows the Background menu built anew; Load and Save
// through the dialog "Files"), the image and text tools that put the canvas tracker to
// work, and the Background and Frame menus.
#pragma once
#include "fw/fwwin.h"

class CFrostwellDoc;

class CSystemDlg : public CDialog
{
public:
    explicit CSystemDlg(CWnd* parent = NULL);

    CFrostwellDoc* m_pDoc;

    // The tools: the document's tool mode with the first object of the current frame
    // selected, as the panel switcher does when it shows the images or text host.
    void SelectImageTool();
    void SelectTextTool();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    // A new design through the design wizard.
    void OnNew();
    // Load and Save through the dialog "Files"; any end but Cancel destroys every tool host.
    void OnLoad();
    void OnSave();
    void RunFiles(int mode);
    void OnPrint();
    void OnPreview();
    void OnImages() { SelectImageTool(); }
    void OnText() { SelectTextTool(); }
    void OnBackground();
    // The Frame menu, then every view updated.
    void OnFrameDesign();
    DECLARE_MESSAGE_MAP()
};
