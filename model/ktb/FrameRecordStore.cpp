// The stored form of frame records: the FRAME section of "CakeData", one entry per record,
// with the record's images and region in streams named by the record's index.  Values that
// later versions added are read only from files of those versions.
#include "model/ktb/DesignSections.h"

#include <string.h>

#include "model/design/ImageLayer.h"
#include "model/design/LayerArray.h"
#include "base/RecordIo.h"
#include "model/design/RegionData.h"
#include "base/VersionText.h"

namespace {

void Replace(CImageLayer*& slot, CImageLayer* image)
{
    if (slot != image)
        delete slot;
    slot = image;
}

// A flag and, when set, the image's records and stream.
void WriteImageSlot(CRecordWriter& out, IStorage* storage, IStream* records, CImageLayer* image, int record,
                    const CString& name)
{
    out.Bool(image != NULL);
    if (image && out.Ok()) {
        image->m_frameIndex = record;
        out.Check(WriteImageLayer(storage, records, *image, name));
    }
}

// Reads the layer that follows a set image flag; NULL (with the reason in `in`) when it fails.
CImageLayer* ReadImageSlot(CRecordReader& in, IStorage* storage, IStream* records, LPCTSTR version)
{
    CImageLayer* image = new CImageLayer();
    in.Check(ReadImageLayer(storage, records, version, *image));
    if (!in.Ok()) {
        delete image;
        return NULL;
    }
    return image;
}

// A record that an entry with an index outside the array is read into and then dropped.
struct ScratchRecord
{
    ScratchRecord()
    {
        memset(&record, 0, sizeof record);
        SetFrameRecordDefaults(record);
    }
    ~ScratchRecord() { FreeFrameRecordObjects(record); }
    FrameRecord record;
};

} // namespace

void FreeFrameRecordObjects(FrameRecord& record)
{
    delete record.region;
    delete record.frameImage;
    delete record.templateImage;
    delete record.backgroundImage;
    delete record.frameFillImage;
    record.region = NULL;
    record.frameImage = NULL;
    record.templateImage = NULL;
    record.backgroundImage = NULL;
    record.frameFillImage = NULL;
}

HRESULT WriteFrameSection(IStorage* storage, IStream* records, CLayerArray& layers)
{
    CRecordWriter out(records);
    const int count = layers.GetCount();
    out.Key("FRAME", count);
    for (int k = 0; k < count && out.Ok(); ++k) {
        FrameRecord& r = layers.GetAt(k);
        out.I4(k);
        out.I4((LONG)r.bgColour1);
        out.R4(r.edgeMargin);
        out.I4((LONG)r.bgColour2);
        out.I4(r.bgLinear);
        out.I4(r.bgAngle);
        WriteImageSlot(out, storage, records, r.frameImage, k, FrameImageStreamName(k));
        const bool region = r.region != NULL && r.region->GetSize() > 0;
        out.Bool(region);
        if (region && out.Ok())
            out.Check(WriteRegionStream(storage, RegionStreamName(k), *r.region));
        WriteImageSlot(out, storage, records, r.backgroundImage, k, CanvasClipartStreamName(k));
        out.R4(r.bgTileScale);
        out.I4(r.bgTileRotation);
        out.I4(r.bgTileTransparency);
        WriteImageSlot(out, storage, records, r.templateImage, k, TemplateStreamName(k));
        out.I4(r.frameStyle);
        out.I4(r.frameFillStyle);
        out.I4(r.frameFillAngle);
        out.R4(r.frameSize);
        out.R4(r.frameOutlineWidth);
        out.I4((LONG)r.frameColour1);
        out.I4((LONG)r.frameColour2);
        out.I4((LONG)r.frameColour3);
        out.I4((LONG)r.frameColour4);
        out.I4((LONG)r.frameColour5);
        out.I4((LONG)r.frameOutlineColour);
        out.R4(r.frameIntensity);
        out.R4(r.frameOpacity);
        out.R4(r.frameSpareFloat);
        out.I4(r.frameSpareInt);
        out.R4(r.frameImageScale);
        out.I4(r.frameImageRotation);
        out.R4(r.frameImageOffset);
        out.I4(r.frameImageTransparency);
        WriteImageSlot(out, storage, records, r.frameFillImage, k, FrameClipartStreamName(k));
        out.I4((LONG)r.bgColour3);
        out.I4((LONG)r.bgColour4);
        out.I4((LONG)r.bgColour5);
        out.R4(r.bgOpacity);
        out.I4(r.bgRadial);
    }
    return out.Result();
}

