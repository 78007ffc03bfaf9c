// The sections of a design file's "CakeData" stream and the image and region streams that
// go with them.  Every writer returns the first failure it meets; every reader reads exactly
// the records its writer wrote for the given file version, checks what it takes before it
// uses it, and fails at the first record it cannot read.
//
// A missing image or region stream is not a failure (older writers left some out); a
// stream that is there but holds no usable image or region is.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <functional>
#include <map>
#include <vector>

#include "fw/fw.h"
#include "model/design/FrameRecord.h"

class CImageLayer;
class CImageLayerList;
class CLayerArray;
class CRegionData;
class CTextItem;
class CTextItemList;

// The stream names of the images and regions (numbered as the sections say).
CString ImageStreamName(int number);         // "Image%d.png", from 1 in list order
CString FrameImageStreamName(int record);    // "Frame%d.png"
CString CanvasClipartStreamName(int record); // "CanvasClipart%d.png"
CString TemplateStreamName(int record);      // "Template%d.png"
CString FrameClipartStreamName(int record);  // "FrameClipart%d.png"
CString BackStreamName(int record);          // "Back%d.png" (older files only)
CString RegionStreamName(int record);        // "Region%d.dat"
// The image fill of a text: the first image-filled text of a frame uses "TextFill%d.png"
// (all older files hold only that name); later ones in the same frame "TextFill%d_%d.png"
// with their number in the frame, counted from 2.
CString TextFillStreamName(int frame, int ordinal);

// --- Images ---------------------------------------------------------------------------------

// What the images read on this thread may cost while the object lives: a number of layers
// and a number of pixels (each image's own, plus the 1000-pixel screen copy every layer
// keeps).  Readers that find one in place refuse what goes beyond it (E_OUTOFMEMORY).
class CImageBudget
{
public:
    CImageBudget(int layers, ULONGLONG pixels);
    ~CImageBudget();
    static CImageBudget* Current();
    bool TakeLayer();
    bool TakePixels(DWORD width, DWORD height);

private:
    CImageBudget(const CImageBudget&) = delete;
    CImageBudget& operator=(const CImageBudget&) = delete;

    CImageBudget* m_outer;
    int m_layers;
    ULONGLONG m_pixels;
};

// Decoding is the costly part of reading a design.  While a CImageDecodeQueue is in place on
// the thread, readers check each image and keep its bytes; Apply decodes them all once the
// records have read cleanly, so a damaged file is refused before any image is decoded.
// Without a queue, images are decoded where they are read.  What an apply step writes into
// must outlive the queue's Apply.
typedef std::function<bool(const BYTE* bytes, size_t size)> ImageApply;

class CImageDecodeQueue
{
public:
    CImageDecodeQueue();
    ~CImageDecodeQueue();
    static CImageDecodeQueue* Current();
    void Add(std::vector<BYTE>& bytes, const ImageApply& apply); // takes the bytes
    // A step without an image, run in its place among the decodes.
    void AddStep(const std::function<void()>& step);
    // Decodes in the order added; E_FAIL at the first image that cannot be used.
    HRESULT Apply();
    void Clear();

private:
    CImageDecodeQueue(const CImageDecodeQueue&) = delete;
    CImageDecodeQueue& operator=(const CImageDecodeQueue&) = delete;

    struct Entry
    {
        std::vector<BYTE> bytes;
        ImageApply apply;
    };
    CImageDecodeQueue* m_outer;
    std::vector<Entry> m_entries;
};

// Reads and checks the named image stream and has `apply` take it (now, or at the queue's
// Apply): STG_E_FILENOTFOUND when the stream is missing, E_FAIL when it holds no usable
// image, E_OUTOFMEMORY beyond the budget.
HRESULT ReadImageInto(IStorage* storage, LPCTSTR name, const ImageApply& apply);
// The same for a stand-alone bitmap: `take` gets a bitmap it does not own.
HRESULT ReadBitmapInto(IStorage* storage, LPCTSTR name, const std::function<bool(Gdiplus::Bitmap*)>& take);

