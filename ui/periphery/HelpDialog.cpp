#include "ui/periphery/HelpDialog.h"

#include "res/periphery_help_res.h"

#include <stdio.h>
#include <string>

const UINT kRichEditId = 100;

BEGIN_MESSAGE_MAP(CHelpDialog, CDialog)
    ON_WM_SIZING()
    ON_WM_SIZE()
    ON_WM_CONTEXTMENU()
    ON_WM_INITMENUPOPUP()
    ON_WM_RBUTTONDOWN()
    ON_NOTIFY(EN_REQUESTRESIZE, kRichEditId, &CHelpDialog::OnRequestResize)
    ON_COMMAND(ID_HELP_COPY_ALL, &CHelpDialog::OnCopyAll)
    ON_COMMAND(ID_HELP_ON_TOP, &CHelpDialog::OnOnTop)
    ON_COMMAND(ID_HELP_NOT_ON_TOP, &CHelpDialog::OnNotOnTop)
    ON_COMMAND(ID_HELP_PRINT_TOPIC, &CHelpDialog::OnPrintTopic)
    ON_COMMAND(ID_HELP_EXIT, &CHelpDialog::OnExit)
END_MESSAGE_MAP()

namespace {

const char kPageHead[] = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 "
                         "Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}\\viewkind4\\uc1\\pard\\cf1\\b\\f0\\fs36 "
                         "HelpDialog Internal Error\\par\\fs20\\par\\cf0 ";
const char kPageTail[] = "\\par\\cf0\\b0\\par}";

// Hands the topic to the rich edit in the pieces it asks for.
struct TopicReader
{
    const CString* text;
    LONG offset;
};

DWORD CALLBACK ReadTopic(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    TopicReader* reader = (TopicReader*)cookie;
    const LONG left = reader->text->GetLength() - reader->offset;
    const LONG n = left < wanted ? left : wanted;
    if (n > 0)
        memcpy(buffer, (LPCTSTR)*reader->text + reader->offset, (size_t)n);
    reader->offset += n;
    *given = n;
    return 0;
}

} // namespace

CString RtfEscape(LPCTSTR text)
{
    CString out;
    for (const char* p = text; p != nullptr && *p; ++p) {
        if (*p == '\\' || *p == '{' || *p == '}')
            out += '\\';
        if (*p != '\r' && *p != '\n')
            out += *p;
    }
    return out;
}

CString CHelpDialog::NoTopicPage()
{
    return CString(kPageHead) + "no RTF ID set in constructor AND no RTF File Loaded, check your code!" + kPageTail;
}

CString CHelpDialog::MissingResourcePage()
{
    return CString(kPageHead) + "Failed to load RTF from resources, check your code!" + kPageTail;
}

CString CHelpDialog::FileErrorPage(LPCTSTR path, LPCTSTR reason)
{
    return CString(kPageHead) + "Failed to load RTF file '" + RtfEscape(path) +
           "'\\par\\par\\cf0Reason: " + RtfEscape(reason) + kPageTail;
}

CHelpDialog::CHelpDialog(CWnd* parent, UINT rtfId) : CDialog(IDD_HELP_TOPIC, parent), m_nRtfId(rtfId) {}

CHelpDialog::~CHelpDialog()
{
    if (m_hIcon != nullptr)
        ::DestroyIcon(m_hIcon);
    if (m_hSmallIcon != nullptr)
        ::DestroyIcon(m_hSmallIcon);
}

BOOL CHelpDialog::LoadRtfFile(LPCTSTR path)
{
    m_bFileLoaded = TRUE;
    FILE* f = fopen(path, "rb");
    if (f == nullptr) {
        const DWORD error = ::GetLastError();
        char* message = nullptr;
        ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, error, 0, (LPSTR)&message, 0, nullptr);
        m_strRtf = FileErrorPage(path, message != nullptr ? message : "");
        if (message != nullptr)
            ::LocalFree(message);
        return FALSE;
    }
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, n);
    fclose(f);
    m_strRtf = CString(text.c_str(), (int)text.size());
    return TRUE;
}

BOOL CHelpDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    HINSTANCE resources = AfxGetResourceHandle();
    m_hIcon = (HICON)::LoadImage(resources, MAKEINTRESOURCE(IDI_HELP_TOPIC), IMAGE_ICON, 32, 32, 0);
    m_hSmallIcon = (HICON)::LoadImage(resources, MAKEINTRESOURCE(IDI_HELP_TOPIC), IMAGE_ICON, 16, 16, 0);
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)m_hSmallIcon);

    CRect r;
    GetClientRect(&r);
    m_edit.Create(WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY, r, this,
                  kRichEditId);
    m_edit.SetBackgroundColor(FALSE, ::GetSysColor(COLOR_INFOBK));
    m_edit.SetOptions(ECOOP_OR, ECO_READONLY | ECO_AUTOWORDSELECTION | ECO_NOHIDESEL);
    // Lines wrap at the control's width: the width search below depends on it.
    m_edit.SendMessage(EM_SETTARGETDEVICE, 0, 0);
    SetWindowText(m_strTitle);

    if (m_nRtfId != 0) {
        HRSRC found = ::FindResource(resources, MAKEINTRESOURCE(m_nRtfId), "RTF");
        HGLOBAL loaded = found != nullptr ? ::LoadResource(resources, found) : nullptr;
        const char* data = loaded != nullptr ? (const char*)::LockResource(loaded) : nullptr;
        if (data != nullptr)
            m_strRtf = CString(data, (int)::SizeofResource(resources, found));
        else
            m_strRtf = MissingResourcePage();
    } else if (!m_bFileLoaded) {
        m_strRtf = NoTopicPage();
    }
    StreamTopic();
    FitWidth();
    // The reader starts at the top with nothing selected (the dialog would select all).
    m_edit.SetFocus();
    m_edit.SetSel(0, 0);
    return FALSE;
}

