// What the Frame menu's three panels (frame, frame fill, frame image fill) share: the
// quick-links list that names the menu's panels, the design redraw through the host while a
// bar moves, the skinned menu button, and the answers of the panel protocol.
//
// The rules it keeps: the list's entries are the menu's panels in the menu's order, each with
// its template id as item data, and choosing an entry shows the host's panel at that index;
// a record without a frame lists the frame panel alone; the list is drawn in white on the
// panel colour.
#pragma once
#include "app/panels/background/QuickLinks.h"
#include "ui/SkinPanelDlg.h"

#include <vector>

class CSkinButton;

// The entries of the Frame menu's panels: the frame panel, and with a frame the two fills.
std::vector<QuickLink> FrameQuickLinks(BOOL withFillPanels);

class CFramePanelDlg : public CSkinPanelDlg
{
public:
    CFramePanelDlg(UINT templateId, CWnd* parent);

    BOOL OnPanelCancel() override { return TRUE; }
    int OnPanelBack() override { return 0; }
    int OnPanelNext() override { return 0; }
    BOOL OnPanelFinish() override { return TRUE; }

    // As SetupButton, in the menu's fixed colours (yellow captions on the skin blue), without
    // a help bubble; a bitmap's transparent colour is kSkinButtonTransparent.
    void SetupMenuButton(CSkinButton* button, UINT bitmapId, CString soundName, CString helpKey, CString caption);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    // Fills the quick-links list and selects the panel's own entry.
    void FillQuickLinks(BOOL withFillPanels, int ownIndex);
    // The host's RedrawDesign: the design drawn again, nothing marked.
    void RedrawDesign();

    void OnQuickLink();
    LRESULT OnEnterIdle(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CListBox m_quickLinks;
};
