#include "fw/fwcursor.h"

#include "fw/fwstring.h"

HCURSOR FwFindHandCursor(HINSTANCE program, bool* copied)
{
    *copied = false;
    HCURSOR hand = program != nullptr ? ::LoadCursor(program, "IDC_HAND") : nullptr;
    if (hand != nullptr)
        return hand;
    char folder[MAX_PATH] = {};
    const UINT n = ::GetWindowsDirectory(folder, MAX_PATH);
    if (n > 0 && n < MAX_PATH - 16) {
        CString path = folder;
        path += "\\winhlp32.exe";
        // Only its resources are wanted: loaded as data, never run.
        HMODULE help = ::LoadLibraryEx(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (help != nullptr) {
            HCURSOR found = ::LoadCursor(help, MAKEINTRESOURCE(106));
            if (found != nullptr) {
                hand = (HCURSOR)::CopyIcon((HICON)found);
                *copied = hand != nullptr;
            }
            ::FreeLibrary(help);
        }
    }
    if (hand == nullptr)
        hand = ::LoadCursor(nullptr, IDC_HAND);
    return hand;
}
