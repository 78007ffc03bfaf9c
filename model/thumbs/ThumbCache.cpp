#include "model/thumbs/ThumbCache.h"

#include "base/Globals.h"
#include "model/design/ImageLayer.h"
#include "model/gfx/ImageEncoders.h"
#include "model/ktb/CompoundCheck.h"
#include "model/ktb/DesignSections.h"
#include "model/ktb/DesignStorage.h"
#include "model/ktb/ImageCheck.h"
#include "model/thumbs/CachedJpeg.h"
#include "model/thumbs/ThumbSink.h"

#include <algorithm>
#include <functional>
#include <string.h>

using namespace Gdiplus;

namespace {

CString Extension(const CString& name)
{
    const int dot = name.ReverseFind('.');
    return dot < 0 ? CString() : name.Mid(dot);
}

// The image as a JPEG of the given quality, in memory, within the cache's size bound.
bool EncodeJpeg(Bitmap* image, int quality, std::vector<BYTE>& bytes)
{
    return image != nullptr && EncodeImage(image, L"image/jpeg", quality, bytes) &&
           bytes.size() <= (size_t)CThumbCache::kMaxCachedImageBytes;
}

// A large bitmap reduced by averaging whole blocks of pixels to about twice `side` on its
// longer side, so that the final, filtered scaling reads a small image: drawing a photograph
// of millions of pixels straight down to a thumbnail costs more than decoding it.  NULL
// when the source is small enough already or cannot be read.
std::unique_ptr<Bitmap> Reduce(Image* source, int side)
{
    if (source->GetType() != ImageTypeBitmap)
        return nullptr;
    Bitmap* bitmap = static_cast<Bitmap*>(source);
    const UINT w = bitmap->GetWidth(), h = bitmap->GetHeight();
    const UINT longer = w > h ? w : h;
    const UINT factor = longer / (2u * (UINT)side);
    if (factor < 2)
        return nullptr;
    const UINT rw = (w + factor - 1) / factor, rh = (h + factor - 1) / factor;
    // Colours with alpha are averaged premultiplied, so clear pixels add no colour.
    const bool alpha = (bitmap->GetPixelFormat() & PixelFormatAlpha) != 0;
    const PixelFormat format = alpha ? PixelFormat32bppPARGB : PixelFormat24bppRGB;
    const UINT bytes = alpha ? 4 : 3;
    std::unique_ptr<Bitmap> reduced(new Bitmap((INT)rw, (INT)rh, format));
    if (reduced->GetLastStatus() != Ok)
        return nullptr;
    Rect all(0, 0, (INT)w, (INT)h), small(0, 0, (INT)rw, (INT)rh);
    BitmapData from, to;
    if (bitmap->LockBits(&all, ImageLockModeRead, format, &from) != Ok)
        return nullptr;
    bool ok = false;
    if (reduced->LockBits(&small, ImageLockModeWrite, format, &to) == Ok) {
        // Block x of the reduced image covers source columns [x * w / rw, (x + 1) * w / rw).
        std::vector<UINT> column(w);
        for (UINT x = 0; x < rw; ++x)
            for (UINT sx = (UINT)((ULONGLONG)x * w / rw); sx < (UINT)((ULONGLONG)(x + 1) * w / rw); ++sx)
                column[sx] = x;
        std::vector<UINT> sums((size_t)rw * bytes), counts(rw);
        for (UINT y = 0; y < rh; ++y) {
            const UINT top = (UINT)((ULONGLONG)y * h / rh), bottom = (UINT)((ULONGLONG)(y + 1) * h / rh);
            std::fill(sums.begin(), sums.end(), 0u);
            std::fill(counts.begin(), counts.end(), 0u);
            for (UINT sy = top; sy < bottom; ++sy) {
                const BYTE* row = (const BYTE*)from.Scan0 + (INT_PTR)sy * from.Stride;
                for (UINT sx = 0; sx < w; ++sx, row += bytes) {
                    UINT* sum = &sums[(size_t)column[sx] * bytes];
                    for (UINT c = 0; c < bytes; ++c)
                        sum[c] += row[c];
                    ++counts[column[sx]];
                }
            }
            BYTE* out = (BYTE*)to.Scan0 + (INT_PTR)y * to.Stride;
            for (UINT x = 0; x < rw; ++x)
                for (UINT c = 0; c < bytes; ++c)
                    out[x * bytes + c] =
                        (BYTE)((sums[(size_t)x * bytes + c] + counts[x] / 2) / (counts[x] ? counts[x] : 1));
        }
        reduced->UnlockBits(&to);
        ok = true;
    }
    bitmap->UnlockBits(&from);
    if (!ok)
        return nullptr;
    return reduced;
}

} // namespace

CThumbCache::CThumbCache() : m_bTemplate(0) {}

