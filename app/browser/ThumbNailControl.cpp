#include "app/browser/ThumbNailControl.h"

#include "app/browser/ThumbListCtrl.h"
#include "app/browser/ThumbnailButton.h"

#include <memory>

namespace {

const char kGridClass[] = "CThumbNailControl";
const int kCellSide = 100;
// Room beyond the content the scroll range allows for.
const int kScrollSlack = 14;
const int kWheelDelta = 120;

} // namespace

IMPLEMENT_DYNAMIC(CThumbNailControl, CWnd)

BEGIN_MESSAGE_MAP(CThumbNailControl, CWnd)
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_GRID_RELAYOUT, &CThumbNailControl::OnRelayout)
    ON_MESSAGE(WM_THUMBNAIL_CHOSEN, &CThumbNailControl::OnRelay)
    ON_MESSAGE(0x3F2, &CThumbNailControl::OnRelay)
END_MESSAGE_MAP()

CThumbNailControl::CThumbNailControl()
    : m_nOffsetX(0), m_nOffsetY(0), m_nColumns(0), m_nRows(0), m_nCellWidth(kCellSide), m_nCellHeight(kCellSide),
      m_nFileKind(0)
{
    if (!RegisterGridClass())
        AfxThrowResourceException();
    Reset(FALSE);
}

CThumbNailControl::~CThumbNailControl()
{
    StopWorker();
    DeleteButtons();
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL CThumbNailControl::RegisterGridClass() { return RegisterWhiteGridClass(kGridClass); }

BOOL CThumbNailControl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(kGridClass, nullptr, style, rect, parent, id);
}

bool CThumbNailControl::KindMatches(int kind, LPCTSTR extension)
{
    if (kind == CThumbnailThread::kImages && extension != nullptr && lstrcmpiA(extension, ".JPEG") == 0)
        return true;
    return CThumbnailThread::KindMatches(kind, extension);
}

void CThumbNailControl::StopWorker()
{
    if (!m_worker.IsAlive())
        return;
    // Waits on the thread's handle while answering what is sent to this thread.
    DWORD code = 0;
    try {
        m_worker.Stop(&code, -1);
    } catch (CException* e) {
        e->Delete();
    }
}

void CThumbNailControl::DeleteButtons()
{
    for (INT_PTR i = m_buttons.GetSize() - 1; i >= 0; --i)
        delete (CThumbnailButton*)m_buttons[i];
    m_buttons.RemoveAll();
}

void CThumbNailControl::Reset(BOOL deleteButtons)
{
    StopWorker();
    if (deleteButtons)
        DeleteButtons();
    if (m_hWnd != nullptr) {
        CRect client;
        GetClientRect(&client);
        m_nColumns = client.Width() / (m_nCellWidth + kCellGap);
        Layout();
        UpdateScrollBars();
    }
}

CThumbnailButton* CThumbNailControl::Append(CThumbnailButton* button)
{
    std::unique_ptr<CThumbnailButton> owned(button);
    if (m_hWnd == nullptr || !owned->Create(this, CPoint(0, 0), (UINT)(m_buttons.GetSize() + 1)))
        return nullptr;
    m_buttons.Add(owned.get());
    return owned.release();
}

CThumbnailButton* CThumbNailControl::AddButton(LPCTSTR path, const CTime& written)
{
    return Append(new CThumbnailButton(path, written, m_nCellWidth, m_nCellHeight));
}

CThumbnailButton* CThumbNailControl::AddButton(UINT bitmapId, LPCTSTR name, int value)
{
    CThumbnailButton* button = Append(new CThumbnailButton(name, CTime(), m_nCellWidth, m_nCellHeight));
    if (button != nullptr)
        button->SetResourceImage(bitmapId, name, value);
    return button;
}

CThumbnailButton* CThumbNailControl::AddButton(Gdiplus::Image* image, LPCTSTR name, int value)
{
    CThumbnailButton* button = Append(new CThumbnailButton(name, CTime(), m_nCellWidth, m_nCellHeight));
    if (button != nullptr)
        button->SetImage(image, name, value);
    return button;
}

void CThumbNailControl::AddFolder(LPCTSTR folder, LPCTSTR filter, BOOL recursive)
{
    Reset(TRUE);
    CString root = folder;
    if (root.IsEmpty() || root[root.GetLength() - 1] != '\\')
        root += '\\';
    m_files.RemoveAll();
    m_files.Walk(root, filter, recursive, CFolderScan::kDiscovery, FALSE, nullptr, nullptr);
    for (INT_PTR i = 0; i < m_files.GetSize(); ++i) {
        const CFilePath& file = m_files[i];
        if (KindMatches(m_nFileKind, file.GetExtension()))
            AddButton(file.GetPath(), file.GetLastWriteTime());
    }
    Layout();
    UpdateScrollBars();
    // The worker opens or creates the folder's cache and ends; it makes no thumbnails here.
    m_worker.GetFileList().RemoveAll();
    m_worker.SetNextFile(0);
    m_worker.SetFolder(folder);
    m_worker.SetFileKind(m_nFileKind);
    m_worker.SetFilter(filter);
    m_worker.SetOwner(nullptr);
    m_worker.SetOwnerWindow(m_hWnd);
    try {
        m_worker.Start();
    } catch (CException* e) {
        e->Delete();
    }
}

