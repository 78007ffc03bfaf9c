// Helpers of the thumbnail tests: pictures written with the platform's encoders, design
// files with a "Thumbnail" stream, and the streams of a cache file read back.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "model/tests/KtbTestUtil.h"

namespace thumb_test {

using ktb::Bytes;

inline bool Encoder(const WCHAR* mime, CLSID* clsid)
{
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (size == 0 || Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i)
        if (wcscmp(codecs[i].MimeType, mime) == 0) {
            *clsid = codecs[i].Clsid;
            return true;
        }
    return false;
}

// A w x h picture, its left half `left` and its right half `right` (ARGB), encoded.
inline Bytes Picture(int w, int h, Gdiplus::ARGB left, Gdiplus::ARGB right, const WCHAR* mime = L"image/png")
{
    Gdiplus::Bitmap bitmap(w, h, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&bitmap);
        g.Clear(Gdiplus::Color(left));
        Gdiplus::SolidBrush brush{Gdiplus::Color(right)};
        g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
        g.FillRectangle(&brush, w / 2, 0, w - w / 2, h);
    }
    CLSID clsid;
    IStream* stream = nullptr;
    Bytes out;
    if (!Encoder(mime, &clsid) || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
        return out;
    if (bitmap.Save(stream, &clsid, nullptr) == Gdiplus::Ok) {
        STATSTG stat = {};
        stream->Stat(&stat, STATFLAG_NONAME);
        HGLOBAL memory = nullptr;
        GetHGlobalFromStream(stream, &memory);
        const BYTE* p = (const BYTE*)GlobalLock(memory);
        out.assign(p, p + (size_t)stat.cbSize.QuadPart);
        GlobalUnlock(memory);
    }
    stream->Release();
    return out;
}

// A design (or paper layout) file: a compound file with a "Thumbnail" stream, when given.
inline Bytes DesignFile(const Bytes& thumbnail)
{
    std::vector<std::pair<std::string, Bytes>> streams = {{"CakeData", Bytes(64, 0)}};
    if (!thumbnail.empty())
        streams.push_back({"Thumbnail", thumbnail});
    return ktb::MakeCompoundFile(streams);
}

// The compound file with the sector chain of `stream` (at least 4096 bytes, so that it
// lies in whole sectors) pointed back at its own start.
inline Bytes WithLoopingChain(Bytes file, const char* stream)
{
    ktb::CfbPatch patch(file);
    const DWORD start = patch.Get32(patch.Entry(patch.Find(stream)) + 0x74);
    patch.Set32(patch.FatEntry(start + 2), start);
    return file;
}

// Every stream of a compound file's root storage with its bytes; empty when it does not
// open.
inline std::map<std::string, Bytes> ReadStreams(const std::string& path)
{
    std::map<std::string, Bytes> out;
    IStorage* storage = nullptr;
    if (FAILED(
            StgOpenStorage(ktb::Wide(path).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &storage)))
        return out;
    for (const std::string& name : ktb::StreamNames(storage)) {
        IStream* stream = nullptr;
        Bytes& bytes = out[name];
        if (FAILED(storage->OpenStream(ktb::Wide(name).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream)))
            continue;
        BYTE block[4096];
        ULONG got = 0;
        while (SUCCEEDED(stream->Read(block, sizeof block, &got)) && got > 0)
            bytes.insert(bytes.end(), block, block + got);
        stream->Release();
    }
    storage->Release();
    return out;
}

inline std::vector<std::string> Names(const std::map<std::string, Bytes>& streams)
{
    std::vector<std::string> names;
    for (const auto& s : streams)
        names.push_back(s.first);
    return names;
}

// The stamp record of a time text, as the cache writes it: byte count, UTF-16LE, zero.
inline Bytes Stamp(const std::string& text, DWORD count = 0)
{
    ktb::Records r;
    r.U32(count ? count : (DWORD)(2 * (text.size() + 1)));
    for (char c : text)
        r.U16((WORD)(BYTE)c);
    r.U16(0);
    return r.bytes;
}

// A file's last-write time, as a folder walk gives it.
inline FILETIME LastWrite(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

inline bool SetLastWrite(const std::string& path, const FILETIME& time)
{
    HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = SetFileTime(f, nullptr, nullptr, &time) != 0;
    CloseHandle(f);
    return ok;
}

} // namespace thumb_test
