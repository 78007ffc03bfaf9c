// The open and save file dialogs of the platform with buffers of their own, and the shell's
// folder browser. Not a window: the system's dialog is run from DoModal.
//
// The rule it keeps: the caller's flags are used as given, with only the explorer style
// added; the structure's size is the one the running system understands; a cancelled dialog
// leaves the buffers as they were.
#pragma once
#include "fw/fwwin.h"

#include <commdlg.h>

class CFileDlgEx
{
public:
    // An open dialog with everything else empty.
    CFileDlgEx();
    // fileBuffer: the caller's buffer of MAX_PATH characters (it receives the path), or null
    // for the dialog's own. filter: pairs of zero-terminated texts, ending with an empty one.
    CFileDlgEx(BOOL open, LPCTSTR defaultExt, LPTSTR fileBuffer, DWORD flags, LPCTSTR filter, CWnd* parent = nullptr);
    CFileDlgEx(const CFileDlgEx&) = delete;
    CFileDlgEx& operator=(const CFileDlgEx&) = delete;

    // IDOK when the user confirmed a name, else IDCANCEL.
    INT_PTR DoModal();

    CString GetPathName() const { return CString(m_ofn.lpstrFile); }
    CString GetFileTitle() const { return CString(m_ofn.lpstrFileTitle); }
    // The path split into drive, folder, name and extension: the name without extension, the
    // extension (with its dot), drive and folder joined, and the drive alone.
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFolder() const;
    CString GetDrive() const;

    // Multiple selection: the first position, and the next full path from a position (which
    // moves on; null after the last). Explorer style separates the entries with zero
    // characters, the old style with blanks; with several entries the first is the folder.
    POSITION GetStartPosition() const { return (POSITION)m_ofn.lpstrFile; }
    CString GetNextPathName(POSITION& position) const;
    static CString NextPathName(LPCTSTR buffer, bool explorer, POSITION& position);

    // The shell's folder browser, opened on `startFolder` when given; IDOK when a folder was
    // chosen and its path read into the folder buffer, else IDCANCEL.
    INT_PTR BrowseForFolder(LPCTSTR title, LPCTSTR startFolder, UINT flags, CWnd* parent = nullptr);
    CString GetFolderPath() const { return CString(m_folder); }

    // The structure size for a system whose GetVersion gives `version`: the short one before
    // major version 5, the full one from 5 on.
    static DWORD StructSizeFor(DWORD version);

    OPENFILENAME m_ofn;

private:
    void Split(char* drive, char* dir, char* name, char* ext) const;

    BOOL m_bOpen = TRUE;
    char m_file[MAX_PATH] = {};
    char m_title[MAX_PATH] = {};
    char m_folder[MAX_PATH] = {};
};
