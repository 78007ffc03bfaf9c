// Opening and saving designs on a worker: the document's hook runs on a worker thread
// while this thread waits, handling the messages other threads send it; then this thread
// shows the message or finishes the open or save.  The dialog "Files" opens and saves
// through it.
#pragma once

#include "fw/fwwin.h"

#include <functional>

class CFrostwellDoc;

// Shows a design-file message key in a message box (nothing for an empty key). The
// application installs it as the document's message sink at start-up, so that an open or
// save on the user-interface thread shows its message at once.
void ShowDesignFileMessage(LPCTSTR key);

// Runs the document's open (save = FALSE) or save of `path` on a worker and waits for it,
// calling `step` (when given) every 100 ms of the wait.  Returns the hook's result;
// `messageKey` receives what it left to show, and a failure always leaves one (the road's
// general message when the hook left none or the worker could not start).
BOOL RunDesignFileWorker(CFrostwellDoc* doc, BOOL save, LPCTSTR path, CString& messageKey,
                         const std::function<void()>& step = {});
