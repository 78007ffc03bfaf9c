// Design-file fuzzer, long run: valid design files of all three forms are mutated (bytes of
// their streams, or of the compound file itself) and opened one after the other, each on a
// worker thread.  It stops at the first open that hangs, grows the memory past its bound,
// leaves objects behind or changes the design it failed to open (a crash ends the process:
// the seed and the last progress line say where to look), and prints its figures.
//
//   ktb_fuzz.exe [--seed N] [--mutants N] [--minutes N]
//                (defaults: seed 1, 1,000,000 mutants, 60 minutes; run it from the data
//                 folder so that the language file is found; it writes its mutants to
//                 ktb_fuzz_mutant.ktb there)
#include <windows.h>
#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/ComOwner.h"
#include "base/Globals.h"
#include "model/design/FrostwellDoc.h"
#include "model/tests/KtbFuzz.h"

using namespace ktb;

namespace {

void Print(const char* label, const FuzzFigures& f, DWORD started)
{
    std::printf("%s: %llu mutants (%llu of streams, %llu of the file), %llu opened, %llu refused; "
                "open %.2f ms on average, %.1f ms at most; peak private memory %lu MB; %lu s\n",
                label, f.mutants, f.streamMutants, f.fileMutants, f.opened, f.refused,
                f.mutants ? f.totalMs / (double)f.mutants : 0.0, f.maxMs, (unsigned long)(f.peakPrivateBytes >> 20),
                (unsigned long)((GetTickCount() - started) / 1000));
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
    const ComScope com = EnsureCom();
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, NULL);
    FillFuzzCatalogues();

    // The document every mutant is opened by, from a file as the program opens designs.
    CFrostwellDoc* doc = new CFrostwellDoc;
    doc->m_bAutoDelete = FALSE;
    doc->SetTitle("Before");
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "\\ktb_fuzz_mutant.ktb";
    FuzzOpen open = [&](const Bytes& file) {
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        if (f == INVALID_HANDLE_VALUE)
            return false;
        DWORD put = 0;
        bool written = file.empty() || WriteFile(f, &file[0], (DWORD)file.size(), &put, NULL);
        CloseHandle(f);
        return written && doc->OnOpenDocument(path.c_str()) != FALSE;
    };
    FuzzSnapshot snapshot = [&]() {
        Bytes state = DesignFingerprint(*doc->GetLayers(), *doc->GetImageList(), *doc->GetTextList(), *GetPaperLayout(),
                                        GetGlobalValueA());
        CString names = doc->GetTitle() + "|" + doc->GetDesignPath() + "|" + doc->GetPathName();
        state.insert(state.end(), (LPCTSTR)names, (LPCTSTR)names + names.GetLength());
        state.push_back((BYTE)doc->IsModified());
        return state;
    };

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
    delete doc;
    DeleteFileA(path.c_str());
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