HRESULT ReadFrameEntry(IStorage* storage, IStream* records, LPCTSTR version, FrameReadTarget& target)
{
    CRecordReader in(records);
    const LONG k = in.I4();
    if (!in.Ok())
        return in.Result();
    ScratchRecord scratch;
    // Each record is written once: an index outside the array, or one seen before, is
    // damage; its entry is read into a scratch record to stay in step, then dropped.
    bool inRange = k >= 0 && k < target.count && target.records != NULL;
    if (inRange && target.seen) {
        if ((*target.seen)[(size_t)k])
            inRange = false;
        else
            (*target.seen)[(size_t)k] = true;
    }
    if (!inRange)
        target.indexOutOfRange = true;
    FrameRecord& r = inRange ? target.records[k] : scratch.record;
    const bool v501 = IsVersionAtLeast(version, "5.01");
    const bool v60 = IsVersionAtLeast(version, "6.0");
    const bool v63 = IsVersionAtLeast(version, "6.3");
    const bool v70 = IsVersionAtLeast(version, "7.0");

    r.bgColour1 = (COLORREF)in.I4();
    r.edgeMargin = in.R4();
    if (v501) {
        r.bgColour2 = (COLORREF)in.I4();
        r.bgLinear = in.Low16();
        r.bgAngle = in.I4();
    }

    // First slot: the frame image.  Files older than 7.0 kept one of the user's layers
    // here, fitted to the area.
    if (in.Bool()) {
        CImageLayer* image = ReadImageSlot(in, storage, records, version);
        if (!image)
            return in.Result();
        if (v70) {
            image->m_frameIndex = (int)k;
            Replace(r.frameImage, image);
        } else {
            image->m_fitToArea = true;
            if (inRange && target.looseImages)
                target.looseImages->push_back(image);
            else
                delete image;
        }
    }

    if (in.Bool()) {
        CRegionData* region = new CRegionData();
        HRESULT hr = ReadRegionStream(storage, RegionStreamName((int)k), *region);
        if (hr == S_OK) {
            delete r.region;
            r.region = region;
        } else {
            delete region;
            if (hr != STG_E_FILENOTFOUND)
                return hr;
        }
    }

    if (v70) {
        // Third slot: the background clip-art.
        if (in.Bool()) {
            CImageLayer* image = ReadImageSlot(in, storage, records, version);
            if (!image)
                return in.Result();
            image->m_frameIndex = (int)k;
            Replace(r.backgroundImage, image);
        }
    } else if (v60) {
        // Older files kept the frame image as a bare PNG stream.
        if (in.Bool()) {
            if (CImageBudget::Current() && !CImageBudget::Current()->TakeLayer())
                return E_OUTOFMEMORY;
            CImageLayer* image = new CImageLayer();
            image->m_frameIndex = (int)k;
            HRESULT hr = ReadBitmapInto(storage, BackStreamName((int)k), [image](Gdiplus::Bitmap* bitmap) {
                image->SetBitmap(bitmap);
                return image->HasBitmap();
            });
            if (FAILED(hr)) {
                delete image;
                if (hr != STG_E_FILENOTFOUND)
                    return hr;
            } else {
                Replace(r.frameImage, image);
            }
        }
    }
    if (!in.Ok())
        return in.Result();

    if (v60) {
        r.bgTileScale = in.R4();
        r.bgTileRotation = in.I4();
        r.bgTileTransparency = in.I4();
    }
    if (v63 && in.Bool()) {
        CImageLayer* image = ReadImageSlot(in, storage, records, version);
        if (!image)
            return in.Result();
        image->m_frameIndex = (int)k;
        // Dimmed once its image is in (building the image's thumbnail clears the flag).
        if (CImageDecodeQueue* queue = CImageDecodeQueue::Current())
            queue->AddStep([image]() { image->m_dim = true; });
        else
            image->m_dim = true;
        Replace(r.templateImage, image);
    }
    if (v70) {
        r.frameStyle = in.I4();
        r.frameFillStyle = in.I4();
        r.frameFillAngle = in.I4();
        r.frameSize = in.R4();
        r.frameOutlineWidth = in.R4();
        r.frameColour1 = (COLORREF)in.I4();
        r.frameColour2 = (COLORREF)in.I4();
        r.frameColour3 = (COLORREF)in.I4();
        r.frameColour4 = (COLORREF)in.I4();
        r.frameColour5 = (COLORREF)in.I4();
        r.frameOutlineColour = (COLORREF)in.I4();
        r.frameIntensity = in.R4();
        r.frameOpacity = in.R4();
        r.frameSpareFloat = in.R4();
        r.frameSpareInt = in.I4();
        r.frameImageScale = in.R4();
        r.frameImageRotation = in.I4();
        r.frameImageOffset = in.R4();
        r.frameImageTransparency = in.I4();
        if (in.Bool()) {
            CImageLayer* image = ReadImageSlot(in, storage, records, version);
            if (!image)
                return in.Result();
            image->m_frameIndex = (int)k;
            Replace(r.frameFillImage, image);
        }
        r.bgColour3 = (COLORREF)in.I4();
        r.bgColour4 = (COLORREF)in.I4();
        r.bgColour5 = (COLORREF)in.I4();
        r.bgOpacity = in.R4();
        r.bgRadial = in.Low16();
    }
    return in.Result();
}

void CLayerArray::Save(IStorage* storage, IStream* cakeData) { WriteFrameSection(storage, cakeData, *this); }