CThumbCache::~CThumbCache() {}

CString CThumbCache::FileName(LPCTSTR path)
{
    const CString full(path);
    return full.Mid(full.ReverseFind('\\') + 1);
}

CString CThumbCache::StampName(LPCTSTR path) { return FileName(path) + ".dat"; }

CString CThumbCache::StampText(const CTime& written) { return written.Format("%y:%m:%d:%H:%M:%S"); }

std::vector<BYTE> CThumbCache::StampRecord(const CString& text)
{
    const CStringW wide(text);
    const DWORD length = (DWORD)(2 * (wide.GetLength() + 1));
    std::vector<BYTE> record(4 + length, 0);
    memcpy(&record[0], &length, 4); // little-endian on every target
    memcpy(&record[4], (LPCWSTR)wide, 2 * (size_t)wide.GetLength());
    return record;
}

BOOL CThumbCache::OpenOrCreate(LPCTSTR folder, bool create)
{
    Close();
    CString base(folder);
    base.TrimRight('\\');
    m_path.Format("%s\\thumbs.pst", (LPCTSTR)base);
    m_com = EnsureCom();
    if (!m_com.Usable())
        return FALSE;
    const CStringW wide(m_path);
    HRESULT hr;
    if (create) {
        hr = StgCreateDocfile(wide, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, m_storage.Put());
    } else {
        // The platform's storage code trusts the file (a looping sector chain hangs it): the
        // whole file is checked first.  A file held by another list or program cannot be read
        // here and is not opened either.
        ByteVector bytes;
        hr = ReadFileBytes(m_path, bytes, kMaxCacheFileBytes);
        if (SUCCEEDED(hr) && !CheckCompoundFile(bytes.empty() ? nullptr : &bytes[0], bytes.size()))
            hr = STG_E_INVALIDHEADER;
        if (SUCCEEDED(hr))
            hr = StgOpenStorage(wide, nullptr, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, nullptr, 0, m_storage.Put());
    }
    if (FAILED(hr) || m_storage == nullptr) {
        m_storage.Reset();
        return FALSE;
    }
    return TRUE;
}

BOOL CThumbCache::Open(LPCTSTR folder) { return OpenOrCreate(folder, false); }

BOOL CThumbCache::Create(LPCTSTR folder) { return OpenOrCreate(folder, true); }

BOOL CThumbCache::Close()
{
    m_storage.Reset();
    m_com = ComScope();
    return TRUE;
}

void CThumbCache::RemoveEntry(LPCTSTR imageName, LPCTSTR stampName)
{
    m_storage->DestroyElement(CStringW(imageName));
    m_storage->DestroyElement(CStringW(stampName));
}

BOOL CThumbCache::FetchThumbnail(LPCTSTR path, const CTime& written, CThumbSink* list)
{
    const CString imageName = FileName(path);
    const CString stampName = StampName(path);
    if (m_storage == nullptr || !IsUsableStreamName(imageName) || !IsUsableStreamName(stampName))
        return FALSE;
    // Fresh only when the stamp is byte for byte the record written for this time: a stored
    // length is compared, never used to size anything.
    const std::vector<BYTE> expected = StampRecord(StampText(written));
    ByteVector stamp;
    const HRESULT hr = ReadStreamBytes(m_storage, stampName, expected.size() + 1, stamp);
    if (FAILED(hr) || stamp != expected) {
        RemoveEntry(imageName, stampName);
        return FALSE;
    }
    if (!ReadCachedImage(imageName))
        return FALSE;
    Show(path, list);
    return TRUE;
}

BOOL CThumbCache::ReadCachedImage(LPCTSTR name)
{
    ByteVector bytes;
    if (FAILED(ReadStreamBytes(m_storage, name, kMaxCachedImageBytes, bytes)) || bytes.empty() ||
        !CheckCachedJpeg(&bytes[0], bytes.size(), kThumbSide))
        return FALSE;
    std::unique_ptr<Bitmap> image(DecodeImageBytes(&bytes[0], bytes.size()));
    if (!image)
        return FALSE;
    m_bTemplate = 0; // a cached template is already darkened
    SetScaledImage(image.get());
    return m_working != nullptr;
}

BOOL CThumbCache::StoreThumbnail(LPCTSTR path, const CTime& written, CThumbSink* list)
{
    const CString imageName = FileName(path);
    const CString stampName = StampName(path);
    const bool cached = m_storage != nullptr && IsUsableStreamName(imageName) && IsUsableStreamName(stampName);
    if (cached) // a new entry replaces whatever was there, whole or in part
        RemoveEntry(imageName, stampName);
    if (!LoadSourceImage(path))
        return FALSE; // no entry: the file is tried again next time
    if (cached && !WriteEntry(imageName, stampName, StampText(written)))
        RemoveEntry(imageName, stampName);
    Show(path, list);
    return TRUE;
}

