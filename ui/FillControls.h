// What the fill panels enable for a fill kind (1 solid, 2 linear, 3 radial): the one table
// the background and frame fill panels share, and the rule of their add and remove swatch
// buttons.
//
// The rule it keeps: a solid fill has one colour, no angle and no swatches; a linear one
// has all of them; a radial one all but the angle. Any other kind has no row, and the
// panels leave their controls as they are.
#pragma once
#include "fw/fwwin.h"

struct FillKindControls
{
    bool dial;            // the gradient angle
    bool gradientPickers; // colours 2 to 5 (colour 1 is always on)
    bool swatches;        // the swatch list, its add and remove buttons, its label
};

// The row of a kind; null for any kind but 1, 2 and 3.
const FillKindControls* FillControlsFor(int kind);

// Add and remove for a kind and the colours' swatch match (0 none, -1 the built-in white
// swatch, 1 a stored one): solid disables both; a gradient enables Add only when nothing
// matches and Remove only when a stored swatch does; any other kind leaves them.
void EnableSwatchButtons(int kind, int match, CWnd& add, CWnd& remove);
