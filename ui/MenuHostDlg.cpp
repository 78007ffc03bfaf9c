#include "ui/MenuHostDlg.h"
#include "base/TextTable.h"
#include "model/design/DocumentHost.h"
#include "res/ui_res.h"
#include "ui/Skin.h"
#include "ui/SkinPanelDlg.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CMenuHostDlg, CDialog)
    ON_COMMAND(kHostClose, &CMenuHostDlg::OnFinish)
    ON_COMMAND(kHostFinishPlain, &CMenuHostDlg::OnFinish)
    ON_COMMAND(kHostBack, &CMenuHostDlg::OnBack)
    ON_COMMAND(kHostBackPlain, &CMenuHostDlg::OnBack)
    ON_COMMAND(kHostNext, &CMenuHostDlg::OnNext)
    ON_COMMAND(kHostNextPlain, &CMenuHostDlg::OnNext)
    ON_WM_DESTROY()
    ON_WM_CTLCOLOR()
    ON_WM_SIZE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CMenuHostDlg::CMenuHostDlg(UINT templateId, CWnd* parent) : CDialog(templateId, parent)
{
    m_fontTitle.CreateFont(-22, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
}

CMenuHostDlg::CMenuHostDlg(LPCTSTR templateName, CWnd* parent) : CDialog(templateName, parent) {}

CMenuHostDlg::~CMenuHostDlg() = default;

void CMenuHostDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }

void CMenuHostDlg::AddPanel(CSkinPanelDlg* panel, int panelId)
{
    m_panels.push_back(panel);
    panel->m_nPanelId = panelId;
}

BOOL CMenuHostDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    if (m_bMenuStyle) {
        m_brushBack.CreateSolidBrush(kSkinBlue);
        m_brushStatic.CreateSolidBrush(kSkinWhite);
    } else {
        m_brushBack.CreateSolidBrush(kSkinPaleYellow);
    }
    if (::GetDlgItem(m_hWnd, kHostNext) != nullptr) {
        SetupButton(&m_btnNext, IDB_SKIN_NEXT, "", "DIALOG_NEXT_BTN", GetLangText("NEXT"));
        SetupButton(&m_btnBack, IDB_SKIN_BACK, "", "DIALOG_BACK_BTN", GetLangText("BACK"));
        SetupButton(&m_btnClose, IDB_SKIN_CLOSE, "", "DIALOG_CLOSE_BTN", GetLangText("CLOSE"));
    }
    ShowFirstPanel();
    LayoutPanels();
    return TRUE;
}

void CMenuHostDlg::SetupButton(CSkinButton* button, UINT bitmapId, CString soundName, CString, CString caption)
{
    if (button->GetSafeHwnd() == nullptr)
        return; // a host that did not bind this button
    button->SetColor(kSlotHoverText, kSkinCaptionWhite, FALSE);
    button->SetColor(kSlotNormalText, kSkinCaptionWhite, FALSE);
    button->SetColor(kSlotFocusText, kSkinCaptionWhite, FALSE);
    button->SetColor(kSlotHoverBack, kSkinBlue, FALSE);
    button->SetColor(kSlotNormalBack, kSkinBlue, FALSE);
    button->SetColor(kSlotFocusBack, kSkinBlue, FALSE);
    button->SetWindowText(caption);
    button->SetSoundName(soundName);
    button->SetAlign(kAlignImageAbove, TRUE);
    if (bitmapId != 0)
        button->SetBitmaps(bitmapId, kSkinButtonTransparent, 0, 0);
}

CSkinPanelDlg* CMenuHostDlg::CurrentPanel() const
{
    for (CSkinPanelDlg* p : m_panels)
        if (p->m_bCurrent)
            return p;
    return nullptr;
}

