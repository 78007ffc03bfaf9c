// GDI wrappers. Each object owns its handle (not copyable) and deletes it once, in
// DeleteObject or its destructor. Wrappers obtained from FromHandle or returned by
// CDC::SelectObject do not own their handles.
#pragma once
#include "fw/fwobject.h"
#include "fw/fwstring.h"
#include "fw/fwtypes.h"
#include "fw/fwexcept.h"

class CDC;
class CWnd;

class CGdiObject : public CObject
{
    DECLARE_DYNAMIC(CGdiObject)
public:
    CGdiObject() : m_hObject(NULL) {}
    ~CGdiObject() override;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    BOOL Attach(HGDIOBJ object); // takes ownership
    HGDIOBJ Detach();            // gives it up
    // Deletes the owned handle. A wrapper that does not own its handle (stock object,
    // system brush, FromHandle, SelectObject result) only forgets it. FALSE when nothing
    // was deleted.
    BOOL DeleteObject();
    int GetObject(int size, void* buffer) const;
    UINT GetObjectType() const { return m_hObject ? ::GetObjectType(m_hObject) : 0; }
    BOOL CreateStockObject(int index); // a stock object is never deleted
    BOOL UnrealizeObject();

    // A wrapper of the calling thread that does not own the handle; see FwDeleteTempObjects.
    static CGdiObject* FromHandle(HGDIOBJ object);

    HGDIOBJ m_hObject;

protected:
    BOOL m_bOwned = TRUE;
    template <class T> friend T* FwTempGdiObject(HGDIOBJ object);
    friend class CDC;
};

class CPen : public CGdiObject
{
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    CPen(int penStyle, int width, COLORREF color); // throws CResourceException*
    CPen(int penStyle, int width, const LOGBRUSH* brush, int styleCount = 0, const DWORD* styles = NULL);
    BOOL CreatePen(int penStyle, int width, COLORREF color);
    BOOL CreatePen(int penStyle, int width, const LOGBRUSH* brush, int styleCount = 0, const DWORD* styles = NULL);
    BOOL CreatePenIndirect(const LOGPEN* logPen);
    int GetLogPen(LOGPEN* logPen) const { return GetObject(sizeof(LOGPEN), logPen); }
    int GetExtLogPen(EXTLOGPEN* logPen) const { return GetObject(sizeof(EXTLOGPEN), logPen); }
    operator HPEN() const { return (HPEN)m_hObject; }
    static CPen* FromHandle(HPEN pen);
};

class CBitmap;

class CBrush : public CGdiObject
{
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    explicit CBrush(COLORREF color); // throws CResourceException*
    CBrush(int hatchIndex, COLORREF color);
    explicit CBrush(CBitmap* bitmap);
    BOOL CreateSolidBrush(COLORREF color);
    BOOL CreateHatchBrush(int index, COLORREF color);
    BOOL CreatePatternBrush(CBitmap* bitmap);
    BOOL CreateBrushIndirect(const LOGBRUSH* logBrush);
    BOOL CreateDIBPatternBrush(const void* packedDib, UINT usage);
    BOOL CreateSysColorBrush(int index);
    int GetLogBrush(LOGBRUSH* logBrush) const { return GetObject(sizeof(LOGBRUSH), logBrush); }
    operator HBRUSH() const { return (HBRUSH)m_hObject; }
    static CBrush* FromHandle(HBRUSH brush);
};

class CFont : public CGdiObject
{
    DECLARE_DYNAMIC(CFont)
public:
    CFont() = default;
    BOOL CreateFontIndirect(const LOGFONT* logFont);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                    BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, LPCSTR faceName);
    // Height in tenths of a point, converted for dc (the screen when NULL).
    BOOL CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc = NULL);
    BOOL CreatePointFontIndirect(const LOGFONT* logFont, CDC* dc = NULL);
    int GetLogFont(LOGFONT* logFont) const { return GetObject(sizeof(LOGFONT), logFont); }
    operator HFONT() const { return (HFONT)m_hObject; }
    static CFont* FromHandle(HFONT font);
};

