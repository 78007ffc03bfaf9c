#include "model/gfx/ImageEncoders.h"

#include "base/ComOwner.h"
#include "base/Globals.h"

#include <memory>

using namespace Gdiplus;

namespace {

// Quality as the one encoder parameter; none when negative.
struct QualityParameter
{
    explicit QualityParameter(int quality) : value((ULONG)(quality < 0 ? 0 : quality > 100 ? 100 : quality))
    {
        parameters.Count = 1;
        parameters.Parameter[0].Guid = EncoderQuality;
        parameters.Parameter[0].Type = EncoderParameterValueTypeLong;
        parameters.Parameter[0].NumberOfValues = 1;
        parameters.Parameter[0].Value = &value;
    }
    ULONG value;
    EncoderParameters parameters;
};

} // namespace

bool HasImageEncoder(const WCHAR* mime) { return GetEncoderClsid(mime, nullptr) >= 0; }

bool SaveImageToStream(Image* image, IStream* stream, const WCHAR* mime, int quality)
{
    QualityParameter q(quality);
    return SaveImageToStreamWith(image, stream, mime, quality < 0 ? nullptr : &q.parameters);
}

bool SaveImageToStreamWith(Image* image, IStream* stream, const WCHAR* mime, const EncoderParameters* parameters)
{
    CLSID encoder;
    if (image == nullptr || stream == nullptr || GetEncoderClsid(mime, &encoder) < 0)
        return false;
    ULARGE_INTEGER start = {};
    LARGE_INTEGER zero = {};
    if (FAILED(stream->Seek(zero, STREAM_SEEK_CUR, &start)))
        return false;
    if (image->Save(stream, &encoder, parameters) != Ok)
        return false;
    ULARGE_INTEGER end = {};
    return SUCCEEDED(stream->Seek(zero, STREAM_SEEK_CUR, &end)) && end.QuadPart > start.QuadPart;
}

bool EncodeImage(Image* image, const WCHAR* mime, int quality, std::vector<BYTE>& bytes)
{
    ComOwner<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put())))
        return false;
    if (!SaveImageToStream(image, stream, mime, quality))
        return false;
    STATSTG stat = {};
    HGLOBAL memory = nullptr;
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(GetHGlobalFromStream(stream, &memory)) ||
        stat.cbSize.QuadPart == 0 || stat.cbSize.QuadPart > 0x7FFFFFFF)
        return false;
    const void* data = GlobalLock(memory);
    if (data == nullptr)
        return false;
    bytes.assign((const BYTE*)data, (const BYTE*)data + (size_t)stat.cbSize.QuadPart);
    GlobalUnlock(memory);
    return true;
}

bool SaveImageToFile(Image* image, LPCWSTR path, const WCHAR* mime, int quality)
{
    // Encoded in memory first: a failing encoder must not leave a truncated file.
    std::vector<BYTE> bytes;
    if (path == nullptr || !EncodeImage(image, mime, quality, bytes))
        return false;
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    if (!ok)
        DeleteFileW(path);
    return ok;
}

Bitmap* BitmapFromHbitmap(HBITMAP source)
{
    if (source == nullptr || GetObjectType(source) != OBJ_BITMAP)
        return nullptr;
    std::unique_ptr<Bitmap> read(Bitmap::FromHBITMAP(source, nullptr));
    if (!read || read->GetLastStatus() != Ok)
        return nullptr;
    const INT w = (INT)read->GetWidth(), h = (INT)read->GetHeight();
    Bitmap* copy = read->Clone(0, 0, w, h, PixelFormat24bppRGB);
    if (copy != nullptr && copy->GetLastStatus() != Ok) {
        delete copy;
        return nullptr;
    }
    return copy;
}

HBITMAP HbitmapFromBitmap(Bitmap* image, Color background)
{
    HBITMAP handle = nullptr;
    if (image == nullptr || image->GetHBITMAP(background, &handle) != Ok)
        return nullptr;
    return handle;
}
