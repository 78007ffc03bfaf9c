// The design-file fuzzer, shared by the short fixed-seed run of the tests and the long-run
// program bench/ktb_fuzz.cpp.  It takes valid design files of all three forms, mutates the
// bytes of their streams (then builds the compound file again) or the bytes of the compound
// file itself, opens each mutant on a worker thread and checks: the open ends within the
// time limit, the process's memory stays under its bound, nothing the open made is left
// behind, and a design that a mutant failed to open is exactly as it was.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <psapi.h>
#include <gdiplus.h>
#include <stdio.h>
#include <string.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/ComOwner.h"
#include "digest/crc32.h"
#include "model/ktb/DesignFile.h"
#include "model/design/ImageLayer.h"
#include "model/design/ImageLayerList.h"
#include "model/design/LayerArray.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"
#include "model/design/RegionData.h"
#include "model/design/TextItem.h"
#include "model/design/TextItemList.h"
#include "model/tests/KtbRecords.h"

namespace ktb {

typedef std::vector<std::pair<std::string, Bytes>> StreamSet;

// A compound file in memory holding the streams; empty when the storage code refuses.
inline Bytes BuildCompoundFile(const StreamSet& streams)
{
    Bytes out;
    ILockBytes* lock = NULL;
    if (FAILED(CreateILockBytesOnHGlobal(NULL, TRUE, &lock)))
        return out;
    IStorage* storage = NULL;
    if (SUCCEEDED(
            StgCreateDocfileOnILockBytes(lock, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage))) {
        for (const auto& s : streams) {
            std::wstring name(s.first.begin(), s.first.end());
            IStream* stream = NULL;
            if (FAILED(storage->CreateStream(name.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                             &stream)))
                continue;
            ULONG put = 0;
            if (!s.second.empty())
                stream->Write(&s.second[0], (ULONG)s.second.size(), &put);
            stream->Release();
        }
        storage->Commit(STGC_DEFAULT);
        storage->Release();
        STATSTG stat = {};
        HGLOBAL mem = NULL;
        if (SUCCEEDED(lock->Stat(&stat, STATFLAG_NONAME)) && SUCCEEDED(GetHGlobalFromILockBytes(lock, &mem))) {
            out.resize((size_t)stat.cbSize.QuadPart);
            memcpy(&out[0], GlobalLock(mem), out.size());
            GlobalUnlock(mem);
        }
    }
    lock->Release();
    return out;
}

// The streams of a design written by the program's writer.
inline StreamSet WrittenStreams(DesignParts& parts)
{
    StreamSet out;
    ILockBytes* lock = NULL;
    if (FAILED(CreateILockBytesOnHGlobal(NULL, TRUE, &lock)))
        return out;
    IStorage* storage = NULL;
    if (SUCCEEDED(
            StgCreateDocfileOnILockBytes(lock, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage))) {
        if (SUCCEEDED(WriteDesign(storage, parts))) {
            IEnumSTATSTG* e = NULL;
            if (SUCCEEDED(storage->EnumElements(0, NULL, 0, &e))) {
                STATSTG stat;
                ULONG got = 0;
                while (e->Next(1, &stat, &got) == S_OK) {
                    IStream* stream = NULL;
                    if (SUCCEEDED(
                            storage->OpenStream(stat.pwcsName, NULL, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream))) {
                        Bytes bytes((size_t)stat.cbSize.QuadPart);
                        ULONG read = 0;
                        if (!bytes.empty())
                            stream->Read(&bytes[0], (ULONG)bytes.size(), &read);
                        stream->Release();
                        std::wstring w(stat.pwcsName);
                        out.push_back(std::make_pair(std::string(w.begin(), w.end()), bytes));
                    }
                    CoTaskMemFree(stat.pwcsName);
                }
                e->Release();
            }
        }
        storage->Release();
    }
    lock->Release();
    return out;
}

// PNG of w x h pixels (stored deflate, no compression): a small valid image to put in seeds.
inline Bytes FuzzPng(int w, int h, DWORD seed)
{
    auto be32 = [](Bytes& v, DWORD x) {
        for (int s = 24; s >= 0; s -= 8)
            v.push_back((BYTE)(x >> s));
    };
    auto chunk = [&](Bytes& png, const char* type, const Bytes& data) {
        be32(png, (DWORD)data.size());
        Bytes body(type, type + 4);
        body.insert(body.end(), data.begin(), data.end());
        png.insert(png.end(), body.begin(), body.end());
        be32(png, Crc32Of(&body[0], body.size()));
    };
    Bytes raw;
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        for (int x = 0; x < w; ++x) {
            DWORD v = seed * 2654435761u + (DWORD)(x * 31 + y * 17);
            raw.push_back((BYTE)v);
            raw.push_back((BYTE)(v >> 8));
            raw.push_back((BYTE)(v >> 16));
            raw.push_back((BYTE)(0x80 | (v >> 24)));
        }
    }
    Bytes z = {0x78, 0x01, 0x01};
    z.push_back((BYTE)raw.size());
    z.push_back((BYTE)(raw.size() >> 8));
    z.push_back((BYTE)~raw.size());
    z.push_back((BYTE)(~raw.size() >> 8));
    z.insert(z.end(), raw.begin(), raw.end());
    DWORD a = 1, b = 0;
    for (BYTE c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    be32(z, (b << 16) | a);
    Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr;
    be32(ihdr, (DWORD)w);
    be32(ihdr, (DWORD)h);
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    chunk(png, "IHDR", ihdr);
    chunk(png, "IDAT", z);
    chunk(png, "IEND", Bytes());
    return png;
}

inline void FillFuzzCatalogues()
{
    if (GetGlobalObjectB()->GetCount() == 0)
        GetGlobalObjectB()->AddOversizedPapers();
    if (GetGlobalObjectA()->GetCount() == 0)
        GetGlobalObjectA()->AddBuiltInLayouts();
}

// Valid design files: one of each form, the current one with every kind of section,
// image slot and region.  Kept small so that a clean open is quick.
inline std::vector<StreamSet> MakeFuzzSeeds()
{
    FillFuzzCatalogues();
    std::vector<StreamSet> seeds;
    {
        CLayerArray layers;
        CImageLayerList images;
        CTextItemList texts;
        CPaperLayout layout;
        layout.CopyFrom(*GetGlobalObjectA()->Lookup(10));
        layout.SetOneDesignPerCell(1);
        layers.Reset(3);
        Bytes png = FuzzPng(16, 1, 7);
        auto layer = [&](int frame) {
            CImageLayer* l = new CImageLayer();
            l->LoadFromMemory(&png[0], png.size());
            l->m_frameIndex = frame;
            l->m_angle = 12.5f * (frame + 1);
            l->m_transparency = 70;
            return l;
        };
        images.Add(layer(0));
        images.Add(layer(1));
        layers.GetAt(0).frameImage = layer(0);
        layers.GetAt(1).backgroundImage = layer(1);
        layers.GetAt(2).templateImage = layer(2);
        layers.GetAt(2).frameFillImage = layer(2);
        layers.GetAt(1).frameStyle = 5;
        BYTE region[sizeof(RGNDATAHEADER) + 2 * sizeof(RECT)] = {};
        RGNDATAHEADER h = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, 2, 2 * sizeof(RECT), {0, 0, 20, 20}};
        RECT rects[2] = {{0, 0, 10, 10}, {5, 5, 20, 20}};
        memcpy(region, &h, sizeof h);
        memcpy(region + sizeof h, rects, sizeof rects);
        layers.GetAt(0).region = new CRegionData();
        layers.GetAt(0).region->SetData(region, sizeof region);
        for (int frame : {0, 0, 2}) {
            CTextItem* t = new CTextItem();
            t->m_text = "Cake";
            t->m_frameIndex = frame;
            t->m_arcLayout = frame == 2;
            t->m_bubbleKind = frame == 0 ? 1 : 0;
            Gdiplus::Bitmap fill(2, 2, PixelFormat32bppARGB);
            t->SetFillImage(&fill);
            texts.AddPair(t);
        }
        DesignParts parts = {&layers, &images, &texts, &layout, NULL, 0};
        seeds.push_back(WrittenStreams(parts));
    }
    const std::string line = (LPCTSTR)GetGlobalObjectA()->Lookup(2)->FormatCsv();
    Bytes png = FuzzPng(12, 1, 3);
    {
        // The second form of 7.0, written record by record.
        Records cake;
        cake.Key("CAKEDATA2", 1)
            .Append(HeaderRecords("7.0", 2, line))
            .Key("IMAGE", 1)
            .Append(LayerRecords(1.0f, 5.0f, 1.0, 2.0, 1, false, "Image1.png", true, 50))
            .Key("TEXT", 1)
            .Append(TextRecords(TextFixture(), "7+"))
            .Key("FRAME", 2)
            .Append(DefaultFrameEntry(0))
            .Append(DefaultFrameEntry(1))
            .Key("END", 0);
        seeds.push_back(StreamSet{{"CakeData", cake.bytes}, {"Image1.png", png}});
    }
    {
        // The oldest form of 6.5 with a fitted first-slot layer and a "Back" image.
        TextFixture filled;
        filled.hasFill = true;
        Records cake;
        cake.Key("CAKEDATA", 1)
            .Append(OldLayoutRecords(2, "6.5", 0))
            .Key("TEXT", 1)
            .Append(TextRecords(filled, "6.x"))
            .Key("IMAGE", 1)
            .Append(LayerRecords(2.0f, 0.0f, 1.0, 1.0, 0, false, "Image1.png", true))
            .Key("FRAME", 1)
            .I4(0)
            .I4(0x00FF00)
            .R4(0.1f)
            .I4(0)
            .I4(1)
            .I4(0)
            .Bool(true)
            .Append(LayerRecords(1.0f, 0.0f, 1.0, 1.0, 0, false, "Frame0.png", true))
            .Bool(false)
            .Bool(true)
            .R4(0.2f)
            .I4(0)
            .I4(100)
            .Bool(false)
            .Key("END", 0);
        seeds.push_back(StreamSet{{"CakeData", cake.bytes},
                                  {"Image1.png", png},
                                  {"Frame0.png", png},
                                  {"Back0.png", png},
                                  {"TextFill0.png", png}});
    }
    return seeds;
}