class CBitmap : public CGdiObject
{
    DECLARE_DYNAMIC(CBitmap)
public:
    CBitmap() = default;
    BOOL LoadBitmap(UINT id); // from the resource module
    BOOL LoadBitmap(LPCSTR resourceName);
    BOOL LoadOEMBitmap(UINT id);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    BOOL CreateBitmapIndirect(const BITMAP* bitmap);
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    BOOL CreateDiscardableBitmap(CDC* dc, int width, int height);
    int GetBitmap(BITMAP* bitmap) const { return GetObject(sizeof(BITMAP), bitmap); }
    DWORD GetBitmapBits(DWORD count, void* bits) const;
    DWORD SetBitmapBits(DWORD count, const void* bits);
    CSize GetBitmapDimension() const;
    CSize SetBitmapDimension(int width, int height);
    operator HBITMAP() const { return (HBITMAP)m_hObject; }
    static CBitmap* FromHandle(HBITMAP bitmap);
};

class CPalette : public CGdiObject
{
    DECLARE_DYNAMIC(CPalette)
public:
    CPalette() = default;
    BOOL CreatePalette(const LOGPALETTE* logPalette);
    BOOL CreateHalftonePalette(CDC* dc);
    int GetEntryCount() const;
    UINT GetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries) const;
    UINT SetPaletteEntries(UINT start, UINT count, const PALETTEENTRY* entries);
    UINT GetNearestPaletteIndex(COLORREF color) const;
    void AnimatePalette(UINT start, UINT count, const PALETTEENTRY* entries);
    BOOL ResizePalette(UINT count);
    operator HPALETTE() const { return (HPALETTE)m_hObject; }
    static CPalette* FromHandle(HPALETTE palette);
};

class CRgn : public CGdiObject
{
    DECLARE_DYNAMIC(CRgn)
public:
    CRgn() = default;
    BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
    BOOL CreateRectRgnIndirect(LPCRECT rect);
    BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2);
    BOOL CreateEllipticRgnIndirect(LPCRECT rect);
    BOOL CreatePolygonRgn(const POINT* points, int count, int polyFillMode);
    BOOL CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polyCount, int polyFillMode);
    BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3);
    BOOL CreateFromPath(CDC* dc);
    BOOL CreateFromData(const XFORM* xform, int count, const RGNDATA* data);
    void SetRectRgn(int x1, int y1, int x2, int y2);
    void SetRectRgn(LPCRECT rect);
    // This region becomes a combination of two others (RGN_AND, RGN_OR, ...): it must
    // already exist (create it first, e.g. CreateRectRgn(0, 0, 0, 0)).
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);
    int CopyRgn(const CRgn* source);
    BOOL EqualRgn(const CRgn* other) const;
    int OffsetRgn(int x, int y);
    int OffsetRgn(POINT p);
    int GetRgnBox(LPRECT rect) const;
    BOOL PtInRegion(int x, int y) const;
    BOOL PtInRegion(POINT p) const;
    BOOL RectInRegion(LPCRECT rect) const;
    int GetRegionData(LPRGNDATA data, int count) const;
    operator HRGN() const { return (HRGN)m_hObject; }
    static CRgn* FromHandle(HRGN region);
};

