// The base of every tool panel and wizard page: a modeless child dialog that lives in a
// panel host (ui/MenuHostDlg.h), skinned in the host's colours, with two bold fonts, the
// help bubbles of its controls, and the panel protocol through which the host drives it.
//
// The rules it keeps: a panel lists its skinned controls in one table (control id, control
// key, caption key, bitmap id, help key) that one loop sets up; its control colours come
// from one table; its brush is made once from the panel colour at initialisation, so a later
// colour change does not change it; a Cancel that reaches the panel does nothing.
#pragma once
#include "fw/fwwin.h"
#include "ui/HelpTipManager.h"
#include "ui/PPToolTip.h"
#include "ui/Skin.h"

#include <vector>

class CFrostwellDoc;
class CMenuHostDlg;
class CSkinButton;

// One control of a panel's table. A control bound to a CSkinButton member is skinned
// (caption, bitmap, help bubble); any other control gets its caption as window text and
// its help bubble. A null key or a bitmap id of 0 means none.
struct PanelControl
{
    int id;
    const char* controlKey; // the name the control goes by
    const char* captionKey; // language key of its caption
    UINT bitmapId;          // skin bitmap of a skinned button
    const char* helpKey;    // tips-file key of its help bubble
};

// The text colour a panel gives one control over the base table (drawn on a transparent
// background with the panel brush).
struct PanelControlColour
{
    int id;
    COLORREF text;
};

// Timer ids of panels: 101 fires once (the base kills it), 102 is the deferred apply.
const UINT_PTR kPanelOnceTimer = 101;
const UINT_PTR kPanelApplyTimer = 102;

class CSkinPanelDlg : public CDialog
{
public:
    CSkinPanelDlg(UINT templateId, CWnd* parent);
    CSkinPanelDlg(LPCTSTR templateName, CWnd* parent);
    ~CSkinPanelDlg() override;

    // The panel protocol, in slot order; the host calls them (see CMenuHostDlg).
    virtual BOOL OnPanelCreated() { return TRUE; }
    virtual void OnPanelDestroy() {}
    virtual BOOL CanLeavePanel() { return TRUE; }
    virtual void OnActivate() {}
    virtual BOOL OnPanelCancel() { return TRUE; }
    // The panel id to go to: 0 the neighbour in the host's list, -1 stay.
    virtual int OnPanelBack() { return 0; }
    virtual int OnPanelNext() { return 0; }
    virtual void OnEmptySlot() {}
    virtual BOOL OnPanelFinish() { return TRUE; }
    virtual void RefreshFromSelection() {}

    // Skins one button in the panel's colours; the transparent colour goes with its bitmap.
    void SetupButton(CSkinButton* button, UINT bitmapId, CString soundName, CString helpKey, CString caption,
                     COLORREF transparent);
    // Marks the document modified.
    void SetDocModified();

    // The control of the table with that control key (null: none).
    const PanelControl* FindControl(const char* controlKey) const;
    CHelpTipManager& HelpTips() { return m_helpTips; }
    CPPToolTip& Tooltip() { return m_tooltip; }

    CFont m_fontBold;
    CFont m_fontBoldCell;
    CFrostwellDoc* m_pDoc = nullptr;
    CMenuHostDlg* m_pHost = nullptr;
    COLORREF m_crPanel = kSkinPaleYellow;
    COLORREF m_crStaticText = kSkinBlack;
    COLORREF m_crButtonText = kSkinCaptionWhite;
    CBrush m_brushPanel;
    CMenuHostDlg* m_pParentHost = nullptr;
    BOOL m_bCreated = FALSE;
    BOOL m_bCurrent = FALSE;
    int m_nPanelId = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Relays the pointer to the help tooltip, so the bubbles show on hover.
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;
    void OnCancel() override {}

    // The panel's table, set up by SetupControls; a derived panel sets it in its constructor.
    void SetControlTable(const PanelControl* table, size_t count);
    template <size_t N> void SetControlTable(const PanelControl (&table)[N]) { SetControlTable(table, N); }
    // Captions, bitmaps and help bubbles of every control in the table.
    void SetupControls();
    // A text colour for one control over the base colours.
    void SetControlColour(int id, COLORREF text);

    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    void OnTimer(UINT_PTR id);
    DECLARE_MESSAGE_MAP()

    CHelpTipManager m_helpTips;
    CPPToolTip m_tooltip;

private:
    const PanelControl* m_pControls = nullptr;
    size_t m_nControls = 0;
    std::vector<PanelControlColour> m_colours;
};
