// A design file (".ktb"): a compound file whose "CakeData" stream holds a header and the
// IMAGE, TEXT and FRAME sections, with a "Thumbnail" PNG and one stream per image and
// region.  Three forms are read: "CAKEDATA3" (written here), "CAKEDATA2" (the same header)
// and the oldest "CAKEDATA", whose header is the old layout records.
//
// Reading never touches a design: a file is read completely into a CDesignContent first,
// and only a file that read cleanly is handed over.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <vector>

#include "fw/fw.h"
#include "model/design/FrameRecord.h"
#include "model/paper/PaperLayout.h"

class CImageLayer;
class CImageLayerList;
class CLayerArray;
class CTextItem;
class CTextItemList;

// Caps on what a file may ask the reader to build.
const int kMaxDesignFrames = 10000;
const int kMaxDesignImages = 1000; // image layers of all kinds, frame images included
const int kMaxDesignTexts = 2000;
const size_t kMaxCakeDataBytes = 64u * 1024u * 1024u;
// Pixels that the images of one design may decode to, their screen copies counted.
const ULONGLONG kMaxDesignPixels = 160ull * 1024 * 1024;

// The parts of a design that a file holds.
struct DesignParts
{
    CLayerArray* layers;
    CImageLayerList* images;
    CTextItemList* texts;
    CPaperLayout* layout;
    Gdiplus::Bitmap* sheetImage; // may be NULL: no "Thumbnail" stream then
    int mirror;                  // the print-mirror flag
};

// --- Writing ---------------------------------------------------------------------------------

// "CAKEDATA3=1", the version text, the frame count, the layout line and the mirror flag.
HRESULT WriteDesignHeader(IStream* records, const CPaperLayout& layout, int frameCount, int mirror);
// The sheet image as the PNG stream "Thumbnail" (S_FALSE and no stream without an image or
// without a PNG encoder).
HRESULT WriteThumbnail(IStorage* storage, Gdiplus::Bitmap* sheetImage);
// Everything into a new, empty storage.
HRESULT WriteDesign(IStorage* storage, DesignParts& parts);
// The design into a file: written beside it and put in its place only when complete.
HRESULT SaveDesignFile(LPCTSTR path, DesignParts& parts);

// --- Reading ---------------------------------------------------------------------------------

enum DesignReadResult {
    kDesignRead,       // read cleanly
    kDesignUnreadable, // no file, not a compound file, or no "CakeData"
    kDesignTooOld,     // second or third form older than 7.0
    kDesignDamaged,    // a record, count, index, image or region that cannot be right
};

// A design read from a file and not yet handed to anyone.  Owns everything it holds.
class CDesignContent
{
public:
    CDesignContent();
    ~CDesignContent();
    void Clear();

    CString version; // the file's version text
    bool oldest;     // read from the oldest form
    int mirror;      // the print-mirror flag: the loaded layout's, never the stored value
    CPaperLayout layout;
    std::vector<FrameRecord> frames;
    std::vector<CImageLayer*> images; // the user's layers in list order, frame index set
    std::vector<CTextItem*> texts;    // in list order, frame index set

private:
    CDesignContent(const CDesignContent&) = delete;
    CDesignContent& operator=(const CDesignContent&) = delete;
};

// One key line: the text before the first "=" and the number after it.  False at "END",
// at an empty key (a record without "=" has none) and when no record can be read; `hr` (optional) then tells a record that
// could not be read from one that was read.
bool ReadLine(IStream* records, CString& key, int& value, HRESULT* hr = NULL);

DesignReadResult ReadDesignBytes(const BYTE* data, size_t size, CDesignContent& content);
DesignReadResult ReadDesignFile(LPCTSTR path, CDesignContent& content);

// Hands a read design over: the layout is copied into parts.layout, the frame records,
// layers and texts move into the (emptied) parts, every image is placed in the design
// rectangle, the loaded-file version and the mirror flag are set.  `content` is empty after.
void MoveDesignInto(CDesignContent& content, DesignParts& parts, const CRect& designRect);
