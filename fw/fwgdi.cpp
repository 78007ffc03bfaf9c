#include "fw/fwgdi.h"
#include <map>
#include <memory>
#include <typeinfo>
#include <typeindex>

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

// ---- non-owning wrappers

// Wrappers handed out for handles this code does not own, one per handle and class.
// They live as long as the cache (the DC, or the thread until FwDeleteTempObjects);
// when many pile up, those whose handles no longer exist are dropped.
struct CDC::WrapperCache
{
    std::map<std::pair<HGDIOBJ, std::type_index>, std::unique_ptr<CGdiObject>> objects;
    std::map<HDC, std::unique_ptr<CDC>> dcs;
    size_t pruneAt = 256;

    template <class T> T* Get(HGDIOBJ handle)
    {
        if (handle == NULL)
            return NULL;
        if (objects.size() >= pruneAt)
            Prune();
        auto& slot = objects[std::make_pair(handle, std::type_index(typeid(T)))];
        if (!slot) {
            slot.reset(new T);
            slot->m_hObject = handle;
            slot->m_bOwned = FALSE;
        }
        return static_cast<T*>(slot.get());
    }
    CDC* GetDC(HDC handle)
    {
        if (handle == NULL)
            return NULL;
        if (dcs.size() >= 64) {
            for (auto it = dcs.begin(); it != dcs.end();)
                it = ::GetObjectType(it->first) == 0 ? dcs.erase(it) : std::next(it);
        }
        auto& slot = dcs[handle];
        if (!slot) {
            slot.reset(new CDC);
            slot->m_hDC = slot->m_hAttribDC = handle;
        }
        return slot.get();
    }
    void Prune()
    {
        for (auto it = objects.begin(); it != objects.end();)
            it = ::GetObjectType(it->first.first) == 0 ? objects.erase(it) : std::next(it);
        pruneAt = objects.size() * 2 < 256 ? 256 : objects.size() * 2;
    }
};

namespace {

thread_local CDC::WrapperCache* t_temps = NULL;
thread_local int t_tempLocks = 0;
// GDI objects and DCs that wrappers hold right now.
volatile LONG g_liveHandles = 0;

} // namespace

// Used by FromHandle: defined as a friend of CGdiObject to reach m_bOwned.
template <class T> T* FwTempGdiObject(HGDIOBJ object)
{
    if (t_temps == NULL)
        t_temps = new CDC::WrapperCache;
    return t_temps->Get<T>(object);
}

LONG FwGdiLiveHandles() { return g_liveHandles; }

void FwDeleteTempObjects()
{
    if (t_tempLocks > 0)
        return;
    delete t_temps;
    t_temps = NULL;
}

void AfxLockTempMaps() { ++t_tempLocks; }

BOOL AfxUnlockTempMaps(BOOL deleteTemps)
{
    if (t_tempLocks <= 0 || --t_tempLocks > 0)
        return FALSE;
    if (deleteTemps)
        FwDeleteTempObjects();
    return TRUE;
}

// ---- CGdiObject

CGdiObject::~CGdiObject() { DeleteObject(); }

BOOL CGdiObject::Attach(HGDIOBJ object)
{
    if (object == NULL)
        return FALSE;
    DeleteObject();
    m_hObject = object;
    m_bOwned = TRUE;
    InterlockedIncrement(&g_liveHandles);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    if (h != NULL && m_bOwned)
        InterlockedDecrement(&g_liveHandles);
    m_hObject = NULL;
    m_bOwned = TRUE;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    HGDIOBJ h = m_hObject;
    BOOL owned = m_bOwned;
    m_hObject = NULL;
    m_bOwned = TRUE;
    // A wrapper only forgets a handle it does not own (stock, system or temporary).
    if (h == NULL || !owned)
        return FALSE;
    if (!::DeleteObject(h))
        return FALSE; // stays counted: the handle is lost
    InterlockedDecrement(&g_liveHandles);
    return TRUE;
}

int CGdiObject::GetObject(int size, void* buffer) const
{
    return m_hObject ? ::GetObjectA(m_hObject, size, buffer) : 0;
}

BOOL CGdiObject::CreateStockObject(int index)
{
    HGDIOBJ h = ::GetStockObject(index);
    if (h == NULL)
        return FALSE;
    DeleteObject();
    m_hObject = h;
    m_bOwned = FALSE;
    return TRUE;
}

