#include "ui/tests/input/Xdo.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

bool Xdo(const char* format, ...)
{
    char words[512];
    va_list args;
    va_start(args, format);
    vsnprintf(words, sizeof words, format, args);
    va_end(args);
    // Wine starts a program of the Unix side when the file is not a Windows program, but
    // does not wait for it: the shell leaves xdotool's exit status in a file once it ended.
    static int count = 0;
    char done[128];
    snprintf(done, sizeof done, "/tmp/sl_xdo_%lu_%d", ::GetCurrentProcessId(), ++count);
    char command[900];
    snprintf(command, sizeof command, "Z:\\bin\\sh -c \"xdotool %s; echo $? > %s.part && mv %s.part %s.done\"", words,
             done, done, done);
    STARTUPINFO si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcess(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    // The shell is a Unix program: Wine fills in no process information for it, and the
    // handles there are leftovers that may be this process's own, so none is closed.
    char status[MAX_PATH];
    snprintf(status, sizeof status, "Z:%s.done", done);
    for (char* c = status; *c != 0; ++c)
        if (*c == '/')
            *c = '\\';
    // Bounded: the events themselves are handled by the caller's own message loop afterwards.
    const DWORD start = ::GetTickCount();
    while (::GetFileAttributes(status) == INVALID_FILE_ATTRIBUTES) {
        if (::GetTickCount() - start > 10000)
            return false;
        ::Sleep(10);
    }
    int code = 1;
    if (FILE* f = fopen(status, "r")) {
        if (fscanf(f, "%d", &code) != 1)
            code = 1;
        fclose(f);
    }
    ::DeleteFile(status);
    return code == 0;
}

POINT CentreOf(HWND wnd)
{
    RECT r;
    ::GetWindowRect(wnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
