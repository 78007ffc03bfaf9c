// A sheet that the printer is fed with, and the process-wide catalogue of sheets.
#pragma once

#include "fw/fw.h"

#include <gdiplus.h>

class CPaperSize
{
public:
    CPaperSize();
    virtual ~CPaperSize();

    void SetId(int id) { m_id = id; }
    int GetId() const { return m_id; }
    // Sheet size in inches; a sheet wider than high is landscape.
    void SetSheetSize(float width, float height);
    Gdiplus::SizeF GetSheetSize() const { return m_sheetSize; }
    void SetPrintableSize(float width, float height) { m_printableSize = Gdiplus::SizeF(width, height); }
    Gdiplus::SizeF GetPrintableSize() const { return m_printableSize; }
    void SetPreviewBitmap(int id) { m_previewBitmap = id; }
    int GetPreviewBitmap() const { return m_previewBitmap; }
    // A key of the language table.
    void SetName(LPCTSTR name) { m_name = name; }
    CString GetName() const { return m_name; }
    // The platform's paper code for the printer settings (DMPAPER_A4 9, DMPAPER_A3 8).
    void SetPaperCode(int code) { m_paperCode = code; }
    int GetPaperCode() const { return m_paperCode; }
    BYTE IsLandscape() const { return m_landscape; }
    // Margins in inches that the preview shows.
    void SetMargin(float x, float y) { m_margin = Gdiplus::PointF(x, y); }
    Gdiplus::PointF GetMargin() const { return m_margin; }

private:
    CPaperSize(const CPaperSize&) = delete;
    CPaperSize& operator=(const CPaperSize&) = delete;

    int m_id;
    Gdiplus::SizeF m_sheetSize;
    Gdiplus::SizeF m_printableSize;
    int m_previewBitmap;
    CString m_name;
    int m_paperCode;
    BYTE m_landscape;
    Gdiplus::PointF m_margin;
};

typedef CList<CPaperSize*, CPaperSize*> CPaperSizeList;

// Paper sizes by 16-bit id; owns its records.
class CPaperSizeMap
{
public:
    CPaperSizeMap();
    virtual ~CPaperSizeMap();

    // The eight built-in sizes (ids 6 to 13); replaces any size of the same id.
    void AddOversizedPapers();
    // Takes ownership; a size already held under the id is deleted.
    void Add(CPaperSize* size);
    CPaperSize* Lookup(WORD id) const;
    // A new list (owned by the caller, the records are not) of every size, in the map's walk
    // order: bucket by bucket, the newest first in each (all eight built-in sizes share a
    // bucket, so 8, 9, 7, 6, 13, 12, 11, 10).
    CPaperSizeList* GetAll() const;
    INT_PTR GetCount() const { return m_map.GetCount(); }
    void RemoveAll();

private:
    CPaperSizeMap(const CPaperSizeMap&) = delete;
    CPaperSizeMap& operator=(const CPaperSizeMap&) = delete;

    CMap<WORD, WORD, CPaperSize*, CPaperSize*> m_map;
};
