// Resource ids of the application object, the main frame and the splash.
#pragma once
#define IDR_MAINFRAME 128 // document template string, accelerators, icon
#define IDB_SPLASH 929    // splash bitmap: 640 x 480, 8 bits per pixel

// A command of the application that nothing sends; its handler does nothing.
#define ID_APP_UNUSED_COMMAND 158
