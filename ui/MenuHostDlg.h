// The base of every panel host (the tool menus and the design wizard): a dialog that owns a
// list of panels (ui/SkinPanelDlg.h), shows one at a time at a placeholder control, moves
// between them with Back and Next, and runs Finish and Cancel through every created panel.
//
// The rules it keeps: Back, Next and Finish each have two control ids and every enable and
// command handles both; a panel that may not be left blocks every page change, Finish and
// ClosePanel; panels never shown are skipped by Finish, Cancel and ClosePanel; Finish with no
// current panel does nothing. In menu style the host docks 5 pixels from the top and right
// edge of its parent and keeps Finish enabled on every page.
#pragma once
#include "fw/fwwin.h"
#include "ui/HoverButton.h"
#include "ui/SkinButton.h"

#include <vector>

class CFrostwellDoc;
class CSkinPanelDlg;

// Control ids of the host templates.
enum MenuHostControl : int {
    kHostPlaceholder = 1010,
    kHostTitle = 1188,
    kHostBackPlain = 12323,
    kHostNextPlain = 12324,
    kHostFinishPlain = 12325,
    kHostClose = 12326,
    kHostNext = 12327,
    kHostBack = 12328,
};

// Sent with a skinned button's window handle in lParam: runs that button's action.
const UINT WM_HOST_BUTTON = WM_APP + 2;

class CMenuHostDlg : public CDialog
{
public:
    CMenuHostDlg(UINT templateId, CWnd* parent);
    CMenuHostDlg(LPCTSTR templateName, CWnd* parent);
    ~CMenuHostDlg() override;

    void SetMenuStyle() { m_bMenuStyle = TRUE; }
    BOOL IsMenuStyle() const { return m_bMenuStyle; }
    void SetPanelPlaceholder(int id) { m_nPlaceholderId = id; }
    void AddPanel(CSkinPanelDlg* panel, int panelId);

    BOOL ActivatePanel(CSkinPanelDlg* panel);
    BOOL DeactivateCurrentPanel();
    BOOL ShowFirstPanel();
    BOOL ShowPanelByIndex(int index);
    BOOL ShowPanelById(int panelId);
    BOOL ShowPanel(CSkinPanelDlg* panel);
    BOOL ShowNextPanel();
    CSkinPanelDlg* FindPanel(int panelId) const;
    CSkinPanelDlg* GetPanelAt(int index) const;
    int GetCurrentPanelIndex() const;
    int GetPanelIndex(const CSkinPanelDlg* panel) const;
    int GetPanelCount() const { return (int)m_panels.size(); }
    BOOL ClosePanel(CSkinPanelDlg* panel);

    void EnableBack(BOOL enable);
    void EnableNext(BOOL enable);
    void EnableFinish(BOOL enable);
    void SetTitle(const CString& text);
    void SetTitle(UINT stringId);
    void SetFinishCaption(const CString& text);
    void SetFinishCaption(UINT stringId);
    // Skins one host button (the help key is accepted and not used: host buttons have no bubble).
    void SetupButton(CSkinButton* button, UINT bitmapId, CString soundName, CString helpKey, CString caption);
    // Docks the host at its parent's right edge (menu style only).
    void LayoutPanels();

    CFrostwellDoc* m_pDoc = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;

    void OnFinish();
    void OnBack();
    void OnNext();
    void OnDestroy();
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    DECLARE_MESSAGE_MAP()

    // Enables both controls of one action; a control the template lacks is skipped.
    void EnablePair(int skinnedId, int plainId, BOOL enable);
    CSkinPanelDlg* CurrentPanel() const;
    // The design area painted again after Finish and Cancel.
    void InvalidateDesignArea();

    CSkinButton m_btnNext;
    CSkinButton m_btnBack;
    CSkinButton m_btnClose;
    CSkinButton m_btnExtra;
    CHoverButton m_hoverButtons[5];
    std::vector<CSkinPanelDlg*> m_panels; // not owned: the panels are members of the derived host
    int m_nPlaceholderId = 0;
    CBrush m_brushBack;
    BOOL m_bMenuStyle = FALSE;
    CFont m_fontTitle;
    CBrush m_brushStatic;
};
