// The hand cursor shown over links, grips and hot spots: found in one place, so that every
// control shows the same hand.
//
// The rule it keeps: a cursor that was copied (and so must be destroyed by its owner) is
// reported through *copied; shared cursors from LoadCursor are never destroyed.
#pragma once
#include "fw/fw.h"

// The program's cursor "IDC_HAND" from `program` (null: none looked for), else cursor 106 of
// the system's help viewer read as data (a copy: *copied is set), else the system's hand.
HCURSOR FwFindHandCursor(HINSTANCE program, bool* copied);