// Encodes the bitmap as PNG into a new stream of that name (an existing stream of the name
// makes the creation fail).  Every GDI+ status is checked.
HRESULT WritePngStream(IStorage* storage, LPCTSTR name, Gdiplus::Bitmap* bitmap,
                       const Gdiplus::EncoderParameters* parameters = NULL);
// The bytes of an image stream after the image check: STG_E_FILENOTFOUND when the stream is
// missing, E_FAIL when it holds no usable image.
HRESULT ReadImageStreamBytes(IStorage* storage, LPCTSTR name, std::vector<BYTE>& bytes);
// A bitmap owned by the caller, independent of the storage; NULL with the reason in *hr.
Gdiplus::Bitmap* ReadImageStream(IStorage* storage, LPCTSTR name, HRESULT* hr);

// --- Image layers (the IMAGE section and the images of frame records) ------------------------

// The eight records of a layer, with its master bitmap as PNG in the named stream (none when
// the layer has no bitmap).
HRESULT WriteImageLayer(IStorage* storage, IStream* records, CImageLayer& layer, LPCTSTR streamName);
// Reads the records of a layer written by a program of `version` and its image stream.
HRESULT ReadImageLayer(IStorage* storage, IStream* records, LPCTSTR version, CImageLayer& layer);
// "IMAGE=%d" and one layer per entry, streams "Image1.png", "Image2.png", ...
HRESULT WriteImageSection(IStorage* storage, IStream* records, CImageLayerList& list);

// --- Text items ------------------------------------------------------------------------------

// Counts image-filled texts per frame while a section is read or written, for the names of
// their fill streams.
class CTextFillNames
{
public:
    // The name for the next image-filled text of `frame`, and the older name to fall back on
    // when reading (empty when there is none).
    void Next(int frame, CString& name, CString& fallback);

private:
    std::map<int, int> m_count;
};

HRESULT WriteTextItem(IStorage* storage, IStream* records, CTextItem& item, CTextFillNames& names);
HRESULT ReadTextItem(IStorage* storage, IStream* records, LPCTSTR version, CTextItem& item, CTextFillNames& names);
// "TEXT=%d" and one entry per text, each carrying its pair's frame index.
HRESULT WriteTextSection(IStorage* storage, IStream* records, CTextItemList& list);

// --- Frame records ---------------------------------------------------------------------------

// "FRAME=%d" and one entry per record, with their image and region streams.
HRESULT WriteFrameSection(IStorage* storage, IStream* records, CLayerArray& layers);

// Where the reader of frame entries puts what it reads.
struct FrameReadTarget
{
    FrameRecord* records; // `count` records, each owning what it points to
    int count;
    // Images that files older than 7.0 kept in a frame entry but that belong to the user's
    // image layers; the reader appends them (owned by the caller afterwards).
    std::vector<CImageLayer*>* looseImages;
    // Records already read (may be NULL): a second entry for one is thrown away.
    std::vector<bool>* seen;
    // Set when an entry named a record outside 0 to count - 1 or one already read (read
    // and thrown away).
    bool indexOutOfRange;
};

// Reads one frame entry of a file of `version`.
HRESULT ReadFrameEntry(IStorage* storage, IStream* records, LPCTSTR version, FrameReadTarget& target);

// Deletes every image and region a record owns and clears its pointers.
void FreeFrameRecordObjects(FrameRecord& record);

// --- Regions ---------------------------------------------------------------------------------

// The bytes of a region stream after the region check: STG_E_FILENOTFOUND when missing,
// E_FAIL when it is not a region description.
HRESULT ReadRegionStream(IStorage* storage, LPCTSTR name, CRegionData& region);
HRESULT WriteRegionStream(IStorage* storage, LPCTSTR name, const CRegionData& region);
