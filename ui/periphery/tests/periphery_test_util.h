// Helpers of the periphery's window tests.
#pragma once

// The whole display as the X server shows it (layered windows and drop-down lists
// included), saved as <build>/screenshots/<name>.png by the display's own tool from the Unix
// side; bounded by 10 seconds, during which nothing is pumped.
bool DisplayPng(const char* name);
