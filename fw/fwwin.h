// The window half of the framework layer: windows and message maps, the application and
// its threads, dialogs and controls, frame/document/view and the print road.
#pragma once
#include "fw/fw.h"
#include "fw/res/fwres.h"
#include "fw/fwmsg.h"
#include "fw/fwwnd.h"
#include "fw/fwctl.h"
#include "fw/fwcmdui.h"
#include "fw/fwctl2.h"
#include "fw/fwlistctrl.h"
#include "fw/fwapp.h"
#include "fw/fwdlg.h"
#include "fw/fwdoc.h"
#include "fw/fwprint.h"
