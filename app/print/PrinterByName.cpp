#include "app/print/PrinterByName.h"
#include "app/print/PrinterList.h"

BOOL SelectPrinterByName(CString name)
{
    CWinApp* app = AfxGetApp();
    if (app == NULL)
        return FALSE;
    HGLOBAL devMode = CPrinterList::GetPrinterDevMode(name);
    HGLOBAL devNames = CPrinterList::GetPrinterDevNames(name);
    // Both blocks or neither: a DEVMODE without its DEVNAMES (or the reverse) would describe
    // no printer the framework can open.
    if (devMode == NULL || devNames == NULL) {
        if (devMode != NULL)
            ::GlobalFree(devMode);
        if (devNames != NULL)
            ::GlobalFree(devNames);
        devMode = devNames = NULL;
    }
    app->SelectPrinter(devNames, devMode, TRUE);
    return devNames != NULL;
}
