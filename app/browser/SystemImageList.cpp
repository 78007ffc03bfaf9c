// The shell's small-icon system image list, attached by every instance, destroyed by none.
#include "app/browser/SystemImageList.h"

#include <shellapi.h>

namespace {
LONG g_living = 0;
} // namespace

CSystemImageList::CSystemImageList()
{
    ::InterlockedIncrement(&g_living);
    // The answer for the drive carries the handle of the whole small-icon list.
    SHFILEINFO info = {};
    HIMAGELIST shared =
        (HIMAGELIST)::SHGetFileInfo("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    if (shared)
        m_list.Attach(shared);
}

CSystemImageList::~CSystemImageList()
{
    // Detached, never destroyed: the shell and every other tree keep using it.
    m_list.Detach();
    ::InterlockedDecrement(&g_living);
}

LONG CSystemImageList::LivingCount() { return g_living; }
