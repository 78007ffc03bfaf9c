// Frame records: defaults, reset, ownership of the records' images and region, copying.
#include "model/design/LayerArray.h"
#include "model/design/ImageLayer.h"
#include "model/design/RegionData.h"

using namespace Gdiplus;

void SetFrameRecordDefaults(FrameRecord& r)
{
    r.bgRadial = 0;
    r.bgLinear = 0;
    r.contentFlag = 0;
    r.bgColour1 = r.bgColour2 = r.bgColour3 = r.bgColour4 = r.bgColour5 = 0xFFFFFF;
    r.bgOpacity = 1.0f;
    r.bgAngle = 0;
    r.edgeMargin = 0.0f;
    r.bgTileScale = 0.1f;
    r.bgTileRotation = 0;
    r.bgTileTransparency = 100;
    r.frameStyle = 0;
    r.frameFillStyle = 1;
    r.frameFillAngle = 0;
    r.frameSize = 1.0f;
    r.frameOutlineWidth = 0.5f;
    r.frameIntensity = 1.0f;
    r.frameColour1 = r.frameColour2 = r.frameColour3 = r.frameColour4 = r.frameColour5 = 0xFFFFFF;
    r.frameOutlineColour = 0;
    r.frameOpacity = 1.0f;
    r.frameSpareFloat = 1.0f;
    r.frameSpareInt = 0;
    r.frameImageScale = 0.1f;
    r.frameImageOffset = 0.0f;
    r.frameImageRotation = 0;
    r.frameImageTransparency = 100;
}

CLayerArray::CLayerArray()
    : layoutOverlay(NULL), flag(0), current(0), designRect(0, 0, 0, 0), printableWidth(0), printableHeight(0),
      frameToolEnabled(0)
{
    Reset(1);
    frameToolEnabled = 0;
}

CLayerArray::~CLayerArray() { RemoveAllRecords(); }

void CLayerArray::Reset(int count)
{
    frameToolEnabled = 0;
    RemoveAllRecords();
    records.SetSize(count);
    for (int i = 0; i < records.GetSize(); i++) {
        FrameRecord& r = records[i];
        r.region = NULL;
        r.frameImage = NULL;
        r.backgroundImage = NULL;
        r.frameFillImage = NULL;
        SetFrameRecordDefaults(r);
    }
    current = 0;
    printableWidth = printableHeight = 0;
    designRect = CRect(0, 0, 0, 0);
}

void CLayerArray::RemoveAllRecords()
{
    delete layoutOverlay;
    layoutOverlay = NULL;
    for (int i = 0; i < records.GetSize(); i++) {
        FrameRecord& r = records[i];
        delete r.frameImage;
        delete r.templateImage;
        delete r.frameFillImage;
        delete r.backgroundImage;
        delete r.region;
        r.frameImage = r.templateImage = r.frameFillImage = r.backgroundImage = NULL;
        r.region = NULL;
    }
    records.RemoveAll();
    current = 0;
}

void CLayerArray::SetRecordRects(CRect rect, int width, int height)
{
    for (int i = 0; i < records.GetSize(); i++) {
        FrameRecord& r = records[i];
        if (r.frameImage)
            r.frameImage->SetPlacement(rect, width, height);
        if (r.templateImage)
            r.templateImage->SetPlacement(rect, width, height);
    }
    designRect = rect;
    printableWidth = width;
    printableHeight = height;
}

bool CLayerArray::RecordHasContent(int index)
{
    FrameRecord& r = records[index];
    return r.bgLinear == 1 || r.contentFlag == 1 || r.frameImage != NULL || r.templateImage != NULL;
}

CImageLayer* CLayerArray::CopyImage(const CImageLayer* source, int frameIndex)
{
    if (!source)
        return NULL;
    CImageLayer* copy = new CImageLayer;
    source->CopyTo(copy);
    copy->m_frameIndex = frameIndex;
    return copy;
}

