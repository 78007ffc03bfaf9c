// The window message "WM_XHYPERLINK_CLICKED", registered with the system once per process
// when the first file that includes this header starts (the program's main file does, so it
// is registered before the application object runs).
#pragma once
#include <windows.h>

inline const UINT WM_XHYPERLINK_CLICKED = ::RegisterWindowMessageA("WM_XHYPERLINK_CLICKED");
