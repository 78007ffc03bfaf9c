// The program's sounds: one function plays a file of the "wavs" folder, through a handler that
// tests replace, so that no test plays a sound.
#pragma once

#include "fw/fw.h"

// Plays "wavs\<name>" (relative to the current directory) asynchronously.
void PlayAppSound(CString name);
typedef void (*SoundHandler)(LPCTSTR path);
// Tests replace it; returns the previous one (nullptr = the real one, PlaySound).
SoundHandler SetSoundHandler(SoundHandler handler);

// The system's warning beep (MessageBeep of that type), through a handler that tests replace.
void AppBeep(UINT type);
typedef void (*BeepHandler)(UINT type);
// Tests replace it; returns the previous one (nullptr = the real one, MessageBeep).
BeepHandler SetBeepHandler(BeepHandler handler);
