#include "app/browser/ThumbnailThread.h"

#include "app/browser/ThumbListCtrl.h"
#include "base/ComOwner.h"

IMPLEMENT_DYNAMIC(CThumbnailThread, CThread)

bool CThumbnailThread::KindMatches(int kind, LPCTSTR extension)
{
    static const char* const designs[] = {".KTB", nullptr};
    static const char* const images[] = {".BMP", ".PNG", ".JPG", ".EMF", ".WMF", ".GIF", ".TIF", nullptr};
    static const char* const templates[] = {".tpl", nullptr};
    static const char* const pngs[] = {".PNG", nullptr};
    static const char* const layouts[] = {".pap", nullptr};
    static const char* const* const kinds[] = {designs, images, templates, pngs, layouts};
    if (extension == nullptr || kind < 0 || kind >= (int)(sizeof kinds / sizeof kinds[0]))
        return false;
    for (const char* const* e = kinds[kind]; *e != nullptr; ++e)
        if (lstrcmpiA(extension, *e) == 0)
            return true;
    return false;
}

CThumbnailThread::CThumbnailThread()
    : m_pButtons(nullptr), m_hOwnerWnd(nullptr), m_pOwner(nullptr), m_cacheOpened(0), m_cacheCreated(0), m_running(0),
      m_nextFile(0), m_fileKind(0)
{
    m_strName = "CThumbnailThread";
    m_bSupportNotification = TRUE;
    m_bUseSharedLock = TRUE;
}

DWORD CThumbnailThread::ThreadHandler()
{
    // COM for the whole run: the cache and the design files' storages live inside it.
    ComScope com = EnsureCom();
    // A folder on an empty removable drive fails quietly instead of asking for a disk.
    DWORD oldMode = 0;
    ::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &oldMode);
    struct RestoreMode
    {
        DWORD mode;
        ~RestoreMode() { ::SetThreadErrorMode(mode, nullptr); }
    } restore{oldMode};
    for (;;) {
        UINT command = kNoCommand;
        WaitForNotification(command);
        switch (command) {
        case kStart:
            PostCommandFirst(kRun);
            OpenCache();
            break;
        case kRun:
        case kContinue:
            MakeNextThumbnail();
            break;
        case kPause:
            SetActivityStatus(3);
            break;
        case kStop:
            CloseCache();
            return 0;
        default:
            break;
        }
    }
}

void CThumbnailThread::OpenCache()
{
    m_cacheOpened = m_cache.Open(m_folder) ? 1 : 0;
    InterlockedExchange(&m_running, 1);
    m_cacheCreated = 0;
    if (!m_cacheOpened)
        m_cacheCreated = m_cache.Create(m_folder) ? 1 : 0;
    m_nextFile = 0;
}

void CThumbnailThread::CloseCache()
{
    m_cache.Close();
    InterlockedExchange(&m_running, 0);
    if (m_pOwner != nullptr)
        ::InvalidateRect(m_pOwner->GetSafeHwnd(), nullptr, TRUE);
    if (m_hOwnerWnd != nullptr)
        ::InvalidateRect(m_hOwnerWnd, nullptr, TRUE);
}

void CThumbnailThread::MakeNextThumbnail()
{
    if (m_nextFile < 0 || m_nextFile >= (int)m_files.GetSize()) {
        PostCommand(kStop);
        return;
    }
    const CFilePath& file = m_files[m_nextFile];
    if (KindMatches(m_fileKind, file.GetExtension())) {
        // A file whose thumbnail cannot be read or made is skipped, whatever went wrong.
        try {
            // Without a cache (it could neither be opened nor created) the thumbnail is
            // still made, and nothing is written.
            if (!m_cacheOpened || !m_cache.FetchThumbnail(file.GetPath(), file.GetLastWriteTime(), m_pOwner))
                m_cache.StoreThumbnail(file.GetPath(), file.GetLastWriteTime(), m_pOwner);
        } catch (CException* e) {
            e->Delete();
        } catch (const std::bad_alloc&) {}
    }
    ++m_nextFile;
    Continue();
}
