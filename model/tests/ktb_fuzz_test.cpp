// A short fixed-seed run of the design-file fuzzer (the long run is bench/ktb_fuzz.exe): no
// mutant may hang, crash, grow the memory past its bound, leave objects behind or change
// the design when it fails to open.
#include <windows.h>
#include <gtest/gtest.h>

#include "base/Globals.h"
#include "model/design/FrostwellDoc.h"
#include "model/tests/KtbFuzz.h"

using namespace ktb;

namespace {

TEST(KtbFuzz, ShortFixedSeedRun)
{
    FillFuzzCatalogues();
    CPaperLayout savedLayout;
    savedLayout.CopyFrom(*GetPaperLayout());
    // Every mutant is opened by the document from a file, as the program opens designs.
    CFrostwellDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.SetTitle("Before");
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    const std::string path = std::string(cwd) + "\\ktb_fuzz_mutant.ktb";
    FuzzOpen open = [&](const Bytes& file) {
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        DWORD put = 0;
        if (f == INVALID_HANDLE_VALUE || (!file.empty() && !WriteFile(f, &file[0], (DWORD)file.size(), &put, NULL))) {
            if (f != INVALID_HANDLE_VALUE)
                CloseHandle(f);
            return false;
        }
        CloseHandle(f);
        return doc.OnOpenDocument(path.c_str()) != FALSE;
    };
    FuzzSnapshot snapshot = [&]() {
        Bytes state = DesignFingerprint(*doc.GetLayers(), *doc.GetImageList(), *doc.GetTextList(), *GetPaperLayout(),
                                        GetGlobalValueA());
        CString names = doc.GetTitle() + "|" + doc.GetDesignPath() + "|" + doc.GetPathName();
        state.insert(state.end(), (LPCTSTR)names, (LPCTSTR)names + names.GetLength());
        state.push_back((BYTE)doc.IsModified());
        return state;
    };
    FuzzOptions options;
    options.seed = 20240601;
    options.maxMutants = 3000;
    options.maxSeconds = 150;
    FuzzFigures f = RunFuzz(options, open, snapshot);
    EXPECT_EQ("", f.failure);
    EXPECT_GT(f.mutants, 500u);
    printf("fuzz: %llu mutants (%llu of streams, %llu of the file), %llu opened, %llu refused; "
           "open %.2f ms on average, %.1f ms at most; peak private memory %lu MB\n",
           f.mutants, f.streamMutants, f.fileMutants, f.opened, f.refused, f.mutants ? f.totalMs / f.mutants : 0.0,
           f.maxMs, (unsigned long)(f.peakPrivateBytes >> 20));
    DeleteFileA(path.c_str());
    GetPaperLayout()->CopyFrom(savedLayout);
}

} // namespace
