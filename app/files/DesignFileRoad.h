// Opening and saving designs from the home panel.  The path comes from the common open and
// save dialogs (the dialog "Files" takes their place when it exists); the document's hook
// runs on a worker thread while this thread waits, handling the messages other threads
// send it; then this thread shows the message or finishes the open or save.
#pragma once

#include "fw/fwwin.h"

class CFrostwellDoc;

// Runs the document's open (save = FALSE) or save of `path` on a worker and waits for it.
// Returns the hook's result; `messageKey` receives what it left to show.
BOOL RunDesignFileWorker(CFrostwellDoc* doc, BOOL save, LPCTSTR path, CString& messageKey);

// The home panel's Load: asks for a design file, opens it, selects the first image layer,
// retitles and redraws; shows the message of a failed open.
BOOL LoadDesignFromHome(CFrostwellDoc* doc);
// The home panel's Save: to the design's own path, or to one asked for when it has none
// or `askPath` is set; retitles, redraws and clears the modified flag only when saved.
BOOL SaveDesignFromHome(CFrostwellDoc* doc, BOOL askPath);
