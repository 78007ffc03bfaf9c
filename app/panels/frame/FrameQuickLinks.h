// The quick-links list the Frame menu's panels carry: one entry per panel of the menu, so
// the user can jump between them.
//
// The rule it keeps: the entries are the menu's three panels in the menu's order, each with
// its panel's template id as item data; choosing an entry shows the panel at that index.
#pragma once
#include "app/panels/background/QuickLinks.h"

#include <vector>

class CMenuHostDlg;

// The frame, frame fill and frame image fill entries, in the menu's order.
std::vector<QuickLink> FrameQuickLinks();

// Fills the list with the entries in the font and selects entry `ownIndex`.
void FillFrameQuickLinks(CListBox& list, CFont& font, int ownIndex);
// Shows the panel of the selected entry by its index.
void JumpToFrameQuickLink(CListBox& list, CMenuHostDlg* host);
