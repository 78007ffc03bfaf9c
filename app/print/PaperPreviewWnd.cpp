#include "app/print/PaperPreviewWnd.h"

#include "model/design/FrostwellDoc.h"

#include <gdiplus.h>

BEGIN_MESSAGE_MAP(CPaperPreviewWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

CPaperPreviewWnd::CPaperPreviewWnd()
    : m_tracking(0), m_defaultSize(200, 200), m_currentSize(200, 200), m_document(nullptr), m_lastHover(-1),
      m_outputRect(0, 0, 0, 0), m_imageOrigin(0, 0), m_hoverDisabled(0), m_selectOnly(0), m_followCurrent(0),
      m_selectedCell(0)
{
    m_brush.CreateSolidBrush(RGB(0x42, 0x9A, 0xFC));
    m_className = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                                      (HBRUSH)m_brush.GetSafeHandle(), nullptr);
}

CPaperPreviewWnd::~CPaperPreviewWnd()
{
    if (GetSafeHwnd() != nullptr)
        DestroyWindow();
}

BOOL CPaperPreviewWnd::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    m_currentSize = m_defaultSize;
    return CWnd::Create(m_className, "PaperPreviewWnd", style, rect, parent, id);
}

BOOL CPaperPreviewWnd::DestroyWindow() { return CWnd::DestroyWindow(); }

void CPaperPreviewWnd::Update()
{
    if (GetSafeHwnd() == nullptr)
        return;
    CClientDC dc(this);
    CRect client;
    GetClientRect(&client);
    m_preview.SetHighlighted(1);
    m_preview.SetDocument(m_document);
    m_preview.LoadSettings();
    m_preview.SetOutputSize(client.Width(), client.Height());
    if (m_document != nullptr && m_followCurrent && m_preview.GetPerCellDesigns())
        m_selectedCell = m_document->GetCurrentFrame(); // the cell the canvas shows
    // A first drawing or a refresh lays the cells out again and selects the first: then
    // drawn once more (from the cell images just made) with this window's cell.
    m_preview.SetSelectedCell(m_selectedCell);
    m_preview.Draw(&dc, 0, 0, FALSE);
    if (m_preview.GetSelectedCell() != m_selectedCell) {
        m_preview.SetSelectedCell(m_selectedCell);
        m_preview.Draw(&dc, 0, 0, FALSE);
    }
    Gdiplus::Bitmap* sheet = m_document != nullptr ? m_document->GetSheetImage() : nullptr;
    m_sheet.reset(sheet != nullptr
                      ? sheet->Clone(0, 0, (INT)sheet->GetWidth(), (INT)sheet->GetHeight(), sheet->GetPixelFormat())
                      : nullptr);
    m_outputRect = m_preview.GetOutputRect();
    m_currentSize = CSize(m_outputRect.right - m_outputRect.left, m_outputRect.bottom - m_outputRect.top);
    Invalidate(TRUE);
}

void CPaperPreviewWnd::ApplySize()
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!::GetWindowPlacement(m_hWnd, &placement))
        return;
    CRect normal(placement.rcNormalPosition);
    int width = m_currentSize.cx != 0 ? m_currentSize.cx : normal.Width();
    int height = m_currentSize.cy != 0 ? m_currentSize.cy : normal.Height();
    SetWindowPos(nullptr, normal.left, normal.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate(TRUE);
}

void CPaperPreviewWnd::OnPaint()
{
    CPaintDC dc(this);
    Gdiplus::Bitmap* sheet = m_sheet.get();
    if (sheet == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    const float w = (float)sheet->GetWidth(), h = (float)sheet->GetHeight();
    const float s = m_preview.GetScale();
    const int dx = (int)(client.Width() - w * s);
    const int dy = (int)((client.Height() - h * s) / 2);
    // The cells' rectangles hold half of dx already: points are shifted by that half.
    m_imageOrigin = CPoint(dx / 2, dy);
    Gdiplus::Graphics g(dc.GetSafeHdc());
    g.DrawImage(sheet, Gdiplus::RectF((float)dx, (float)dy, w * s, h * s), 0.0f, 0.0f, w, h, Gdiplus::UnitPixel);
}

BOOL CPaperPreviewWnd::OnEraseBkgnd(CDC*) { return TRUE; }

int CPaperPreviewWnd::HitTestClient(CPoint point) const
{
    return m_preview.HitTest(CPoint(point.x - m_imageOrigin.x, point.y - m_imageOrigin.y));
}

void CPaperPreviewWnd::OnLButtonDown(UINT flags, CPoint point)
{
    if (m_document != nullptr && m_preview.GetPerCellDesigns()) {
        const int cell = HitTestClient(point);
        if (cell != -1) {
            m_preview.SetSelectedCell(cell);
            if (!m_selectOnly)
                m_document->SetCurrentFrame(cell);
            m_selectedCell = cell;
            Update();
        }
    }
    CWnd::OnLButtonDown(flags, point);
}

void CPaperPreviewWnd::OnMouseMove(UINT flags, CPoint point)
{
    if (!m_hoverDisabled && m_preview.GetPerCellDesigns()) {
        const int cell = HitTestClient(point);
        if (cell != m_lastHover) {
            m_lastHover = cell;
            m_preview.SetHoverCell(cell);
            Update();
        }
    }
    if (!m_tracking) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = m_hWnd;
        track.dwHoverTime = 1;
        m_tracking = ::TrackMouseEvent(&track) ? 1 : 0;
        m_currentSize = m_defaultSize;
    }
    CWnd::OnMouseMove(flags, point);
}

void CPaperPreviewWnd::OnMouseLeave()
{
    if (m_preview.GetPerCellDesigns())
        Update();
    m_tracking = 0;
    m_currentSize = m_defaultSize;
    if (m_document != nullptr)
        m_document->UpdateAllViews(nullptr, 0);
}
