#include "base/Sound.h"

#include <mmsystem.h>

namespace {

SoundHandler g_handler = nullptr;

void PlayFile(LPCTSTR path) { PlaySoundA(path, nullptr, SND_FILENAME | SND_ASYNC); }

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