bool CThumbCache::WriteEntry(LPCTSTR imageName, LPCTSTR stampName, const CString& text)
{
    std::vector<BYTE> jpeg;
    // What is stored must pass the check it meets when it is read back.
    if (!EncodeJpeg(m_working.get(), kJpegQuality, jpeg) || !CheckCachedJpeg(&jpeg[0], jpeg.size(), kThumbSide))
        return false;
    if (FAILED(WriteStreamBytes(m_storage, imageName, &jpeg[0], jpeg.size(), false)))
        return false;
    const std::vector<BYTE> record = StampRecord(text);
    return SUCCEEDED(WriteStreamBytes(m_storage, stampName, &record[0], record.size(), false));
}

void CThumbCache::Show(LPCTSTR path, CThumbSink* list)
{
    if (list != nullptr && m_working)
        list->MakeThumbnail(m_working.get(), FileName(path), path);
    m_working.reset();
}

bool ReadStoredThumbnail(LPCTSTR path, const std::function<void(Gdiplus::Image*)>& use)
{
    // The design file's road: the whole file checked before the storage code sees it,
    // the stream capped and checked as a PNG before it is decoded.
    ByteVector bytes;
    ComOwner<IStorage> storage;
    if (SUCCEEDED(ReadFileBytes(path, bytes, kMaxCompoundFileBytes)) && !bytes.empty() &&
        SUCCEEDED(OpenStorageOnBytes(&bytes[0], bytes.size(), storage.Put()))) {
        std::unique_ptr<Bitmap> image(ReadImageStream(storage, "Thumbnail", nullptr));
        if (image) {
            use(image.get());
            return true;
        }
    }
    return false;
}

bool ReadImageFile(LPCTSTR path, const std::function<void(Gdiplus::Image*)>& use)
{
    ByteVector bytes;
    ComOwner<IStream> stream;
    if (SUCCEEDED(ReadFileBytes(path, bytes, kMaxImageStreamBytes)) && !bytes.empty() &&
        SUCCEEDED(CreateMemoryStream(&bytes[0], bytes.size(), stream.Put()))) {
        // Used while the stream lives: the decoder may read it lazily.
        std::unique_ptr<Bitmap> image(Bitmap::FromStream(stream, FALSE));
        if (image && image->GetLastStatus() == Ok) {
            use(image.get());
            return true;
        }
    }
    return false;
}

bool ReadThumbnailSource(LPCTSTR path, const std::function<void(Gdiplus::Image*)>& use)
{
    const CString extension = Extension(CThumbCache::FileName(path));
    if (extension.CompareNoCase(".ktb") == 0 || extension.CompareNoCase(".pap") == 0)
        return ReadStoredThumbnail(path, use);
    return ReadImageFile(path, use);
}

BOOL CThumbCache::LoadSourceImage(LPCTSTR path)
{
    m_working.reset();
    m_bTemplate = Extension(FileName(path)).CompareNoCase(".tpl") == 0;
    ReadThumbnailSource(path, [this](Image* image) { SetScaledImage(image); });
    m_bTemplate = 0;
    return m_working != nullptr;
}

void CThumbCache::SetScaledImage(Image* source)
{
    m_working.reset();
    const bool darken = m_bTemplate != 0;
    m_bTemplate = 0;
    const UINT w = source->GetWidth(), h = source->GetHeight();
    if (w == 0 || h == 0)
        return;
    const std::unique_ptr<Bitmap> reduced = Reduce(source, kThumbSide);
    Image* drawn = reduced ? reduced.get() : source;
    const float scale = (float)kThumbSide / (float)(w > h ? w : h);
    // Cut toward zero; a sliver keeps one pixel.
    int width = (int)((float)w * scale), height = (int)((float)h * scale);
    width = width < 1 ? 1 : width;
    height = height < 1 ? 1 : height;
    std::unique_ptr<Bitmap> scaled(new Bitmap(width, height, PixelFormat24bppRGB));
    if (scaled->GetLastStatus() != Ok)
        return;
    Graphics graphics(scaled.get());
    graphics.Clear(Color(255, 255, 255, 255));
    graphics.SetInterpolationMode(InterpolationModeHighQualityBicubic);
    graphics.SetPixelOffsetMode(PixelOffsetModeHalf);
    ImageAttributes attributes;
    // Edge pixels repeat the image instead of fading into nothing.
    attributes.SetWrapMode(WrapModeTileFlipXY);
    if (darken)
        SetDimMatrix(&attributes);
    if (graphics.DrawImage(drawn, Rect(0, 0, width, height), 0, 0, (INT)drawn->GetWidth(), (INT)drawn->GetHeight(),
                           UnitPixel, &attributes) != Ok)
        return;
    m_working = std::move(scaled);
}
