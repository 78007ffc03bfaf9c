#include "model/ktb/DesignVersion.h"

#include <stdlib.h>

#include "base/Globals.h"
#include "base/VersionText.h"
#include "res/file_res.h"

namespace {

CString& LoadedVersion()
{
    static CString version;
    return version;
}

} // namespace

CString GetWriterDesignVersion()
{
    char text[32] = "";
    if (LoadStringA(GetModuleHandleA(NULL), IDS_DESIGN_VERSION, text, sizeof text) <= 0)
        return CString("10.15");
    return CString(text);
}

void SetLoadedDesignVersion(LPCTSTR version)
{
    LoadedVersion() = version ? version : "";
    SetGlobalFloat((float)atof(LoadedVersion()));
}

CString GetLoadedDesignVersion() { return LoadedVersion(); }

bool LoadedDesignVersionAtLeast(LPCTSTR minimum) { return IsVersionAtLeast(LoadedVersion(), minimum); }
