// The Background menu: the docked host of the background tools, which edit the current
// design area's background through the document's frame records.
//
// The rules it keeps: which panels it holds is decided once, when its window is made, from
// the paper layout's individual-designs flag and the frames-tool flag; an edit of a panel
// reaches the design through UpdateDesign only; the fill kind outlives the fill panel's
// window here.
#pragma once
#include "app/panels/background/BackgroundCloneDlg.h"
#include "app/panels/background/BackgroundDesignDlg.h"
#include "app/panels/background/BackgroundFillDlg.h"
#include "app/panels/background/BackgroundFramesDlg.h"
#include "app/panels/background/BackgroundImageDlg.h"
#include "ui/ToolMenuDlg.h"

class CBackgroundMenuDlg : public CToolMenuDlg
{
public:
    explicit CBackgroundMenuDlg(CWnd* parent = nullptr);

    // After an edit: redraw, modified flag, every view updated.
    void UpdateDesign();

    // Made with the host, in this order; the host holds those the two flags ask for.
    CBackgroundDesignDlg m_designDlg;
    CBackgroundCloneDlg m_cloneDlg;
    CBackgroundFillDlg m_fillDlg;
    CBackgroundImageDlg m_imageDlg;
    CBackgroundFramesDlg m_framesDlg;
    // 0 clear, 1 solid, 2 linear, 3 radial: what the fill panel last set or derived.
    int m_nFillKind = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnPaint();
    DECLARE_MESSAGE_MAP()

    // The panel of a template id (null: one this host does not have).
    CSkinPanelDlg* PanelOfTemplate(int panelId);
};
