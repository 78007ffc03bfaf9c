#include "app/home/SystemDlg.h"
#include "app/files/FilesDlg.h"
#include "app/home/PanelManager.h"
#include "app/print/PrinterByName.h"
#include "app/print/PrinterList.h"
#include "app/wizard/DesignWizardDlg.h"
#include "base/KeyStore.h"
#include "base/OpenUrl.h"
#include "base/TextTable.h"
#include "model/design/FrostwellDoc.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperSize.h"
#include "res/view_res.h"
#include "ui/periphery/SupportDlg.h"
#include "ui/Skin.h"

const char kMakerWebAddress[] = "https://www.sugarleaf-studio.example/";

namespace {

// The panel's buttons, top to bottom: control id, control key (its help bubble), caption
// key and skin bitmap.
struct HomeButton
{
    int id;
    CSkinButton CSystemDlg::*button;
    const char* controlKey;
    const char* captionKey;
    UINT bitmapId;
};

const HomeButton kButtons[] = {
    {IDC_HOME_NEW, &CSystemDlg::m_btnNewDesign, "SYSTEM_NEW_DESIGN", "4", IDB_HOME_NEW},
    {IDC_HOME_LOAD, &CSystemDlg::m_btnLoad, "SYSTEM_LOAD_DESIGN", "2", IDB_HOME_LOAD},
    {IDC_HOME_SAVE, &CSystemDlg::m_btnSave, "SYSTEM_SAVE_DESIGN", "3", IDB_HOME_SAVE},
    {IDC_HOME_BACKGROUND, &CSystemDlg::m_btnBackground, "SYSTEM_BACKGROUND", "10", IDB_HOME_BACKGROUND},
    {IDC_HOME_IMAGES, &CSystemDlg::m_btnImages, "SYSTEM_IMAGES", "11", IDB_HOME_IMAGES},
    {IDC_HOME_TEXT, &CSystemDlg::m_btnText, "SYSTEM_TEXT", "9", IDB_HOME_TEXT},
    {IDC_HOME_FRAME, &CSystemDlg::m_btnFrame, "SYSTEM_FRAME_DESIGN", "7", IDB_HOME_FRAME},
    {IDC_HOME_PREVIEW, &CSystemDlg::m_btnPreview, "SYSTEM_PREVIEW_DESIGN", "6", IDB_HOME_PREVIEW},
    {IDC_HOME_PRINT, &CSystemDlg::m_btnPrint, "SYSTEM_PRINT_DESIGN", "5", IDB_HOME_PRINT},
    {IDC_HOME_SETTINGS, &CSystemDlg::m_btnSettings, "SYSTEM_SETTINGS", "1", IDB_HOME_SETTINGS},
    {IDC_HOME_WEB, &CSystemDlg::m_btnWeb, "SYSTEM_INTERNET", "8", IDB_HOME_WEB},
};

} // namespace

BEGIN_MESSAGE_MAP(CSystemDlg, CDialog)
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_HOME_NEW, &CSystemDlg::OnNewDesign)
    ON_BN_CLICKED(IDC_HOME_LOAD, &CSystemDlg::OnLoadDesign)
    ON_BN_CLICKED(IDC_HOME_SAVE, &CSystemDlg::OnSaveDesign)
    ON_BN_CLICKED(IDC_HOME_BACKGROUND, &CSystemDlg::OnBackground)
    ON_BN_CLICKED(IDC_HOME_IMAGES, &CSystemDlg::OnImages)
    ON_BN_CLICKED(IDC_HOME_TEXT, &CSystemDlg::OnText)
    ON_BN_CLICKED(IDC_HOME_FRAME, &CSystemDlg::OnFrameDesign)
    ON_BN_CLICKED(IDC_HOME_PREVIEW, &CSystemDlg::OnPreviewDesign)
    ON_BN_CLICKED(IDC_HOME_PRINT, &CSystemDlg::OnPrintDesign)
    ON_BN_CLICKED(IDC_HOME_SETTINGS, &CSystemDlg::OnSettings)
    ON_BN_CLICKED(IDC_HOME_WEB, &CSystemDlg::OnWebSite)
END_MESSAGE_MAP()

CSystemDlg::CSystemDlg(CWnd* parent) : CDialog(IDD_HOME_PANEL, parent), m_pDoc(NULL)
{
    m_brushPanel.CreateSolidBrush(kSkinBlue);
}

void CSystemDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (const HomeButton& b : kButtons)
        DDX_Control(pDX, b.id, this->*b.button);
}

BOOL CSystemDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_helpTips.LoadHelpFile("tips.txt");
    m_helpTips.CreateTooltip(this, &m_tooltip);
    for (const HomeButton& b : kButtons)
        SetupButton(&(this->*b.button), b.bitmapId, "", b.controlKey, GetLangText(b.captionKey));
    // The web site is not offered from the panel.
    m_btnWeb.ShowWindow(SW_HIDE);
    UpdateData(FALSE);
    return TRUE;
}

BOOL CSystemDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST && m_tooltip.GetSafeHwnd() != nullptr)
        m_tooltip.RelayEvent(msg);
    return CDialog::PreTranslateMessage(msg);
}