// A device context. CreateCompatibleDC/CreateDC/Attach make this object the owner: the DC
// is deleted in DeleteDC or the destructor, after the objects it held at first have been
// selected back.
class CDC : public CObject
{
    DECLARE_DYNAMIC(CDC)
public:
    CDC();
    ~CDC() override;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL Attach(HDC dc);
    HDC Detach();
    BOOL DeleteDC();
    BOOL CreateCompatibleDC(CDC* dc); // NULL: compatible with the screen
    BOOL CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODE* initData);
    BOOL CreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODE* initData);
    virtual void SetAttribDC(HDC dc) { m_hAttribDC = dc; }
    virtual void SetOutputDC(HDC dc) { m_hDC = dc; }
    virtual void ReleaseAttribDC() { m_hAttribDC = NULL; }
    virtual void ReleaseOutputDC() { m_hDC = NULL; }

    // A wrapper of the calling thread that does not own the handle; see FwDeleteTempObjects.
    static CDC* FromHandle(HDC dc);

    BOOL IsPrinting() const { return m_bPrinting; }
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hAttribDC, index); }
    BOOL ResetDC(const DEVMODE* devMode) { return ::ResetDC(m_hDC, devMode) != NULL; }

    // Selection: each returns the object that was selected before (a non-owning wrapper that
    // stays valid while this CDC lives), for selecting it back.
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    CGdiObject* SelectObject(CGdiObject* object);
    int SelectObject(CRgn* region); // region type, as SelectClipRgn
    HGDIOBJ SelectObject(HGDIOBJ object);
    CGdiObject* SelectStockObject(int index);
    CPalette* SelectPalette(CPalette* palette, BOOL forceBackground);
    UINT RealizePalette() { return ::RealizePalette(m_hDC); }
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;

    // Attributes.
    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }
    int SetROP2(int mode) { return ::SetROP2(m_hDC, mode); }
    int GetROP2() const { return ::GetROP2(m_hDC); }
    int SetPolyFillMode(int mode) { return ::SetPolyFillMode(m_hDC, mode); }
    int GetPolyFillMode() const { return ::GetPolyFillMode(m_hDC); }
    int SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }
    int GetStretchBltMode() const { return ::GetStretchBltMode(m_hDC); }
    UINT SetTextAlign(UINT flags) { return ::SetTextAlign(m_hDC, flags); }
    UINT GetTextAlign() const { return ::GetTextAlign(m_hDC); }
    int SetTextCharacterExtra(int extra) { return ::SetTextCharacterExtra(m_hDC, extra); }
    CPoint SetBrushOrg(int x, int y);
    CPoint SetBrushOrg(POINT p) { return SetBrushOrg(p.x, p.y); }
    COLORREF GetNearestColor(COLORREF c) const { return ::GetNearestColor(m_hDC, c); }
    int SetGraphicsMode(int mode) { return ::SetGraphicsMode(m_hDC, mode); }
    BOOL SetWorldTransform(const XFORM* xform) { return ::SetWorldTransform(m_hDC, xform); }
    BOOL ModifyWorldTransform(const XFORM* xform, DWORD mode) { return ::ModifyWorldTransform(m_hDC, xform, mode); }

    // Mapping.
    int SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }
    int GetMapMode() const { return ::GetMapMode(m_hDC); }
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
    CPoint GetViewportOrg() const;
    CPoint OffsetViewportOrg(int dx, int dy);
    CSize SetViewportExt(int cx, int cy);
    CSize SetViewportExt(SIZE s) { return SetViewportExt(s.cx, s.cy); }
    CSize GetViewportExt() const;
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT p) { return SetWindowOrg(p.x, p.y); }
    CPoint GetWindowOrg() const;
    CPoint OffsetWindowOrg(int dx, int dy);
    CSize SetWindowExt(int cx, int cy);
    CSize SetWindowExt(SIZE s) { return SetWindowExt(s.cx, s.cy); }
    CSize GetWindowExt() const;
    void DPtoLP(LPPOINT points, int count = 1) const { ::DPtoLP(m_hAttribDC, points, count); }
    void DPtoLP(LPRECT rect) const { ::DPtoLP(m_hAttribDC, (LPPOINT)rect, 2); }
    void DPtoLP(LPSIZE size) const;
    void LPtoDP(LPPOINT points, int count = 1) const { ::LPtoDP(m_hAttribDC, points, count); }
    void LPtoDP(LPRECT rect) const { ::LPtoDP(m_hAttribDC, (LPPOINT)rect, 2); }
    void LPtoDP(LPSIZE size) const;

    // Clipping and bounds.
    int SelectClipRgn(CRgn* region); // NULL removes the clip region
    int SelectClipRgn(CRgn* region, int mode);
    int GetClipBox(LPRECT rect) const { return ::GetClipBox(m_hDC, rect); }
    int IntersectClipRect(int x1, int y1, int x2, int y2) { return ::IntersectClipRect(m_hDC, x1, y1, x2, y2); }
    int IntersectClipRect(LPCRECT r) { return IntersectClipRect(r->left, r->top, r->right, r->bottom); }
    int ExcludeClipRect(int x1, int y1, int x2, int y2) { return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2); }
    int ExcludeClipRect(LPCRECT r) { return ExcludeClipRect(r->left, r->top, r->right, r->bottom); }
    int OffsetClipRgn(int x, int y) { return ::OffsetClipRgn(m_hDC, x, y); }
    BOOL PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
    BOOL PtVisible(POINT p) const { return PtVisible(p.x, p.y); }
    BOOL RectVisible(LPCRECT r) const { return ::RectVisible(m_hDC, r); }
    UINT SetBoundsRect(LPCRECT bounds, UINT flags) { return ::SetBoundsRect(m_hDC, bounds, flags); }
    UINT GetBoundsRect(LPRECT bounds, UINT flags) { return ::GetBoundsRect(m_hDC, bounds, flags); }

    // Lines and shapes.
    CPoint GetCurrentPosition() const;
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    BOOL Polyline(const POINT* points, int count) { return ::Polyline(m_hDC, points, count); }
    BOOL PolyBezier(const POINT* points, int count) { return ::PolyBezier(m_hDC, points, count); }
    BOOL PolyBezierTo(const POINT* points, int count) { return ::PolyBezierTo(m_hDC, points, count); }
    BOOL Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
    BOOL PolyPolygon(const POINT* points, const INT* counts, int polys)
    {
        return ::PolyPolygon(m_hDC, points, counts, polys);
    }
    BOOL Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
    {
        return ::Arc(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
    }
    BOOL Arc(LPCRECT r, POINT start, POINT end)
    {
        return Arc(r->left, r->top, r->right, r->bottom, start.x, start.y, end.x, end.y);
    }
    BOOL Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
    {
        return ::Pie(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
    }
    BOOL Pie(LPCRECT r, POINT start, POINT end)
    {
        return Pie(r->left, r->top, r->right, r->bottom, start.x, start.y, end.x, end.y);
    }
    BOOL Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
    {
        return ::Chord(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
    }
    BOOL Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
    BOOL Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
    BOOL Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
    BOOL Ellipse(LPCRECT r) { return Ellipse(r->left, r->top, r->right, r->bottom); }
    BOOL RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
    {
        return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
    }
    BOOL RoundRect(LPCRECT r, POINT corner)
    {
        return RoundRect(r->left, r->top, r->right, r->bottom, corner.x, corner.y);
    }
    void FillRect(LPCRECT r, CBrush* brush);
    void FrameRect(LPCRECT r, CBrush* brush);
    void InvertRect(LPCRECT r) { ::InvertRect(m_hDC, r); }
    // Fills with a colour through the background colour (which it leaves changed).
    void FillSolidRect(LPCRECT r, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    // A one-pixel frame: top and left in topLeft, bottom and right in bottomRight.
    void Draw3dRect(LPCRECT r, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    BOOL DrawEdge(LPRECT r, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, r, edge, flags); }
    void DrawFocusRect(LPCRECT r) { ::DrawFocusRect(m_hDC, r); }
    BOOL DrawFrameControl(LPRECT r, UINT type, UINT state) { return ::DrawFrameControl(m_hDC, r, type, state); }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
    BOOL DrawIcon(POINT p, HICON icon) { return DrawIcon(p.x, p.y, icon); }
    BOOL DrawState(CPoint p, CSize s, HBITMAP bitmap, UINT flags, HBRUSH brush = NULL);
    BOOL FillRgn(CRgn* region, CBrush* brush);
    BOOL FrameRgn(CRgn* region, CBrush* brush, int width, int height);
    BOOL InvertRgn(CRgn* region);
    BOOL PaintRgn(CRgn* region);
    BOOL FloodFill(int x, int y, COLORREF color) { return ::FloodFill(m_hDC, x, y, color); }
    BOOL ExtFloodFill(int x, int y, COLORREF color, UINT type) { return ::ExtFloodFill(m_hDC, x, y, color, type); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF GetPixel(POINT p) const { return GetPixel(p.x, p.y); }
    COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }
    COLORREF SetPixel(POINT p, COLORREF c) { return SetPixel(p.x, p.y, c); }
    BOOL SetPixelV(int x, int y, COLORREF c) { return ::SetPixelV(m_hDC, x, y, c); }

    // Paths.
    BOOL BeginPath() { return ::BeginPath(m_hDC); }
    BOOL EndPath() { return ::EndPath(m_hDC); }
    BOOL AbortPath() { return ::AbortPath(m_hDC); }
    BOOL CloseFigure() { return ::CloseFigure(m_hDC); }
    BOOL StrokePath() { return ::StrokePath(m_hDC); }
    BOOL FillPath() { return ::FillPath(m_hDC); }
    BOOL StrokeAndFillPath() { return ::StrokeAndFillPath(m_hDC); }
    BOOL SelectClipPath(int mode) { return ::SelectClipPath(m_hDC, mode); }

    // Bitmaps.
    BOOL BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth, int srcHeight,
                    DWORD rop);
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop) { return ::PatBlt(m_hDC, x, y, width, height, rop); }
    BOOL TransparentBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth, int srcHeight,
                        UINT transparentColor);
    BOOL AlphaBlend(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth, int srcHeight,
                    BLENDFUNCTION blend);

    // Text.
    BOOL TextOut(int x, int y, LPCSTR text, int count) { return ::TextOutA(m_hDC, x, y, text, count); }
    BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text, text.GetLength()); }
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT r, LPCSTR text, UINT count, const INT* dx = NULL)
    {
        return ::ExtTextOutA(m_hDC, x, y, options, r, text, count, dx);
    }
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT r, const CString& text, const INT* dx = NULL)
    {
        return ExtTextOut(x, y, options, r, text, text.GetLength(), dx);
    }
    int DrawText(LPCSTR text, int count, LPRECT r, UINT format) { return ::DrawTextA(m_hDC, text, count, r, format); }
    int DrawText(const CString& text, LPRECT r, UINT format) { return DrawText(text, text.GetLength(), r, format); }
    CSize GetTextExtent(LPCSTR text, int count) const;
    CSize GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }
    CSize GetOutputTextExtent(LPCSTR text, int count) const;
    CSize GetOutputTextExtent(const CString& text) const { return GetOutputTextExtent(text, text.GetLength()); }
    BOOL GetTextMetrics(LPTEXTMETRIC metrics) const { return ::GetTextMetricsA(m_hAttribDC, metrics); }
    BOOL GetOutputTextMetrics(LPTEXTMETRIC metrics) const { return ::GetTextMetricsA(m_hDC, metrics); }
    int GetTextFace(int count, LPSTR faceName) const { return ::GetTextFaceA(m_hAttribDC, count, faceName); }
    int GetTextFace(CString& faceName) const;
    BOOL GetCharWidth(UINT first, UINT last, LPINT widths) const
    {
        return ::GetCharWidthA(m_hAttribDC, first, last, widths);
    }
    BOOL GetCharABCWidths(UINT first, UINT last, LPABC widths) const
    {
        return ::GetCharABCWidthsA(m_hAttribDC, first, last, widths);
    }
    DWORD GetGlyphOutline(UINT ch, UINT format, LPGLYPHMETRICS gm, DWORD size, LPVOID buffer, const MAT2* mat2) const
    {
        return ::GetGlyphOutlineA(m_hAttribDC, ch, format, gm, size, buffer, mat2);
    }
    UINT GetOutlineTextMetrics(UINT size, LPOUTLINETEXTMETRIC metrics) const
    {
        return ::GetOutlineTextMetricsA(m_hAttribDC, size, metrics);
    }

    // Printing.
    int StartDoc(LPDOCINFO docInfo) { return ::StartDocA(m_hDC, docInfo); }
    int StartDoc(LPCSTR docName);
    int StartPage() { return ::StartPage(m_hDC); }
    int EndPage() { return ::EndPage(m_hDC); }
    int EndDoc() { return ::EndDoc(m_hDC); }
    int AbortDoc() { return ::AbortDoc(m_hDC); }
    int SetAbortProc(ABORTPROC proc) { return ::SetAbortProc(m_hDC, proc); }
    int Escape(int escape, int inCount, LPCSTR inData, LPVOID outData)
    {
        return ::Escape(m_hDC, escape, inCount, inData, outData);
    }

    struct WrapperCache; // internal: non-owning wrappers by handle

    HDC m_hDC;       // output
    HDC m_hAttribDC; // attribute queries (the same DC unless a preview sets another)
    BOOL m_bPrinting;

