// The frame records of a design, one per design area, and which one is current.
// Everything that edits or draws "the" background or frame works on the current record.
#pragma once

#include "fw/fw.h"
#include "model/design/FrameRecord.h"

#include <vector>
#include <objidl.h>
#include <gdiplus.h>

class CFrostwellDoc;

// Growable array of plain frame records: growing zero-fills the new records, shrinking
// drops records without touching what they point to.
class CLayerContainer
{
public:
    int GetSize() const { return (int)m_records.size(); }
    void SetSize(int count)
    {
        if (count < 0)
            count = 0;
        m_records.resize((size_t)count, FrameRecord()); // value-initialised: all zero
    }
    void RemoveAll() { std::vector<FrameRecord>().swap(m_records); }
    FrameRecord& ElementAt(int index) { return m_records[(size_t)index]; }
    const FrameRecord& ElementAt(int index) const { return m_records[(size_t)index]; }
    FrameRecord& operator[](int index) { return ElementAt(index); }
    FrameRecord* GetData() { return m_records.empty() ? NULL : &m_records[0]; }

private:
    std::vector<FrameRecord> m_records;
};

class CLayerArray
{
public:
    CLayerArray();
    virtual ~CLayerArray();

    // Array operations.
    void Reset(int count);
    void RemoveAllRecords();
    int GetCount() const { return records.GetSize(); }
    FrameRecord& GetAt(int index) { return records[index]; }
    void SetCurrent(int index) { current = index; }
    int GetCurrent() const { return current; }
    void SetRecordRects(CRect rect, int printableWidth, int printableHeight);
    bool RecordHasContent(int index);
    // Nothing happens unless both records exist.
    void CopyRecord(int source, int destination);
    bool DeleteLayoutOverlay();
    CImageLayer* GetLayoutOverlay() const { return layoutOverlay; }
    // Takes ownership; the previous overlay is deleted.
    void SetLayoutOverlay(CImageLayer* overlay);
    CRect GetDesignRect() const { return designRect; }
    int GetPrintableWidth() const { return printableWidth; }
    int GetPrintableHeight() const { return printableHeight; }

    // Images and region of the current record (SetFrameImage/SetTemplateImage: of the
    // record named by the image's frame index).
    CImageLayer* GetFrameImage() { return Cur().frameImage; }
    void SetFrameImage(CImageLayer* image);
    bool HasFrameImage() { return Cur().frameImage != NULL; }
    bool DeleteFrameImage();
    CImageLayer* GetTemplateImage() { return Cur().templateImage; }
    void SetTemplateImage(CImageLayer* image);
    bool HasTemplateImage() { return Cur().templateImage != NULL; }
    bool DeleteTemplateImage();
    CImageLayer* GetBackgroundImage() { return Cur().backgroundImage; }
    void SetBackgroundImage(CImageLayer* image);
    bool HasBackgroundImage() { return Cur().backgroundImage != NULL; }
    CImageLayer* GetFrameFillImage() { return Cur().frameFillImage; }
    void SetFrameFillImage(CImageLayer* image);
    bool HasFrameFillImage() { return Cur().frameFillImage != NULL; }
    void SetRegion(CRegionData* region);
    bool DeleteRegion();
    bool GetRegionRgn(int left, int top, int right, int bottom, CRgn* out);

    BOOL IsFrameToolEnabled() const { return frameToolEnabled; }
    void SetFrameToolEnabled(BYTE on) { frameToolEnabled = on; }

