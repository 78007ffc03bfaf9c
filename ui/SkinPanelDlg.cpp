#include "ui/SkinPanelDlg.h"
#include "base/TextTable.h"
#include "model/design/FrostwellDoc.h"
#include "ui/SkinButton.h"

#include <cstring>

BEGIN_MESSAGE_MAP(CSkinPanelDlg, CDialog)
    ON_WM_CTLCOLOR()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CSkinPanelDlg::CSkinPanelDlg(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

CSkinPanelDlg::CSkinPanelDlg(LPCTSTR templateName, CWnd* parent) : CDialog(templateName, parent) {}

CSkinPanelDlg::~CSkinPanelDlg() = default;

void CSkinPanelDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }

BOOL CSkinPanelDlg::PreTranslateMessage(MSG* msg)
{
    // The tooltip sees only its own messages otherwise: the pointer over the panel's
    // controls is what shows their help bubbles.
    if (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST && m_tooltip.GetSafeHwnd() != nullptr)
        m_tooltip.RelayEvent(msg);
    return CDialog::PreTranslateMessage(msg);
}

BOOL CSkinPanelDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_fontBold.CreateFont(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    m_fontBoldCell.CreateFont(16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    m_helpTips.LoadHelpFile("tips.txt");
    m_helpTips.CreateTooltip(this, &m_tooltip);
    m_brushPanel.CreateSolidBrush(m_crPanel);
    return TRUE;
}

void CSkinPanelDlg::SetupButton(CSkinButton* button, UINT bitmapId, CString soundName, CString helpKey, CString caption,
                                COLORREF transparent)
{
    m_helpTips.AddHelpTool(this, button, helpKey);
    button->SetColor(kSlotHoverText, m_crButtonText, FALSE);
    button->SetColor(kSlotNormalText, m_crButtonText, FALSE);
    button->SetColor(kSlotFocusText, m_crButtonText, FALSE);
    button->SetColor(kSlotHoverBack, m_crPanel, FALSE);
    button->SetColor(kSlotNormalBack, m_crPanel, FALSE);
    button->SetColor(kSlotFocusBack, m_crPanel, FALSE);
    button->SetWindowText(caption);
    button->SetSoundName(soundName);
    button->SetAlign(kAlignImageAbove, TRUE);
    if (bitmapId != 0)
        button->SetBitmaps(bitmapId, transparent, 0, 0);
}

void CSkinPanelDlg::SetDocModified() { m_pDoc->SetModifiedFlag(TRUE); }

void CSkinPanelDlg::SetControlTable(const PanelControl* table, size_t count)
{
    m_pControls = table;
    m_nControls = count;
}

const PanelControl* CSkinPanelDlg::FindControl(const char* controlKey) const
{
    for (size_t i = 0; i < m_nControls; ++i)
        if (m_pControls[i].controlKey != nullptr && std::strcmp(m_pControls[i].controlKey, controlKey) == 0)
            return &m_pControls[i];
    return nullptr;
}

void CSkinPanelDlg::SetupControls()
{
    for (size_t i = 0; i < m_nControls; ++i) {
        const PanelControl& c = m_pControls[i];
        HWND h = ::GetDlgItem(m_hWnd, c.id);
        if (h == nullptr)
            continue;
        const CString caption = c.captionKey != nullptr ? GetLangText(c.captionKey) : CString();
        // A control bound to a skinned button member is that object.
        if (auto* button = dynamic_cast<CSkinButton*>(CWnd::FromHandlePermanent(h))) {
            SetupButton(button, c.bitmapId, "", c.helpKey != nullptr ? c.helpKey : "", caption, 0xFFFFFFFF);
            continue;
        }
        if (c.captionKey != nullptr)
            ::SetWindowText(h, caption);
        if (c.helpKey != nullptr)
            m_helpTips.AddHelpTool(this, CWnd::FromHandle(h), c.helpKey);
    }
}

void CSkinPanelDlg::SetControlColour(int id, COLORREF text)
{
    for (auto& c : m_colours)
        if (c.id == id) {
            c.text = text;
            return;
        }
    m_colours.push_back({id, text});
}

HBRUSH CSkinPanelDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    HBRUSH defaultBrush = CDialog::OnCtlColor(dc, wnd, ctlColor);
    const int id = wnd != nullptr && wnd->GetSafeHwnd() != nullptr ? ::GetDlgCtrlID(wnd->GetSafeHwnd()) : 0;
    for (const auto& c : m_colours)
        if (c.id == id && ctlColor != CTLCOLOR_DLG) {
            // Transparent, and the panel colour where a control fills its text background
            // all the same (a list box's items).
            dc->SetTextColor(c.text);
            dc->SetBkColor(m_crPanel);
            dc->SetBkMode(TRANSPARENT);
            return (HBRUSH)m_brushPanel.GetSafeHandle();
        }
    struct Rule
    {
        UINT kind;
        bool panelColours; // panel colour and brush, else black on white with the default brush
    };
    static const Rule rules[] = {
        {CTLCOLOR_EDIT, false}, {CTLCOLOR_LISTBOX, false},  {CTLCOLOR_BTN, true},
        {CTLCOLOR_DLG, true},   {CTLCOLOR_SCROLLBAR, true}, {CTLCOLOR_STATIC, true},
    };
    for (const auto& r : rules) {
        if (r.kind != ctlColor)
            continue;
        dc->SetTextColor(ctlColor == CTLCOLOR_STATIC ? m_crStaticText : kSkinBlack);
        dc->SetBkColor(r.panelColours ? m_crPanel : kSkinWhite);
        return r.panelColours ? (HBRUSH)m_brushPanel.GetSafeHandle() : defaultBrush;
    }
    return (HBRUSH)m_brushPanel.GetSafeHandle();
}

void CSkinPanelDlg::OnTimer(UINT_PTR id)
{
    if (id == kPanelOnceTimer)
        KillTimer(kPanelOnceTimer);
    Default();
}