protected:
    // Selects object and returns the previous handle, remembering the DC's original
    // object of that kind so that it can be put back before the DC goes away.
    HGDIOBJ SelectRemembered(HGDIOBJ object);
    void RestoreOriginals();
    template <class T> T* Wrap(HGDIOBJ object) const;

    BOOL m_bOwnDC = FALSE;
    HGDIOBJ m_hOrigPen = NULL;
    HGDIOBJ m_hOrigBrush = NULL;
    HGDIOBJ m_hOrigFont = NULL;
    HGDIOBJ m_hOrigBitmap = NULL;
    HGDIOBJ m_hOrigPalette = NULL;
    mutable WrapperCache* m_pWrappers = NULL; // the non-owning wrappers this DC handed out
};

// Defined by the window layer (fw/fwwin.h): the window's handle, NULL for a NULL window.
HWND FwGetSafeHwnd(const CWnd* wnd);
inline HWND FwHandleOf(HWND wnd) { return wnd; }
template <class W> inline HWND FwHandleOf(W* wnd) { return FwGetSafeHwnd(wnd); }

// The window DCs take a window object (CWnd* or derived; NULL works) or a plain HWND.

// The system's painting DC of a window (BeginPaint/EndPaint).
class CPaintDC : public CDC
{
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* wnd) { Init(FwHandleOf(wnd)); }
    template <class W> explicit CPaintDC(W* wnd) { Init(FwHandleOf(wnd)); }
    ~CPaintDC() override;
    PAINTSTRUCT m_ps;

