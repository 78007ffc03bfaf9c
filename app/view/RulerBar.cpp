#include "app/view/RulerBar.h"

namespace {
const int kUnitsPerLabel = 1440; // one label step: an inch, or a centimetre when metric
const COLORREF kBandColour = RGB(0xFF, 0x40, 0x40);
} // namespace

BEGIN_MESSAGE_MAP(CRulerBar, CControlBar)
    ON_WM_SYSCOLORCHANGE()
    ON_WM_WINDOWPOSCHANGING()
END_MESSAGE_MAP()

CRulerBar::CRulerBar(BOOL threeD) : CRulerBar(threeD, FALSE) {}

CRulerBar::CRulerBar(BOOL threeD, BOOL vertical)
    : m_bVertical(vertical), m_b3D(FALSE), m_nScreenRes(0), m_nScroll(0), m_nUnit(6)
{
    if (vertical)
        SetBorders(3, 0, 5, 6);
    else
        SetBorders(0, 3, 0, 3);
    if (LOBYTE(LOWORD(::GetVersion())) < 4)
        m_b3D = threeD;

    HGDIOBJ gui = ::GetStockObject(DEFAULT_GUI_FONT);
    if (gui == NULL)
        gui = ::GetStockObject(ANSI_VAR_FONT);
    LOGFONT lf;
    ::GetObject(gui, sizeof lf, &lf);
    lf.lfHeight = -10;
    lf.lfWidth = 0;
    if (vertical)
        lf.lfEscapement = 900;
    m_font.CreateFontIndirect(&lf);

    HDC screen = ::GetDC(NULL);
    m_nScreenRes = ::GetDeviceCaps(screen, vertical ? LOGPIXELSY : LOGPIXELSX);
    ::ReleaseDC(NULL, screen);
    CreatePens();
}

CRulerBar::~CRulerBar()
{
    if (m_hWnd != NULL)
        DestroyWindow();
}

void CRulerBar::CreatePens()
{
    m_penDotted.CreatePen(PS_DOT, 1, ::GetSysColor(COLOR_WINDOWTEXT));
    m_penHilight.CreatePen(PS_SOLID, 0, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    m_penShadow.CreatePen(PS_SOLID, 0, ::GetSysColor(COLOR_BTNSHADOW));
    m_penFrame.CreatePen(PS_SOLID, 0, ::GetSysColor(COLOR_WINDOWFRAME));
    m_penBtnText.CreatePen(PS_SOLID, 0, ::GetSysColor(COLOR_BTNTEXT));
    m_penBtnFace.CreatePen(PS_SOLID, 0, ::GetSysColor(COLOR_BTNFACE));
    m_penWindowText.CreatePen(PS_SOLID, 0, ::GetSysColor(COLOR_WINDOWTEXT));
    m_penWindow.CreatePen(PS_SOLID, 0, ::GetSysColor(COLOR_WINDOW));
    m_brWindow.CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
    m_brBtnFace.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
}

void CRulerBar::DeletePens()
{
    m_penDotted.DeleteObject();
    m_penHilight.DeleteObject();
    m_penShadow.DeleteObject();
    m_penFrame.DeleteObject();
    m_penBtnText.DeleteObject();
    m_penBtnFace.DeleteObject();
    m_penWindowText.DeleteObject();
    m_penWindow.DeleteObject();
    m_brWindow.DeleteObject();
    m_brBtnFace.DeleteObject();
}

BOOL CRulerBar::Create(CWnd* parent, DWORD barStyle, RECT rect, UINT id)
{
    SetBarStyle(barStyle);
    LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1), NULL);
    return CWnd::Create(cls, NULL, barStyle | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect, parent, id);
}

BOOL CRulerBarV::Create(CWnd* parent, DWORD barStyle, UINT id)
{
    RECT empty = {0, 0, 0, 0};
    return CRulerBar::Create(parent, barStyle, empty, id);
}

CRulerBarV::CRulerBarV(BOOL threeD) : CRulerBar(threeD, TRUE) {}

CSize CRulerBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    CSize size = CControlBar::CalcFixedLayout(stretch, horizontal);
    size.cy = 17 + m_cyTopBorder + m_cyBottomBorder;
    return size;
}

CSize CRulerBarV::CalcFixedLayout(BOOL stretch, BOOL)
{
    CSize size = CControlBar::CalcFixedLayout(stretch, FALSE); // always laid out as vertical
    size.cx = 17 + m_cxLeftBorder + m_cxRightBorder;
    return size;
}

void CRulerBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

