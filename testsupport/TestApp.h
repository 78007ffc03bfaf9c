// The application object for tests whose windows and dialogs ask the framework for one
// (AfxGetApp).  A process has at most one: the framework's own tests bring theirs; every
// other test executable gets one plain application on first use, kept for the whole run.
#pragma once
#include "fw/fwwin.h"

// The process's application object, made on first use when there is none.
CWinApp& EnsureTestApp();
