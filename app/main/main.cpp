// The program: its one application object.  The framework's WinMain runs it.
#include "app/shell/FrostwellApp.h"
#include "ui/periphery/XHyperLinkMessage.h"

CFrostwellApp theApp;
