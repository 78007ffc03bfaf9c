// The background worker of a thumbnail list: the list fills its file list with the files
// of a folder and starts it; the worker then takes one file per command (so a stop request
// is taken between files), and for each file of the wanted kind fetches its thumbnail from
// the folder's cache or makes and stores a new one, which the cache hands to the list.
//
// The rules it keeps: the list touches the file list, folder and cache only while the
// worker's thread is not alive; the worker reaches the list only through its window
// (CThumbListCtrl::MakeThumbnail sends it the finished bitmap) and the final invalidation.
#pragma once

#include "base/FileUtils.h"
#include "base/Thread.h"
#include "model/thumbs/ThumbCache.h"

class CThumbListCtrl;

class CThumbnailThread : public CThread
{
    DECLARE_DYNAMIC(CThumbnailThread)
public:
    // Which files get thumbnails, by extension (whole, without regard to case).
    enum FileKind {
        kDesigns = 0,      // .ktb
        kImages = 1,       // .bmp .png .jpg .emf .wmf .gif .tif
        kTemplates = 2,    // .tpl
        kPngImages = 3,    // .png
        kPaperLayouts = 4, // .pap
    };
    static bool KindMatches(int kind, LPCTSTR extension);

    CThumbnailThread();

    // Set up by the list while the worker is not running.
    void SetFolder(LPCTSTR folder) { m_folder = folder; }
    const CString& GetFolder() const { return m_folder; }
    void SetFileKind(int kind) { m_fileKind = kind; }
    int GetFileKind() const { return m_fileKind; }
    void SetFilter(LPCTSTR filter) { m_filter = filter; }
    void SetOwner(CThumbListCtrl* owner) { m_pOwner = owner; }
    CThumbListCtrl* GetOwner() const { return m_pOwner; }
    // A window invalidated at the end of each run besides the list (the thumbnail grid).
    void SetOwnerWindow(HWND window) { m_hOwnerWnd = window; }
    void SetNextFile(int index) { m_nextFile = index; }
    CFolderScan& GetFileList() { return m_files; }

    // 1 from the opening of the cache to its closing (written by the worker only).
    BOOL IsRunning() const { return InterlockedCompareExchange(&m_running, 0, 0) != 0; }
    BOOL CacheOpened() const { return m_cacheOpened; }
    BOOL CacheCreated() const { return m_cacheCreated; }

protected:
    DWORD ThreadHandler() override;

private:
    void OpenCache();
    void CloseCache();
    void MakeNextThumbnail();

    void* m_pButtons; // the thumbnail grid's buttons (the grid's own; unused here)
    CString m_folder;
    HWND m_hOwnerWnd; // the thumbnail grid's window
    CThumbListCtrl* m_pOwner;
    CThumbCache m_cache;
    BYTE m_cacheOpened;
    BYTE m_cacheCreated;
    mutable volatile LONG m_running;
    int m_nextFile;
    CFolderScan m_files;
    int m_fileKind;
    CString m_filter;
};
