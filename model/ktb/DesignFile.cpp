#include "model/ktb/DesignFile.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

#include "base/ComOwner.h"
#include "model/ktb/CompoundCheck.h"
#include "model/ktb/DesignSections.h"
#include "model/ktb/DesignStorage.h"
#include "model/ktb/DesignVersion.h"
#include "model/design/ImageLayer.h"
#include "model/design/ImageLayerList.h"
#include "model/design/LayerArray.h"
#include "model/paper/PaperGlobals.h"
#include "base/RecordIo.h"
#include "model/design/TextItem.h"
#include "model/design/TextItemList.h"
#include "model/gfx/ImageEncoders.h"
#include "base/VersionText.h"
#include "base/Globals.h"

using namespace Gdiplus;

// --- Writing ---------------------------------------------------------------------------------

HRESULT WriteDesignHeader(IStream* records, const CPaperLayout& layout, int frameCount, int mirror)
{
    CRecordWriter out(records);
    out.Key("CAKEDATA3", 1);
    out.Text(GetWriterDesignVersion());
    out.I4(frameCount);
    if (out.Ok())
        out.Check(layout.SaveToStream(records));
    out.I4(mirror ? 1 : 0);
    return out.Result();
}

HRESULT WriteThumbnail(IStorage* storage, Bitmap* sheetImage)
{
    if (sheetImage == NULL)
        return S_FALSE;
    if (!HasImageEncoder(L"image/png"))
        return S_FALSE; // nothing to encode with: the thumbnail is only a preview
    return WritePngStream(storage, "Thumbnail", sheetImage);
}

HRESULT WriteDesign(IStorage* storage, DesignParts& parts)
{
    if (storage == NULL || parts.layers == NULL || parts.images == NULL || parts.texts == NULL || parts.layout == NULL)
        return E_POINTER;
    HRESULT hr = WriteThumbnail(storage, parts.sheetImage);
    if (FAILED(hr))
        return hr;
    ComOwner<IStream> records;
    hr = storage->CreateStream(L"CakeData", STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, records.Put());
    if (FAILED(hr))
        return hr;
    CRecordWriter out(records);
    out.Check(WriteDesignHeader(records, *parts.layout, parts.layers->GetCount(), parts.mirror));
    if (out.Ok())
        out.Check(WriteImageSection(storage, records, *parts.images));
    if (out.Ok())
        out.Check(WriteTextSection(storage, records, *parts.texts));
    if (out.Ok())
        out.Check(WriteFrameSection(storage, records, *parts.layers));
    out.Key("END", 0);
    return out.Result();
}

HRESULT SaveDesignFile(LPCTSTR path, DesignParts& parts)
{
    CDesignFileWriter writer;
    HRESULT hr = writer.Begin(path);
    if (FAILED(hr))
        return hr;
    hr = WriteDesign(writer.GetStorage(), parts);
    if (FAILED(hr))
        return hr; // the writer removes its temporary file; the target is untouched
    return writer.Commit();
}

// --- Reading ---------------------------------------------------------------------------------

CDesignContent::CDesignContent() : oldest(false), mirror(0) {}

CDesignContent::~CDesignContent() { Clear(); }

void CDesignContent::Clear()
{
    for (FrameRecord& r : frames)
        FreeFrameRecordObjects(r);
    std::vector<FrameRecord>().swap(frames);
    for (CImageLayer* layer : images)
        delete layer;
    std::vector<CImageLayer*>().swap(images);
    for (CTextItem* item : texts)
        delete item;
    std::vector<CTextItem*>().swap(texts);
    version.Empty();
    oldest = false;
    mirror = 0;
}

bool ReadLine(IStream* records, CString& key, int& value, HRESULT* hr)
{
    key.Empty();
    value = 0;
    CString text;
    HRESULT read = ReadBstrRecord(records, text);
    if (hr)
        *hr = read;
    if (FAILED(read))
        return false;
    // A record without "=" is no key line: it leaves the key empty and so ends the reading,
    // as an empty record and the end of the stream do.
    const int equals = text.Find('=');
    if (equals < 0)
        return false;
    key = text.Left(equals);
    // Out of the int range reads as the nearest end: the section caps refuse it.
    long n = strtol((LPCTSTR)text + equals + 1, NULL, 10);
    value = (int)(n > INT_MAX ? INT_MAX : n < INT_MIN ? INT_MIN : n);
    return !key.IsEmpty() && key != "END";
}

