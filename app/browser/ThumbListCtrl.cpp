#include "app/browser/ThumbListCtrl.h"

#include <memory>

using namespace Gdiplus;

namespace {

// Sent by a worker with a finished thumbnail (lParam: the Thumbnail, valid during the send).
const UINT kMsgThumbnailReady = WM_APP + 0x141;

// Header notification that only gets a zero result.
const UINT kHeaderItemClick = (UINT)-302;

CString IndexKey(int index)
{
    CString key;
    key.Format("%d", index);
    return key;
}

} // namespace

IMPLEMENT_DYNAMIC(CThumbListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(CThumbListCtrl, CListCtrl)
    ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, &CThumbListCtrl::OnItemChanged)
    ON_NOTIFY_REFLECT(kHeaderItemClick, &CThumbListCtrl::OnHeaderItemClick)
    ON_WM_MOUSEMOVE()
    ON_WM_DESTROY()
    ON_MESSAGE(kMsgThumbnailReady, &CThumbListCtrl::OnThumbnailReady)
END_MESSAGE_MAP()

CThumbListCtrl::CThumbListCtrl()
    : m_nItemCounter(0), m_values(10), m_nThumbWidth(125), m_nThumbHeight(125), m_hasPending(false), m_loading(false),
      m_closing(false), m_pGoneFlag(nullptr)
{}

CThumbListCtrl::~CThumbListCtrl()
{
    if (m_pGoneFlag != nullptr)
        *m_pGoneFlag = true;
    // Destroyed here, while the members live, so that OnDestroy stops the worker.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
}

void CThumbListCtrl::SetThumbnailSize(int width, int height)
{
    m_nThumbWidth = width;
    m_nThumbHeight = height;
}

void CThumbListCtrl::CreateImageList()
{
    // The list view destroys the image lists it holds unless told they are shared; this
    // one belongs to m_imageList.
    ModifyStyle(0, LVS_SHAREIMAGELISTS);
    CImageList fresh;
    fresh.Create(m_nThumbWidth, m_nThumbHeight, ILC_COLOR24, 0, 20);
    SetImageList(fresh.GetSafeHandle(), LVSIL_NORMAL);
    m_imageList.DeleteImageList();
    m_imageList.Attach(fresh.Detach());
}

void CThumbListCtrl::StopLoading()
{
    DeleteAllItems();
    CreateImageList();
    m_nItemCounter = 0;
    m_values.RemoveAll();
}

HBITMAP CThumbListCtrl::FitThumbnail(Image* image, int width, int height)
{
    if (image == nullptr || width <= 0 || height <= 0)
        return nullptr;
    const UINT w = image->GetWidth(), h = image->GetHeight();
    if (w == 0 || h == 0)
        return nullptr; // nothing to place (a missing resource): no division by zero
    const float sx = (float)width / (float)w, sy = (float)height / (float)h;
    float scale;
    int x = 0, y = 0;
    if (sy >= sx) {
        scale = sx;
        y = (int)(((float)height - (float)h * scale) / 2);
    } else {
        scale = sy;
        x = (int)(((float)width - (float)w * scale) / 2);
    }
    const int drawnW = (int)((float)w * scale), drawnH = (int)((float)h * scale);
    Bitmap canvas(width, height, PixelFormat24bppRGB);
    if (canvas.GetLastStatus() != Ok)
        return nullptr;
    canvas.SetResolution(image->GetHorizontalResolution(), image->GetVerticalResolution());
    {
        Graphics graphics(&canvas);
        graphics.Clear(Color(255, 255, 255, 255));
        graphics.SetInterpolationMode(InterpolationModeHighQualityBicubic);
        graphics.DrawImage(image, x, y, drawnW, drawnH);
    }
    HBITMAP bitmap = nullptr;
    if (canvas.GetHBITMAP(Color(255, 255, 255, 255), &bitmap) != Ok)
        return nullptr;
    return bitmap;
}

void CThumbListCtrl::MakeThumbnail(Image* image, LPCTSTR label, LPCTSTR value)
{
    const HWND window = m_hWnd;
    if (window == nullptr || !::IsWindow(window))
        return;
    HBITMAP bitmap = FitThumbnail(image, m_nThumbWidth, m_nThumbHeight);
    if (bitmap == nullptr)
        return;
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
        InsertThumbnail(bitmap, label, value);
    } else {
        // The list's thread adds it; the send returns once it has (or the window is gone).
        Thumbnail thumbnail = {bitmap, label, value};
        ::SendMessage(window, kMsgThumbnailReady, 0, (LPARAM)&thumbnail);
    }
    DeleteObject(bitmap);
}

LRESULT CThumbListCtrl::OnThumbnailReady(WPARAM, LPARAM lParam)
{
    const Thumbnail* thumbnail = (const Thumbnail*)lParam;
    if (thumbnail != nullptr && !m_closing)
        InsertThumbnail(thumbnail->bitmap, thumbnail->label, thumbnail->value);
    return 0;
}

