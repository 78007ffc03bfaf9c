// A check that code leaves no GDI object behind: the process's GDI objects and the
// framework's owning wrappers (FwGdiLiveHandles) are counted when the check is made and
// compared when asked.  Where the system does not count a process's GDI objects (Wine),
// the count is the highest handle slot a burst of new objects takes: objects left alive
// hold slots, so that slot climbs by as many.
#pragma once
#include "fw/fw.h"

#include <gtest/gtest.h>

class LiveGdiCheck
{
public:
    LiveGdiCheck();
    LiveGdiCheck(const LiveGdiCheck&) = delete;
    LiveGdiCheck& operator=(const LiveGdiCheck&) = delete;

    // How many more GDI objects the process holds, and how many more owning wrappers
    // live, than when the check was made.
    int ObjectsAdded() const;
    LONG WrappersAdded() const;

    // Success when no wrapper was added and the process holds at most `slack` more GDI
    // objects (room for caches that fill once); the failure says what grew.
    ::testing::AssertionResult Unchanged(int slack = 0) const;

    // The process's GDI objects, as this check counts them.
    static int ProcessObjects();

private:
    int m_objects;
    LONG m_wrappers;
};
