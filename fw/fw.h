// The framework layer's window-free core: strings, geometry, collections, objects,
// exceptions, files, GDI wrappers, time and the wait cursor.
// The window half (CWnd, CWinApp, dialogs, document/view, print road) is fw/fwwin.h.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <objidl.h>
#include <oleauto.h>
#include <gdiplus.h>

#include "fw/fwdefs.h"
#include "fw/fwstring.h"
#include "fw/fwtypes.h"
#include "fw/fwobject.h"
#include "fw/fwexcept.h"
#include "fw/fwcoll.h"
#include "fw/fwtime.h"
#include "fw/fwfile.h"
#include "fw/fwgdi.h"
#include "fw/fwselect.h"
#include "fw/fwwait.h"
