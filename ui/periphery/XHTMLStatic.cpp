// The HTML static control's life: colours, links, the hand over links, clicks and commands.
// Its painting is XHTMLStaticPaint.cpp.
#include "ui/periphery/XHTMLStatic.h"

#include "base/OpenUrl.h"
#include "ui/XScrollBar.h"
#include "ui/periphery/NamedColor.h"

BEGIN_MESSAGE_MAP(CXHTMLStatic, CStatic)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_SETCURSOR()
    ON_WM_DESTROY()
    ON_CONTROL_REFLECT(BN_CLICKED, &CXHTMLStatic::OnClicked)
END_MESSAGE_MAP()

CXHTMLStatic::CXHTMLStatic()
{
    m_hHand = CXScrollBar::FindHandCursor(AfxGetResourceHandle(), &m_bHandCopied);
    Reset();
}

CXHTMLStatic::~CXHTMLStatic()
{
    Reset();
    if (m_hHand != nullptr && m_bHandCopied)
        ::DestroyCursor(m_hHand);
}

void CXHTMLStatic::Reset()
{
    m_crBackground = ::GetSysColor(COLOR_WINDOW);
    m_crText = ::GetSysColor(COLOR_WINDOWTEXT);
    m_nUnderline = m_nBold = m_nItalic = m_nStrikeOut = m_nSubscript = m_nSuperscript = 0;
    m_nPendingRules = 0;
    m_nRuleThickness = 2;
    m_bTimerRunning = m_bInLink = m_bOverLink = FALSE;
    m_hSavedCursor = nullptr;
    ClearLinks();
}

void CXHTMLStatic::ClearLinks()
{
    m_linkRects.clear();
    m_linkTargets.clear();
}

void CXHTMLStatic::SetWindowText(LPCTSTR text)
{
    Reset();
    if (m_hWnd == nullptr)
        return;
    if (m_bTimerRunning)
        KillTimer(kLinkTimer);
    CStatic::SetWindowText(text);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

COLORREF CXHTMLStatic::SetBkColor(LPCTSTR colour) { return SetBkColor(CNamedColor(colour).GetColor()); }

COLORREF CXHTMLStatic::SetBkColor(COLORREF colour)
{
    const COLORREF previous = m_crBackground;
    m_crBackground = colour;
    return previous;
}

COLORREF CXHTMLStatic::SetTextColor(LPCTSTR colour) { return SetTextColor(CNamedColor(colour).GetColor()); }

COLORREF CXHTMLStatic::SetTextColor(COLORREF colour)
{
    const COLORREF previous = m_crText;
    m_crText = colour;
    return previous;
}

void CXHTMLStatic::SetOwnFont(const LOGFONT* font)
{
    m_bOwnFont = font != nullptr;
    m_ownFont = font != nullptr ? *font : LOGFONT{};
}

void CXHTMLStatic::SetMargins(int left, int right)
{
    m_nLeftMargin = left > 0 ? left : 0;
    m_nRightMargin = right > 0 ? right : 0;
}

void CXHTMLStatic::SetAppCommands(const AppCommand* commands, int count)
{
    m_commands.clear();
    for (int i = 0; commands != nullptr && i < count; ++i)
        m_commands.push_back(commands[i]);
}

BOOL CXHTMLStatic::IsBlank(LPCTSTR text)
{
    for (const char* p = text; p != nullptr && *p; ++p)
        if (*p != ' ' && *p != '\t')
            return FALSE;
    return TRUE;
}

void CXHTMLStatic::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY);
    HFONT font = (HFONT)SendMessage(WM_GETFONT);
    if (font == nullptr)
        font = (HFONT)::GetStockObject(SYSTEM_FONT);
    LOGFONT lf = {};
    ::GetObject(font, sizeof(lf), &lf);
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&lf);
    CStatic::PreSubclassWindow();
}

void CXHTMLStatic::OnTimer(UINT_PTR id)
{
    if (id != kLinkTimer) {
        CStatic::OnTimer(id);
        return;
    }
    if (m_linkRects.empty())
        return;
    POINT pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    bool over = false;
    for (const CRect& r : m_linkRects)
        if (r.PtInRect(pt)) {
            over = true;
            break;
        }
    if (over) {
        if (m_hHand != nullptr) {
            HCURSOR previous = ::SetCursor(m_hHand);
            if (m_hSavedCursor == nullptr)
                m_hSavedCursor = previous;
        }
        m_bOverLink = TRUE;
    } else if (m_hSavedCursor != nullptr) {
        ::SetCursor(m_hSavedCursor);
        m_hSavedCursor = nullptr;
        m_bOverLink = FALSE;
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    } else {
        m_bOverLink = FALSE;
    }
}

BOOL CXHTMLStatic::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (m_bOverLink)
        return FALSE;
    return CStatic::OnSetCursor(wnd, hitTest, message);
}

void CXHTMLStatic::OnDestroy()
{
    KillTimer(kLinkTimer);
    m_bTimerRunning = FALSE;
    CStatic::OnDestroy();
}

void CXHTMLStatic::OnClicked()
{
    POINT pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    for (size_t i = 0; i < m_linkRects.size(); ++i)
        if (m_linkRects[i].PtInRect(pt)) {
            const CString target = m_linkTargets[i];
            GotoURL(target, SW_SHOW);
            return;
        }
}

BOOL CXHTMLStatic::GotoURL(LPCTSTR target, int showCommand)
{
    if (target == nullptr)
        return FALSE;
    if (_strnicmp(target, "APP:", 4) == 0)
        return ProcessAppCommand(target + 4);
    if (_strnicmp(target, "\"APP:", 5) == 0)
        return ProcessAppCommand(target + 5);
    // HREF="address": the quotes belong to the markup, not to the address.
    CString address = target;
    if (address.GetLength() >= 2 && address[0] == '"' && address[address.GetLength() - 1] == '"')
        address = address.Mid(1, address.GetLength() - 2);
    return OpenUrl(address, showCommand) > 32;
}

BOOL CXHTMLStatic::ProcessAppCommand(LPCTSTR command)
{
    CString wanted = command != nullptr ? command : "";
    if (!wanted.IsEmpty() && wanted[0] == '"')
        wanted = wanted.Mid(1);
    if (!wanted.IsEmpty() && wanted[wanted.GetLength() - 1] == '"')
        wanted = wanted.Left(wanted.GetLength() - 1);
    BOOL sent = FALSE;
    for (const AppCommand& entry : m_commands) {
        CString text = entry.command;
        const bool loadPage = text.Find("_LOADPAGE") >= 0;
        if (loadPage)
            text.Replace("_LOADPAGE", "");
        if (text.CompareNoCase(wanted) == 0 && ::IsWindow(entry.hWnd)) {
            ::SendMessage(entry.hWnd, entry.message, entry.wParam, loadPage ? 0 : (LPARAM)(LPCTSTR)wanted);
            sent = TRUE;
        }
    }
    return sent;
}
