// The shell's small-icon system image list, wrapped for the folder tree.
//
// The rule it keeps: the list belongs to the shell. Every instance attaches the one shared
// list (so every tree alive at once shows icons) and detaches it again when it dies; the
// program never destroys it. A process-wide count of living instances is kept.
#pragma once

#include "fw/fwwin.h"

class CSystemImageList
{
public:
    CSystemImageList();
    ~CSystemImageList();
    CSystemImageList(const CSystemImageList&) = delete;
    CSystemImageList& operator=(const CSystemImageList&) = delete;

    CImageList* GetImageList() { return &m_list; }
    // How many instances live in this process.
    static LONG LivingCount();

private:
    CImageList m_list;
};
