// The Frame menu: the docked host of the frame tools, which edit the border frame of the
// current design area through the document's frame records.
//
// The rules it keeps: the panels are added once, in the menu's order, when its window is
// made; while a bar moves a panel has the design drawn again through RedrawDesign, which
// marks nothing; the document is marked modified by the panels' own apply step.
#pragma once
#include "app/panels/frame/FrameDlg.h"
#include "app/panels/frame/FrameFillDlg.h"
#include "app/panels/frame/FrameImageFillDlg.h"
#include "ui/ToolMenuDlg.h"

class CFrameMenuDlg : public CToolMenuDlg
{
public:
    explicit CFrameMenuDlg(CWnd* parent = nullptr);

    // The design drawn again with the edit so far: redraw flag, every view updated.
    void RedrawDesign();

    CFrameDlg m_frameDlg;
    CFrameFillDlg m_fillDlg;
    CFrameImageFillDlg m_imageFillDlg;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    // The panels, in the menu's order.
    void AddPanels();
    void AddFramePanel(CSkinPanelDlg* panel, int panelId);

    void OnPaint();
    DECLARE_MESSAGE_MAP()
};