// splitmix64: the run is a function of the seed.
class FuzzRandom
{
public:
    explicit FuzzRandom(unsigned long long seed) : m_state(seed) {}
    unsigned long long Next()
    {
        unsigned long long z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 to n - 1 (n > 0).
    size_t Below(size_t n) { return n ? (size_t)(Next() % n) : 0; }

private:
    unsigned long long m_state;
};

// Byte-level mutations, biased to the values that make readers misbehave.
inline void MutateBytes(Bytes& b, FuzzRandom& rnd, size_t hotEnd)
{
    static const DWORD interesting[] = {0,           1,           2,           12,          99,
                                        0x7F,        0x80,        0xFF,        0x7FFF,      0x8000,
                                        0xFFFF,      10000,       10001,       0x10000,     0x7FFFFFFF,
                                        0x80000000u, 0xFFFFFFF0u, 0xFFFFFFFEu, 0xFFFFFFFFu, 0x3F800000u /* 1.0f */,
                                        0x7FC00000u /* NaN */};
    const int ops = 1 + (int)rnd.Below(4);
    for (int op = 0; op < ops; ++op) {
        if (b.empty()) {
            b.push_back((BYTE)rnd.Next());
            continue;
        }
        // Half the edits land in the hot part (header and tables, or the first records).
        size_t span = (rnd.Below(2) && hotEnd > 0 && hotEnd < b.size()) ? hotEnd : b.size();
        size_t at = rnd.Below(span);
        switch (rnd.Below(8)) {
        case 0:
            b[at] ^= (BYTE)(1u << rnd.Below(8));
            break;
        case 1:
            b[at] = (BYTE)rnd.Next();
            break;
        case 2:
        case 3: {
            DWORD v = interesting[rnd.Below(sizeof interesting / sizeof interesting[0])];
            size_t width = rnd.Below(2) ? 4 : 2;
            for (size_t i = 0; i < width && at + i < b.size(); ++i)
                b[at + i] = (BYTE)(v >> (8 * i));
            break;
        }
        case 4:
            b.resize(at);
            break;
        case 5: {
            size_t n = 1 + rnd.Below(64);
            b.erase(b.begin() + at, b.begin() + (at + n < b.size() ? at + n : b.size()));
            break;
        }
        case 6: {
            size_t n = 1 + rnd.Below(64);
            size_t from = rnd.Below(b.size());
            Bytes chunk(b.begin() + from, b.begin() + (from + n < b.size() ? from + n : b.size()));
            b.insert(b.begin() + at, chunk.begin(), chunk.end());
            break;
        }
        default: {
            size_t n = 1 + rnd.Below(16);
            for (size_t i = 0; i < n; ++i)
                b.insert(b.begin() + at, (BYTE)rnd.Next());
            break;
        }
        }
    }
}

struct FuzzFigures
{
    unsigned long long mutants = 0;
    unsigned long long opened = 0;  // read cleanly (the mutation left a valid design)
    unsigned long long refused = 0; // open failed, design unchanged
    unsigned long long streamMutants = 0, fileMutants = 0;
    double totalMs = 0, maxMs = 0;
    SIZE_T peakPrivateBytes = 0;
    std::string failure; // the first violation; empty when none
};

// One mutant: the compound file's bytes.  `hot` is where the structure lies.
inline Bytes MakeMutant(const std::vector<StreamSet>& seeds, const std::vector<Bytes>& seedFiles, FuzzRandom& rnd,
                        bool& streamLevel)
{
    size_t which = rnd.Below(seeds.size());
    streamLevel = rnd.Below(10) < 7;
    if (!streamLevel) {
        Bytes file = seedFiles[which];
        MutateBytes(file, rnd, 2048);
        return file;
    }
    StreamSet streams = seeds[which];
    // "CakeData" most of the time, else any stream; now and then one is dropped.
    size_t s = rnd.Below(2) ? 0 : rnd.Below(streams.size());
    for (size_t i = 0; i < streams.size(); ++i)
        if (streams[i].first == "CakeData" && s == 0)
            s = i;
    if (streams.size() > 1 && rnd.Below(20) == 0) {
        streams.erase(streams.begin() + rnd.Below(streams.size()));
    } else {
        MutateBytes(streams[s].second, rnd, 160);
    }
    return BuildCompoundFile(streams);
}

// A cheap fingerprint of a design's state: its records as they are in memory (the object
// pointers included, so a replaced image shows), its layers and texts with their frames,
// the layout line and the mirror flag.  A failed open must leave it byte for byte.
inline Bytes DesignFingerprint(CLayerArray& layers, CImageLayerList& images, CTextItemList& texts,
                               const CPaperLayout& layout, int mirror)
{
    Bytes out;
    auto put = [&out](const void* p, size_t n) { out.insert(out.end(), (const BYTE*)p, (const BYTE*)p + n); };
    const int count = layers.GetCount();
    put(&count, sizeof count);
    for (int k = 0; k < count; ++k)
        put(&layers.GetAt(k), sizeof(FrameRecord));
    const void* overlay = layers.GetLayoutOverlay();
    put(&overlay, sizeof overlay);
    for (POSITION pos = images.GetHeadPosition(); pos;) {
        CImageLayerPair pair = images.GetNext(pos);
        put(&pair, sizeof pair);
        put(&pair.layer->m_scale, sizeof(float));
        put(&pair.layer->m_transparency, sizeof(int));
    }
    for (POSITION pos = texts.GetHeadPosition(); pos;) {
        CTextItemPair pair = texts.GetNext(pos);
        put(&pair, sizeof pair);
        put((LPCTSTR)pair.item->m_text, pair.item->m_text.GetLength());
    }
    CString line = layout.FormatCsv();
    put((LPCTSTR)line, line.GetLength());
    put(&mirror, sizeof mirror);
    return out;
}

// The open under test: takes the mutant's bytes, returns whether the design opened.  It
// runs on a worker thread with COM initialised.
typedef std::function<bool(const Bytes&)> FuzzOpen;
// The state of the design the opens go into, compared before and after a failed open.
typedef std::function<Bytes()> FuzzSnapshot;

struct FuzzWorkerArgs
{
    const FuzzOpen* open;
    const Bytes* file;
    bool opened;
};

inline DWORD WINAPI FuzzWorker(LPVOID p)
{
    FuzzWorkerArgs* a = (FuzzWorkerArgs*)p;
    const ComScope com = EnsureCom(); // ends with the worker
    try {
        a->opened = (*a->open)(*a->file);
    } catch (...) {
        a->opened = false;
    }
    return 0;
}

inline SIZE_T PrivateBytes(SIZE_T* peak = NULL)
{
    PROCESS_MEMORY_COUNTERS_EX pmc = {};
    pmc.cb = sizeof pmc;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&pmc, sizeof pmc))
        return 0;
    if (peak)
        *peak = pmc.PeakPagefileUsage;
    return pmc.PrivateUsage;
}