BOOL CGdiObject::UnrealizeObject() { return m_hObject ? ::UnrealizeObject(m_hObject) : FALSE; }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object) { return FwTempGdiObject<CGdiObject>(object); }
CPen* CPen::FromHandle(HPEN pen) { return FwTempGdiObject<CPen>(pen); }
CBrush* CBrush::FromHandle(HBRUSH brush) { return FwTempGdiObject<CBrush>(brush); }
CFont* CFont::FromHandle(HFONT font) { return FwTempGdiObject<CFont>(font); }
CBitmap* CBitmap::FromHandle(HBITMAP bitmap) { return FwTempGdiObject<CBitmap>(bitmap); }
CPalette* CPalette::FromHandle(HPALETTE palette) { return FwTempGdiObject<CPalette>(palette); }
CRgn* CRgn::FromHandle(HRGN region) { return FwTempGdiObject<CRgn>(region); }

namespace {
// Takes a freshly created handle into the wrapper; FALSE when creation failed.
BOOL Take(CGdiObject* object, HGDIOBJ handle) { return handle != NULL && object->Attach(handle); }
} // namespace

// ---- CPen

CPen::CPen(int penStyle, int width, COLORREF color)
{
    if (!CreatePen(penStyle, width, color))
        AfxThrowResourceException();
}

CPen::CPen(int penStyle, int width, const LOGBRUSH* brush, int styleCount, const DWORD* styles)
{
    if (!CreatePen(penStyle, width, brush, styleCount, styles))
        AfxThrowResourceException();
}

BOOL CPen::CreatePen(int penStyle, int width, COLORREF color)
{
    return Take(this, ::CreatePen(penStyle, width, color));
}

BOOL CPen::CreatePen(int penStyle, int width, const LOGBRUSH* brush, int styleCount, const DWORD* styles)
{
    return Take(this, ::ExtCreatePen((DWORD)penStyle, (DWORD)width, brush, (DWORD)styleCount, styles));
}

BOOL CPen::CreatePenIndirect(const LOGPEN* logPen) { return Take(this, ::CreatePenIndirect(logPen)); }

// ---- CBrush

CBrush::CBrush(COLORREF color)
{
    if (!CreateSolidBrush(color))
        AfxThrowResourceException();
}

CBrush::CBrush(int hatchIndex, COLORREF color)
{
    if (!CreateHatchBrush(hatchIndex, color))
        AfxThrowResourceException();
}

CBrush::CBrush(CBitmap* bitmap)
{
    if (!CreatePatternBrush(bitmap))
        AfxThrowResourceException();
}

BOOL CBrush::CreateSolidBrush(COLORREF color) { return Take(this, ::CreateSolidBrush(color)); }
BOOL CBrush::CreateHatchBrush(int index, COLORREF color) { return Take(this, ::CreateHatchBrush(index, color)); }

BOOL CBrush::CreatePatternBrush(CBitmap* bitmap)
{
    return bitmap && Take(this, ::CreatePatternBrush((HBITMAP)bitmap->GetSafeHandle()));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* logBrush) { return Take(this, ::CreateBrushIndirect(logBrush)); }

BOOL CBrush::CreateDIBPatternBrush(const void* packedDib, UINT usage)
{
    return Take(this, ::CreateDIBPatternBrushPt(packedDib, usage));
}

BOOL CBrush::CreateSysColorBrush(int index)
{
    // A system colour brush belongs to the system: held but never deleted.
    HBRUSH h = ::GetSysColorBrush(index);
    if (h == NULL)
        return FALSE;
    DeleteObject();
    m_hObject = h;
    m_bOwned = FALSE;
    return TRUE;
}

// ---- CFont

