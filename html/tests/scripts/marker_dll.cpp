// A library for the html tests whose entry point leaves a marker file (named by the
// environment variable SL_HTML_MARKER): it shows whether the library's code ran.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    char path[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableA("SL_HTML_MARKER", path, MAX_PATH);
    if (length && length < MAX_PATH) {
        HANDLE file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            ::CloseHandle(file);
    }
    return TRUE;
}
