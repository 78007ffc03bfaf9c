#include "effects/EffectFrame.h"

#include "fw/fwwin.h"

#include <set>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

namespace {

EffectFaults g_faults;

// A memory DC made like the main window's DC (the screen's when there is no main window);
// the window's DC goes back at once, the memory DC when this goes.
class MainMemoryDC
{
public:
    MainMemoryDC()
    {
        const HWND wnd = FwGetSafeHwnd(AfxGetMainWnd());
        const HDC windowDc = ::GetDC(wnd);
        m_dc = ::CreateCompatibleDC(windowDc);
        if (windowDc != nullptr)
            ::ReleaseDC(wnd, windowDc);
    }
    ~MainMemoryDC()
    {
        if (m_dc != nullptr)
            ::DeleteDC(m_dc);
    }
    MainMemoryDC(const MainMemoryDC&) = delete;
    MainMemoryDC& operator=(const MainMemoryDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc = nullptr;
};

// A bitmap handle this code made, deleted once.
class OwnedBitmap
{
public:
    ~OwnedBitmap()
    {
        if (handle != nullptr)
            ::DeleteObject(handle);
    }
    HBITMAP handle = nullptr;
};

// Fills `header` from the bitmap through `dc`: false when the platform cannot describe it.
bool QueryHeader(HDC dc, HBITMAP bitmap, BITMAPINFOHEADER* header, LONG* width, LONG* height)
{
    DibInfo info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    BITMAP described = {};
    ::GetObject(bitmap, sizeof(described), &described);
    if (::GetDIBits(dc, bitmap, 0, 0, nullptr, info.Info(), DIB_RGB_COLORS) == 0)
        return false;
    *header = info.header;
    // Rows bottom-up whatever the bitmap's own order: effects count buffer row 0 as the bottom.
    if (header->biHeight < 0)
        header->biHeight = -header->biHeight;
    *width = header->biWidth;
    *height = header->biHeight;
    header->biBitCount = 24;
    header->biCompression = BI_RGB;
    header->biSizeImage = 0;
    header->biClrUsed = 0;
    header->biClrImportant = 0;
    return true;
}

} // namespace

EffectFaults& EffectTestFaults() { return g_faults; }

namespace {

// The blocks placed against a guard page, with the start of their reservation.
std::set<std::pair<void*, void*>>& GuardedBlocks()
{
    static std::set<std::pair<void*, void*>> blocks;
    return blocks;
}

void* GuardedAlloc(size_t bytes)
{
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    const size_t page = info.dwPageSize;
    const size_t body = (bytes + page - 1) / page * page;
    BYTE* base = static_cast<BYTE*>(::VirtualAlloc(nullptr, body + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (base == nullptr)
        return nullptr;
    DWORD old = 0;
    ::VirtualProtect(base + body, page, PAGE_NOACCESS, &old);
    BYTE* block = base + body - bytes;
    GuardedBlocks().insert(std::make_pair(static_cast<void*>(block), static_cast<void*>(base)));
    return block;
}

bool FreeGuarded(void* block)
{
    auto& blocks = GuardedBlocks();
    if (blocks.empty()) // outside tests that ask for guard pages
        return false;
    for (auto it = blocks.begin(); it != blocks.end(); ++it)
        if (it->first == block) {
            ::VirtualFree(it->second, 0, MEM_RELEASE);
            blocks.erase(it);
            return true;
        }
    return false;
}

} // namespace

void* EffectAlloc(size_t bytes)
{
    const LONG n = ::InterlockedIncrement(&g_faults.allocs);
    if (g_faults.failAllocAt != 0 && n == g_faults.failAllocAt)
        return nullptr;
    void* block = g_faults.guardPages ? GuardedAlloc(bytes == 0 ? 1 : bytes) : ::calloc(bytes == 0 ? 1 : bytes, 1);
    if (block != nullptr)
        ::InterlockedIncrement(&g_faults.liveBlocks);
    return block;
}

void EffectFree(void* block)
{
    if (block == nullptr)
        return;
    ::InterlockedDecrement(&g_faults.liveBlocks);
    if (!FreeGuarded(block))
        ::free(block);
}

int EffectReadBits(HDC dc, HBITMAP bitmap, UINT lines, void* bits, BITMAPINFO* info)
{
    const LONG n = ::InterlockedIncrement(&g_faults.reads);
    if (g_faults.failReadAt != 0 && n == g_faults.failReadAt)
        return 0;
    return ::GetDIBits(dc, bitmap, 0, lines, bits, info, DIB_RGB_COLORS);
}

bool EffectBlock::Allocate(size_t bytes)
{
    Release();
    m_bytes = static_cast<BYTE*>(EffectAlloc(bytes));
    return m_bytes != nullptr;
}

void EffectBlock::Release()
{
    EffectFree(m_bytes);
    m_bytes = nullptr;
}

int DibStride(int width)
{
    const int bytes = 3 * width;
    return bytes % 4 == 0 ? bytes : bytes + 4 - bytes % 4;
}

bool Dib::Allocate(int w, int h)
{
    // Larger than a buffer can be: an allocation that fails.
    if (w <= 0 || h <= 0 || w > 0x20000000 || (uint64_t)DibStride(w) * (uint64_t)h > (uint64_t)(SIZE_MAX / 2))
        return false;
    width = w;
    height = h;
    stride = DibStride(w);
    BITMAPINFOHEADER& hd = info.header;
    hd.biSize = sizeof(BITMAPINFOHEADER);
    hd.biWidth = w;
    hd.biHeight = h;
    hd.biPlanes = 1;
    hd.biBitCount = 24;
    hd.biCompression = BI_RGB;
    hd.biSizeImage = 0;
    hd.biClrUsed = 0;
    hd.biClrImportant = 0;
    return block.Allocate(Size());
}

bool Dib::CopyTo(Dib& other) const
{
    if (!other.Allocate(width, height))
        return false;
    other.info = info;
    other.linesRead = linesRead;
    memcpy(other.Bits(), Bits(), Size());
    return true;
}

HBITMAP GetDibOfDC(HDC dc, BITMAPINFOHEADER* header, LONG* width, LONG* height)
{
    const HBITMAP bitmap = static_cast<HBITMAP>(::GetCurrentObject(dc, OBJ_BITMAP));
    if (bitmap == nullptr || !QueryHeader(dc, bitmap, header, width, height))
        return nullptr;
    return bitmap;
}

HBITMAP GetDibOfImage(HBITMAP bitmap, BITMAPINFOHEADER* header, LONG* width, LONG* height)
{
    *width = 0;
    *height = 0;
    MainMemoryDC dc;
    if (bitmap == nullptr || dc.Get() == nullptr || !QueryHeader(dc.Get(), bitmap, header, width, height))
        return nullptr;
    return bitmap;
}

HRESULT ReadDibOfDC(HDC source, Dib& dib, LONG* lines)
{
    LONG width = 0;
    LONG height = 0;
    const HBITMAP bitmap = GetDibOfDC(source, &dib.info.header, &width, &height);
    if (bitmap == nullptr) {
        if (lines != nullptr)
            *lines = 0;
        return E_FAIL;
    }
    if (!dib.Allocate(width, height))
        return E_FAIL;
    dib.linesRead = EffectReadBits(source, bitmap, height, dib.Bits(), dib.info.Info());
    return dib.linesRead == 0 ? E_FAIL : S_OK;
}

void DrawDib(HDC destination, Dib& dib)
{
    ::SetDIBitsToDevice(destination, 0, 0, dib.width, dib.height, 0, 0, 0, dib.height, dib.Bits(), dib.info.Info(),
                        DIB_RGB_COLORS);
}

HRESULT ReadDibOfImage(Gdiplus::Bitmap* source, Dib& dib)
{
    if (source == nullptr)
        return E_FAIL;
    OwnedBitmap bitmap;
    // Transparent parts of the source arrive over opaque white.
    if (source->GetHBITMAP(Gdiplus::Color(255, 255, 255, 255), &bitmap.handle) != Gdiplus::Ok)
        return E_FAIL;
    LONG width = 0;
    LONG height = 0;
    GetDibOfImage(bitmap.handle, &dib.info.header, &width, &height);
    if (!dib.Allocate(width, height))
        return E_FAIL;
    MainMemoryDC dc;
    if (dc.Get() == nullptr)
        return E_FAIL;
    dib.linesRead = EffectReadBits(dc.Get(), bitmap.handle, height, dib.Bits(), dib.info.Info());
    return dib.linesRead == 0 ? E_FAIL : S_OK;
}

HRESULT DrawDibOnImage(Gdiplus::Image* destination, Dib& dib)
{
    if (destination == nullptr)
        return E_FAIL;
    Gdiplus::Graphics graphics(destination);
    const HDC dc = graphics.GetHDC();
    if (dc == nullptr)
        return E_FAIL;
    DrawDib(dc, dib);
    graphics.ReleaseHDC(dc);
    return S_OK;
}

namespace {

// The bottom-left w x h part of `full` as a buffer of its own.
bool CropTo(const Dib& full, int w, int h, Dib& part)
{
    if (!part.Allocate(w, h))
        return false;
    for (int y = 0; y < h; ++y)
        memcpy(part.Px(0, y), full.Px(0, y), (size_t)w * 3);
    part.linesRead = full.linesRead < h ? full.linesRead : h;
    return true;
}

} // namespace

HRESULT ReadTwoDibs(HDC first, HDC second, Dib& a, Dib& b)
{
    Dib fullA;
    Dib fullB;
    LONG w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    const HBITMAP bitmap1 = GetDibOfDC(first, &fullA.info.header, &w1, &h1);
    const HBITMAP bitmap2 = GetDibOfDC(second, &fullB.info.header, &w2, &h2);
    if (bitmap1 == nullptr || bitmap2 == nullptr)
        return E_FAIL;
    if (!fullA.Allocate(w1, h1) || !fullB.Allocate(w2, h2))
        return E_FAIL;
    fullA.linesRead = EffectReadBits(first, bitmap1, h1, fullA.Bits(), fullA.info.Info());
    if (fullA.linesRead == 0)
        return E_FAIL;
    // A second source that cannot be read ends the effect too: blending it would draw garbage.
    fullB.linesRead = EffectReadBits(second, bitmap2, h2, fullB.Bits(), fullB.info.Info());
    if (fullB.linesRead == 0)
        return E_FAIL;
    const int w = w1 < w2 ? w1 : w2;
    const int h = h1 < h2 ? h1 : h2;
    if (!CropTo(fullA, w, h, a) || !CropTo(fullB, w, h, b))
        return E_FAIL;
    return S_OK;
}
