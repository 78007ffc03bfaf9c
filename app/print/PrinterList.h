// The program's dealings with the print spooler outside the framework's print road: the
// installed printers, a printer's settings and names in the form the framework keeps them,
// which papers a printer offers, and the paper of the application's printer.  Printer names
// are the spooler's in lower case; the spooler compares them without regard to case
// ("cake_pdf" opens the queue "Cake_PDF").  SelectPrinterByName: app/print/PrinterByName.h.
//
// The rule it keeps: a spooler failure ends an operation quietly with its "nothing" result
// (an unchanged list, a null handle, FALSE, no change); the callers decide what to say.
#pragma once

#include "fw/fw.h"

class CPrinterList
{
public:
    virtual ~CPrinterList() {}

    // Appends the name of every local or connected printer, lower case, in the spooler's
    // order; the list stays as it was when the spooler gives none.
    static void EnumeratePrinters(CStringList& names);

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
    static BOOL HasPaperCode3(CString printerName);
    // Sets paper, orientation (landscape only for 1) and high print quality in the
    // application printer's DEVMODE, and marks those fields as set; nothing without one.
    static void SetPaperAndQuality(WORD paperCode, BYTE landscape);

private:
    CPrinterList() = delete;
};
