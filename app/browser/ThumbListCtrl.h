// The list view that shows a folder's files as thumbnails with their names under them, or
// bitmaps offered as choices.  Loading a folder runs on the list's own worker
// (CThumbnailThread); choosing an item posts WM_USER+0x55 (wParam 3) to the parent.
//
// The rules it keeps:
// - item i shows image i of the image list, and its value is under the key "i";
// - only the list's own (UI) thread changes the items, the image list and the values: a
//   thumbnail made on the worker is fitted there and handed over in a sent message;
// - a new load first waits, handling the thread's messages, until the previous worker has
//   ended; a load asked for while it waits is kept, and the last one asked for is loaded;
// - destroying the list stops its worker, answering what the worker sends meanwhile, and
//   ends it by force only when it has not stopped within the limit.
#pragma once

#include "fw/fwwin.h"
#include "app/browser/ThumbnailThread.h"
#include "model/thumbs/ThumbSink.h"

// Posted to the parent when an item became selected and focused (wParam 3, lParam 0).
const UINT WM_THUMBNAIL_CHOSEN = WM_USER + 0x55;

class CThumbListCtrl : public CListCtrl, public CThumbSink
{
    DECLARE_DYNAMIC(CThumbListCtrl)
public:
    // How long a destroyed list waits for its worker, in steps of 100 ms.
    static constexpr int kStopPollsOnDestroy = 50;
    // The exit code of a worker that had to be ended by force.
    static constexpr DWORD kForcedEnd = (DWORD)-1;

    CThumbListCtrl();
    ~CThumbListCtrl() override;

    // Takes effect at the next CreateImageList or reset.
    void SetThumbnailSize(int width, int height);
    // Makes the image list at the thumbnail size and attaches it as the normal image list;
    // the owner calls it once the window exists.
    void CreateImageList();

    // Replaces the list's contents by the thumbnails of the folder's files of `fileKind`
    // (CThumbnailThread::FileKind) matching `filter`, loaded in the background.
    void LoadFolder(LPCTSTR folder, LPCTSTR filter, BOOL recursive, int fileKind);
    // Empties the list and its image list (a running worker is not stopped).
    void StopLoading();
    // Appends one item: the image fitted into the thumbnail size on white, with its label
    // and value.  Any thread; the item is added on the list's own thread.  An image without
    // pixels appends nothing.
    void MakeThumbnail(Gdiplus::Image* image, LPCTSTR label, LPCTSTR value) override;
    // Appends the bitmap resource with the label and the number (as text) as its value;
    // nothing when the resource is missing or empty.
    void AddItem(UINT bitmapId, LPCTSTR label, int number);
    // Makes the item's value the chosen path (an index without one leaves it) and returns it.
    CString GetItemFileName(int index);
    const CString& GetChosenPath() const { return m_strChosenPath; }

    const CThumbnailThread& GetWorker() const { return m_worker; }
    // The thumbnail of an image as the list shows it: W x H, 24-bit, white around the image
    // fitted with its aspect ratio; NULL for an image without pixels.  The caller deletes it.
    static HBITMAP FitThumbnail(Gdiplus::Image* image, int width, int height);

protected:
    void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnHeaderItemClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnDestroy();
    LRESULT OnThumbnailReady(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    struct LoadRequest
    {
        CString folder;
        CString filter;
        BOOL recursive = FALSE;
        int fileKind = 0;
    };
    struct Thumbnail
    {
        HBITMAP bitmap;
        LPCTSTR label;
        LPCTSTR value;
    };

    enum class WaitEnd { kEnded, kListClosing, kListGone };

    void InsertThumbnail(HBITMAP bitmap, LPCTSTR label, LPCTSTR value);
    // Posts the stop command and handles this thread's messages until the worker's thread
    // has ended; says whether the list was destroyed (or deleted) meanwhile.
    WaitEnd WaitForWorkerEnd();
    void StartLoad(const LoadRequest& request);

    CString m_strChosenPath;
    CThumbnailThread m_worker;
    CImageList m_imageList;
    int m_nItemCounter;
    CMapStringToString m_values;
    int m_nThumbWidth;
    int m_nThumbHeight;

    LoadRequest m_pending; // the last load asked for
    bool m_hasPending;     // ... and not yet started
    bool m_loading;        // a LoadFolder is on the stack
    bool m_closing;        // destroyed: thumbnails still arriving are dropped
    bool* m_pGoneFlag;     // set by the destructor for a LoadFolder waiting on the stack
};