void CThumbListCtrl::InsertThumbnail(HBITMAP bitmap, LPCTSTR label, LPCTSTR value)
{
    SendMessage(WM_SETREDRAW, FALSE);
    const int image = ImageList_Add(m_imageList.GetSafeHandle(), bitmap, nullptr);
    if (image >= 0) {
        const int index = m_nItemCounter++;
        InsertItem(index, label, m_imageList.GetImageCount() - 1);
        m_values.SetAt(IndexKey(index), value);
    }
    SendMessage(WM_SETREDRAW, TRUE);
    Invalidate(TRUE);
}

void CThumbListCtrl::AddItem(UINT bitmapId, LPCTSTR label, int number)
{
    HBITMAP resource = ::LoadBitmap(AfxGetResourceHandle(), MAKEINTRESOURCE(bitmapId));
    if (resource == nullptr)
        return;
    {
        std::unique_ptr<Bitmap> image(Bitmap::FromHBITMAP(resource, nullptr));
        if (image && image->GetLastStatus() == Ok)
            MakeThumbnail(image.get(), label, IndexKey(number));
    }
    DeleteObject(resource);
}

CString CThumbListCtrl::GetItemFileName(int index)
{
    CString value;
    if (m_values.Lookup(IndexKey(index), value))
        m_strChosenPath = value;
    return m_strChosenPath;
}

void CThumbListCtrl::OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    const NMLISTVIEW* change = (const NMLISTVIEW*)pNMHDR;
    if (change->uNewState == (LVIS_SELECTED | LVIS_FOCUSED)) {
        CString value;
        if (m_values.Lookup(IndexKey(change->iItem), value))
            m_strChosenPath = value;
        ::PostMessage(::GetParent(m_hWnd), WM_THUMBNAIL_CHOSEN, 3, 0);
    }
    *pResult = 0;
}

void CThumbListCtrl::OnHeaderItemClick(NMHDR*, LRESULT* pResult) { *pResult = 0; }

void CThumbListCtrl::OnMouseMove(UINT, CPoint)
{
    // The wheel scrolls the window with the focus.
    SetFocus();
    Default();
}

void CThumbListCtrl::OnDestroy()
{
    m_closing = true;
    if (m_worker.IsAlive()) {
        // The stop is taken after at most one more file; the worker's sends are answered
        // (and dropped) while the list waits.
        DWORD code = 0;
        BOOL stopped = FALSE;
        try {
            stopped = m_worker.Stop(&code, kStopPollsOnDestroy);
        } catch (CException* e) {
            e->Delete();
        }
        if (!stopped)
            m_worker.Kill(kForcedEnd, TRUE);
    }
    Default();
}

CThumbListCtrl::WaitEnd CThumbListCtrl::WaitForWorkerEnd()
{
    HANDLE ended = m_worker.OpenEndHandle();
    if (ended == nullptr)
        return m_closing ? WaitEnd::kListClosing : WaitEnd::kEnded;
    m_worker.PostCommand(CThread::kStop);
    // The worker sends each thumbnail to this list: its messages must be handled while
    // the list waits, and whatever else comes meanwhile with them.
    bool gone = false;
    m_pGoneFlag = &gone;
    bool quit = false;
    WPARAM quitCode = 0;
    for (;;) {
        MSG msg;
        while (!gone && ::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = msg.wParam;
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
        if (gone)
            break;
        const DWORD woke = MsgWaitForMultipleObjectsEx(1, &ended, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED)
            break;
    }
    CloseHandle(ended);
    if (quit) // the loop that owns the quit still gets it
        ::PostQuitMessage((int)quitCode);
    if (gone)
        return WaitEnd::kListGone;
    m_pGoneFlag = nullptr;
    if (m_closing || m_hWnd == nullptr || !::IsWindow(m_hWnd))
        return WaitEnd::kListClosing;
    return WaitEnd::kEnded;
}

void CThumbListCtrl::LoadFolder(LPCTSTR folder, LPCTSTR filter, BOOL recursive, int fileKind)
{
    m_pending.folder = folder;
    m_pending.filter = filter;
    m_pending.recursive = recursive;
    m_pending.fileKind = fileKind;
    m_hasPending = true;
    if (m_loading)
        return; // reached from the messages an outer load handles while it waits: it loads this
    m_loading = true;
    try {
        while (m_hasPending) {
            switch (WaitForWorkerEnd()) {
            case WaitEnd::kListGone:
                return; // nothing of the list may be touched
            case WaitEnd::kListClosing:
                m_hasPending = false;
                break;
            case WaitEnd::kEnded: {
                // The last folder asked for, also when one came while the list waited.
                const LoadRequest request = m_pending;
                m_hasPending = false;
                StartLoad(request);
                break;
            }
            }
        }
    } catch (...) {
        m_loading = false;
        m_hasPending = false;
        throw;
    }
    m_loading = false;
}

void CThumbListCtrl::StartLoad(const LoadRequest& request)
{
    StopLoading();
    m_worker.SetNextFile(0);
    m_worker.SetFolder(request.folder);
    m_worker.SetFileKind(request.fileKind);
    CString folder = request.folder;
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] != '\\')
        folder += '\\';
    CFolderScan& files = m_worker.GetFileList();
    files.RemoveAll();
    files.Walk(folder, request.filter, request.recursive, CFolderScan::kDiscovery, FALSE, nullptr, nullptr);
    m_worker.SetFilter(request.filter);
    m_worker.SetOwner(this);
    m_worker.Start();
}
