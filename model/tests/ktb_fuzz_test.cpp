// A short fixed-seed run of the design-file fuzzer (the long run is bench/ktb_fuzz.exe): no
// mutant may hang, crash, grow the memory past its bound, leave objects behind or change
// the design when it fails to open.
#include <windows.h>
#include <gtest/gtest.h>

#include "app/base/Globals.h"
#include "model/tests/KtbFuzz.h"

using namespace ktb;

namespace {

// A design outside any document that every mutant is opened into.
struct FuzzTarget
{
    CLayerArray layers;
    CImageLayerList images;
    CTextItemList texts;
    CPaperLayout layout;
    DesignParts Parts()
    {
        DesignParts p = {&layers, &images, &texts, &layout, NULL, 0};
        return p;
    }
};

TEST(KtbFuzz, ShortFixedSeedRun)
{
    FillFuzzCatalogues();
    FuzzTarget target;
    target.layout.CopyFrom(*GetGlobalObjectA()->Lookup(2));
    FuzzOpen open = [&](const Bytes& file) {
        CDesignContent content;
        if (ReadDesignBytes(file.empty() ? NULL : &file[0], file.size(), content) != kDesignRead)
            return false;
        DesignParts parts = target.Parts();
        MoveDesignInto(content, parts, CRect(0, 0, 500, 400));
        return true;
    };
    FuzzSnapshot snapshot = [&]() {
        return DesignFingerprint(target.layers, target.images, target.texts, target.layout, GetGlobalValueA());
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
}

} // namespace
