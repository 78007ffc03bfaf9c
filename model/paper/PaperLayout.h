// A paper layout: how many cake items sit on a sheet, where, how large, of which shape, and
// the paper it is printed on. Lengths are inches.
//
// A "row" runs down the sheet: all items of row i share the x offset of row i; the items of
// column j share the y offset of column j. Cell lists in the stored line run column by
// column.
#pragma once

#include "fw/fw.h"

#include <objidl.h>
#include <gdiplus.h>

class CPaperSize;

class CPaperLayout
{
public:
    enum { kMaxCount = 11 }; // rows and columns each lie between 1 and 11
    enum Shape { kRectangle = 0, kRound = 1, kSquare = 2, kRound2 = 3 };

    CPaperLayout();
    virtual ~CPaperLayout();

    // Every field but the listed flag; array entries only below the other's counts.
    void CopyFrom(const CPaperLayout& other);

    int GetId() const { return m_id; }
    void SetId(int id) { m_id = id; }
    int GetRows() const { return m_rows; }
    int GetColumns() const { return m_columns; }
    // Counts outside 1..11 are refused (false, unchanged).
    bool SetCounts(int rows, int columns);
    int GetItemCount() const { return m_rows * m_columns; }

    // x of row i's items / y of column j's items, the inset added unless the no-inset flag is
    // set. 0 outside the arrays.
    float GetRowOffset(int i) const;
    float GetColumnOffset(int j) const;
    // The offsets as stored.
    float GetStoredRowOffset(int i) const;
    float GetStoredColumnOffset(int j) const;
    void SetRowOffset(int i, float x);
    void SetColumnOffset(int j, float y);

    int GetRowAngle(int i) const;
    void SetRowAngle(int i, int degrees);
    int GetCellAngle(int i, int j) const;
    void SetCellAngle(int i, int j, int degrees);
    float GetRowShift(int i) const;
    void SetRowShift(int i, float y);
    float GetCellShift(int i, int j) const;
    void SetCellShift(int i, int j, float y);
    // The angle and y shift that item (i, j) prints with: the per-cell value when the
    // layout's per-cell flag is set, else the row's.
    int GetItemAngle(int i, int j) const;
    float GetItemShift(int i, int j) const;
    // Whether item (i, j) is left empty in print (the last cell of a skip-last layout).
    bool IsSkippedCell(int i, int j) const;

    int GetShape() const { return m_shape; }
    void SetShape(int shape) { m_shape = shape; }
    bool IsRound() const { return m_shape == kRound || m_shape == kRound2; }
    Gdiplus::SizeF GetItemSize() const { return m_itemSize; }
    void SetItemSize(float width, float height) { m_itemSize = Gdiplus::SizeF(width, height); }
    float GetInset() const { return m_inset; }
    void SetInset(float inset) { m_inset = inset; }
    // The item less twice the inset (unless the no-inset flag is set).
    Gdiplus::SizeF GetPrintableSize() const;
    // The printable size in hundredths of an inch, truncated.
    CSize GetPrintableRect() const;

    int GetPreviewBitmap() const { return m_previewBitmap; }
    void SetPreviewBitmap(int id) { m_previewBitmap = id; }
    int GetTemplateBitmap() const { return m_templateBitmap; }
    void SetTemplateBitmap(int id) { m_templateBitmap = id; }

    BYTE IsCustom() const { return m_custom; }
    void SetCustom(BYTE on) { m_custom = on ? 1 : 0; }
    BYTE IsMultiple() const { return m_multiple; }
    void SetMultiple(BYTE on) { m_multiple = on ? 1 : 0; }
    BYTE IsSeries() const { return m_series; }
    void SetSeries(BYTE on) { m_series = on ? 1 : 0; }
    BYTE IsListed() const { return m_listed; }
    void SetListed(BYTE on) { m_listed = on ? 1 : 0; }
    BYTE IsTurned() const { return m_turned; }
    void SetTurned(BYTE on) { m_turned = on ? 1 : 0; }
    BYTE HasCellAngles() const { return m_cellAngles; }
    void SetCellAngles(BYTE on) { m_cellAngles = on ? 1 : 0; }
    BYTE HasCellShifts() const { return m_cellShifts; }
    void SetCellShifts(BYTE on) { m_cellShifts = on ? 1 : 0; }
    BYTE IsSeries2() const { return m_series2; }
    void SetSeries2(BYTE on) { m_series2 = on ? 1 : 0; }
    BYTE HasPrintDialogFlag() const { return m_printDialog; }
    void SetPrintDialogFlag(BYTE on) { m_printDialog = on ? 1 : 0; }
    BYTE IsSkipLast() const { return m_skipLast; }
    void SetSkipLast(BYTE on) { m_skipLast = on ? 1 : 0; }
    BYTE IsA4() const { return m_a4; }
    void SetA4(BYTE on) { m_a4 = on ? 1 : 0; }
    BYTE IsOneDesignPerCell() const { return m_oneDesignPerCell; }
    void SetOneDesignPerCell(BYTE on) { m_oneDesignPerCell = on ? 1 : 0; }
    BYTE IsNoInset() const { return m_noInset; }
    void SetNoInset(BYTE on) { m_noInset = on ? 1 : 0; }

