#include "app/panels/frame/FrameQuickLinks.h"

#include "base/TextTable.h"
#include "res/frame_fill_res.h"
#include "ui/MenuHostDlg.h"

std::vector<QuickLink> FrameQuickLinks()
{
    return {{"54", IDD_FRAME_PANEL}, {"55", IDD_FRAME_FILL}, {"56", IDD_FRAME_IMAGE_FILL}};
}

void FillFrameQuickLinks(CListBox& list, CFont& font, int ownIndex)
{
    list.SetFont(&font);
    list.ResetContent();
    for (const QuickLink& link : FrameQuickLinks()) {
        const int index = list.AddString(GetLangText(link.key));
        if (index >= 0)
            list.SetItemData(index, (DWORD_PTR)link.panelId);
    }
    list.SetCurSel(ownIndex);
}

void JumpToFrameQuickLink(CListBox& list, CMenuHostDlg* host)
{
    const int index = list.GetCurSel();
    if (host != nullptr && index >= 0)
        host->ShowPanelByIndex(index);
}
