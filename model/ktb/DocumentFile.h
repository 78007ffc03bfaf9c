// The design document's open and save hooks (CFrostwellDoc::OnOpenDocument and
// OnSaveDocument) and what they report.
//
// The hooks run on the user-interface thread (the framework's open from the command line
// and its save) or on a worker while that thread waits (the home panel's Load and Save).
// They never show anything themselves: they return their result and leave the key of the
// message to show.  On the user-interface thread the installed sink shows it at once; a
// worker's caller takes it with TakeDesignFileMessage once the worker has ended.
#pragma once

#include "fw/fw.h"

// The message of the last open or save that failed on a worker; empty when none.  Taking
// it empties it.
CString TakeDesignFileMessage();

// Shows a message key on the user-interface thread (installed by the window layer).
typedef void (*DesignFileMessageSink)(LPCTSTR key);
void SetDesignFileMessageSink(DesignFileMessageSink sink);