BOOL CMenuHostDlg::ActivatePanel(CSkinPanelDlg* panel)
{
    if (panel == nullptr)
        return FALSE;
    if (!panel->m_bCreated) {
        if (!panel->Create(panel->m_nPanelId, this))
            return FALSE;
        panel->m_bCreated = TRUE;
        panel->m_pParentHost = this;
        if (!panel->OnPanelCreated())
            return FALSE;
    }
    if (!DeactivateCurrentPanel())
        return FALSE;
    HWND placeholder = ::GetDlgItem(m_hWnd, m_nPlaceholderId);
    if (placeholder != nullptr) {
        CRect r;
        ::GetWindowRect(placeholder, &r);
        ScreenToClient(&r);
        panel->SetWindowPos(nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    panel->EnableWindow(TRUE);
    panel->ShowWindow(SW_SHOW);
    panel->Invalidate(TRUE);
    panel->UpdateWindow();
    panel->OnActivate();
    panel->m_bCurrent = TRUE;
    return TRUE;
}

BOOL CMenuHostDlg::DeactivateCurrentPanel()
{
    CSkinPanelDlg* current = CurrentPanel();
    if (current == nullptr)
        return TRUE;
    if (!current->CanLeavePanel())
        return FALSE;
    current->ShowWindow(SW_HIDE);
    current->m_bCurrent = FALSE;
    return TRUE;
}

BOOL CMenuHostDlg::ShowFirstPanel()
{
    if (!DeactivateCurrentPanel())
        return FALSE;
    EnableBack(FALSE);
    if (m_panels.size() > 1) {
        if (!m_bMenuStyle)
            EnableFinish(FALSE);
        EnableNext(TRUE);
    } else {
        EnableFinish(TRUE);
        EnableNext(FALSE);
    }
    return ActivatePanel(GetPanelAt(0));
}

BOOL CMenuHostDlg::ShowPanelByIndex(int index)
{
    CSkinPanelDlg* panel = GetPanelAt(index);
    if (panel == nullptr)
        return FALSE;
    ActivatePanel(panel);
    return TRUE;
}

BOOL CMenuHostDlg::ShowPanelById(int panelId)
{
    CSkinPanelDlg* panel = FindPanel(panelId);
    if (panel == nullptr || !DeactivateCurrentPanel())
        return FALSE;
    return ActivatePanel(panel);
}

BOOL CMenuHostDlg::ShowPanel(CSkinPanelDlg* panel)
{
    ActivatePanel(panel);
    return TRUE;
}

BOOL CMenuHostDlg::ShowNextPanel()
{
    const int next = GetCurrentPanelIndex() + 1;
    if (!ActivatePanel(GetPanelAt(next)))
        return FALSE;
    EnableBack(TRUE);
    return TRUE;
}

CSkinPanelDlg* CMenuHostDlg::FindPanel(int panelId) const
{
    for (CSkinPanelDlg* p : m_panels)
        if (p->m_nPanelId == panelId)
            return p;
    return nullptr;
}

CSkinPanelDlg* CMenuHostDlg::GetPanelAt(int index) const
{
    return index >= 0 && index < (int)m_panels.size() ? m_panels[(size_t)index] : nullptr;
}

int CMenuHostDlg::GetCurrentPanelIndex() const { return GetPanelIndex(CurrentPanel()); }

int CMenuHostDlg::GetPanelIndex(const CSkinPanelDlg* panel) const
{
    if (panel == nullptr)
        return -1;
    auto it = std::find(m_panels.begin(), m_panels.end(), panel);
    return it == m_panels.end() ? -1 : (int)(it - m_panels.begin());
}

BOOL CMenuHostDlg::ClosePanel(CSkinPanelDlg* panel)
{
    if (!panel->m_bCreated)
        return TRUE;
    if (!panel->CanLeavePanel())
        return FALSE;
    panel->OnPanelDestroy();
    panel->DestroyWindow();
    panel->m_bCreated = FALSE;
    return TRUE;
}

void CMenuHostDlg::EnablePair(int skinnedId, int plainId, BOOL enable)
{
    for (int id : {skinnedId, plainId})
        if (HWND h = ::GetDlgItem(m_hWnd, id))
            ::EnableWindow(h, enable);
}

void CMenuHostDlg::EnableBack(BOOL enable) { EnablePair(kHostBack, kHostBackPlain, enable); }
void CMenuHostDlg::EnableNext(BOOL enable) { EnablePair(kHostNext, kHostNextPlain, enable); }
void CMenuHostDlg::EnableFinish(BOOL enable) { EnablePair(kHostClose, kHostFinishPlain, enable); }

void CMenuHostDlg::SetTitle(const CString& text) { SetWindowText(text); }

void CMenuHostDlg::SetTitle(UINT stringId)
{
    CString text;
    text.LoadString(stringId);
    SetTitle(text);
}

void CMenuHostDlg::SetFinishCaption(const CString& text) { SetDlgItemText(kHostFinishPlain, text); }

void CMenuHostDlg::SetFinishCaption(UINT stringId)
{
    CString text;
    text.LoadString(stringId);
    SetFinishCaption(text);
}

void CMenuHostDlg::OnNext()
{
    CSkinPanelDlg* current = CurrentPanel();
    if (current == nullptr)
        return;
    const int result = current->OnPanelNext();
    if (result == -1)
        return;
    CSkinPanelDlg* target = result == 0 ? GetPanelAt(GetPanelIndex(current) + 1) : FindPanel(result);
    if (target == nullptr || !ActivatePanel(target))
        return;
    if (target == m_panels.back()) {
        EnableNext(FALSE);
        EnableFinish(TRUE);
    }
    EnableBack(TRUE);
}

void CMenuHostDlg::OnBack()
{
    CSkinPanelDlg* current = CurrentPanel();
    if (current == nullptr)
        return;
    const int result = current->OnPanelBack();
    if (result == -1)
        return;
    CSkinPanelDlg* target = result == 0 ? GetPanelAt(GetPanelIndex(current) - 1) : FindPanel(result);
    if (target == nullptr || !ActivatePanel(target))
        return;
    if (target == m_panels.front()) {
        EnableBack(FALSE);
        if (!m_bMenuStyle)
            EnableFinish(FALSE);
    }
    EnableNext(TRUE);
}

void CMenuHostDlg::OnFinish()
{
    // Without a current panel there is nothing to ask or to apply.
    CSkinPanelDlg* current = CurrentPanel();
    if (current == nullptr || !current->CanLeavePanel())
        return;
    for (CSkinPanelDlg* p : m_panels)
        if (p->m_bCreated && !p->OnPanelFinish())
            return;
    UpdateData(TRUE);
    InvalidateDesignArea();
    EndDialog(kHostFinishPlain);
}

void CMenuHostDlg::OnCancel()
{
    for (CSkinPanelDlg* p : m_panels)
        if (p->m_bCreated && !p->OnPanelCancel())
            return;
    InvalidateDesignArea();
    CDialog::OnCancel();
}

void CMenuHostDlg::InvalidateDesignArea()
{
    if (CDocumentHost* host = GetDocumentHost())
        host->InvalidateDesignArea(m_pDoc);
}

void CMenuHostDlg::OnDestroy()
{
    for (CSkinPanelDlg* p : m_panels)
        ClosePanel(p);
    CDialog::OnDestroy();
}

void CMenuHostDlg::LayoutPanels()
{
    if (!m_bMenuStyle || m_hWnd == nullptr)
        return;
    CWnd* parent = GetParent();
    if (parent == nullptr)
        return;
    CRect p, own;
    parent->GetClientRect(&p);
    GetClientRect(&own);
    const int w = own.Width(), h = own.Height();
    MoveWindow(p.right - (w + 5), p.top + 5, w, h, TRUE);
}

HBRUSH CMenuHostDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    HBRUSH defaultBrush = CDialog::OnCtlColor(dc, wnd, ctlColor);
    switch (ctlColor) {
    case CTLCOLOR_EDIT:
    case CTLCOLOR_LISTBOX:
    case CTLCOLOR_BTN:
    case CTLCOLOR_SCROLLBAR:
        dc->SetTextColor(kSkinBlack);
        dc->SetBkColor(kSkinBlue);
        return defaultBrush;
    case CTLCOLOR_DLG:
        return (HBRUSH)m_brushBack.GetSafeHandle();
    case CTLCOLOR_STATIC:
        dc->SetTextColor(kSkinBlack);
        dc->SetBkColor(kSkinWhite);
        return m_bMenuStyle ? (HBRUSH)m_brushStatic.GetSafeHandle() : defaultBrush;
    default:
        return defaultBrush;
    }
}

void CMenuHostDlg::OnSize(UINT, int, int) { Default(); }

void CMenuHostDlg::OnPaint()
{
    PAINTSTRUCT ps;
    ::BeginPaint(m_hWnd, &ps);
    ::EndPaint(m_hWnd, &ps);
}
