#include "ui/HelpTipManager.h"
#include "base/KeyStore.h"
#include "ui/PPToolTip.h"

CHelpTipManager::CHelpTipManager() : m_texts(10), m_tooltips(10) {}

CHelpTipManager::~CHelpTipManager()
{
    m_texts.RemoveAll();
    m_tooltips.RemoveAll();
}

int CHelpTipManager::SplitString(const CString& text, CStringArray& parts, char separator)
{
    parts.RemoveAll();
    int start = 0;
    for (int found = text.Find(separator); found >= 0; found = text.Find(separator, start)) {
        parts.Add(text.Mid(start, found - start));
        start = found + 1;
    }
    if (start < text.GetLength())
        parts.Add(text.Mid(start));
    return (int)parts.GetSize();
}

BOOL CHelpTipManager::LoadHelpFile(CString name)
{
    m_texts.RemoveAll();
    CString path;
    path.Format("%s\\%s", (LPCTSTR)GetDataFolder("help"), (LPCTSTR)name);
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeText))
        return FALSE;
    CString line;
    CStringArray parts;
    while (file.ReadString(line))
        if (SplitString(line, parts, '=') == 2)
            m_texts.SetAt(parts[0], parts[1]);
    file.Close();
    return TRUE;
}

CString CHelpTipManager::GetHelpText(CString key) const
{
    CString text;
    return m_texts.Lookup(key, text) ? text : CString();
}

void CHelpTipManager::SetHelpText(CString key, CString title, CString body, CString footer)
{
    CString text;
    text.Format("%s~%s~%s", (LPCTSTR)title, (LPCTSTR)body, (LPCTSTR)footer);
    m_texts.SetAt(key, text);
}

void CHelpTipManager::CreateTooltip(CWnd* dialog, CPPToolTip* tip)
{
    if (!tip)
        return;
    if (!tip->GetSafeHwnd())
        tip->Create(dialog, FALSE);
    StyleTooltip(tip);
    m_tooltips.SetAt(dialog, tip);
}

CString CHelpTipManager::FormatBubble(const CString& title, const CString& body, const CString& footer)
{
    // The <b> stays open to the end of the text.
    CString text;
    text.Format("<center><ilst idres=%s cx=10 cy=10 mask width=100%% height=100%%><br><h2>%s</h2><br>"
                "<hr color=blue></center><br><justify><b>%s</justify><br=2><right><i>%s</i></right>",
                "0", (LPCTSTR)title, (LPCTSTR)body, (LPCTSTR)footer);
    return text;
}

void CHelpTipManager::AddHelpTool(CWnd* dialog, CWnd* control, CString key)
{
    void* found = nullptr;
    if (!m_tooltips.Lookup(dialog, found) || !found)
        return; // no tooltip remembered for the dialog: nothing to add it to
    CStringArray parts;
    if (SplitString(GetHelpText(key), parts, '~') != 3)
        return;
    static_cast<CPPToolTip*>(found)->AddTool(control, FormatBubble(parts[0], parts[1], parts[2]));
}

BOOL CHelpTipManager::GetHelpParts(CString key, CString& title, CString& body, CString& footer) const
{
    key.MakeUpper();
    CStringArray parts;
    if (SplitString(GetHelpText(key), parts, '~') != 3)
        return FALSE;
    title = parts[0];
    body = parts[1];
    footer = parts[2];
    return TRUE;
}

void CHelpTipManager::StyleTooltip(CPPToolTip* tip)
{
    if (!tip)
        return;
    tip->SetBehaviour(PPTOOLTIP_MULTIPLE_SHOW);
    tip->SetNotify(TRUE);
    tip->SetDirection(PPTOOLTIP_SIDE_ABOVE);
    tip->SetColorBk(RGB(255, 255, 255), RGB(240, 247, 255), RGB(192, 192, 208));
    tip->SetBorder(RGB(64, 64, 64), 2, 2);
    tip->SetEffectBk(CPPDrawManager::EFFECT_METAL, 25);
    tip->SetImageList(kHelpBubbleBitmap, 48, 48, 1, RGB(192, 192, 192));
    tip->SetTooltipShadow(5, 5, 20, TRUE, 7, 7);
    tip->SetSize(CPPToolTip::SIZE_ROUNDED_CX, 15);
    tip->SetSize(CPPToolTip::SIZE_ROUNDED_CY, 15);
    tip->SetSize(CPPToolTip::SIZE_ANCHOR_WIDTH, 25);
    tip->SetSize(CPPToolTip::SIZE_ANCHOR_HEIGHT, 25);
    tip->SetSize(CPPToolTip::SIZE_ANCHOR_MARGIN, 25);
    tip->SetSize(CPPToolTip::SIZE_MARGIN_CX, 5);
    tip->SetSize(CPPToolTip::SIZE_MARGIN_CY, 5);
    tip->SetTransparency(8);
    tip->SetDelayTime(CPPToolTip::DELAY_AUTOPOP, 0);
    tip->SetDelayTime(CPPToolTip::DELAY_FADEIN, 25);
    tip->SetDelayTime(CPPToolTip::DELAY_FADEOUT, 25);
    tip->SetMaxWidth(200);
}
