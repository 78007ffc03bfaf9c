// The program's sounds: one function plays a file of the "wavs" folder, through a handler that
// tests replace, so that no test plays a sound.
#pragma once

#include "fw/fw.h"

// Plays "wavs\<name>" (relative to the current directory) asynchronously.
void PlayAppSound(CString name);
typedef void (*SoundHandler)(LPCTSTR path);
// Tests replace it; returns the previous one (nullptr = the real one, PlaySound).
SoundHandler SetSoundHandler(SoundHandler handler);