protected:
    void Init(HWND wnd);
    HWND m_hWnd = NULL;
};

// The client-area DC of a window (GetDC/ReleaseDC); a NULL window gives the screen.
class CClientDC : public CDC
{
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* wnd) { Init(FwHandleOf(wnd)); }
    template <class W> explicit CClientDC(W* wnd) { Init(FwHandleOf(wnd)); }
    ~CClientDC() override;

protected:
    void Init(HWND wnd);
    HWND m_hWnd = NULL;
};

// The whole-window DC (GetWindowDC/ReleaseDC); a NULL window gives the screen.
class CWindowDC : public CDC
{
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* wnd) { Init(FwHandleOf(wnd)); }
    template <class W> explicit CWindowDC(W* wnd) { Init(FwHandleOf(wnd)); }
    ~CWindowDC() override;

protected:
    void Init(HWND wnd);
    HWND m_hWnd = NULL;
};

// GDI objects and DCs held by wrappers right now, all threads (for leak tests): each
// creation or Attach counts one, each successful delete, release or Detach takes it back.
LONG FwGdiLiveHandles();

// Frees the calling thread's temporary wrappers from FromHandle (the window layer calls
// it when the message queue goes idle; pointers from FromHandle must not be kept).
// Does nothing while the thread's temporary maps are locked.
void FwDeleteTempObjects();
// Keeps the thread's temporary wrappers alive across a nested message loop. Unlocking
// the last lock frees them when deleteTemps is TRUE; returns TRUE when that last lock
// was released.
void AfxLockTempMaps();
BOOL AfxUnlockTempMaps(BOOL deleteTemps = TRUE);
