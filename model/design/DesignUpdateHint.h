// Hints that the design document passes to UpdateAllViews and the design view reads.
// Any other hint (0 as a rule) invalidates only the changed part of the view.
#pragma once

enum DesignUpdateHint {
    kHintRedrawNow = 99, // the whole view redrawn at once (invalidate, erase, update now)
};
