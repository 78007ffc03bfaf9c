// Resource ids of the design file.
#pragma once

#define IDS_DESIGN_VERSION 4302
