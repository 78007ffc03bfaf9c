#include "app/print/PrinterList.h"

#include "fw/fwwin.h"

#include <winspool.h>

#include <vector>

namespace {

// An open printer handle, closed once.
class CPrinterHandle
{
public:
    explicit CPrinterHandle(LPCTSTR name)
    {
        if (name == nullptr || *name == '\0' || !::OpenPrinterA(const_cast<LPSTR>(name), &m_handle, nullptr))
            m_handle = nullptr;
    }
    ~CPrinterHandle()
    {
        if (m_handle != nullptr)
            ::ClosePrinter(m_handle);
    }
    CPrinterHandle(const CPrinterHandle&) = delete;
    CPrinterHandle& operator=(const CPrinterHandle&) = delete;

    HANDLE Get() const { return m_handle; }
    bool IsOpen() const { return m_handle != nullptr; }

    // The printer's level-2 record, empty when the spooler refuses it.
    std::vector<BYTE> GetInfo2() const
    {
        std::vector<BYTE> info;
        DWORD needed = 0;
        ::GetPrinterA(m_handle, 2, nullptr, 0, &needed);
        if (needed < sizeof(PRINTER_INFO_2A))
            return info;
        info.resize(needed);
        if (!::GetPrinterA(m_handle, 2, info.data(), needed, &needed))
            info.clear();
        return info;
    }

    // The driver's current DEVMODE, empty when it gives none.
    std::vector<BYTE> GetDevMode(LPCTSTR name) const
    {
        std::vector<BYTE> devMode;
        LONG size = ::DocumentPropertiesA(nullptr, m_handle, const_cast<LPSTR>(name), nullptr, nullptr, 0);
        if (size < (LONG)offsetof(DEVMODEA, dmFields))
            return devMode;
        devMode.resize(size);
        if (::DocumentPropertiesA(nullptr, m_handle, const_cast<LPSTR>(name), (DEVMODEA*)devMode.data(), nullptr,
                                  DM_OUT_BUFFER) != IDOK)
            devMode.clear();
        return devMode;
    }

private:
    HANDLE m_handle = nullptr;
};

HGLOBAL CopyToGlobal(const void* data, size_t size)
{
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (block == nullptr)
        return nullptr;
    void* p = ::GlobalLock(block);
    if (p == nullptr) {
        ::GlobalFree(block);
        return nullptr;
    }
    memcpy(p, data, size);
    ::GlobalUnlock(block);
    return block;
}

} // namespace

void CPrinterList::EnumeratePrinters(CStringList& names)
{
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0, count = 0;
    if (::EnumPrintersA(flags, nullptr, 2, nullptr, 0, &needed, &count) ||
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0)
        return;
    std::vector<BYTE> buffer(needed);
    ::SetLastError(0);
    if (!::EnumPrintersA(flags, nullptr, 2, buffer.data(), needed, &needed, &count) || ::GetLastError() != 0)
        return;
    const PRINTER_INFO_2A* printers = (const PRINTER_INFO_2A*)buffer.data();
    for (DWORD i = 0; i < count; i++) {
        CString name(printers[i].pPrinterName != nullptr ? printers[i].pPrinterName : "");
        name.MakeLower();
        names.AddTail(name);
    }
}

void CPrinterList::SetPaperAndQuality(WORD paperCode, BYTE landscape)
{
    CWinApp* app = AfxGetApp();
    PRINTDLG pd = {};
    pd.lStructSize = sizeof pd;
    if (app == nullptr || !app->GetPrinterDeviceDefaults(&pd) || pd.hDevMode == nullptr)
        return;
    DEVMODEA* dm = (DEVMODEA*)::GlobalLock(pd.hDevMode);
    if (dm == nullptr)
        return;
    dm->dmPaperSize = (short)paperCode;
    dm->dmOrientation = landscape == 1 ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    dm->dmPrintQuality = DMRES_HIGH;
    // A driver that did not list these fields would ignore the values written here.
    dm->dmFields |= DM_PAPERSIZE | DM_ORIENTATION | DM_PRINTQUALITY;
    ::GlobalUnlock(pd.hDevMode);
}

HGLOBAL CPrinterList::GetPrinterDevMode(LPCTSTR printerName)
{
    CPrinterHandle printer(printerName);
    if (!printer.IsOpen())
        return nullptr;
    std::vector<BYTE> devMode = printer.GetDevMode(printerName);
    return devMode.empty() ? nullptr : CopyToGlobal(devMode.data(), devMode.size());
}

HGLOBAL CPrinterList::GetPrinterDevNames(LPCTSTR printerName)
{
    CPrinterHandle printer(printerName);
    if (!printer.IsOpen())
        return nullptr;
    std::vector<BYTE> info = printer.GetInfo2();
    if (info.empty())
        return nullptr;
    const PRINTER_INFO_2A* pi = (const PRINTER_INFO_2A*)info.data();
    const char* driver = pi->pDriverName != nullptr ? pi->pDriverName : "";
    const char* port = pi->pPortName != nullptr ? pi->pPortName : "";

    // DEVNAMES: four WORD offsets in characters, then driver, device and port.
    std::vector<BYTE> block(sizeof(DEVNAMES));
    auto append = [&block](const char* text) -> WORD {
        WORD offset = (WORD)block.size();
        block.insert(block.end(), text, text + strlen(text) + 1);
        return offset;
    };
    WORD driverOffset = append(driver);
    WORD deviceOffset = append(printerName);
    WORD portOffset = append(port);
    DEVNAMES* names = (DEVNAMES*)block.data();
    names->wDriverOffset = driverOffset;
    names->wDeviceOffset = deviceOffset;
    names->wOutputOffset = portOffset;
    names->wDefault = 0;
    return CopyToGlobal(block.data(), block.size());
}

BOOL CPrinterList::GetPaperCodes(LPCTSTR printerName, CWordArray& codes)
{
    codes.RemoveAll();
    CPrinterHandle printer(printerName);
    if (!printer.IsOpen())
        return FALSE;
    std::vector<BYTE> devMode = printer.GetDevMode(printerName);
    std::vector<BYTE> info = printer.GetInfo2();
    const char* port = info.empty() ? "" : ((const PRINTER_INFO_2A*)info.data())->pPortName;
    const DEVMODEA* dm = devMode.empty() ? nullptr : (const DEVMODEA*)devMode.data();

    // Ask for the count first: a driver may list any number of papers.
    int count = ::DeviceCapabilitiesA(printerName, port, DC_PAPERS, nullptr, dm);
    if (count <= 0)
        return FALSE;
    std::vector<WORD> papers(count);
    int got = ::DeviceCapabilitiesA(printerName, port, DC_PAPERS, (LPSTR)papers.data(), dm);
    if (got <= 0)
        return FALSE;
    if (got < count)
        count = got;
    codes.SetSize(count);
    for (int i = 0; i < count; i++)
        codes[i] = papers[i];
    return TRUE;
}

BOOL CPrinterList::HasPaperCode3(CString printerName)
{
    // The count is asked first, so a driver with any number of papers is read whole.
    CWordArray codes;
    if (!GetPaperCodes(printerName, codes))
        return FALSE;
    for (INT_PTR i = 0; i < codes.GetSize(); i++)
        if (codes[i] == DMPAPER_TABLOID)
            return TRUE;
    return FALSE;
}
