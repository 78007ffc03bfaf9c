#include "app/panels/background/QuickLinks.h"
#include "base/TextTable.h"
#include "model/design/FrostwellDoc.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "res/background_res.h"
#include "ui/MenuHostDlg.h"

void SetQuickLinkEntries(CListBox& list, const std::vector<QuickLink>& links)
{
    list.ResetContent();
    for (const QuickLink& link : links) {
        const int index = list.AddString(GetLangText(link.key));
        if (index >= 0)
            list.SetItemData(index, (DWORD_PTR)link.panelId);
    }
}

std::vector<QuickLink> BackgroundQuickLinks(BOOL individualDesigns, BOOL frameTool)
{
    std::vector<QuickLink> links;
    if (individualDesigns)
        links.push_back({"13", IDD_BACKGROUND_DESIGNS});
    links.push_back({"14", IDD_BACKGROUND_FILL});
    links.push_back({"15", IDD_BACKGROUND_IMAGE});
    if (frameTool)
        links.push_back({"16", IDD_BACKGROUND_FRAMES});
    if (individualDesigns)
        links.push_back({"17", IDD_BACKGROUND_CLONE});
    return links;
}

BOOL IndividualDesignsOn() { return GetPaperLayout()->IsOneDesignPerCell() ? TRUE : FALSE; }

BOOL FrameToolOn(CFrostwellDoc* doc) { return doc != nullptr && doc->GetLayers()->IsFrameToolEnabled(); }

int QuickLinkIndex(int panelId, BOOL individualDesigns, BOOL frameTool)
{
    const std::vector<QuickLink> links = BackgroundQuickLinks(individualDesigns, frameTool);
    for (size_t i = 0; i < links.size(); ++i)
        if (links[i].panelId == panelId)
            return (int)i;
    return -1;
}

void FillQuickLinks(CListBox& list, CFont& font, int ownPanelId, CFrostwellDoc* doc)
{
    list.SetFont(&font);
    SetQuickLinkEntries(list, BackgroundQuickLinks(IndividualDesignsOn(), FrameToolOn(doc)));
    SelectQuickLink(list, ownPanelId, doc);
}

void SelectQuickLink(CListBox& list, int ownPanelId, CFrostwellDoc* doc)
{
    list.SetCurSel(QuickLinkIndex(ownPanelId, IndividualDesignsOn(), FrameToolOn(doc)));
}

void JumpToQuickLink(CListBox& list, CMenuHostDlg* host, CFrostwellDoc* doc)
{
    const int sel = list.GetCurSel();
    const std::vector<QuickLink> links = BackgroundQuickLinks(IndividualDesignsOn(), FrameToolOn(doc));
    if (host == nullptr || sel < 0 || sel >= (int)links.size())
        return;
    CSkinPanelDlg* panel = host->FindPanel(links[(size_t)sel].panelId);
    if (panel != nullptr)
        host->ShowPanelByIndex(host->GetPanelIndex(panel));
}
