// The modal progress dialog that runs one worker thread per showing and closes when the
// worker says it is done; the worker reports progress and learns from the answer whether to
// go on, so that Cancel stops the work at its next report.
//
// The rule it keeps: the dialog never stays open without a worker that can still end it. A
// worker that cannot start ends the run with IDCANCEL, and so does a worker thread that has
// ended without sending "done" (its posted messages handled first). A live worker that has
// not said "done" keeps the dialog open; Cancel only sets the flag the worker reads.
#pragma once
#include "fw/fwwin.h"

// Messages from the worker to the dialog: progress (wParam done, lParam in all; the answer is
// nonzero to go on, 0 to stop) and done (posted or sent once, last).
const UINT WM_PROGRESS_REPORT = WM_USER + 1;
const UINT WM_PROGRESS_DONE = WM_USER + 2;

// The progress callback handed to a worker: sends the report to the dialog (the user value)
// and returns the dialog's answer. Called on the worker's thread.
typedef int(CALLBACK* ProgressCallbackProc)(int done, int total, void* dialog);

// The worker's parameter block, allocated by the dialog for each run and owned (deleted) by
// the worker. Seventeen 32-bit fields on the 32-bit target; pointers and handles at the
// platform's width on the 64-bit one.
struct EffectJob
{
    int width;                     // job value 1
    int height;                    // job value 2
    BYTE* rgb;                     // job value 3: width x height pixels of 3 bytes, rows unpadded
    HWND dialog;                   // where the worker's messages go; the callback's user value
    ProgressCallbackProc progress; // the dialog's progress callback
    int paramA;                    // job value 4
    int paramB;                    // job value 5
    float paramFloat;              // job value 6
    DWORD wordC;                   // job value 7
    COLORREF wordD;                // job value 8
    DWORD wordE;                   // job value 9
    RECT rect;                     // job values 10 to 13
    Gdiplus::Bitmap* image;        // the images the worker reads and writes
    Gdiplus::Bitmap* mask;
};

class CProgressDlg : public CDialog
{
public:
    explicit CProgressDlg(CWnd* parent = nullptr);
    ~CProgressDlg() override;

    // The worker's thread procedure: takes the EffectJob, deletes it, returns 0.
    void SetThreadProc(AFX_THREADPROC proc) { m_pfnWorker = proc; }
    // The thirteen job values of the worker's block: the three, the six and the rectangle.
    void SetJobParams(int width, int height, BYTE* rgb, int paramA, int paramB, float paramFloat, DWORD wordC,
                      COLORREF wordD, DWORD wordE, int left, int top, int right, int bottom);
    void SetImages(Gdiplus::Bitmap* image, Gdiplus::Bitmap* mask);

    // IDOK when the worker ended the run normally, IDCANCEL when it was cancelled, could not
    // start, or ended without saying it was done.
    INT_PTR DoModal() override;

    static int CALLBACK ProgressCallback(int done, int total, void* dialog);

    BOOL m_bCancelled = FALSE;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override {}
    void OnShowWindow(BOOL show, UINT status);
    void OnTimer(UINT_PTR id);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    LRESULT OnReport(WPARAM done, LPARAM total);
    LRESULT OnDone(WPARAM, LPARAM);
    LRESULT OnWorkerGone(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    void StartWorker();
    void Finish(int result);

    CProgressCtrl m_bar;
    AFX_THREADPROC m_pfnWorker = nullptr;
    EffectJob m_job = {};
    HANDLE m_hThread = nullptr;
    bool m_bStarted = false;
    bool m_bFinished = false;
};
