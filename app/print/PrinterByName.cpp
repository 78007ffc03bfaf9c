#include "app/print/PrinterByName.h"
#include <winspool.h>
#include <vector>

BOOL SelectPrinterByName(CString name)
{
    CWinApp* app = AfxGetApp();
    if (name.IsEmpty() || app == NULL)
        return FALSE;
    HANDLE printer = NULL;
    if (!::OpenPrinter(name.GetBuffer(), &printer, NULL)) {
        name.ReleaseBuffer();
        return FALSE;
    }
    name.ReleaseBuffer();
    DWORD needed = 0;
    ::GetPrinter(printer, 2, NULL, 0, &needed);
    std::vector<BYTE> info(needed > 0 ? needed : 1);
    BOOL ok = needed > 0 && ::GetPrinter(printer, 2, info.data(), needed, &needed);
    HGLOBAL devMode = NULL, devNames = NULL;
    if (ok) {
        PRINTER_INFO_2* pi = reinterpret_cast<PRINTER_INFO_2*>(info.data());
        LONG size = ::DocumentProperties(NULL, printer, name.GetBuffer(), NULL, NULL, 0);
        name.ReleaseBuffer();
        if (size > 0 && (devMode = ::GlobalAlloc(GHND, size)) != NULL) {
            DEVMODE* dm = (DEVMODE*)::GlobalLock(devMode);
            ok = ::DocumentProperties(NULL, printer, name.GetBuffer(), dm, NULL, DM_OUT_BUFFER) == IDOK;
            name.ReleaseBuffer();
            ::GlobalUnlock(devMode);
        } else {
            ok = FALSE;
        }
        LPCSTR driver = pi->pDriverName != NULL ? pi->pDriverName : "";
        LPCSTR port = pi->pPortName != NULL ? pi->pPortName : "";
        size_t chars = strlen(driver) + 1 + name.GetLength() + 1 + strlen(port) + 1;
        if (ok && (devNames = ::GlobalAlloc(GHND, sizeof(DEVNAMES) + chars)) != NULL) {
            DEVNAMES* dn = (DEVNAMES*)::GlobalLock(devNames);
            char* text = reinterpret_cast<char*>(dn + 1);
            WORD at = sizeof(DEVNAMES);
            dn->wDriverOffset = at;
            strcpy(text, driver);
            at += (WORD)(strlen(driver) + 1);
            dn->wDeviceOffset = at;
            strcpy((char*)dn + at, name);
            at += (WORD)(name.GetLength() + 1);
            dn->wOutputOffset = at;
            strcpy((char*)dn + at, port);
            dn->wDefault = 0;
            ::GlobalUnlock(devNames);
        } else {
            ok = FALSE;
        }
    }
    ::ClosePrinter(printer);
    if (!ok) {
        if (devMode != NULL)
            ::GlobalFree(devMode);
        if (devNames != NULL)
            ::GlobalFree(devNames);
        return FALSE;
    }
    app->SelectPrinter(devNames, devMode, TRUE);
    return TRUE;
}
