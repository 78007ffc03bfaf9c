#include "app/view/Tracker.h"
#include "app/view/TrackDC.h"

#ifndef WM_IDLEUPDATECMDUI
#define WM_IDLEUPDATECMDUI 0x0363
#endif

namespace {

const UINT kKeyFlagMask = 0x7F;
const DWORD kFeedbackRop = 0x00990066; // destination XNOR source

BOOL CALLBACK SendIdleUpdate(HWND wnd, LPARAM)
{
    ::SendMessage(wnd, WM_IDLEUPDATECMDUI, TRUE, 0);
    return TRUE;
}

// Keeps command states current while the loop owns the queue.
void UpdateCommandStates()
{
    CWnd* main = AfxGetMainWnd();
    if (main != NULL && main->GetSafeHwnd() != NULL)
        ::EnumChildWindows(main->GetSafeHwnd(), SendIdleUpdate, 0); // all descendants
}

} // namespace

CTracker::CTracker(CWnd* owner) : m_pOwner(owner), m_bTracking(FALSE), m_bMoved(FALSE) {}

CTracker::~CTracker() {}

int CTracker::OnBegin(UINT, CPoint) { return 0; }

int CTracker::OnEnd(int result) { return result; }

int CTracker::OnMouseMessage(UINT message, UINT keyFlags, CPoint)
{
    if (message == WM_LBUTTONUP || message == WM_RBUTTONUP)
        return (keyFlags & MK_CONTROL) ? TRACK_RELEASED_CTRL : TRACK_RELEASED;
    return 0;
}

int CTracker::OnKeyMessage(UINT message, UINT key, UINT, UINT)
{
    if (message == WM_KEYDOWN && key == VK_ESCAPE)
        return TRACK_CANCELLED;
    return 0;
}

int CTracker::OnOtherMessage(MSG& msg)
{
    ::DispatchMessage(&msg);
    return 0;
}

void CTracker::DrawFeedback(CDC*, UINT) {}

// Takes the next message, sleeping while the queue is empty.  FALSE on WM_QUIT.
BOOL CTracker::NextMessage(MSG& msg)
{
    BOOL idleSent = FALSE;
    while (!::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (!idleSent) {
            UpdateCommandStates();
            idleSent = TRUE;
            continue; // the update may have queued something
        }
        ::WaitMessage();
    }
    return msg.message != WM_QUIT;
}

int CTracker::Track(CDC* dc, UINT keyFlags, CPoint point, BOOL clipCursor)
{
    if (::GetCapture() != NULL)
        return TRACK_REFUSED;
    int r = OnBegin(keyFlags, point);
    if (r != 0)
        return r;

    m_bMoved = FALSE;
    m_ptCurrent = m_ptPrevious = m_ptStart = point;
    keyFlags &= kKeyFlagMask;
    m_bTracking = TRUE;
    AfxLockTempMaps(); // wrappers made during the drag stay valid until it ends

    int oldRop2 = 0;
    COLORREF oldBk = 0;
    if (dc != NULL) {
        oldRop2 = ::SetROP2(dc->m_hDC, R2_NOTXORPEN);
        oldBk = ::SetBkColor(dc->m_hDC, RGB(255, 255, 255));
    }
    DrawFeedback(dc, keyFlags | TRACK_FB_DRAW | TRACK_FB_FIRST);

    HWND owner = m_pOwner->GetSafeHwnd();
    if (clipCursor) {
        CRect clip;
        ::GetClientRect(owner, &clip);
        ::ClientToScreen(owner, reinterpret_cast<POINT*>(&clip.left));
        ::ClientToScreen(owner, reinterpret_cast<POINT*>(&clip.right));
        ::ClipCursor(&clip);
    }
    ::SetCapture(owner);

    BOOL quit = FALSE;
    WPARAM quitCode = 0;
    while (r == 0) {
        MSG msg;
        if (!NextMessage(msg)) {
            // The drag ends; the quit request is for the outer loop.
            quit = TRUE;
            quitCode = msg.wParam;
            r = TRACK_REFUSED;
            break;
        }
        if (::GetCapture() != owner || msg.message == WM_CANCELMODE) {
            r = TRACK_REFUSED;
            break;
        }
        if (msg.message >= WM_MOUSEFIRST && msg.message <= 0x0209) {
            CTrackDC* trackDC = NULL;
            if (dc != NULL) {
                trackDC = new CTrackDC(dc, kFeedbackRop);
                ::SetROP2(trackDC->m_hDC, R2_NOTXORPEN);
            }
            DrawFeedback(trackDC, keyFlags | TRACK_FB_ERASE);
            CPoint p((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            if (dc != NULL)
                ::DPtoLP(dc->m_hDC, &p, 1);
            m_ptPrevious = m_ptCurrent;
            m_ptCurrent = p;
            if (p != m_ptPrevious)
                m_bMoved = TRUE;
            keyFlags = (UINT)msg.wParam & kKeyFlagMask;
            r = OnMouseMessage(msg.message, keyFlags, p);
            DrawFeedback(trackDC, keyFlags | TRACK_FB_DRAW | TRACK_FB_MOVED);
            delete trackDC; // copies the feedback to the screen
        } else if (msg.message >= WM_KEYFIRST && msg.message <= 0x0108) {
            r = OnKeyMessage(msg.message, (UINT)msg.wParam, LOWORD(msg.lParam), HIWORD(msg.lParam));
        } else {
            r = OnOtherMessage(msg);
        }
    }

    if (::GetCapture() == owner)
        ::ReleaseCapture();
    if (clipCursor)
        ::ClipCursor(NULL);
    AfxUnlockTempMaps();
    m_bTracking = FALSE;
    DrawFeedback(dc, keyFlags | TRACK_FB_LAST);
    if (r > 0 && !m_bMoved)
        r = TRACK_NOT_MOVED;
    r = OnEnd(r);
    if (dc != NULL) {
        ::SetROP2(dc->m_hDC, oldRop2);
        ::SetBkColor(dc->m_hDC, oldBk);
    }
    if (quit)
        ::PostQuitMessage((int)quitCode);
    return r;
}
