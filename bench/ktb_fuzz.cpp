// Design-file fuzzer, long run: valid design files of all three forms are mutated (bytes of
// their streams, or of the compound file itself) and opened one after the other, each on a
// worker thread.  It stops at the first open that hangs, grows the memory past its bound,
// leaves objects behind or changes the design it failed to open (a crash ends the process:
// the seed and the last progress line say where to look), and prints its figures.
//
//   ktb_fuzz.exe [--seed N] [--mutants N] [--minutes N]
//                (defaults: seed 1, 1,000,000 mutants, 60 minutes; run it from the data
//                 folder so that the language file is found)
#include <windows.h>
#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/base/Globals.h"
#include "model/tests/KtbFuzz.h"

using namespace ktb;

namespace {

void Print(const char* label, const FuzzFigures& f, DWORD started)
{
    std::printf("%s: %llu mutants (%llu of streams, %llu of the file), %llu opened, %llu refused; "
                "open %.2f ms on average, %.1f ms at most; peak private memory %lu MB; %lu s\n",
                label, f.mutants, f.streamMutants, f.fileMutants, f.opened, f.refused,
                f.mutants ? f.totalMs / (double)f.mutants : 0.0, f.maxMs,
                (unsigned long)(f.peakPrivateBytes >> 20), (unsigned long)((GetTickCount() - started) / 1000));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    FuzzOptions options;
    options.seed = 1;
    options.maxMutants = 1000000;
    options.maxSeconds = 3600;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--seed"))
            options.seed = std::strtoull(argv[i + 1], NULL, 10);
        else if (!std::strcmp(argv[i], "--mutants"))
            options.maxMutants = std::strtoull(argv[i + 1], NULL, 10);
        else if (!std::strcmp(argv[i], "--minutes"))
            options.maxSeconds = (DWORD)(std::strtoul(argv[i + 1], NULL, 10) * 60);
    }
    CoInitialize(NULL);
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, NULL);
    FillFuzzCatalogues();

    // The design every mutant is opened into.
    CLayerArray layers;
    CImageLayerList images;
    CTextItemList texts;
    CPaperLayout layout;
    layout.CopyFrom(*GetGlobalObjectA()->Lookup(2));
    FuzzOpen open = [&](const Bytes& file) {
        CDesignContent content;
        if (ReadDesignBytes(file.empty() ? NULL : &file[0], file.size(), content) != kDesignRead)
            return false;
        DesignParts parts = {&layers, &images, &texts, &layout, NULL, 0};
        MoveDesignInto(content, parts, CRect(0, 0, 500, 400));
        return true;
    };
    FuzzSnapshot snapshot = [&]() { return DesignFingerprint(layers, images, texts, layout, GetGlobalValueA()); };

    const DWORD started = GetTickCount();
    std::printf("ktb_fuzz: seed %llu, at most %llu mutants in %lu minutes\n", options.seed, options.maxMutants,
                (unsigned long)(options.maxSeconds / 60));
    options.progress = [started](const FuzzFigures& f) { Print("progress", f, started); };
    FuzzFigures f = RunFuzz(options, open, snapshot);
    Print("ktb_fuzz", f, started);
    if (!f.failure.empty())
        std::printf("FAILURE: %s\n", f.failure.c_str());
    std::fflush(stdout);
    // A worker that hung cannot be joined: leave without cleaning up.
    if (!f.failure.empty())
        ExitProcess(1);
    layers.RemoveAllRecords();
    images.RemoveAll();
    texts.RemoveAll();
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
