// The per-folder thumbnail cache "thumbs.pst": a compound file whose root storage holds,
// per cached file, a JPEG of its thumbnail (quality 40, 125 pixels on the longer side)
// named after the file ("cake.png") and a time stamp named after the file plus ".dat"
// ("cake.png.dat").  The stamp is a 32-bit byte count L and L bytes of UTF-16LE text with
// its zero terminator: the file's local last-write time as "%y:%m:%d:%H:%M:%S" (40 bytes).
// An entry is fresh while its stamp is exactly the record this program writes for the
// file's current time.
//
// The rules it keeps:
// - the cache file is checked as a compound file (at most 64 MiB) before the platform's
//   storage code opens it; one that fails is replaced by a new cache;
// - a stamp is written only after its image is complete, and any failure removes both
//   streams, so an entry is whole or absent; a stamp or image that is not what this
//   program writes makes the entry stale; nothing is allocated from a stored length;
// - a file whose stream names cannot be used (over 31 characters, "!" or ":"), or a folder
//   whose cache cannot be opened or created, still gets its thumbnail, uncached;
// - design and paper layout files are read through the design file's checked road.
// The cache belongs to one thread at a time (the thumbnail worker during its run).
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <functional>
#include <memory>
#include <vector>

#include "fw/fw.h"
#include "base/ComOwner.h"

class CThumbSink;

// Reads the image a thumbnail is made of and hands it to `use` (valid during the call):
// for design and paper layout files (".ktb", ".pap") their "Thumbnail" stream through the
// design file's checked road, for any other file the file itself as an image.  False when
// the file gives no image.
bool ReadThumbnailSource(LPCTSTR path, const std::function<void(Gdiplus::Image*)>& use);
// The two roads on their own: the "Thumbnail" stream of a compound file, and a file read
// whole (capped) and decoded as an image.
bool ReadStoredThumbnail(LPCTSTR path, const std::function<void(Gdiplus::Image*)>& use);
bool ReadImageFile(LPCTSTR path, const std::function<void(Gdiplus::Image*)>& use);

class CThumbCache
{
public:
    // Longer side of a cached thumbnail, and the caps on what is read.
    static constexpr int kThumbSide = 125;
    static constexpr size_t kMaxCacheFileBytes = 64u * 1024u * 1024u;
    static constexpr size_t kMaxCachedImageBytes = 1024u * 1024u;
    static constexpr int kJpegQuality = 40;

    CThumbCache();
    virtual ~CThumbCache();

    // Opens the folder's existing cache for reading and writing, shared with nobody, after
    // the structural check; FALSE when there is none, it cannot be opened or fails the check.
    BOOL Open(LPCTSTR folder);
    // Creates a new, empty cache in the folder, replacing any file of that name.
    BOOL Create(LPCTSTR folder);
    // Releases the cache file.  TRUE.
    BOOL Close();
    BOOL IsOpen() const { return m_storage != nullptr; }
    const CString& GetPath() const { return m_path; }

    // Shows the cached thumbnail of a fresh entry; FALSE when there is none (a stale entry
    // is removed).
    BOOL FetchThumbnail(LPCTSTR path, const CTime& written, CThumbSink* list);
    // Makes the file's thumbnail, stores it when the cache is open and the names are usable,
    // and shows it.  FALSE when the file gives no image (nothing shown, no entry left).
    BOOL StoreThumbnail(LPCTSTR path, const CTime& written, CThumbSink* list);

    // The file's image scaled into the working image; FALSE when it gives none.
    BOOL LoadSourceImage(LPCTSTR path);
    Gdiplus::Bitmap* GetWorkingImage() const { return m_working.get(); }

    // The names and the record of a file's entry.
    static CString FileName(LPCTSTR path);  // after the last backslash
    static CString StampName(LPCTSTR path); // the file name plus ".dat"
    static CString StampText(const CTime& written);
    static std::vector<BYTE> StampRecord(const CString& text);

private:
    CThumbCache(const CThumbCache&) = delete;
    CThumbCache& operator=(const CThumbCache&) = delete;

    BOOL OpenOrCreate(LPCTSTR folder, bool create);
    void SetScaledImage(Gdiplus::Image* source);
    BOOL ReadCachedImage(LPCTSTR name);
    bool WriteEntry(LPCTSTR imageName, LPCTSTR stampName, const CString& text);
    void RemoveEntry(LPCTSTR imageName, LPCTSTR stampName);
    void Show(LPCTSTR path, CThumbSink* list);

    // COM before the storage: the storage is released first.
    ComScope m_com;
    ComOwner<IStorage> m_storage;
    CString m_path;
    std::unique_ptr<Gdiplus::Bitmap> m_working;
    BYTE m_bTemplate; // set while a template is read: its thumbnail is darkened
};