    // Left and top margin of the regular grid; gap between neighbouring items.
    Gdiplus::PointF GetMargin() const { return m_margin; }
    void SetMargin(float x, float y) { m_margin = Gdiplus::PointF(x, y); }
    Gdiplus::SizeF GetSpacing() const { return m_spacing; }
    void SetSpacing(float x, float y) { m_spacing = Gdiplus::SizeF(x, y); }

    // A key of the language table.
    CString GetName() const { return m_name; }
    void SetName(LPCTSTR name) { m_name = name; }
    // Not owned; NULL when the layout has no paper size.
    CPaperSize* GetPaperSize() const { return m_paperSize; }
    void SetPaperSize(CPaperSize* size) { m_paperSize = size; }

    // The stored line: 30 comma-separated fields, the lists among them one token per value,
    // so 24 + 3r + c + 2rc tokens. A "," in the name is written as ";".
    CString FormatCsv() const;
    // Reads a stored line written by a program of the given version. The counts and the
    // number of tokens are checked first: a malformed line changes nothing and gives false.
    // The inset, which the line does not hold, comes from the catalogue layout of the same id
    // (0 when the catalogue has none).
    BOOL ParseCsv(LPCTSTR line, LPCTSTR version);

    // The line as one VARIANT record of type BSTR.
    HRESULT SaveToStream(IStream* stream) const;
    // Reads that record and parses it for the given design-file version; false when the
    // record cannot be read or the line is malformed.
    BOOL LoadFromStream(IStream* stream, LPCTSTR version);
    // Reads the layout records of the oldest design-file form, mapping them to a catalogue
    // layout; hands back the version text found there and returns the number of design
    // areas, or 0 when the records cannot be read or the count is not a sane one.
    int ReadFromDesign(IStream* stream, CString& version);

private:
    CPaperLayout(const CPaperLayout&) = delete;
    CPaperLayout& operator=(const CPaperLayout&) = delete;

    static bool InRange(int i) { return i >= 0 && i < kMaxCount; }

    int m_id;
    int m_rows;
    int m_columns;
    float m_rowOffset[kMaxCount];
    float m_columnOffset[kMaxCount];
    int m_rowAngle[kMaxCount];
    int m_cellAngle[kMaxCount][kMaxCount];
    float m_rowShift[kMaxCount];
    float m_cellShift[kMaxCount][kMaxCount];
    int m_shape;
    Gdiplus::SizeF m_itemSize;
    float m_inset;
    int m_previewBitmap;
    BYTE m_custom;
    BYTE m_multiple;
    int m_templateBitmap;
    BYTE m_series;
    BYTE m_listed;
    BYTE m_turned;
    BYTE m_cellAngles;
    BYTE m_cellShifts;
    BYTE m_series2;
    BYTE m_printDialog;
    BYTE m_skipLast;
    BYTE m_a4;
    Gdiplus::PointF m_margin;
    BYTE m_oneDesignPerCell;
    BYTE m_noInset;
    Gdiplus::SizeF m_spacing;
    CString m_name;
    CPaperSize* m_paperSize;
};

// The pieces of text between the delimiters: two delimiters in a row give an empty piece,
// a delimiter at the end no empty last piece, an empty text no piece.
void SplitText(const CString& text, CStringArray& pieces, char delimiter);

// One BSTR record "key=value": the key and the integer value; false when the key is "END"
// or the record cannot be read.
bool ReadKeyValueRecord(IStream* stream, CString& key, int& value);

// Adds the layouts of every "*.pap" file of the user's paper folder (setting "root", then
// the localised folder name "IDS_PAPER_DIR") to the catalogue; returns how many were added.
int LoadUserPaperLayouts();
