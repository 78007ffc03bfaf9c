// Image streams of design files: names, PNG encoding with every status checked, and reading
// that checks an image before it is decoded and copies it out of the storage.
#include "model/ktb/DesignSections.h"

#include "base/Globals.h"
#include "base/ComOwner.h"
#include "model/ktb/DesignStorage.h"
#include "model/ktb/ImageCheck.h"
#include "model/design/ImageLayer.h"
#include "model/gfx/ImageEncoders.h"

using namespace Gdiplus;

namespace {

CString Numbered(LPCTSTR format, int n)
{
    CString name;
    name.Format(format, n);
    return name;
}

} // namespace

CString ImageStreamName(int number) { return Numbered("Image%d.png", number); }
CString FrameImageStreamName(int record) { return Numbered("Frame%d.png", record); }
CString CanvasClipartStreamName(int record) { return Numbered("CanvasClipart%d.png", record); }
CString TemplateStreamName(int record) { return Numbered("Template%d.png", record); }
CString FrameClipartStreamName(int record) { return Numbered("FrameClipart%d.png", record); }
CString BackStreamName(int record) { return Numbered("Back%d.png", record); }
CString RegionStreamName(int record) { return Numbered("Region%d.dat", record); }

CString TextFillStreamName(int frame, int ordinal)
{
    CString name;
    if (ordinal <= 1)
        name.Format("TextFill%d.png", frame);
    else
        name.Format("TextFill%d_%d.png", frame, ordinal);
    return name;
}

HRESULT WritePngStream(IStorage* storage, LPCTSTR name, Bitmap* bitmap, const EncoderParameters* parameters)
{
    if (storage == NULL || bitmap == NULL)
        return E_POINTER;
    if (!IsUsableStreamName(name))
        return STG_E_INVALIDNAME;
    if (!HasImageEncoder(L"image/png"))
        return REGDB_E_CLASSNOTREG;
    ComOwner<IStream> stream;
    HRESULT hr = storage->CreateStream(CStringW(name), STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, stream.Put());
    if (FAILED(hr))
        return hr;
    return SaveImageToStreamWith(bitmap, stream, L"image/png", parameters) ? S_OK : E_FAIL;
}

namespace {
thread_local CImageBudget* t_budget = NULL;
}

CImageBudget::CImageBudget(int layers, ULONGLONG pixels) : m_outer(t_budget), m_layers(layers), m_pixels(pixels)
{
    t_budget = this;
}

CImageBudget::~CImageBudget() { t_budget = m_outer; }

CImageBudget* CImageBudget::Current() { return t_budget; }

bool CImageBudget::TakeLayer()
{
    if (m_layers <= 0)
        return false;
    --m_layers;
    return true;
}

bool CImageBudget::TakePixels(DWORD width, DWORD height)
{
    const DWORD longer = width > height ? width : height;
    const DWORD shorter = width > height ? height : width;
    const ULONGLONG cost = (ULONGLONG)width * height + 1000ull * (1000ull * shorter / longer + 1);
    if (cost > m_pixels)
        return false;
    m_pixels -= cost;
    return true;
}

HRESULT ReadImageStreamBytes(IStorage* storage, LPCTSTR name, std::vector<BYTE>& bytes)
{
    HRESULT hr = ReadStreamBytes(storage, name, kMaxImageStreamBytes, bytes);
    if (hr == STG_E_FILENOTFOUND)
        return hr;
    DWORD width = 0, height = 0;
    if (FAILED(hr) || !CheckImageBytes(bytes.empty() ? NULL : &bytes[0], bytes.size(), &width, &height)) {
        std::vector<BYTE>().swap(bytes);
        return E_FAIL;
    }
    if (t_budget && !t_budget->TakePixels(width, height)) {
        std::vector<BYTE>().swap(bytes);
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

namespace {
thread_local CImageDecodeQueue* t_queue = NULL;
}

CImageDecodeQueue::CImageDecodeQueue() : m_outer(t_queue) { t_queue = this; }

CImageDecodeQueue::~CImageDecodeQueue() { t_queue = m_outer; }

CImageDecodeQueue* CImageDecodeQueue::Current() { return t_queue; }

void CImageDecodeQueue::Add(std::vector<BYTE>& bytes, const ImageApply& apply)
{
    m_entries.push_back(Entry());
    m_entries.back().bytes.swap(bytes);
    m_entries.back().apply = apply;
}

void CImageDecodeQueue::AddStep(const std::function<void()>& step)
{
    m_entries.push_back(Entry());
    m_entries.back().apply = [step](const BYTE*, size_t) {
        step();
        return true;
    };
}

HRESULT CImageDecodeQueue::Apply()
{
    for (Entry& e : m_entries) {
        bool ok = e.apply(e.bytes.empty() ? NULL : &e.bytes[0], e.bytes.size());
        std::vector<BYTE>().swap(e.bytes);
        if (!ok) {
            Clear();
            return E_FAIL;
        }
    }
    Clear();
    return S_OK;
}

void CImageDecodeQueue::Clear() { std::vector<Entry>().swap(m_entries); }

HRESULT ReadImageInto(IStorage* storage, LPCTSTR name, const ImageApply& apply)
{
    std::vector<BYTE> bytes;
    HRESULT hr = ReadImageStreamBytes(storage, name, bytes);
    if (FAILED(hr))
        return hr;
    if (t_queue) {
        t_queue->Add(bytes, apply);
        return S_OK;
    }
    return apply(&bytes[0], bytes.size()) ? S_OK : E_FAIL;
}

HRESULT ReadBitmapInto(IStorage* storage, LPCTSTR name, const std::function<bool(Bitmap*)>& take)
{
    return ReadImageInto(storage, name, [take](const BYTE* bytes, size_t size) {
        Bitmap* bitmap = DecodeImageBytes(bytes, size); // a copy that owns its pixels
        bool ok = bitmap != NULL && take(bitmap);
        delete bitmap;
        return ok;
    });
}

Bitmap* ReadImageStream(IStorage* storage, LPCTSTR name, HRESULT* hr)
{
    std::vector<BYTE> bytes;
    HRESULT result = ReadImageStreamBytes(storage, name, bytes);
    Bitmap* bitmap = NULL;
    if (SUCCEEDED(result)) {
        bitmap = DecodeImageBytes(&bytes[0], bytes.size()); // a copy that owns its pixels
        if (bitmap == NULL)
            result = E_FAIL;
    }
    if (hr)
        *hr = result;
    return bitmap;
}
