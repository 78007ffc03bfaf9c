#include "base/Sound.h"

#include <mmsystem.h>

namespace {

SoundHandler g_handler = nullptr;
BeepHandler g_beep = nullptr;

void PlayFile(LPCTSTR path) { PlaySoundA(path, nullptr, SND_FILENAME | SND_ASYNC); }
void SystemBeep(UINT type) { ::MessageBeep(type); }

} // namespace

void PlayAppSound(CString name)
{
    CString path;
    path.Format("wavs\\%s", (LPCTSTR)name);
    (g_handler ? g_handler : PlayFile)(path);
}

SoundHandler SetSoundHandler(SoundHandler handler)
{
    SoundHandler previous = g_handler;
    g_handler = handler;
    return previous;
}

void AppBeep(UINT type) { (g_beep ? g_beep : SystemBeep)(type); }

BeepHandler SetBeepHandler(BeepHandler handler)
{
    BeepHandler previous = g_beep;
    g_beep = handler;
    return previous;
}
