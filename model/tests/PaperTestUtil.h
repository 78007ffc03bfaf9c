// Shared set-up of the paper tests.
#pragma once

#include "model/PaperGlobals.h"
#include "model/PaperLayoutMap.h"
#include "model/PaperSize.h"

// Fills the process-wide catalogues as the document does at start-up (once).
inline void FillPaperCatalogues() {
  if (GetGlobalObjectB()->GetCount() == 0) GetGlobalObjectB()->AddOversizedPapers();
  if (GetGlobalObjectA()->GetCount() == 0) GetGlobalObjectA()->AddBuiltInLayouts();
}
