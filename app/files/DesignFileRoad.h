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
// Every save of the program ends here (the home panel's Save, "Save Changes" -> Yes, the
// save key, and the dialog "Files" once it replaces the common dialogs): the sheet image
// is rebuilt first, so the file's "Thumbnail" shows the design as it is saved; then the
// save runs on the worker; a failure shows its message, a success retitles, redraws and
// clears the modified flag.
BOOL SaveDesignTo(CFrostwellDoc* doc, LPCTSTR path);
// The home panel's Save: to the design's own path, or to one asked for when it has none
// or `askPath` is set; then SaveDesignTo.
BOOL SaveDesignFromHome(CFrostwellDoc* doc, BOOL askPath);