namespace {

ULONGLONG BytesLeft(IStream* stream)
{
    STATSTG stat = {};
    LARGE_INTEGER zero = {};
    ULARGE_INTEGER pos = {};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(stream->Seek(zero, STREAM_SEEK_CUR, &pos)))
        return 0;
    return stat.cbSize.QuadPart > pos.QuadPart ? stat.cbSize.QuadPart - pos.QuadPart : 0;
}

class CDesignReader
{
public:
    CDesignReader(IStorage* storage, IStream* records, CDesignContent& content)
        : m_storage(storage), m_records(records), m_content(content), m_haveHeader(false)
    {}
    DesignReadResult Run();

private:
    DesignReadResult ReadHeaderV2();
    DesignReadResult ReadHeaderV1();
    void StartDesign(int frameCount);

    IStorage* m_storage;
    IStream* m_records;
    CDesignContent& m_content;
    bool m_haveHeader;
    std::vector<bool> m_seenFrames;
    CImageDecodeQueue m_images;
};

void CDesignReader::StartDesign(int frameCount)
{
    // A second header in one stream starts the design afresh, as a fresh open would.
    for (FrameRecord& r : m_content.frames)
        FreeFrameRecordObjects(r);
    for (CImageLayer* layer : m_content.images)
        delete layer;
    m_content.images.clear();
    for (CTextItem* item : m_content.texts)
        delete item;
    m_content.texts.clear();
    FrameRecord blank;
    memset(&blank, 0, sizeof blank);
    SetFrameRecordDefaults(blank);
    m_content.frames.assign((size_t)frameCount, blank);
    m_seenFrames.assign((size_t)frameCount, false);
    m_images.Clear();
    m_haveHeader = true;
}

DesignReadResult CDesignReader::ReadHeaderV2()
{
    CRecordReader in(m_records);
    const CString version = in.Text();
    if (!in.Ok())
        return kDesignDamaged;
    if (!IsVersionAtLeast(version, "7.0"))
        return kDesignTooOld;
    const LONG frames = in.I4();
    if (!in.Ok() || frames < 1 || frames > kMaxDesignFrames)
        return kDesignDamaged;
    if (!m_content.layout.LoadFromStream(m_records, version))
        return kDesignDamaged;
    // The stored print-mirror flag is read past and has no lasting effect: the loaded
    // layout decides, its series flag marking the layouts printed mirrored.
    in.Low16();
    if (!in.Ok())
        return kDesignDamaged;
    StartDesign((int)frames);
    m_content.version = version;
    m_content.oldest = false;
    m_content.mirror = m_content.layout.IsSeries() ? 1 : 0;
    return kDesignRead;
}

DesignReadResult CDesignReader::ReadHeaderV1()
{
    CString version;
    const int frames = m_content.layout.ReadFromDesign(m_records, version);
    if (frames < 1 || frames > kMaxDesignFrames)
        return kDesignDamaged;
    StartDesign(frames);
    m_content.version = version;
    m_content.oldest = true;
    m_content.mirror = 0;
    return kDesignRead;
}

DesignReadResult CDesignReader::Run()
{
    CImageBudget budget(kMaxDesignImages, kMaxDesignPixels);
    CTextFillNames fillNames;
    bool outOfRange = false;
    CString key;
    int value = 0;
    HRESULT lineRead = S_OK;
    ULONGLONG leftBeforeLine = 0;
    while ((leftBeforeLine = BytesLeft(m_records), ReadLine(m_records, key, value, &lineRead))) {
        if (key == "CAKEDATA" || key == "CAKEDATA2" || key == "CAKEDATA3") {
            if (value < 1)
                return kDesignDamaged;
            DesignReadResult r = key == "CAKEDATA" ? ReadHeaderV1() : ReadHeaderV2();
            if (r != kDesignRead)
                return r;
            fillNames = CTextFillNames();
            continue;
        }
        if (key != "IMAGE" && key != "TEXT" && key != "FRAME")
            continue; // a key this program does not know: its count only counted idle rounds
        // A section before any header is not a design this program wrote.
        if (!m_haveHeader)
            return kDesignUnreadable;
        if (value < 0)
            return kDesignDamaged;
        const LPCTSTR version = m_content.version;
        if (key == "IMAGE") {
            if (value > kMaxDesignImages)
                return kDesignDamaged;
            for (int i = 0; i < value; ++i) {
                CImageLayer* layer = new CImageLayer();
                HRESULT hr = ReadImageLayer(m_storage, m_records, version, *layer);
                if (FAILED(hr)) {
                    delete layer;
                    return kDesignDamaged;
                }
                m_content.images.push_back(layer);
            }
        } else if (key == "TEXT") {
            if (value > kMaxDesignTexts || (int)m_content.texts.size() + value > kMaxDesignTexts)
                return kDesignDamaged;
            for (int i = 0; i < value; ++i) {
                CTextItem* item = new CTextItem();
                HRESULT hr = ReadTextItem(m_storage, m_records, version, *item, fillNames);
                if (FAILED(hr)) {
                    delete item;
                    return kDesignDamaged;
                }
                m_content.texts.push_back(item);
            }
        } else {
            if (value > kMaxDesignFrames)
                return kDesignDamaged;
            FrameReadTarget target;
            target.records = m_content.frames.empty() ? NULL : &m_content.frames[0];
            target.count = (int)m_content.frames.size();
            target.looseImages = &m_content.images;
            target.seen = &m_seenFrames;
            target.indexOutOfRange = false;
            for (int i = 0; i < value; ++i) {
                if (FAILED(ReadFrameEntry(m_storage, m_records, version, target)))
                    return kDesignDamaged;
            }
            outOfRange = outOfRange || target.indexOutOfRange;
        }
    }
    if (!m_haveHeader)
        return kDesignUnreadable;
    // The stream may end without "END" between two records, but not inside one.
    if (FAILED(lineRead) && leftBeforeLine > 0)
        return kDesignDamaged;
    // Every entry was read, but one named a record the design does not have.
    if (outOfRange)
        return kDesignDamaged;
    // The records are sound: now the images are decoded.
    return SUCCEEDED(m_images.Apply()) ? kDesignRead : kDesignDamaged;
}

} // namespace

