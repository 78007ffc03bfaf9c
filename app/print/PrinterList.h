// The program's dealings with the print spooler outside the framework's print road: a
// printer's settings and names in the form the framework keeps them, and which papers a
// printer offers.  Printer names are compared by the spooler without regard to case
// ("cake_pdf" opens the queue "Cake_PDF").  SelectPrinterByName: app/PrinterByName.h.
#pragma once

#include "fw/fw.h"

class CPrinterList
{
public:
    virtual ~CPrinterList() {}

    // A movable global block with the printer's current DEVMODE, or NULL when the
    // printer cannot be opened or its driver gives none.  The caller owns the block.
    static HGLOBAL GetPrinterDevMode(LPCTSTR printerName);
    // A movable global block with a DEVNAMES of the printer (driver, the name as given,
    // port), or NULL when the printer cannot be opened.  The caller owns the block.
    static HGLOBAL GetPrinterDevNames(LPCTSTR printerName);

    // The paper codes (DMPAPER_*) the printer's driver lists; FALSE when the printer
    // cannot be opened or lists none.
    static BOOL GetPaperCodes(LPCTSTR printerName, CWordArray& codes);
    // TRUE when the printer lists paper code 3 (the 11 by 17 inch tabloid sheet).
    static BOOL GetPaperList(LPCTSTR printerName);

private:
    CPrinterList() = delete;
};