void CSystemDlg::SetupButton(CSkinButton* button, UINT bitmapId, CString soundName, CString controlKey, CString caption)
{
    m_helpTips.AddHelpTool(this, button, controlKey);
    button->SetOpacity(100);
    for (int slot : {kSlotHoverText, kSlotNormalText, kSlotFocusText})
        button->SetColor(slot, kSkinCaptionWhite, FALSE);
    for (int slot : {kSlotHoverBack, kSlotNormalBack, kSlotFocusBack})
        button->SetColor(slot, kSkinBlue, FALSE);
    button->SetWindowText(caption);
    button->SetSoundName(soundName);
    button->SetAlign(kAlignImageAbove, TRUE);
    button->SetDrawOption(TRUE, TRUE);
    if (bitmapId != 0)
        button->SetBitmaps(bitmapId, kSkinButtonTransparent, 0, 0);
}

HBRUSH CSystemDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    HBRUSH defaultBrush = CDialog::OnCtlColor(dc, wnd, ctlColor);
    if (ctlColor == CTLCOLOR_EDIT || ctlColor == CTLCOLOR_LISTBOX || ctlColor == CTLCOLOR_BTN) {
        dc->SetBkMode(OPAQUE);
        dc->SetBkColor(kSkinWhite);
        return defaultBrush;
    }
    dc->SetBkMode(TRANSPARENT);
    dc->SetBkColor(kSkinBlue);
    return (HBRUSH)m_brushPanel.GetSafeHandle();
}

void CSystemDlg::OnNewDesign()
{
    if (m_pDoc == NULL)
        return;
    // The new design replaces the open one: its changes are saved, or kept out of it, first.
    if (!m_pDoc->SaveModified())
        return;
    CDesignWizardDlg wizard(AfxGetMainWnd());
    wizard.m_pDoc = m_pDoc;
    if (wizard.DoModal() == IDCANCEL)
        return;
    CPanelManager* panels = GetGlobalObjectC();
    panels->DestroyPanels(FALSE);
    panels->ShowBackgroundMenu();
}

void CSystemDlg::OnLoadDesign()
{
    if (m_pDoc == NULL)
        return;
    // The opened design replaces this one: its changes are saved, or kept out of it, first;
    // a cancelled or failed save opens nothing.
    if (!m_pDoc->SaveModified())
        return;
    RunFiles(CFilesDlg::kOpen);
}

void CSystemDlg::OnSaveDesign()
{
    if (m_pDoc == NULL)
        return;
    RunFiles(m_pDoc->GetDesignPath().IsEmpty() ? CFilesDlg::kSaveAs : CFilesDlg::kSaveToPath);
}

void CSystemDlg::RunFiles(int mode)
{
    CFilesDlg files(AfxGetMainWnd());
    files.m_pDoc = m_pDoc;
    files.SetMode(mode);
    if (files.DoModal() != IDCANCEL)
        GetGlobalObjectC()->DestroyPanels(FALSE);
}

void CSystemDlg::OnBackground() { GetGlobalObjectC()->ShowBackgroundMenu(); }

void CSystemDlg::OnImages()
{
    if (m_pDoc == NULL)
        return;
    m_pDoc->SetTextToolMode(FALSE);
    m_pDoc->SetImageToolMode(TRUE);
    GetGlobalObjectC()->ShowImagingMenu();
    UpdateDesign();
}

void CSystemDlg::OnText()
{
    if (m_pDoc == NULL)
        return;
    m_pDoc->SetImageToolMode(FALSE);
    m_pDoc->SetTextToolMode(TRUE);
    GetGlobalObjectC()->ShowTextMenu();
    UpdateDesign();
}

void CSystemDlg::OnFrameDesign()
{
    GetGlobalObjectC()->ShowFrameMenu();
    UpdateDesign();
}

void CSystemDlg::SetPaperFromLayout()
{
    const CPaperLayout* layout = GetPaperLayout();
    const CPaperSize* paper = layout != nullptr ? layout->GetPaperSize() : nullptr;
    if (paper != nullptr)
        CPrinterList::SetPaperAndQuality((WORD)paper->GetPaperCode(), paper->IsLandscape());
}

void CSystemDlg::OnPreviewDesign()
{
    {
        CWaitCursor wait;
        // An empty or unknown "printer" leaves none chosen: the default printer applies.
        SelectPrinterByName(GetSetting("printer"));
        SetPaperFromLayout();
    }
    AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
}

void CSystemDlg::OnPrintDesign()
{
    SetPaperFromLayout();
    AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
}

void CSystemDlg::OnSettings() { GetGlobalObjectC()->ShowSettingsMenu(); }

void CSystemDlg::OnWebSite() { OpenUrl(kMakerWebAddress, SW_SHOW); }

void CSystemDlg::UpdateDesign()
{
    if (m_pDoc == NULL)
        return;
    m_pDoc->SetRedrawFlag();
    m_pDoc->UpdateAllViews(NULL, 0);
}

void CSystemDlg::SetPanelSize(int width, int height)
{
    CRect r;
    GetWindowRect(&r);
    SetWindowPos(NULL, 0, 0, width != 0 ? width : r.Width(), height != 0 ? height : r.Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessage(WM_USER + 1);
}

void CSystemDlg::OnSupport()
{
    CSupportDlg dlg(this);
    dlg.DoModal();
}