DesignReadResult ReadDesignBytes(const BYTE* data, size_t size, CDesignContent& content)
{
    content.Clear();
    content.layout.CopyFrom(*GetPaperLayout());
    ComOwner<IStorage> storage;
    if (FAILED(OpenStorageOnBytes(data, size, storage.Put())))
        return kDesignUnreadable;
    std::vector<BYTE> bytes;
    if (FAILED(ReadStreamBytes(storage, "CakeData", kMaxCakeDataBytes, bytes)))
        return kDesignUnreadable;
    ComOwner<IStream> records;
    if (FAILED(CreateMemoryStream(bytes.empty() ? NULL : &bytes[0], bytes.size(), records.Put())))
        return kDesignUnreadable;
    DesignReadResult result;
    try {
        CDesignReader reader(storage, records, content);
        result = reader.Run();
    } catch (const std::bad_alloc&) {
        result = kDesignDamaged;
    }
    if (result != kDesignRead)
        content.Clear();
    return result;
}

DesignReadResult ReadDesignFile(LPCTSTR path, CDesignContent& content)
{
    content.Clear();
    std::vector<BYTE> file;
    if (FAILED(ReadFileBytes(path, file, kMaxCompoundFileBytes)))
        return kDesignUnreadable;
    return ReadDesignBytes(file.empty() ? NULL : &file[0], file.size(), content);
}

void MoveDesignInto(CDesignContent& content, DesignParts& parts, const CRect& designRect)
{
    parts.layout->CopyFrom(content.layout);
    const CSize area = parts.layout->GetPrintableRect();

    CLayerArray& layers = *parts.layers;
    layers.Reset((int)content.frames.size());
    for (size_t k = 0; k < content.frames.size(); ++k) {
        FrameRecord& from = content.frames[k];
        for (CImageLayer* image : {from.backgroundImage, from.frameFillImage})
            if (image)
                image->SetPlacement(designRect, area.cx, area.cy);
        layers.GetAt((int)k) = from;
        memset(&from, 0, sizeof from); // the array owns what the record points to now
    }
    content.frames.clear();
    layers.SetRecordRects(designRect, area.cx, area.cy); // frame and template images

    parts.images->RemoveAll();
    for (CImageLayer* layer : content.images) {
        layer->SetPlacement(designRect, area.cx, area.cy);
        parts.images->Add(layer);
    }
    content.images.clear();
    parts.texts->RemoveAll();
    for (CTextItem* item : content.texts)
        parts.texts->AddPair(item);
    content.texts.clear();

    SetLoadedDesignVersion(content.version);
    SetGlobalValueA(content.mirror);
    parts.mirror = content.mirror;

    // Files from 7.5 on show the layout's template over the design.
    const int templateBitmap = parts.layout->GetTemplateBitmap();
    if (IsVersionAtLeast(content.version, "7.5") && templateBitmap != 0 && layers.GetLayoutOverlay() == NULL) {
        CImageLayer* overlay = new CImageLayer();
        overlay->SetPlacement(designRect, area.cx, area.cy);
        if (overlay->LoadMaskFromResource((UINT)templateBitmap))
            layers.SetLayoutOverlay(overlay);
        else
            delete overlay;
    }
    content.Clear();
}