BOOL CFont::CreateFontIndirect(const LOGFONT* logFont) { return Take(this, ::CreateFontIndirectA(logFont)); }

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                       BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                       BYTE pitchAndFamily, LPCSTR faceName)
{
    return Take(this, ::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                    charSet, outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
}

BOOL CFont::CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc)
{
    LOGFONT lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = pointSize;
    lstrcpynA(lf.lfFaceName, faceName ? faceName : "", LF_FACESIZE);
    return CreatePointFontIndirect(&lf, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* logFont, CDC* dc)
{
    HDC hdc = dc ? dc->m_hAttribDC : ::GetDC(NULL);
    LOGFONT lf = *logFont;
    // Tenths of a point to logical units of the DC.
    POINT pt = {0, MulDiv(::GetDeviceCaps(hdc, LOGPIXELSY), lf.lfHeight, 720)};
    ::DPtoLP(hdc, &pt, 1);
    POINT origin = {0, 0};
    ::DPtoLP(hdc, &origin, 1);
    lf.lfHeight = -abs(pt.y - origin.y);
    if (dc == NULL)
        ::ReleaseDC(NULL, hdc);
    return CreateFontIndirect(&lf);
}

// ---- CBitmap

BOOL CBitmap::LoadBitmap(UINT id) { return Take(this, ::LoadBitmapA(FwGetResourceHandle(), MAKEINTRESOURCEA(id))); }

BOOL CBitmap::LoadBitmap(LPCSTR resourceName) { return Take(this, ::LoadBitmapA(FwGetResourceHandle(), resourceName)); }

BOOL CBitmap::LoadOEMBitmap(UINT id) { return Take(this, ::LoadBitmapA(NULL, MAKEINTRESOURCEA(id))); }

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    return Take(this, ::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}

BOOL CBitmap::CreateBitmapIndirect(const BITMAP* bitmap) { return Take(this, ::CreateBitmapIndirect(bitmap)); }

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return dc && Take(this, ::CreateCompatibleBitmap(dc->m_hDC, width, height));
}

BOOL CBitmap::CreateDiscardableBitmap(CDC* dc, int width, int height)
{
    return CreateCompatibleBitmap(dc, width, height);
}

DWORD CBitmap::GetBitmapBits(DWORD count, void* bits) const
{
    return (DWORD)::GetBitmapBits((HBITMAP)m_hObject, (LONG)count, bits);
}

DWORD CBitmap::SetBitmapBits(DWORD count, const void* bits)
{
    return (DWORD)::SetBitmapBits((HBITMAP)m_hObject, count, bits);
}

CSize CBitmap::GetBitmapDimension() const
{
    SIZE s = {0, 0};
    ::GetBitmapDimensionEx((HBITMAP)m_hObject, &s);
    return s;
}

CSize CBitmap::SetBitmapDimension(int width, int height)
{
    SIZE s = {0, 0};
    ::SetBitmapDimensionEx((HBITMAP)m_hObject, width, height, &s);
    return s;
}

// ---- CPalette

BOOL CPalette::CreatePalette(const LOGPALETTE* logPalette) { return Take(this, ::CreatePalette(logPalette)); }

BOOL CPalette::CreateHalftonePalette(CDC* dc) { return dc && Take(this, ::CreateHalftonePalette(dc->m_hDC)); }

int CPalette::GetEntryCount() const
{
    WORD n = 0;
    return GetObject(sizeof n, &n) ? n : 0;
}

UINT CPalette::GetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries) const
{
    return ::GetPaletteEntries((HPALETTE)m_hObject, start, count, entries);
}

UINT CPalette::SetPaletteEntries(UINT start, UINT count, const PALETTEENTRY* entries)
{
    return ::SetPaletteEntries((HPALETTE)m_hObject, start, count, entries);
}

UINT CPalette::GetNearestPaletteIndex(COLORREF color) const
{
    return ::GetNearestPaletteIndex((HPALETTE)m_hObject, color);
}

void CPalette::AnimatePalette(UINT start, UINT count, const PALETTEENTRY* entries)
{
    ::AnimatePalette((HPALETTE)m_hObject, start, count, entries);
}

BOOL CPalette::ResizePalette(UINT count) { return ::ResizePalette((HPALETTE)m_hObject, count); }

// ---- CRgn

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) { return Take(this, ::CreateRectRgn(x1, y1, x2, y2)); }
BOOL CRgn::CreateRectRgnIndirect(LPCRECT r) { return Take(this, ::CreateRectRgnIndirect(r)); }
BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2) { return Take(this, ::CreateEllipticRgn(x1, y1, x2, y2)); }
BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT r) { return Take(this, ::CreateEllipticRgnIndirect(r)); }

BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int polyFillMode)
{
    return Take(this, ::CreatePolygonRgn(points, count, polyFillMode));
}

BOOL CRgn::CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polyCount, int polyFillMode)
{
    return Take(this, ::CreatePolyPolygonRgn(points, counts, polyCount, polyFillMode));
}

BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3)
{
    return Take(this, ::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}

BOOL CRgn::CreateFromPath(CDC* dc) { return dc && Take(this, ::PathToRegion(dc->m_hDC)); }

BOOL CRgn::CreateFromData(const XFORM* xform, int count, const RGNDATA* data)
{
    return Take(this, ::ExtCreateRegion(xform, (DWORD)count, data));
}

void CRgn::SetRectRgn(int x1, int y1, int x2, int y2) { ::SetRectRgn((HRGN)m_hObject, x1, y1, x2, y2); }
void CRgn::SetRectRgn(LPCRECT r) { SetRectRgn(r->left, r->top, r->right, r->bottom); }

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode)
{
    return ::CombineRgn((HRGN)m_hObject, a ? (HRGN)a->m_hObject : NULL, b ? (HRGN)b->m_hObject : NULL, mode);
}

int CRgn::CopyRgn(const CRgn* source) { return ::CombineRgn((HRGN)m_hObject, (HRGN)source->m_hObject, NULL, RGN_COPY); }

BOOL CRgn::EqualRgn(const CRgn* other) const { return ::EqualRgn((HRGN)m_hObject, (HRGN)other->m_hObject); }
int CRgn::OffsetRgn(int x, int y) { return ::OffsetRgn((HRGN)m_hObject, x, y); }
int CRgn::OffsetRgn(POINT p) { return OffsetRgn(p.x, p.y); }
int CRgn::GetRgnBox(LPRECT r) const { return ::GetRgnBox((HRGN)m_hObject, r); }
BOOL CRgn::PtInRegion(int x, int y) const { return ::PtInRegion((HRGN)m_hObject, x, y); }
BOOL CRgn::PtInRegion(POINT p) const { return PtInRegion(p.x, p.y); }
BOOL CRgn::RectInRegion(LPCRECT r) const { return ::RectInRegion((HRGN)m_hObject, r); }

int CRgn::GetRegionData(LPRGNDATA data, int count) const
{
    return (int)::GetRegionData((HRGN)m_hObject, (DWORD)count, data);
}

// ---- CDC

CDC::CDC() : m_hDC(NULL), m_hAttribDC(NULL), m_bPrinting(FALSE) {}

CDC::~CDC()
{
    if (m_hDC != NULL && m_bOwnDC)
        DeleteDC();
    delete m_pWrappers;
}

CDC* CDC::FromHandle(HDC dc)
{
    if (t_temps == NULL)
        t_temps = new WrapperCache;
    return t_temps->GetDC(dc);
}

BOOL CDC::Attach(HDC dc)
{
    if (dc == NULL)
        return FALSE;
    if (m_hDC != NULL && m_bOwnDC)
        DeleteDC();
    m_hDC = m_hAttribDC = dc;
    m_bOwnDC = TRUE;
    InterlockedIncrement(&g_liveHandles);
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    if (h != NULL && m_bOwnDC)
        InterlockedDecrement(&g_liveHandles);
    m_hDC = m_hAttribDC = NULL;
    m_bOwnDC = FALSE;
    m_hOrigPen = m_hOrigBrush = m_hOrigFont = m_hOrigBitmap = m_hOrigPalette = NULL;
    return h;
}

void CDC::RestoreOriginals()
{
    if (m_hDC == NULL)
        return;
    // The DC's first objects go back in, so that ours can be deleted once it is gone.
    if (m_hOrigPen)
        ::SelectObject(m_hDC, m_hOrigPen);
    if (m_hOrigBrush)
        ::SelectObject(m_hDC, m_hOrigBrush);
    if (m_hOrigFont)
        ::SelectObject(m_hDC, m_hOrigFont);
    if (m_hOrigBitmap)
        ::SelectObject(m_hDC, m_hOrigBitmap);
    if (m_hOrigPalette)
        ::SelectPalette(m_hDC, (HPALETTE)m_hOrigPalette, TRUE);
    m_hOrigPen = m_hOrigBrush = m_hOrigFont = m_hOrigBitmap = m_hOrigPalette = NULL;
}

