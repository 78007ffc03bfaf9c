// Shared set-up of the paper tests.
#pragma once

#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"

// Fills the process-wide catalogues as the document does at start-up (once).
inline void FillPaperCatalogues()
{
    if (GetGlobalObjectB()->GetCount() == 0)
        GetGlobalObjectB()->AddOversizedPapers();
    if (GetGlobalObjectA()->GetCount() == 0)
        GetGlobalObjectA()->AddBuiltInLayouts();
}