void CThumbNailControl::Layout()
{
    if (m_hWnd == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    const int stepX = m_nCellWidth + kCellGap, stepY = m_nCellHeight + kCellGap;
    int x = 0, y = 0;
    m_nRows = 0;
    for (INT_PTR i = 0; i < m_buttons.GetSize(); ++i) {
        if (x == 0)
            ++m_nRows;
        CThumbnailButton* button = GetButton(i);
        button->SetWindowPos(nullptr, m_nOffsetX + x + kCellGap, m_nOffsetY + y + kCellGap, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        x += stepX;
        if ((double)(client.Width() - x) <= 0.8 * stepX) {
            x = 0;
            y += stepY;
        }
    }
    for (INT_PTR i = 0; i < m_buttons.GetSize(); ++i)
        GetButton(i)->Invalidate();
}

void CThumbNailControl::UpdateScrollBars()
{
    if (m_hWnd == nullptr)
        return;
    m_nOffsetX = m_nOffsetY = 0;
    CRect client;
    GetClientRect(&client);
    const int overflow[2] = {m_nColumns * (m_nCellWidth + kCellGap) + kCellGap - client.Width(),
                             m_nRows * (m_nCellHeight + kCellGap) + 2 * kCellGap - client.Height()};
    const int bars[2] = {SB_HORZ, SB_VERT};
    for (int i = 0; i < 2; ++i) {
        if (overflow[i] > 0) {
            SCROLLINFO info = {};
            info.cbSize = sizeof info;
            info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            info.nMin = 0;
            info.nMax = (int)((overflow[i] + kScrollSlack) * 1.25);
            info.nPage = (UINT)((overflow[i] + kScrollSlack) * 0.25);
            info.nPos = 0;
            SetScrollInfo(bars[i], &info, TRUE);
            ShowScrollBar(bars[i], TRUE);
            ::EnableScrollBar(m_hWnd, bars[i], ESB_ENABLE_BOTH);
        } else {
            SetScrollPos(bars[i], 0, TRUE);
            ShowScrollBar(bars[i], FALSE);
        }
    }
}

int CThumbNailControl::ScrollTo(int bar, UINT code, int lineStep, int pageStep)
{
    SCROLLINFO info = {};
    GetScrollInfo(bar, &info, SIF_ALL);
    int position = info.nPos;
    switch (code) {
    case SB_LINEUP:
        position -= lineStep;
        break;
    case SB_LINEDOWN:
        position += lineStep;
        break;
    case SB_PAGEUP:
        position -= pageStep;
        break;
    case SB_PAGEDOWN:
        position += pageStep;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        position = info.nTrackPos;
        break;
    case SB_ENDSCROLL:
        RedrawWindow();
        return info.nPos;
    default:
        return info.nPos;
    }
    // The bar keeps the position inside its range; the offset follows what it kept.
    SetScrollPos(bar, position, TRUE);
    return GetScrollPos(bar);
}

void CThumbNailControl::OnHScroll(UINT code, UINT, CScrollBar*)
{
    // Applied at the next layout.
    m_nOffsetX = -ScrollTo(SB_HORZ, code, 1, kPageStep);
}

void CThumbNailControl::OnVScroll(UINT code, UINT, CScrollBar*)
{
    m_nOffsetY = -ScrollTo(SB_VERT, code, kPageStep, kPageStep);
    Layout();
}

BOOL CThumbNailControl::OnMouseWheel(UINT, short delta, CPoint)
{
    const int position = GetScrollPos(SB_VERT) - (delta / kWheelDelta) * kWheelLines;
    SetScrollPos(SB_VERT, position, TRUE);
    m_nOffsetY = -GetScrollPos(SB_VERT);
    Layout();
    return (BOOL)Default();
}

LRESULT CThumbNailControl::OnRelayout(WPARAM, LPARAM)
{
    Layout();
    UpdateScrollBars();
    // The bars went back to the top: so do the rows, or they would stay scrolled.
    Layout();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return 0;
}

LRESULT CThumbNailControl::OnRelay(WPARAM wParam, LPARAM lParam)
{
    const MSG* message = GetCurrentMessage();
    const HWND parent = ::GetParent(m_hWnd);
    if (message != nullptr && parent != nullptr)
        ::PostMessage(parent, message->message, wParam, lParam);
    return 0;
}

void CThumbNailControl::OnDestroy()
{
    StopWorker();
    CWnd::OnDestroy();
}
