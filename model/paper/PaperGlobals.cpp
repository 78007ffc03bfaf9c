#include "model/paper/PaperGlobals.h"

#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"

// Made on first use, so other process-wide objects may reach them while they are built.
// Layouts only point at paper sizes and never touch them when destroyed.
CPaperLayout* GetPaperLayout()
{
    static CPaperLayout current;
    return &current;
}

CPaperLayoutMap* GetGlobalObjectA()
{
    static CPaperLayoutMap layouts;
    return &layouts;
}

CPaperSizeMap* GetGlobalObjectB()
{
    static CPaperSizeMap sizes;
    return &sizes;
}
