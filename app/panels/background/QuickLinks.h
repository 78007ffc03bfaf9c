// The quick-links list every background panel carries: one entry per panel of the Background
// menu, in the menu's order, so the user can jump between them.  The tool menus' panels
// share the entry type and the filling of the list.
//
// The rule it keeps: the entries are the menu's panels for the layout's individual-designs
// flag and the frames-tool flag, in the menu's order; an entry whose panel the menu does
// not hold does nothing.
#pragma once
#include "fw/fwwin.h"

#include <vector>

class CMenuHostDlg;
class CFrostwellDoc;

struct QuickLink
{
    const char* key; // language key of the entry
    int panelId;     // template id of its panel
};

// Puts the entries' texts into the list, each with its panel's template id as item data.
void SetQuickLinkEntries(CListBox& list, const std::vector<QuickLink>& links);

// The entries for the two flags, in the menu's order.
std::vector<QuickLink> BackgroundQuickLinks(BOOL individualDesigns, BOOL frameTool);
// The flags as the current paper layout and the document's frame records have them.
BOOL IndividualDesignsOn();
BOOL FrameToolOn(CFrostwellDoc* doc);
// The entry of a panel (-1: none).
int QuickLinkIndex(int panelId, BOOL individualDesigns, BOOL frameTool);

// Fills the list with the entries' texts in the font and selects the panel's own entry.
void FillQuickLinks(CListBox& list, CFont& font, int ownPanelId, CFrostwellDoc* doc);
// Selects the panel's own entry again.
void SelectQuickLink(CListBox& list, int ownPanelId, CFrostwellDoc* doc);
// Shows the panel of the selected entry when the host holds it.
void JumpToQuickLink(CListBox& list, CMenuHostDlg* host, CFrostwellDoc* doc);
