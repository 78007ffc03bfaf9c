#include "ui/FillControls.h"

const FillKindControls* FillControlsFor(int kind)
{
    static const FillKindControls rows[] = {
        {false, false, false}, // solid
        {true, true, true},    // linear
        {false, true, true},   // radial
    };
    return kind >= 1 && kind <= 3 ? &rows[kind - 1] : nullptr;
}

void EnableSwatchButtons(int kind, int match, CWnd& add, CWnd& remove)
{
    if (kind == 1) {
        add.EnableWindow(FALSE);
        remove.EnableWindow(FALSE);
    } else if (kind == 2 || kind == 3) {
        add.EnableWindow(match == 0);
        remove.EnableWindow(match == 1);
    }
}
