// Resource ids of the window layer (kept high, out of the program's range).
#pragma once
#define FW_IDS_UNTITLED 0xEF00
