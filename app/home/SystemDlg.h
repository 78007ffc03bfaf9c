// The home panel: the column of skinned launcher buttons at the left edge of the main
// window. Each button starts one main action (a new design through the wizard, Load and Save
// through the dialog "Files", preview and print) or has the panel switcher show one tool host
// beside the canvas.
//
// The rules it keeps: the buttons are set up from one table in the template's order; the web
// button is made hidden, so no user reaches it; a design that replaces the open one asks about
// the open one's changes first; Cancel in the wizard or in "Files" leaves every host as it was.
#pragma once
#include "fw/fwwin.h"
#include "ui/HelpTipManager.h"
#include "ui/PPToolTip.h"
#include "ui/SkinButton.h"

class CFrostwellDoc;

// The address the (hidden) web button opens.
extern const char kMakerWebAddress[];

class CSystemDlg : public CDialog
{
public:
    explicit CSystemDlg(CWnd* parent = NULL);

    // The buttons, in the order settings, text, web, print, preview, new design, frame,
    // load, save, background, images.
    CSkinButton m_btnSettings;
    CSkinButton m_btnText;
    CSkinButton m_btnWeb;
    CSkinButton m_btnPrint;
    CSkinButton m_btnPreview;
    CSkinButton m_btnNewDesign;
    CSkinButton m_btnFrame;
    CSkinButton m_btnLoad;
    CSkinButton m_btnSave;
    CSkinButton m_btnBackground;
    CSkinButton m_btnImages;
    // Set by the view before the window is made; not owned.
    CFrostwellDoc* m_pDoc;

    // Kept for callers to come; no control reaches them.
    // The redraw flag set and every view updated.
    void UpdateDesign();
    // Moves the panel to a width and height (0 keeps that one) and tells itself (WM_USER+1).
    void SetPanelSize(int width, int height);
    // The support dialog, modal.
    void OnSupport();
    void OnIdle() {}

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Relays the pointer to the help tooltip, so the bubbles show on hover.
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnOK() override {}
    void OnCancel() override {}
    // Skins one button: help bubble, opacity, white captions on the panel blue, caption,
    // no sound, image above the caption with a border, and the bitmap when there is one.
    void SetupButton(CSkinButton* button, UINT bitmapId, CString soundName, CString controlKey, CString caption);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);

    void OnNewDesign();
    void OnLoadDesign();
    void OnSaveDesign();
    void OnBackground();
    void OnImages();
    void OnText();
    void OnFrameDesign();
    void OnPreviewDesign();
    void OnPrintDesign();
    void OnSettings();
    void OnWebSite();
    DECLARE_MESSAGE_MAP()

    // "Files" in a mode; any end but Cancel destroys every tool host.
    void RunFiles(int mode);
    // The printer paper of the current paper layout into the application's printer.
    void SetPaperFromLayout();

    CBrush m_brushPanel;
    CHelpTipManager m_helpTips;
    CPPToolTip m_tooltip;
};
