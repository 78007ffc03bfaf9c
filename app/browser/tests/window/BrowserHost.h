// The test host of the file browser pane: a top-level window whose client area the pane
// fills, made with the options a test gives, for the window tests and their screenshots.
// It counts the picks the pane posts it.  Not a window of the program.
#pragma once

#include "app/browser/FileWnd.h"

class CFrostwellDoc;

struct PaneOptions
{
    CString folder;
    BOOL save = FALSE;
    BOOL notify = FALSE;
    int thumbnailMode = 1;
    int fileKind = 0;
    BYTE showControls = 1;
    CFrostwellDoc* doc = nullptr;
};

class CBrowserTestHost : public CWnd
{
public:
    CFileWnd pane;
    int picked = 0; // WM_USER+0x65 received

    ~CBrowserTestHost() override;
    // A topmost window at (40, 40) with a client area of width x height, the pane in it.
    bool Open(const PaneOptions& options, int width, int height);
    void SetClientSize(int width, int height);
    // Waits (handling messages) until the pane's list has ended loading.
    bool WaitForList(DWORD ms = 30000);

protected:
    LRESULT OnPicked(WPARAM, LPARAM);
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()
};

// Runs a command of the Unix side (through /bin/sh) and waits for it, at most 10 seconds;
// true when it ran and succeeded.
bool RunUnixShell(const char* command);
