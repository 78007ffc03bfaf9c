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

// `run(source)` runs the effect on a fresh destination and gives what it drew.
template <class Run> void ExpectCleanFailuresOf(const std::string& name, Run run, int w, int h)
{
    EffectFaults& faults = EffectTestFaults();
    const Rows source = Patterned(w, h);
    faults.allocs = 0;
    faults.reads = 0;
    const EffectRun normal = run(source);
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
                const EffectRun failed = run(source);
                faults.failAllocAt = 0;
                faults.failReadAt = 0;
                EXPECT_EQ(E_FAIL, failed.hr) << what;
                EXPECT_EQ(-7, failed.lines) << what;
                EXPECT_EQ(Flat(w, h, kMarker), failed.result) << what;
                EXPECT_EQ(liveBefore, faults.liveBlocks) << what;
            }
            EXPECT_TRUE(gdi.Unchanged(kRepeats / 2)) << what;
        }
    }
}

inline void ExpectCleanFailures(const std::string& name, const DcEffect& effect, int w = 6, int h = 5)
{
    ExpectCleanFailuresOf(
        name, [&](const Rows& source) { return RunOn(source, effect); }, w, h);
}

typedef std::function<HRESULT(Gdiplus::Bitmap* source, Gdiplus::Image* destination, LONG* lines)> ImageEffect;

// The same between image objects.
inline void ExpectCleanImageFailures(const std::string& name, const ImageEffect& effect, int w = 6, int h = 5)
{
    ExpectCleanFailuresOf(
        name, [&](const Rows& source) { return RunOnImage(source, effect); }, w, h);
}
