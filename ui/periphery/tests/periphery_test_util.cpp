#include "ui/periphery/tests/periphery_test_util.h"

#include "fw/fwwin.h"

#include <stdlib.h>

bool DisplayPng(const char* name)
{
    const char* build = getenv("SL_BINARY_DIR");
    if (build == nullptr)
        return false;
    CString file;
    file.Format("%s/screenshots/%s.png", build, name);
    CString command;
    command.Format("Z:\\bin\\sh -c \"import -window root %s.part.png && mv %s.part.png %s\"", (LPCTSTR)file,
                   (LPCTSTR)file, (LPCTSTR)file);
    STARTUPINFO si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    CString dosFile = "Z:" + file;
    dosFile.Replace('/', '\\');
    ::DeleteFile(dosFile);
    if (!::CreateProcess(nullptr, command.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    // The shell is a Unix program: Wine fills in no process information for it, and the
    // handles there are leftovers that may be this process's own, so none is closed.
    const DWORD start = ::GetTickCount();
    while (::GetFileAttributes(dosFile) == INVALID_FILE_ATTRIBUTES)
        if (::GetTickCount() - start > 10000)
            return false;
        else
            ::Sleep(20); // waiting for the tool; the windows stand still meanwhile
    return true;
}
