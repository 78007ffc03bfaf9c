#include "testsupport/TestApp.h"

CWinApp& EnsureTestApp()
{
    if (CWinApp* app = AfxGetApp())
        return *app;
    static CWinApp testApp("Sugarleaf tests");
    return testApp;
}
