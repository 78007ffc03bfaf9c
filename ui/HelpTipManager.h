// The help bubbles of a dialog's controls: the tips file's texts by control key, one bubble
// text per control from a fixed template, registered as whole-window tools of the dialog's
// tooltip, which the manager creates and styles with the fixed look of help bubbles.
// Order kept by every caller: LoadHelpFile, CreateTooltip, then AddHelpTool per control;
// a dialog without a tooltip of its own gets no bubbles. The manager never owns a tooltip.
#pragma once
#include "fw/fwwin.h"

class CPPToolTip;

// The picture at the top of every help bubble (48 x 48, image 0 of the tooltip's list).
const UINT kHelpBubbleBitmap = 610;

class CHelpTipManager
{
public:
    CHelpTipManager();
    virtual ~CHelpTipManager();
    CHelpTipManager(const CHelpTipManager&) = delete;
    CHelpTipManager& operator=(const CHelpTipManager&) = delete;

    // Reads "key=title~body~footer" lines of the file in the help folder, replacing every
    // text held before. FALSE (no texts) when the file cannot be opened.
    BOOL LoadHelpFile(CString name);
    // The text of the key as stored (keys compare exactly), empty when there is none.
    CString GetHelpText(CString key) const;
    void SetHelpText(CString key, CString title, CString body, CString footer);
    // Creates the dialog's tooltip in the help style and remembers it for the dialog.
    void CreateTooltip(CWnd* dialog, CPPToolTip* tip);
    // The control's bubble from the key's text (as stored) when it has exactly three parts.
    void AddHelpTool(CWnd* dialog, CWnd* control, CString key);
    // The three parts of the key's text, the key upper-cased first; FALSE (outputs untouched)
    // unless there are exactly three.
    BOOL GetHelpParts(CString key, CString& title, CString& body, CString& footer) const;
    // The fixed look of help bubbles.
    static void StyleTooltip(CPPToolTip* tip);
    // The bubble text of a tip.
    static CString FormatBubble(const CString& title, const CString& body, const CString& footer);
    // Parts of text between separators: each separator ends a part (an empty one too); the
    // rest after the last one is a part only when it is not empty. Returns the count.
    static int SplitString(const CString& text, CStringArray& parts, char separator);

private:
    CMapStringToString m_texts;
    CMapPtrToPtr m_tooltips; // dialog -> its tooltip
};