CSize CRulerBar::GetTextSize()
{
    HDC screen = ::GetDC(NULL);
    TEXTMETRIC tm;
    {
        CSelectGuard font(screen, m_font.GetSafeHandle());
        ::GetTextMetrics(screen, &tm);
    }
    ::ReleaseDC(NULL, screen);
    return CSize(tm.tmAveCharWidth, tm.tmHeight);
}

void CRulerBar::SetRuler(SIZE size, const RECT* marks, SIZE length)
{
    CRect newMarks = marks != NULL ? CRect(*marks) : CRect();
    if (m_size == size && m_length == length && m_marks == newMarks)
        return;
    m_size = size;
    m_marks = newMarks;
    m_length = length;
    if (m_hWnd != NULL)
        Invalidate();
}

int CRulerBar::Along(int units) const { return ::MulDiv(units, SizeAlong(), LengthAlong()); }

void CRulerBar::DoPaint(CDC* dc, POINT origin)
{
    if (m_hWnd != NULL)
        CControlBar::DoPaint(dc); // the bar's own face: its client area is empty in the view
    int saved = dc->SaveDC();
    if (m_bVertical)
        dc->SetViewportOrg(origin.x + m_cxLeftBorder, origin.y + m_cyTopBorder - m_nScroll);
    else
        dc->SetViewportOrg(origin.x + m_cxLeftBorder - m_nScroll, origin.y + m_cyTopBorder);
    DrawBand(dc);

    dc->SelectObject(&m_penWindowText);
    dc->SelectObject(&m_font);
    dc->SetTextColor(RGB(255, 255, 255));
    dc->SetBkMode(TRANSPARENT);
    dc->SelectStockObject(WHITE_PEN);
    DrawTicks(dc, 144, kUnitsPerLabel, 2);
    DrawTicks(dc, 720, kUnitsPerLabel, 5);
    DrawNumbers(dc, kUnitsPerLabel, kUnitsPerLabel);
    dc->RestoreDC(saved);
}

void CRulerBar::DrawBand(CDC* dc)
{
    int size = SizeAlong();
    int l = MarkLow(), r = MarkHigh();
    if (l < 0)
        l = 0;
    if (l > size)
        l = size;
    if (r > size)
        r = size;
    if (r < 0)
        r = 0;
    if (l == r)
        return;
    CRect fill, frame;
    if (m_bVertical) {
        fill.SetRect(4, l, 16, r);
        frame.SetRect(3, l, 17, r);
    } else {
        fill.SetRect(l, 5, r, 16);
        frame.SetRect(l, 4, r, 17);
    }
    CBrush band(kBandColour);
    dc->FillRect(&fill, &band);
    CBrush black(RGB(0, 0, 0));
    dc->FrameRect(&frame, &black);
}

void CRulerBar::DrawTicks(CDC* dc, int every, int perLabel, int len)
{
    int length = LengthAlong();
    if (::MulDiv(every, SizeAlong(), length) <= 5)
        return;
    int from = 10 - len / 2;
    for (int n = every; n < length; n += every) {
        if (n % perLabel == 0)
            continue; // a number stands there
        int x = Along(n);
        if (x == MarkLow() || x == SizeAlong() - MarkHigh())
            continue;
        if (m_bVertical) {
            dc->MoveTo(from, x);
            dc->LineTo(from + len, x);
        } else {
            dc->MoveTo(x, from);
            dc->LineTo(x, from + len);
        }
    }
}

void CRulerBar::DrawNumbers(CDC* dc, int every, int perLabel)
{
    int length = LengthAlong();
    if (::MulDiv(every, SizeAlong(), length) <= 8)
        return;
    for (int n = every; n < length; n += every) {
        int x = Along(n);
        if (x == MarkLow() || x == SizeAlong() - MarkHigh())
            continue;
        CString text;
        text.Format("%d", n / perLabel);
        CSize ext = dc->GetTextExtent(text);
        if (m_bVertical)
            dc->TextOut(10 - ext.cy / 2, x + ext.cx / 2, text);
        else
            dc->TextOut(x - ext.cx / 2, 10 - ext.cy / 2, text);
    }
}

void CRulerBar::OnSysColorChange()
{
    CControlBar::OnSysColorChange();
    DeletePens();
    CreatePens();
    Invalidate();
}

void CRulerBar::OnWindowPosChanging(WINDOWPOS* pos)
{
    CControlBar::OnWindowPosChanging(pos);
    CRect client;
    GetClientRect(&client);
    int oldWidth = client.Width();
    int newWidth = pos->cx;
    int xs[2] = {oldWidth < newWidth ? oldWidth : newWidth, oldWidth < newWidth ? newWidth : oldWidth};
    for (int x : xs) {
        CRect strip(x - 2, client.bottom - 6, x, client.bottom);
        InvalidateRect(&strip);
    }
}
