// Makes a named printer the application's printer.
#pragma once
#include "fw/fwwin.h"

// The printer's DEVMODE and DEVNAMES become the application's.  An empty or unknown name
// clears the application's printer, so that the framework's default printer applies the
// next time one is needed.  TRUE when the printer was taken.
BOOL SelectPrinterByName(CString name);