BOOL CDC::DeleteDC()
{
    if (m_hDC == NULL)
        return FALSE;
    RestoreOriginals();
    BOOL owned = m_bOwnDC;
    m_bOwnDC = FALSE; // counted below, by the outcome
    HDC h = Detach();
    if (!owned)
        return FALSE;
    if (!::DeleteDC(h))
        return FALSE;
    InterlockedDecrement(&g_liveHandles);
    return TRUE;
}

BOOL CDC::CreateCompatibleDC(CDC* dc) { return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : NULL)); }

BOOL CDC::CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODE* initData)
{
    return Attach(::CreateDCA(driver, device, output, initData));
}

BOOL CDC::CreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODE* initData)
{
    return Attach(::CreateICA(driver, device, output, initData));
}

HGDIOBJ CDC::SelectRemembered(HGDIOBJ object)
{
    if (m_hDC == NULL || object == NULL)
        return NULL;
    HGDIOBJ old = ::SelectObject(m_hDC, object);
    if (old == NULL || old == HGDI_ERROR)
        return NULL;
    HGDIOBJ* first = NULL;
    switch (::GetObjectType(object)) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
        first = &m_hOrigPen;
        break;
    case OBJ_BRUSH:
        first = &m_hOrigBrush;
        break;
    case OBJ_FONT:
        first = &m_hOrigFont;
        break;
    case OBJ_BITMAP:
        first = &m_hOrigBitmap;
        break;
    default:
        break;
    }
    if (first && *first == NULL)
        *first = old;
    return old;
}

template <class T> T* CDC::Wrap(HGDIOBJ object) const
{
    if (object == NULL)
        return NULL;
    if (m_pWrappers == NULL)
        m_pWrappers = new WrapperCache;
    return m_pWrappers->Get<T>(object);
}

CPen* CDC::SelectObject(CPen* pen) { return Wrap<CPen>(SelectRemembered(pen ? pen->m_hObject : NULL)); }
CBrush* CDC::SelectObject(CBrush* brush) { return Wrap<CBrush>(SelectRemembered(brush ? brush->m_hObject : NULL)); }
CFont* CDC::SelectObject(CFont* font) { return Wrap<CFont>(SelectRemembered(font ? font->m_hObject : NULL)); }
CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return Wrap<CBitmap>(SelectRemembered(bitmap ? bitmap->m_hObject : NULL));
}

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    if (object == NULL)
        return NULL;
    if (::GetObjectType(object->m_hObject) == OBJ_REGION)
        return SelectObject(static_cast<CRgn*>(object)) == ERROR ? NULL : object;
    return Wrap<CGdiObject>(SelectRemembered(object->m_hObject));
}

int CDC::SelectObject(CRgn* region) { return region ? (int)(INT_PTR)::SelectObject(m_hDC, region->m_hObject) : ERROR; }

HGDIOBJ CDC::SelectObject(HGDIOBJ object) { return SelectRemembered(object); }

CGdiObject* CDC::SelectStockObject(int index)
{
    HGDIOBJ stock = ::GetStockObject(index);
    return stock ? Wrap<CGdiObject>(SelectRemembered(stock)) : NULL;
}

CPalette* CDC::SelectPalette(CPalette* palette, BOOL forceBackground)
{
    if (m_hDC == NULL || palette == NULL)
        return NULL;
    HPALETTE old = ::SelectPalette(m_hDC, (HPALETTE)palette->m_hObject, forceBackground);
    if (old != NULL && m_hOrigPalette == NULL)
        m_hOrigPalette = old;
    return Wrap<CPalette>(old);
}

CPen* CDC::GetCurrentPen() const { return Wrap<CPen>(::GetCurrentObject(m_hDC, OBJ_PEN)); }
CBrush* CDC::GetCurrentBrush() const { return Wrap<CBrush>(::GetCurrentObject(m_hDC, OBJ_BRUSH)); }
CFont* CDC::GetCurrentFont() const { return Wrap<CFont>(::GetCurrentObject(m_hDC, OBJ_FONT)); }
CBitmap* CDC::GetCurrentBitmap() const { return Wrap<CBitmap>(::GetCurrentObject(m_hDC, OBJ_BITMAP)); }

