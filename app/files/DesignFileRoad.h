// Opening and saving designs from the home panel.  The path comes from the common open and
// save dialogs (the dialog "Files" takes their place when it exists); the document's hook
// runs on a worker thread while this thread waits, handling the messages other threads
// send it; then this thread shows the message or finishes the open or save.
#pragma once

#include "fw/fwwin.h"

class CFrostwellDoc;

// Shows a design-file message key in a message box (nothing for an empty key). The
// application installs it as the document's message sink at start-up, so that an open or
// save on the user-interface thread shows its message at once.
void ShowDesignFileMessage(LPCTSTR key);

// Runs the document's open (save = FALSE) or save of `path` on a worker and waits for it.
// Returns the hook's result; `messageKey` receives what it left to show.
BOOL RunDesignFileWorker(CFrostwellDoc* doc, BOOL save, LPCTSTR path, CString& messageKey);

// The home panel's Load: asks for a design file, opens it, selects the first image layer,
// retitles and redraws; shows the message of a failed open.
BOOL LoadDesignFromHome(CFrostwellDoc* doc);
// The home panel's Save: to the design's own path, or to one asked for when it has none
// or `askPath` is set; retitles, redraws and clears the modified flag only when saved.
BOOL SaveDesignFromHome(CFrostwellDoc* doc, BOOL askPath);
