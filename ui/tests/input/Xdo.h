// Real input for the toolkit's window tests: xdotool moves the pointer and clicks on the
// virtual display, so that the events come through the display as a person's would.
#pragma once
#include "fw/fwwin.h"

// Runs xdotool with the words given (printf-style) and waits for it, at most 10 seconds;
// true when it ran and succeeded.
bool Xdo(const char* format, ...);
// The centre of a window on the screen.
POINT CentreOf(HWND wnd);
