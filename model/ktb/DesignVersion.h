// The version of design files: the text this program stamps into the files it writes, and
// the version of the file being read, which the section readers gate their values on.
// Versions are compared part by part ("10.15" is later than "10.3"), never as numbers.
#pragma once

#include "fw/fw.h"

// The version text written into new design files (string resource 4302).
CString GetWriterDesignVersion();

// The version of the design file being read.  Setting it also sets the process-wide float
// copy that older code reads.
void SetLoadedDesignVersion(LPCTSTR version);
CString GetLoadedDesignVersion();
bool LoadedDesignVersionAtLeast(LPCTSTR minimum);
