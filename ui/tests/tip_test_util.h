// Helpers of the tooltip tests: a help folder of their own holding a tips file they write, a
// plain owner window, and the real pointer and screen of the virtual display, driven by the
// display's own programs (xdotool, import), which Wine starts like any program.
#pragma once
#include "fw/fwwin.h"
#include "base/KeyStore.h"
#include "testsupport/Pump.h"
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

namespace tip_test {

// Points the data folder "help" at a fresh folder of the temp folder while it lives, and
// puts it back after.
class HelpFolder
{
public:
    HelpFolder() : m_old(GetSetting("path_help"))
    {
        char temp[MAX_PATH];
        ::GetTempPath(MAX_PATH, temp);
        m_folder.Format("%ssl_help_%lu", temp, (unsigned long)::GetCurrentProcessId());
        ::CreateDirectory(m_folder, nullptr);
        SetSetting("path_help", m_folder);
    }
    ~HelpFolder()
    {
        ::DeleteFile(m_folder + "\\tips.txt");
        ::DeleteFile(m_folder + "\\other.txt");
        ::RemoveDirectory(m_folder);
        SetSetting("path_help", m_old);
    }
    HelpFolder(const HelpFolder&) = delete;
    HelpFolder& operator=(const HelpFolder&) = delete;

    // Writes the lines (each ended by CR LF) as the named file of the folder.
    void Write(const char* name, std::initializer_list<const char*> lines) const
    {
        FILE* f = fopen(m_folder + "\\" + name, "wb");
        ASSERT_NE(nullptr, f);
        for (const char* line : lines)
            fprintf(f, "%s\r\n", line);
        fclose(f);
    }
    const CString& Folder() const { return m_folder; }

private:
    CString m_old;
    CString m_folder;
};

// A visible top-level window at a place of the screen, with child buttons, destroyed with it.
class OwnerWindow
{
public:
    OwnerWindow(int x = 100, int y = 400, int width = 300, int height = 200)
    {
        wnd.CreateEx(0, "STATIC", "Tooltip owner", WS_POPUP | WS_VISIBLE | WS_BORDER, x, y, width, height, nullptr,
                     nullptr);
    }
    ~OwnerWindow()
    {
        if (wnd.m_hWnd)
            wnd.DestroyWindow();
    }
    // A child button at (x, y) of the window, w x h.
    HWND AddButton(int id, int x, int y, int w = 80, int h = 24)
    {
        return ::CreateWindow("BUTTON", "Button", WS_CHILD | WS_VISIBLE, x, y, w, h, wnd.m_hWnd, (HMENU)(INT_PTR)id,
                              nullptr, nullptr);
    }
    CWnd wnd;
};

// Starts a program of the display's system (a Unix path with its arguments). Wine gives no
// handle to wait on for such a program: callers wait for what it does. Nor does it fill in
// the process information: its handles are whatever lay there before, often handles this
// process still uses (the 32-bit build lost its display settings key that way), so they
// are left alone.
inline bool StartUnix(const std::string& command)
{
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    PROCESS_INFORMATION process = {};
    std::string line = command;
    return ::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process) != FALSE;
}

// Moves the real pointer of the display to a screen point, as a person does, and waits
// (handling this thread's messages) until the system sees it there.
inline bool MovePointer(int x, int y)
{
    if (!StartUnix("/usr/bin/xdotool mousemove " + std::to_string(x) + " " + std::to_string(y)))
        return false;
    return PumpUntil([&] {
        POINT at;
        return ::GetCursorPos(&at) && at.x == x && at.y == y;
    });
}

// Presses and releases the left button where the pointer is; callers wait for its effect.
inline bool ClickPointer() { return StartUnix("/usr/bin/xdotool click 1"); }

// Saves the whole screen as <build>/screenshots/<name>.png for a person to look at, and
// waits until the picture is complete; returns the file's Windows path, empty on failure.
inline CString Screenshot(const char* name)
{
    const char* binary = getenv("SL_BINARY_DIR");
    const std::string folder = std::string(binary ? binary : "/tmp") + "/screenshots";
    CString windowsFolder = CString("Z:") + folder.c_str();
    windowsFolder.Replace('/', '\\');
    ::CreateDirectory(windowsFolder, nullptr);
    const CString path = windowsFolder + "\\" + name + ".png";
    ::DeleteFile(path);
    if (!StartUnix("/usr/bin/import -window root " + folder + "/" + name + ".png"))
        return CString();
    // A PNG ends with its IEND chunk: 49 45 4E 44 AE 42 60 82.
    const bool complete = PumpUntil(
        [&] {
            FILE* f = fopen(path, "rb");
            if (!f)
                return false;
            unsigned char tail[8] = {};
            const bool read = fseek(f, -8, SEEK_END) == 0 && fread(tail, 1, 8, f) == 8;
            fclose(f);
            static const unsigned char kEnd[8] = {0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
            return read && memcmp(tail, kEnd, 8) == 0;
        },
        15000);
    return complete ? path : CString();
}

// The colour of a pixel of the screen.
inline COLORREF ScreenPixel(int x, int y)
{
    HDC screen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

} // namespace tip_test
