#include "app/wizard/PaperLayoutWnd.h"
#include "ui/Skin.h"

namespace {
const char kLayoutWndClass[] = "SlPaperLayoutWnd";
} // namespace

BEGIN_MESSAGE_MAP(CPaperLayoutWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CPaperLayoutWnd::CPaperLayoutWnd() : m_className(kLayoutWndClass)
{
    m_brush.CreateSolidBrush(kSkinPaleYellow);
    WNDCLASS wc = {};
    HINSTANCE inst = AfxGetInstanceHandle();
    if (::GetClassInfo(inst, kLayoutWndClass, &wc))
        return;
    wc = WNDCLASS();
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = inst;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    // The class outlives this object: it takes the shared brush of the same colour.
    wc.hbrBackground = SkinPaleYellowBrush();
    wc.lpszClassName = kLayoutWndClass;
    AfxRegisterClass(&wc);
}

CPaperLayoutWnd::~CPaperLayoutWnd() = default;

BOOL CPaperLayoutWnd::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(m_className, "PaperLayoutWnd", style, rect, parent, id);
}

void CPaperLayoutWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    client.bottom -= 20;
    if (client.Width() <= 0 || client.Height() <= 0)
        return;
    const Gdiplus::SizeF sheet = m_preview.GetSheetSize();
    m_preview.SetViewRect((float)client.left, (float)client.top, (float)client.right, (float)client.bottom);
    m_preview.SetOutputSize(client.Width(), client.Height());
    m_preview.Draw(&dc, 0, 0, TRUE);
    m_preview.SetSheetSize(sheet);
}

BOOL CPaperLayoutWnd::OnEraseBkgnd(CDC*) { return FALSE; }