void CHelpDialog::StreamTopic()
{
    TopicReader reader = {&m_strRtf, 0};
    EDITSTREAM stream = {};
    stream.dwCookie = (DWORD_PTR)&reader;
    stream.pfnCallback = ReadTopic;
    m_edit.StreamIn(SF_RTF, stream);
}

void CHelpDialog::FitWidth()
{
    m_edit.SetEventMask(ENM_REQUESTRESIZE);
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN) & ~1;
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    // The height the text takes at the widest; then the narrowest width that keeps it.
    m_edit.SetWindowPos(nullptr, 0, 0, screenWidth, 1, SWP_NOZORDER | SWP_NOMOVE);
    m_edit.RequestResize();
    const int reference = m_requested.cy;
    int lo = 100, hi = screenWidth;
    while (lo < hi) {
        const int middle = (lo + hi) / 2;
        m_edit.SetWindowPos(nullptr, 0, 0, middle, 1, SWP_NOZORDER | SWP_NOMOVE);
        m_edit.RequestResize();
        if (m_requested.cy > reference)
            lo = middle + 1;
        else
            hi = middle - 1;
    }
    // The search may end one pixel short: ask again at the width it settled on.
    for (int width = lo;; ++width) {
        m_edit.SetWindowPos(nullptr, 0, 0, width, 1, SWP_NOZORDER | SWP_NOMOVE);
        m_edit.RequestResize();
        if (m_requested.cy <= reference || width >= screenWidth)
            break;
    }
    // The size stays the one the search settled on.
    m_edit.SetEventMask(0);
    const int width = m_requested.cx + 5;
    int height = m_requested.cy + ::GetSystemMetrics(SM_CYMENUSIZE) + 2;
    if (height > screenHeight - 80)
        height = screenHeight - 80;
    m_edit.SetWindowPos(nullptr, 2, 2, width, height, SWP_NOZORDER);
    SetWindowPos(nullptr, 0, 0, width + 14, 500, SWP_NOZORDER | SWP_NOMOVE);
}

void CHelpDialog::OnRequestResize(NMHDR* header, LRESULT* result)
{
    const REQRESIZE* request = (const REQRESIZE*)header;
    m_requested = CSize(request->rc.right - request->rc.left, request->rc.bottom - request->rc.top);
    *result = 0;
}

void CHelpDialog::FitEdit()
{
    if (m_edit.m_hWnd == nullptr)
        return;
    CRect r;
    GetClientRect(&r);
    r.left += 2;
    r.top += 2;
    r.right -= 1;
    r.bottom -= 1;
    m_edit.MoveWindow(&r);
    CRect format;
    m_edit.GetClientRect(&format);
    m_edit.SetRect(&format);
    m_edit.Invalidate();
}

void CHelpDialog::OnSizing(UINT side, LPRECT r)
{
    CDialog::OnSizing(side, r);
    FitEdit();
}

void CHelpDialog::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    FitEdit();
}

void CHelpDialog::SetOnTop(BOOL onTop)
{
    m_bOnTop = onTop;
    if (m_hWnd == nullptr)
        return;
    if (onTop) {
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow();
    } else {
        ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void CHelpDialog::ShowMenu(CPoint screen)
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_HELP_TOPIC_MENU))
        return;
    CMenu* popup = menu.GetSubMenu(0);
    if (popup == nullptr)
        return;
    popup->CheckMenuItem(ID_HELP_ON_TOP, MF_BYCOMMAND | (m_bOnTop ? MF_CHECKED : MF_UNCHECKED));
    popup->CheckMenuItem(ID_HELP_NOT_ON_TOP, MF_BYCOMMAND | (m_bOnTop ? MF_UNCHECKED : MF_CHECKED));
    const UINT command = (UINT)::TrackPopupMenu(popup->GetSafeHmenu(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                screen.x, screen.y, 0, m_hWnd, nullptr);
    if (command != 0)
        SendMessage(WM_COMMAND, command);
}

void CHelpDialog::OnContextMenu(CWnd*, CPoint point)
{
    if (point.x == -1 && point.y == -1) {
        // From the keyboard: at the window's top-left corner.
        CRect r;
        GetWindowRect(&r);
        point = r.TopLeft();
    }
    ShowMenu(point);
}

void CHelpDialog::OnRButtonDown(UINT, CPoint point)
{
    ClientToScreen(&point);
    ShowMenu(point);
}

void CHelpDialog::OnInitMenuPopup(CMenu* menu, UINT index, BOOL sysMenu)
{
    CDialog::OnInitMenuPopup(menu, index, sysMenu);
    if (sysMenu || menu == nullptr)
        return;
    menu->CheckMenuItem(ID_HELP_ON_TOP, MF_BYCOMMAND | (m_bOnTop ? MF_CHECKED : MF_UNCHECKED));
    menu->CheckMenuItem(ID_HELP_NOT_ON_TOP, MF_BYCOMMAND | (m_bOnTop ? MF_UNCHECKED : MF_CHECKED));
}

void CHelpDialog::OnCopyAll()
{
    m_edit.SetSel(0, -1);
    m_edit.Copy();
    m_edit.SetSel(0, 0);
}

void CHelpDialog::OnOnTop() { SetOnTop(TRUE); }

void CHelpDialog::OnNotOnTop() { SetOnTop(FALSE); }

void CHelpDialog::OnExit() { EndDialog(IDOK); }