CPoint CDC::SetBrushOrg(int x, int y)
{
    POINT p = {0, 0};
    ::SetBrushOrgEx(m_hDC, x, y, &p);
    return p;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT p = {0, 0};
    ::SetViewportOrgEx(m_hDC, x, y, &p);
    return p;
}
CPoint CDC::GetViewportOrg() const
{
    POINT p = {0, 0};
    ::GetViewportOrgEx(m_hAttribDC, &p);
    return p;
}
CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    POINT p = {0, 0};
    ::OffsetViewportOrgEx(m_hDC, dx, dy, &p);
    return p;
}
CSize CDC::SetViewportExt(int cx, int cy)
{
    SIZE s = {0, 0};
    ::SetViewportExtEx(m_hDC, cx, cy, &s);
    return s;
}
CSize CDC::GetViewportExt() const
{
    SIZE s = {0, 0};
    ::GetViewportExtEx(m_hAttribDC, &s);
    return s;
}
CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT p = {0, 0};
    ::SetWindowOrgEx(m_hDC, x, y, &p);
    return p;
}
CPoint CDC::GetWindowOrg() const
{
    POINT p = {0, 0};
    ::GetWindowOrgEx(m_hAttribDC, &p);
    return p;
}
CPoint CDC::OffsetWindowOrg(int dx, int dy)
{
    POINT p = {0, 0};
    ::OffsetWindowOrgEx(m_hDC, dx, dy, &p);
    return p;
}
CSize CDC::SetWindowExt(int cx, int cy)
{
    SIZE s = {0, 0};
    ::SetWindowExtEx(m_hDC, cx, cy, &s);
    return s;
}
CSize CDC::GetWindowExt() const
{
    SIZE s = {0, 0};
    ::GetWindowExtEx(m_hAttribDC, &s);
    return s;
}

void CDC::DPtoLP(LPSIZE size) const
{
    POINT p[2] = {{0, 0}, {size->cx, size->cy}};
    ::DPtoLP(m_hAttribDC, p, 2);
    size->cx = p[1].x - p[0].x;
    size->cy = p[1].y - p[0].y;
}

void CDC::LPtoDP(LPSIZE size) const
{
    POINT p[2] = {{0, 0}, {size->cx, size->cy}};
    ::LPtoDP(m_hAttribDC, p, 2);
    size->cx = p[1].x - p[0].x;
    size->cy = p[1].y - p[0].y;
}

int CDC::SelectClipRgn(CRgn* region) { return ::SelectClipRgn(m_hDC, region ? (HRGN)region->m_hObject : NULL); }

int CDC::SelectClipRgn(CRgn* region, int mode)
{
    return ::ExtSelectClipRgn(m_hDC, region ? (HRGN)region->m_hObject : NULL, mode);
}

CPoint CDC::GetCurrentPosition() const
{
    POINT p = {0, 0};
    ::GetCurrentPositionEx(m_hAttribDC, &p);
    return p;
}
CPoint CDC::MoveTo(int x, int y)
{
    POINT p = {0, 0};
    ::MoveToEx(m_hDC, x, y, &p);
    return p;
}

void CDC::FillRect(LPCRECT r, CBrush* brush) { ::FillRect(m_hDC, r, brush ? (HBRUSH)brush->m_hObject : NULL); }

void CDC::FrameRect(LPCRECT r, CBrush* brush) { ::FrameRect(m_hDC, r, brush ? (HBRUSH)brush->m_hObject : NULL); }

void CDC::FillSolidRect(LPCRECT r, COLORREF color)
{
    ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, r, NULL, 0, NULL);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    RECT r = {x, y, x + cx, y + cy};
    FillSolidRect(&r, color);
}

