// The process-wide paper objects: the current layout and the two catalogues. Each exists
// from before the application object runs until exit.
#pragma once

class CPaperLayout;
class CPaperLayoutMap;
class CPaperSizeMap;

// The current paper layout of the open design (never null).
CPaperLayout* GetPaperLayout();
// The catalogue of paper layouts.
CPaperLayoutMap* GetGlobalObjectA();
// The catalogue of paper sizes.
CPaperSizeMap* GetGlobalObjectB();
