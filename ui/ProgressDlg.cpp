#include "ui/ProgressDlg.h"

#include "fw/fwworker.h"
#include "res/ui_res.h"

#include <memory>

// The block's layout is what the workers of the 32-bit target were written against.
static_assert(sizeof(void*) != 4 || sizeof(EffectJob) == 68, "the worker block is 17 fields of 32 bits");

namespace {

// Checked by the watch timer: a worker thread that has ended while the dialog still waits.
const UINT_PTR kWatchTimer = 1;
const UINT kWatchPeriod = 100;
// Posted to the dialog once its worker thread has ended: it queues behind every message the
// worker posted before it ended.
const UINT WM_PROGRESS_WORKER_GONE = WM_APP + 1;

struct WorkerStart
{
    AFX_THREADPROC proc;
    EffectJob* job;
};

// The thread's barrier: nothing thrown by the worker leaves its thread.
unsigned __stdcall WorkerEntry(void* argument)
{
    std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(argument));
    try {
        start->proc(start->job);
    } catch (CException* e) {
        e->Delete();
    } catch (...) {}
    FwDeleteTempMaps();
    return 0;
}

} // namespace

BEGIN_MESSAGE_MAP(CProgressDlg, CDialog)
    ON_WM_SHOWWINDOW()
    ON_WM_TIMER()
    ON_WM_SETCURSOR()
    ON_COMMAND(ID_PROGRESS_CANCEL, &CProgressDlg::OnCancel)
    ON_MESSAGE(WM_PROGRESS_REPORT, &CProgressDlg::OnReport)
    ON_MESSAGE(WM_PROGRESS_DONE, &CProgressDlg::OnDone)
    ON_MESSAGE(WM_PROGRESS_WORKER_GONE, &CProgressDlg::OnWorkerGone)
END_MESSAGE_MAP()

CProgressDlg::CProgressDlg(CWnd* parent) : CDialog(IDD_PROGRESS_DLG, parent) {}

CProgressDlg::~CProgressDlg()
{
    if (m_hThread != nullptr)
        ::CloseHandle(m_hThread);
}

void CProgressDlg::SetJobParams(int width, int height, BYTE* rgb, int paramA, int paramB, float paramFloat, DWORD wordC,
                                COLORREF wordD, DWORD wordE, int left, int top, int right, int bottom)
{
    m_job.width = width;
    m_job.height = height;
    m_job.rgb = rgb;
    m_job.paramA = paramA;
    m_job.paramB = paramB;
    m_job.paramFloat = paramFloat;
    m_job.wordC = wordC;
    m_job.wordD = wordD;
    m_job.wordE = wordE;
    m_job.rect.left = left;
    m_job.rect.top = top;
    m_job.rect.right = right;
    m_job.rect.bottom = bottom;
}

void CProgressDlg::SetImages(Gdiplus::Bitmap* image, Gdiplus::Bitmap* mask)
{
    m_job.image = image;
    m_job.mask = mask;
}

INT_PTR CProgressDlg::DoModal()
{
    m_bCancelled = FALSE;
    m_bStarted = false;
    m_bFinished = false;
    const INT_PTR result = CDialog::DoModal();
    if (m_hThread != nullptr) {
        ::CloseHandle(m_hThread);
        m_hThread = nullptr;
    }
    return result;
}

void CProgressDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PROGRESS_BAR, m_bar);
}

BOOL CProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    return TRUE;
}

void CProgressDlg::OnShowWindow(BOOL show, UINT status)
{
    CDialog::OnShowWindow(show, status);
    if (show && !m_bStarted)
        StartWorker();
}

void CProgressDlg::StartWorker()
{
    m_bStarted = true; // one worker per showing, whatever comes of the start
    EffectJob* job = new EffectJob(m_job);
    job->dialog = m_hWnd;
    job->progress = &CProgressDlg::ProgressCallback;
    WorkerStart* start = new WorkerStart{m_pfnWorker, job};
    m_hThread = m_pfnWorker != nullptr ? FwStartWorkerThread(&WorkerEntry, start) : nullptr;
    if (m_hThread == nullptr) {
        // No worker will ever say "done": the run ends here.
        delete start;
        delete job;
        Finish(IDCANCEL);
        return;
    }
    SetTimer(kWatchTimer, kWatchPeriod);
}

void CProgressDlg::Finish(int result)
{
    if (m_bFinished)
        return;
    m_bFinished = true;
    KillTimer(kWatchTimer);
    EndDialog(result);
}

void CProgressDlg::OnTimer(UINT_PTR id)
{
    if (id != kWatchTimer) {
        CDialog::OnTimer(id);
        return;
    }
    if (m_hThread != nullptr && ::WaitForSingleObject(m_hThread, 0) == WAIT_OBJECT_0) {
        KillTimer(kWatchTimer);
        PostMessage(WM_PROGRESS_WORKER_GONE);
    }
}

LRESULT CProgressDlg::OnWorkerGone(WPARAM, LPARAM)
{
    // Everything the worker posted came before this: it ended without saying "done".
    Finish(IDCANCEL);
    return 0;
}

LRESULT CProgressDlg::OnReport(WPARAM done, LPARAM total)
{
    m_bar.SetRange32(0, (int)total);
    m_bar.SetPos((int)done);
    UpdateData(FALSE);
    return m_bCancelled ? 0 : 1;
}

LRESULT CProgressDlg::OnDone(WPARAM, LPARAM)
{
    Finish(m_bCancelled ? IDCANCEL : IDOK);
    return 0;
}

void CProgressDlg::OnCancel() { m_bCancelled = TRUE; }

BOOL CProgressDlg::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (m_bStarted && !m_bFinished) {
        ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
        return TRUE;
    }
    return CDialog::OnSetCursor(wnd, hitTest, message);
}

int CALLBACK CProgressDlg::ProgressCallback(int done, int total, void* dialog)
{
    return (int)::SendMessage((HWND)dialog, WM_PROGRESS_REPORT, (WPARAM)done, (LPARAM)total);
}
