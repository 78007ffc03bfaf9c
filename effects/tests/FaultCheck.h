// Runs an effect once to count its allocations and pixel reads, then again with each of them
// made to fail in turn: every such run must report E_FAIL, draw nothing, leave `lines` as it
// was and hold no memory or GDI object afterwards.  Each failing run is made kRepeats times
// under one GDI check: Wine's handle slots (and GDI+'s caches) move by one now and then, a
// leak moves them by one per run.
#pragma once
#include "effects/tests/EffectTestUtil.h"
#include "testsupport/GdiCheck.h"

#include <functional>
#include <string>

typedef std::function<HRESULT(HDC destination, HDC source, LONG* lines)> DcEffect;

const int kRepeats = 4;

inline void ExpectCleanFailures(const std::string& name, const DcEffect& effect, int w = 6, int h = 5)
{
    EffectFaults& faults = EffectTestFaults();
    const Rows source = Patterned(w, h);
    faults.allocs = 0;
    faults.reads = 0;
    const EffectRun normal = RunOn(source, effect);
    const int allocs = faults.allocs;
    const int reads = faults.reads;
    ASSERT_EQ(S_OK, normal.hr) << name;
    ASSERT_GT(allocs, 0) << name;
    ASSERT_GT(reads, 0) << name;
    const int liveBefore = faults.liveBlocks;
    for (int kind = 0; kind < 2; ++kind) {
        const int count = kind == 0 ? allocs : reads;
        for (int n = 1; n <= count; ++n) {
            const std::string what = name + (kind == 0 ? ": allocation " : ": read ") + std::to_string(n);
            LiveGdiCheck gdi;
            for (int repeat = 0; repeat < kRepeats; ++repeat) {
                faults.allocs = 0;
                faults.reads = 0;
                (kind == 0 ? faults.failAllocAt : faults.failReadAt) = n;
                const EffectRun run = RunOn(source, effect);
                faults.failAllocAt = 0;
                faults.failReadAt = 0;
                EXPECT_EQ(E_FAIL, run.hr) << what;
                EXPECT_EQ(-7, run.lines) << what;
                EXPECT_EQ(Flat(w, h, kMarker), run.result) << what;
                EXPECT_EQ(liveBefore, faults.liveBlocks) << what;
            }
            EXPECT_TRUE(gdi.Unchanged(kRepeats / 2)) << what;
        }
    }
}

typedef std::function<HRESULT(Gdiplus::Bitmap* source, Gdiplus::Image* destination, LONG* lines)> ImageEffect;

// The same between image objects.
inline void ExpectCleanImageFailures(const std::string& name, const ImageEffect& effect, int w = 6, int h = 5)
{
    EffectFaults& faults = EffectTestFaults();
    const Rows source = Patterned(w, h);
    faults.allocs = 0;
    faults.reads = 0;
    const EffectRun normal = RunOnImage(source, effect);
    const int allocs = faults.allocs;
    const int reads = faults.reads;
    ASSERT_EQ(S_OK, normal.hr) << name;
    ASSERT_GT(allocs, 0) << name;
    const int liveBefore = faults.liveBlocks;
    for (int kind = 0; kind < 2; ++kind) {
        const int count = kind == 0 ? allocs : reads;
        for (int n = 1; n <= count; ++n) {
            const std::string what = name + (kind == 0 ? ": allocation " : ": read ") + std::to_string(n);
            LiveGdiCheck gdi;
            for (int repeat = 0; repeat < kRepeats; ++repeat) {
                faults.allocs = 0;
                faults.reads = 0;
                (kind == 0 ? faults.failAllocAt : faults.failReadAt) = n;
                const EffectRun run = RunOnImage(source, effect);
                faults.failAllocAt = 0;
                faults.failReadAt = 0;
                EXPECT_EQ(E_FAIL, run.hr) << what;
                EXPECT_EQ(-7, run.lines) << what;
                EXPECT_EQ(Flat(w, h, kMarker), run.result) << what;
                EXPECT_EQ(liveBefore, faults.liveBlocks) << what;
            }
            EXPECT_TRUE(gdi.Unchanged(kRepeats / 2)) << what;
        }
    }
}