struct FuzzOptions
{
    unsigned long long seed = 1;
    unsigned long long maxMutants = 3000;
    DWORD maxSeconds = 120; // the run stops early when this is used up
    DWORD hangMs = 5000;    // an open taking longer is a hang
    SIZE_T memoryBound = 1024u * 1024u * 1024u;
    std::function<void(const FuzzFigures&)> progress; // every 500 mutants
};

// Runs the mutants; stops at the first violation (recorded in figures.failure).
inline FuzzFigures RunFuzz(const FuzzOptions& options, const FuzzOpen& open, const FuzzSnapshot& snapshot)
{
    FuzzFigures f;
    std::vector<StreamSet> seeds = MakeFuzzSeeds();
    std::vector<Bytes> seedFiles;
    for (const StreamSet& s : seeds)
        seedFiles.push_back(BuildCompoundFile(s));
    FuzzRandom rnd(options.seed);
    const DWORD start = GetTickCount();
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    // The seeds must open: otherwise the run proves nothing.
    for (const Bytes& file : seedFiles) {
        FuzzWorkerArgs args = {&open, &file, false};
        FuzzWorker(&args);
        if (!args.opened) {
            f.failure = "a seed file does not open";
            return f;
        }
    }
    while (f.mutants < options.maxMutants && GetTickCount() - start < options.maxSeconds * 1000u) {
        bool streamLevel = false;
        Bytes mutant = MakeMutant(seeds, seedFiles, rnd, streamLevel);
        ++f.mutants;
        (streamLevel ? f.streamMutants : f.fileMutants)++;
        const Bytes before = snapshot();
        const long layers = CImageLayer::GetLiveCount(), texts = CTextItem::GetLiveCount();
        const long regions = CRegionData::GetLiveCount();

        FuzzWorkerArgs args = {&open, &mutant, false};
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        HANDLE worker = CreateThread(NULL, 0, FuzzWorker, &args, 0, NULL);
        if (!worker) {
            f.failure = "no worker thread";
            break;
        }
        DWORD waited = WaitForSingleObject(worker, options.hangMs);
        QueryPerformanceCounter(&t1);
        char what[160];
        if (waited != WAIT_OBJECT_0) {
            sprintf(what, "mutant %llu (seed %llu) did not finish within %lu ms", f.mutants, options.seed,
                    options.hangMs);
            f.failure = what;
            // The worker cannot be stopped safely: leave it and report.
            CloseHandle(worker);
            break;
        }
        CloseHandle(worker);
        const double ms = (double)(t1.QuadPart - t0.QuadPart) * 1000.0 / (double)frequency.QuadPart;
        f.totalMs += ms;
        if (ms > f.maxMs)
            f.maxMs = ms;
        SIZE_T peak = 0;
        PrivateBytes(&peak);
        if (peak > f.peakPrivateBytes)
            f.peakPrivateBytes = peak;
        if (args.opened) {
            ++f.opened;
        } else {
            ++f.refused;
            if (snapshot() != before) {
                sprintf(what, "mutant %llu (seed %llu) failed to open and changed the design", f.mutants, options.seed);
                f.failure = what;
                break;
            }
        }
        // What an open builds is owned by the design it opened into or freed.
        if (!args.opened && (CImageLayer::GetLiveCount() != layers || CTextItem::GetLiveCount() != texts ||
                             CRegionData::GetLiveCount() != regions)) {
            sprintf(what, "mutant %llu (seed %llu) left objects behind", f.mutants, options.seed);
            f.failure = what;
            break;
        }
        if (peak > options.memoryBound) {
            sprintf(what, "mutant %llu (seed %llu): peak memory %lu MB", f.mutants, options.seed,
                    (unsigned long)(peak >> 20));
            f.failure = what;
            break;
        }
        if (options.progress && f.mutants % 500 == 0)
            options.progress(f);
    }
    return f;
}

} // namespace ktb
