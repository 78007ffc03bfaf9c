// The design document lives with the design objects; the window layer includes it here.
#pragma once
#include "model/FrostwellDoc.h"
