#include "testsupport/GdiCheck.h"

#include <vector>

namespace {

// The highest handle slot that a burst of new objects takes.
int HighestFreeSlot()
{
    std::vector<HGDIOBJ> probes;
    int high = 0;
    for (int i = 0; i < 256; ++i) {
        HGDIOBJ h = ::CreateSolidBrush(RGB(i, 0, 0));
        if (h == nullptr)
            break;
        const int slot = (int)LOWORD((DWORD_PTR)h);
        high = slot > high ? slot : high;
        probes.push_back(h);
    }
    for (HGDIOBJ h : probes)
        ::DeleteObject(h);
    return high;
}

} // namespace

int LiveGdiCheck::ProcessObjects()
{
    const DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    return counted != 0 ? (int)counted : HighestFreeSlot();
}

LiveGdiCheck::LiveGdiCheck() : m_objects(ProcessObjects()), m_wrappers(FwGdiLiveHandles()) {}

int LiveGdiCheck::ObjectsAdded() const { return ProcessObjects() - m_objects; }

LONG LiveGdiCheck::WrappersAdded() const { return FwGdiLiveHandles() - m_wrappers; }

::testing::AssertionResult LiveGdiCheck::Unchanged(int slack) const
{
    const int objects = ObjectsAdded();
    const LONG wrappers = WrappersAdded();
    if (wrappers == 0 && objects <= slack)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrappers << " owning GDI wrapper(s) and " << objects
                                         << " GDI object(s) more than before (" << slack << " allowed)";
}