    // Field accessors of the current record.
    int GetBgRadial() { return Cur().bgRadial; }
    void SetBgRadial(int v) { Cur().bgRadial = v; }
    int GetBgLinear() { return Cur().bgLinear; }
    void SetBgLinear(int v) { Cur().bgLinear = v; }
    COLORREF GetBgColour1() { return Cur().bgColour1; }
    COLORREF GetBgColour2() { return Cur().bgColour2; }
    COLORREF GetBgColour3() { return Cur().bgColour3; }
    COLORREF GetBgColour4() { return Cur().bgColour4; }
    COLORREF GetBgColour5() { return Cur().bgColour5; }
    void SetBgColour1(COLORREF c) { Cur().bgColour1 = c; }
    void SetBgColour2(COLORREF c) { Cur().bgColour2 = c; }
    void SetBgColour3(COLORREF c) { Cur().bgColour3 = c; }
    void SetBgColour4(COLORREF c) { Cur().bgColour4 = c; }
    void SetBgColour5(COLORREF c) { Cur().bgColour5 = c; }
    float GetBgOpacity() { return Cur().bgOpacity; }
    void SetBgOpacity(float v) { Cur().bgOpacity = v; }
    int GetBgAngle() { return Cur().bgAngle; }
    void SetBgAngle(int degrees) { Cur().bgAngle = degrees; }
    float GetEdgeMargin() { return Cur().edgeMargin; }
    void SetEdgeMargin(float inches) { Cur().edgeMargin = inches; }
    float GetBgTileScale() { return Cur().bgTileScale; }
    void SetBgTileScale(float v) { Cur().bgTileScale = v; }
    int GetBgTileRotation() { return Cur().bgTileRotation; }
    void SetBgTileRotation(int v) { Cur().bgTileRotation = v; }
    int GetBgTileTransparency() { return Cur().bgTileTransparency; }
    void SetBgTileTransparency(int v) { Cur().bgTileTransparency = v; }
    int GetFrameStyle() { return Cur().frameStyle; }
    void SetFrameStyle(int v) { Cur().frameStyle = v; }
    int GetFrameFillStyle() { return Cur().frameFillStyle; }
    void SetFrameFillStyle(int v) { Cur().frameFillStyle = v; }
    int GetFrameFillAngle() { return Cur().frameFillAngle; }
    void SetFrameFillAngle(int v) { Cur().frameFillAngle = v; }
    float GetFrameSize() { return Cur().frameSize; }
    void SetFrameSize(float v) { Cur().frameSize = v; }
    float GetFrameOutlineWidth() { return Cur().frameOutlineWidth; }
    void SetFrameOutlineWidth(float v) { Cur().frameOutlineWidth = v; }
    float GetFrameIntensity() { return Cur().frameIntensity; }
    void SetFrameIntensity(float v) { Cur().frameIntensity = v; }
    COLORREF GetFrameColour1() { return Cur().frameColour1; }
    COLORREF GetFrameColour2() { return Cur().frameColour2; }
    COLORREF GetFrameColour3() { return Cur().frameColour3; }
    COLORREF GetFrameColour4() { return Cur().frameColour4; }
    COLORREF GetFrameColour5() { return Cur().frameColour5; }
    void SetFrameColour1(COLORREF c) { Cur().frameColour1 = c; }
    void SetFrameColour2(COLORREF c) { Cur().frameColour2 = c; }
    void SetFrameColour3(COLORREF c) { Cur().frameColour3 = c; }
    void SetFrameColour4(COLORREF c) { Cur().frameColour4 = c; }
    void SetFrameColour5(COLORREF c) { Cur().frameColour5 = c; }
    COLORREF GetFrameOutlineColour() { return Cur().frameOutlineColour; }
    void SetFrameOutlineColour(COLORREF c) { Cur().frameOutlineColour = c; }
    float GetFrameOpacity() { return Cur().frameOpacity; }
    void SetFrameOpacity(float v) { Cur().frameOpacity = v; }
    void SetFrameSpareFloat(float v) { Cur().frameSpareFloat = v; }
    void SetFrameSpareInt(int v) { Cur().frameSpareInt = v; }
    float GetFrameImageScale() { return Cur().frameImageScale; }
    void SetFrameImageScale(float v) { Cur().frameImageScale = v; }
    float GetFrameImageOffset() { return Cur().frameImageOffset; }
    void SetFrameImageOffset(float v) { Cur().frameImageOffset = v; }
    int GetFrameImageRotation() { return Cur().frameImageRotation; }
    void SetFrameImageRotation(int v) { Cur().frameImageRotation = v; }
    int GetFrameImageTransparency() { return Cur().frameImageTransparency; }
    void SetFrameImageTransparency(int v) { Cur().frameImageTransparency = v; }

    // Drawing: into graphics whose page unit is the inch and whose origin is the design
    // area's top-left corner (the caller clips to the item outline).
    void DrawBackground(Gdiplus::Graphics* g, BYTE round, BYTE ignored);
    void DrawFrames(Gdiplus::Graphics* g, BYTE round, Gdiplus::PointF ignoredOffset, int ignoredAngle);
    void DrawFrameImage(Gdiplus::Graphics* g, Gdiplus::PointF offset, int rotation);
    void DrawTemplateImage(Gdiplus::Graphics* g, Gdiplus::PointF offset, BYTE dimmed);
    void DrawLayoutOverlay(Gdiplus::Graphics* g, Gdiplus::PointF offset, int rotation, BYTE dimmed);
    // Straight onto a device context over the design rectangle (device pixels): the
    // current record's background colours 1 and 2 as a gradient at a fixed 45 degrees,
    // and a one-pixel black outline of the item (an ellipse when round).  Nothing for an
    // empty rectangle.
    void FillGradientOnDC(HDC dc);
    void DrawOutlineOnDC(HDC dc, BYTE round);

    // FRAME section of the design file (defined with the design file).
    void Save(IStorage* storage, IStream* cakeData);
    void Load(IStorage* storage, IStream* cakeData, CFrostwellDoc* doc);

private:
    CLayerArray(const CLayerArray&) = delete;
    CLayerArray& operator=(const CLayerArray&) = delete;

    FrameRecord& Cur() { return records[current]; }
    static CImageLayer* CopyImage(const CImageLayer* source, int frameIndex);

    CLayerContainer records;
    CImageLayer* layoutOverlay;
    BYTE flag;
    int current;
    CRect designRect;
    int printableWidth; // hundredths of an inch
    int printableHeight;
    BYTE frameToolEnabled;
};

// A 32-bit ARGB copy of the whole bitmap, owned by the caller; NULL for NULL or when
// the copy fails.
Gdiplus::Bitmap* CloneBitmapArgb(Gdiplus::Bitmap* source);

// value + step when value is in the upper half of [low, high], else value - step.
float StepTowardNearer(float step, float value, float low, float high);