void CDC::Draw3dRect(LPCRECT r, COLORREF topLeft, COLORREF bottomRight)
{
    Draw3dRect(r->left, r->top, r->right - r->left, r->bottom - r->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

BOOL CDC::DrawState(CPoint p, CSize s, HBITMAP bitmap, UINT flags, HBRUSH brush)
{
    return ::DrawStateA(m_hDC, brush, NULL, (LPARAM)bitmap, 0, p.x, p.y, s.cx, s.cy, flags | DST_BITMAP);
}

BOOL CDC::FillRgn(CRgn* region, CBrush* brush)
{
    return ::FillRgn(m_hDC, (HRGN)region->m_hObject, (HBRUSH)brush->m_hObject);
}

BOOL CDC::FrameRgn(CRgn* region, CBrush* brush, int width, int height)
{
    return ::FrameRgn(m_hDC, (HRGN)region->m_hObject, (HBRUSH)brush->m_hObject, width, height);
}

BOOL CDC::InvertRgn(CRgn* region) { return ::InvertRgn(m_hDC, (HRGN)region->m_hObject); }
BOOL CDC::PaintRgn(CRgn* region) { return ::PaintRgn(m_hDC, (HRGN)region->m_hObject); }

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop)
{
    return ::BitBlt(m_hDC, x, y, width, height, src ? src->m_hDC : NULL, xSrc, ySrc, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth, int srcHeight,
                     DWORD rop)
{
    return ::StretchBlt(m_hDC, x, y, width, height, src ? src->m_hDC : NULL, xSrc, ySrc, srcWidth, srcHeight, rop);
}

BOOL CDC::TransparentBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth, int srcHeight,
                         UINT transparentColor)
{
    return ::TransparentBlt(m_hDC, x, y, width, height, src->m_hDC, xSrc, ySrc, srcWidth, srcHeight, transparentColor);
}

BOOL CDC::AlphaBlend(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth, int srcHeight,
                     BLENDFUNCTION blend)
{
    return ::AlphaBlend(m_hDC, x, y, width, height, src->m_hDC, xSrc, ySrc, srcWidth, srcHeight, blend);
}

CSize CDC::GetTextExtent(LPCSTR text, int count) const
{
    SIZE s = {0, 0};
    ::GetTextExtentPoint32A(m_hAttribDC, text, count, &s);
    return s;
}

CSize CDC::GetOutputTextExtent(LPCSTR text, int count) const
{
    SIZE s = {0, 0};
    ::GetTextExtentPoint32A(m_hDC, text, count, &s);
    return s;
}

int CDC::GetTextFace(CString& faceName) const
{
    int n = GetTextFace(LF_FACESIZE, faceName.GetBuffer(LF_FACESIZE));
    faceName.ReleaseBuffer();
    return n;
}

int CDC::StartDoc(LPCSTR docName)
{
    DOCINFOA info = {};
    info.cbSize = sizeof info;
    info.lpszDocName = docName;
    return StartDoc(&info);
}

// ---- window DCs
// The window DCs count as held from the system's hand-out to their release.

void CPaintDC::Init(HWND wnd)
{
    m_hWnd = wnd;
    memset(&m_ps, 0, sizeof m_ps);
    HDC dc = ::BeginPaint(wnd, &m_ps);
    if (dc == NULL)
        AfxThrowResourceException();
    m_hDC = m_hAttribDC = dc;
    InterlockedIncrement(&g_liveHandles);
}

CPaintDC::~CPaintDC()
{
    RestoreOriginals();
    if (m_hDC != NULL) {
        ::EndPaint(m_hWnd, &m_ps);
        InterlockedDecrement(&g_liveHandles);
    }
    Detach();
}

void CClientDC::Init(HWND wnd)
{
    m_hWnd = wnd;
    HDC dc = ::GetDC(wnd);
    if (dc == NULL)
        AfxThrowResourceException();
    m_hDC = m_hAttribDC = dc;
    InterlockedIncrement(&g_liveHandles);
}

CClientDC::~CClientDC()
{
    RestoreOriginals();
    if (m_hDC != NULL && ::ReleaseDC(m_hWnd, m_hDC))
        InterlockedDecrement(&g_liveHandles);
    Detach();
}

void CWindowDC::Init(HWND wnd)
{
    m_hWnd = wnd;
    HDC dc = ::GetWindowDC(wnd);
    if (dc == NULL)
        AfxThrowResourceException();
    m_hDC = m_hAttribDC = dc;
    InterlockedIncrement(&g_liveHandles);
}

CWindowDC::~CWindowDC()
{
    RestoreOriginals();
    if (m_hDC != NULL && ::ReleaseDC(m_hWnd, m_hDC))
        InterlockedDecrement(&g_liveHandles);
    Detach();
}
