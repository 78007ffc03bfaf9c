// Makes a named printer the application's printer.
#pragma once
#include "fw/fwwin.h"

// An empty or unknown name leaves the application's printer as it is.  TRUE when the
// printer was taken.
BOOL SelectPrinterByName(CString name);
