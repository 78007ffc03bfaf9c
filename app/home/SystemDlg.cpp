#include "app/home/SystemDlg.h"
#include "app/files/FilesDlg.h"
#include "app/home/PanelManager.h"
#include "app/wizard/DesignWizardDlg.h"
#include "base/TextTable.h"
#include "model/design/FrostwellDoc.h"
#include "res/view_res.h"

BEGIN_MESSAGE_MAP(CSystemDlg, CDialog)
    ON_BN_CLICKED(IDC_HOME_NEW, &CSystemDlg::OnNew)
    ON_BN_CLICKED(IDC_HOME_LOAD, &CSystemDlg::OnLoad)
    ON_BN_CLICKED(IDC_HOME_SAVE, &CSystemDlg::OnSave)
    ON_BN_CLICKED(IDC_HOME_PRINT, &CSystemDlg::OnPrint)
    ON_BN_CLICKED(IDC_HOME_PREVIEW, &CSystemDlg::OnPreview)
    ON_BN_CLICKED(IDC_HOME_IMAGES, &CSystemDlg::OnImages)
    ON_BN_CLICKED(IDC_HOME_TEXT, &CSystemDlg::OnText)
    ON_BN_CLICKED(IDC_HOME_BACKGROUND, &CSystemDlg::OnBackground)
    ON_BN_CLICKED(IDC_HOME_FRAME, &CSystemDlg::OnFrameDesign)
END_MESSAGE_MAP()

CSystemDlg::CSystemDlg(CWnd* parent) : CDialog(IDD_HOME_PANEL, parent), m_pDoc(NULL) {}

BOOL CSystemDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    static const struct
    {
        UINT id;
        LPCTSTR key;
    } captions[] = {
        {IDC_HOME_NEW, "4"},
        {IDC_HOME_LOAD, "HOME_LOAD"},
        {IDC_HOME_SAVE, "HOME_SAVE"},
        {IDC_HOME_PRINT, "HOME_PRINT"},
        {IDC_HOME_PREVIEW, "HOME_PREVIEW"},
        {IDC_HOME_IMAGES, "HOME_IMAGES"},
        {IDC_HOME_TEXT, "HOME_TEXT"},
        {IDC_HOME_BACKGROUND, "10"},
        {IDC_HOME_FRAME, "7"},
    };
    for (const auto& c : captions)
        SetDlgItemText(c.id, GetLangText(c.key));
    return TRUE;
}

void CSystemDlg::OnNew()
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

void CSystemDlg::OnLoad()
{
    if (m_pDoc == NULL)
        return;
    // The opened design replaces this one: its changes are saved, or kept out of it, first;
    // a cancelled or failed save opens nothing.
    if (!m_pDoc->SaveModified())
        return;
    RunFiles(CFilesDlg::kOpen);
}

void CSystemDlg::OnSave()
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

void CSystemDlg::OnPrint() { AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_FILE_PRINT); }

void CSystemDlg::OnPreview() { AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW); }

void CSystemDlg::OnBackground() { GetGlobalObjectC()->ShowBackgroundMenu(); }

void CSystemDlg::OnFrameDesign()
{
    GetGlobalObjectC()->ShowFrameMenu();
    if (m_pDoc == NULL)
        return;
    m_pDoc->SetRedrawFlag();
    m_pDoc->UpdateAllViews(NULL, 0);
}

void CSystemDlg::SelectImageTool()
{
    if (m_pDoc == NULL)
        return;
    m_pDoc->SetImageToolMode(FALSE);
    m_pDoc->SetTextToolMode(FALSE);
    CImageLayerList* images = m_pDoc->GetImageList();
    CImageLayer* first = NULL;
    for (POSITION pos = images->GetHeadPosition(); pos != NULL && first == NULL;) {
        CImageLayerPair pair = images->GetNext(pos);
        if (pair.frame == m_pDoc->GetCurrentFrame())
            first = pair.layer;
    }
    m_pDoc->SetSelectedLayerA(first);
    m_pDoc->SetImageToolMode(TRUE);
    m_pDoc->SetRedrawFlag();
    m_pDoc->UpdateAllViews(NULL, 0);
}

void CSystemDlg::SelectTextTool()
{
    if (m_pDoc == NULL)
        return;
    m_pDoc->SetImageToolMode(FALSE);
    m_pDoc->SetTextToolMode(FALSE);
    CTextItemList* texts = m_pDoc->GetTextList();
    CTextItem* first = NULL;
    for (POSITION pos = texts->GetHeadPosition(); pos != NULL && first == NULL;) {
        CTextItemPair pair = texts->GetNext(pos);
        if (pair.frame == m_pDoc->GetCurrentFrame())
            first = pair.item;
    }
    m_pDoc->SetSelectedLayerB(first);
    m_pDoc->SetTextToolMode(TRUE);
    m_pDoc->SetRedrawFlag();
    m_pDoc->UpdateAllViews(NULL, 0);
}
