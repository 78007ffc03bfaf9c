// The stored form of image layers: eight records in "CakeData" and the master bitmap as a
// PNG stream beside them; and the IMAGE section of the user's layers.
#include "model/ktb/DesignSections.h"

#include "model/ktb/DesignVersion.h"
#include "model/design/ImageLayer.h"
#include "model/design/ImageLayerList.h"
#include "base/RecordIo.h"
#include "base/VersionText.h"

HRESULT WriteImageLayer(IStorage* storage, IStream* records, CImageLayer& layer, LPCTSTR streamName)
{
    CRecordWriter out(records);
    out.R4(layer.m_scale);
    out.R4(layer.m_angle);
    out.R8(layer.m_centreX);
    out.R8(layer.m_centreY);
    out.I4(layer.m_frameIndex);
    out.Bool(layer.m_fitToArea);
    out.Bstr(streamName);
    // A layer whose image never arrived keeps its records; its stream stays missing, as
    // the reader allows.
    if (out.Ok() && layer.HasBitmap())
        out.Check(WritePngStream(storage, streamName, layer.GetMasterBitmap()));
    out.I4(layer.m_transparency);
    return out.Result();
}

HRESULT ReadImageLayer(IStorage* storage, IStream* records, LPCTSTR version, CImageLayer& layer)
{
    if (CImageBudget::Current() && !CImageBudget::Current()->TakeLayer())
        return E_OUTOFMEMORY;
    CRecordReader in(records);
    const float scale = in.R4();
    const float angle = in.R4();
    const double centreX = in.R8();
    const double centreY = in.R8();
    const LONG frame = in.I4();
    const bool fit = in.Bool();
    const CString name = in.Bstr();
    if (!in.Ok())
        return in.Result();
    layer.m_scale = scale;
    layer.m_angle = angle;
    layer.m_centreX = centreX;
    layer.m_centreY = centreY;
    layer.m_frameIndex = frame;
    layer.m_fitToArea = fit;

    CImageLayer* target = &layer;
    HRESULT hr = ReadImageInto(
        storage, name, [target](const BYTE* bytes, size_t size) { return target->LoadFromMemory(bytes, size); });
    if (FAILED(hr) && hr != STG_E_FILENOTFOUND)
        return hr;
    layer.m_filePath.Empty();
    if (IsVersionAtLeast(version, "6.0"))
        layer.m_transparency = in.I4();
    return in.Result();
}

HRESULT WriteImageSection(IStorage* storage, IStream* records, CImageLayerList& list)
{
    CRecordWriter out(records);
    out.Key("IMAGE", list.GetCount());
    int number = 1;
    for (POSITION pos = list.GetHeadPosition(); pos && out.Ok();) {
        CImageLayerPair pair = list.GetNext(pos);
        pair.layer->m_frameIndex = pair.frame;
        out.Check(WriteImageLayer(storage, records, *pair.layer, ImageStreamName(number++)));
    }
    return out.Result();
}

void CImageLayer::Save(IStorage* storage, IStream* recordStream, LPCTSTR streamName)
{
    WriteImageLayer(storage, recordStream, *this, streamName);
}

void CImageLayer::Load(IStorage* storage, IStream* recordStream)
{
    ReadImageLayer(storage, recordStream, GetLoadedDesignVersion(), *this);
}

void CImageLayerList::Save(IStorage* storage, IStream* recordStream)
{
    WriteImageSection(storage, recordStream, *this);
}