void CLayerArray::CopyRecord(int source, int destination)
{
    // A cell past the records (a preview of a larger sheet) has no record to read or fill.
    const int count = GetCount();
    if (source < 0 || destination < 0 || source >= count || destination >= count)
        return;
    // A record copied onto itself would only lose its frame and template images (they
    // go before the source is read): keep them; the source ends current as after any copy.
    if (source == destination) {
        current = source;
        return;
    }
    current = destination;
    DeleteFrameImage();
    DeleteTemplateImage();
    FrameRecord& s = records[source];
    FrameRecord& d = records[destination];
    d.frameImage = CopyImage(s.frameImage, destination);
    d.templateImage = CopyImage(s.templateImage, destination);

    d.bgColour1 = s.bgColour1;
    d.bgColour2 = s.bgColour2;
    d.bgColour3 = s.bgColour3;
    d.bgColour4 = s.bgColour4;
    d.bgColour5 = s.bgColour5;
    d.bgRadial = s.bgRadial;
    d.bgOpacity = s.bgOpacity;
    d.bgLinear = s.bgLinear;
    d.bgAngle = s.bgAngle;
    d.edgeMargin = s.edgeMargin;
    d.contentFlag = s.contentFlag;
    d.bgTileScale = s.bgTileScale;
    d.bgTileRotation = s.bgTileRotation;

    SetBackgroundImage(CopyImage(s.backgroundImage, destination));

    d.bgTileTransparency = s.bgTileTransparency;
    d.frameStyle = s.frameStyle;
    d.frameFillStyle = s.frameFillStyle;
    d.frameFillAngle = s.frameFillAngle;
    d.frameSize = s.frameSize;
    d.frameOutlineWidth = s.frameOutlineWidth;
    d.frameColour1 = s.frameColour1;
    d.frameColour2 = s.frameColour2;
    d.frameColour3 = s.frameColour3;
    d.frameColour4 = s.frameColour4;
    d.frameColour5 = s.frameColour5;
    d.frameOutlineColour = s.frameOutlineColour;
    d.frameIntensity = s.frameIntensity;
    d.frameOpacity = s.frameOpacity;
    d.frameSpareFloat = s.frameSpareFloat;
    d.frameSpareInt = s.frameSpareInt;
    d.frameImageScale = s.frameImageScale;
    d.frameImageRotation = s.frameImageRotation;
    d.frameImageOffset = s.frameImageOffset;
    d.frameImageTransparency = s.frameImageTransparency;
    // The destination keeps its own region and frame fill image.
    current = source;
}

bool CLayerArray::DeleteLayoutOverlay()
{
    if (!layoutOverlay)
        return false;
    delete layoutOverlay;
    layoutOverlay = NULL;
    return true;
}

void CLayerArray::SetLayoutOverlay(CImageLayer* overlay)
{
    if (overlay != layoutOverlay)
        delete layoutOverlay;
    layoutOverlay = overlay;
}

void CLayerArray::SetFrameImage(CImageLayer* image)
{
    if (image)
        records[image->m_frameIndex].frameImage = image;
}

void CLayerArray::SetTemplateImage(CImageLayer* image)
{
    if (image)
        records[image->m_frameIndex].templateImage = image;
}

bool CLayerArray::DeleteFrameImage()
{
    FrameRecord& r = Cur();
    if (!r.frameImage)
        return false;
    delete r.frameImage;
    r.frameImage = NULL;
    return true;
}

bool CLayerArray::DeleteTemplateImage()
{
    FrameRecord& r = Cur();
    if (!r.templateImage)
        return false;
    delete r.templateImage;
    r.templateImage = NULL;
    return true;
}

bool CLayerArray::DeleteRegion()
{
    FrameRecord& r = Cur();
    if (!r.region)
        return false;
    delete r.region;
    r.region = NULL;
    return true;
}

void CLayerArray::SetBackgroundImage(CImageLayer* image)
{
    FrameRecord& r = Cur();
    if (r.backgroundImage != image)
        delete r.backgroundImage;
    r.backgroundImage = image;
}

void CLayerArray::SetFrameFillImage(CImageLayer* image)
{
    FrameRecord& r = Cur();
    if (r.frameFillImage != image)
        delete r.frameFillImage;
    r.frameFillImage = image;
}

void CLayerArray::SetRegion(CRegionData* region)
{
    if (Cur().region == region)
        return;
    DeleteRegion();
    Cur().region = region;
}

bool CLayerArray::GetRegionRgn(int left, int top, int right, int bottom, CRgn* out)
{
    if (!out)
        return false;
    out->DeleteObject();
    if (Cur().region)
        return Cur().region->CreateRegion(CRect(left, top, right, bottom), out) != FALSE;
    out->CreateRectRgn(left, top, right, bottom);
    return false;
}

Bitmap* CloneBitmapArgb(Bitmap* source) { return CopyBitmapPixels(source); }

float StepTowardNearer(float step, float value, float low, float high)
{
    return value - low >= high - value ? value + step : value - step;
}
