#include "model/paper/PaperLayout.h"

#include <ctype.h>
#include <float.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"
#include "base/VersionText.h"

CPaperLayout::CPaperLayout()
    : m_id(0), m_rows(0), m_columns(0), m_shape(0), m_itemSize(0, 0), m_inset(0), m_previewBitmap(0), m_custom(0),
      m_multiple(0), m_templateBitmap(0), m_series(0), m_listed(0), m_turned(0), m_cellAngles(0), m_cellShifts(0),
      m_series2(0), m_printDialog(0), m_skipLast(0), m_a4(0), m_margin(0, 0), m_oneDesignPerCell(0), m_noInset(0),
      m_spacing(0, 0), m_paperSize(NULL)
{
    memset(m_rowOffset, 0, sizeof(m_rowOffset));
    memset(m_columnOffset, 0, sizeof(m_columnOffset));
    memset(m_rowAngle, 0, sizeof(m_rowAngle));
    memset(m_cellAngle, 0, sizeof(m_cellAngle));
    memset(m_rowShift, 0, sizeof(m_rowShift));
    memset(m_cellShift, 0, sizeof(m_cellShift));
}

CPaperLayout::~CPaperLayout() {}

void CPaperLayout::CopyFrom(const CPaperLayout& other)
{
    if (&other == this)
        return;
    m_id = other.m_id;
    m_rows = other.m_rows;
    m_columns = other.m_columns;
    // Counts outside the arrays would make the copy run past them.
    const int rows = InRange(m_rows - 1) ? m_rows : (m_rows > 0 ? (int)kMaxCount : 0);
    const int cols = InRange(m_columns - 1) ? m_columns : (m_columns > 0 ? (int)kMaxCount : 0);
    for (int i = 0; i < rows; ++i) {
        m_rowOffset[i] = other.m_rowOffset[i];
        m_rowAngle[i] = other.m_rowAngle[i];
        m_rowShift[i] = other.m_rowShift[i];
        for (int j = 0; j < cols; ++j) {
            m_cellAngle[i][j] = other.m_cellAngle[i][j];
            m_cellShift[i][j] = other.m_cellShift[i][j];
        }
    }
    for (int j = 0; j < cols; ++j)
        m_columnOffset[j] = other.m_columnOffset[j];
    m_shape = other.m_shape;
    m_itemSize = other.m_itemSize;
    m_inset = other.m_inset;
    m_previewBitmap = other.m_previewBitmap;
    m_custom = other.m_custom;
    m_multiple = other.m_multiple;
    m_templateBitmap = other.m_templateBitmap;
    m_series = other.m_series;
    m_turned = other.m_turned;
    m_cellAngles = other.m_cellAngles;
    m_cellShifts = other.m_cellShifts;
    m_series2 = other.m_series2;
    m_printDialog = other.m_printDialog;
    m_skipLast = other.m_skipLast;
    m_a4 = other.m_a4;
    m_margin = other.m_margin;
    m_oneDesignPerCell = other.m_oneDesignPerCell;
    m_noInset = other.m_noInset;
    m_spacing = other.m_spacing;
    m_name = other.m_name;
    m_paperSize = other.m_paperSize;
}

bool CPaperLayout::SetCounts(int rows, int columns)
{
    if (rows < 1 || rows > kMaxCount || columns < 1 || columns > kMaxCount)
        return false;
    m_rows = rows;
    m_columns = columns;
    return true;
}

float CPaperLayout::GetRowOffset(int i) const
{
    if (!InRange(i))
        return 0;
    return m_noInset ? m_rowOffset[i] : m_rowOffset[i] + m_inset;
}

float CPaperLayout::GetColumnOffset(int j) const
{
    if (!InRange(j))
        return 0;
    return m_noInset ? m_columnOffset[j] : m_columnOffset[j] + m_inset;
}

float CPaperLayout::GetStoredRowOffset(int i) const { return InRange(i) ? m_rowOffset[i] : 0; }

float CPaperLayout::GetStoredColumnOffset(int j) const { return InRange(j) ? m_columnOffset[j] : 0; }

void CPaperLayout::SetRowOffset(int i, float x)
{
    if (InRange(i))
        m_rowOffset[i] = x;
}

void CPaperLayout::SetColumnOffset(int j, float y)
{
    if (InRange(j))
        m_columnOffset[j] = y;
}

int CPaperLayout::GetRowAngle(int i) const { return InRange(i) ? m_rowAngle[i] : 0; }

void CPaperLayout::SetRowAngle(int i, int degrees)
{
    if (InRange(i))
        m_rowAngle[i] = degrees;
}

int CPaperLayout::GetCellAngle(int i, int j) const { return InRange(i) && InRange(j) ? m_cellAngle[i][j] : 0; }

void CPaperLayout::SetCellAngle(int i, int j, int degrees)
{
    if (InRange(i) && InRange(j))
        m_cellAngle[i][j] = degrees;
}

float CPaperLayout::GetRowShift(int i) const { return InRange(i) ? m_rowShift[i] : 0; }

void CPaperLayout::SetRowShift(int i, float y)
{
    if (InRange(i))
        m_rowShift[i] = y;
}

float CPaperLayout::GetCellShift(int i, int j) const { return InRange(i) && InRange(j) ? m_cellShift[i][j] : 0; }

void CPaperLayout::SetCellShift(int i, int j, float y)
{
    if (InRange(i) && InRange(j))
        m_cellShift[i][j] = y;
}

int CPaperLayout::GetItemAngle(int i, int j) const { return m_cellAngles ? GetCellAngle(i, j) : GetRowAngle(i); }

float CPaperLayout::GetItemShift(int i, int j) const { return m_cellShifts ? GetCellShift(i, j) : GetRowShift(i); }

bool CPaperLayout::IsSkippedCell(int i, int j) const { return m_skipLast && i == m_rows - 1 && j == m_columns - 1; }

Gdiplus::SizeF CPaperLayout::GetPrintableSize() const
{
    if (m_noInset)
        return m_itemSize;
    return Gdiplus::SizeF(m_itemSize.Width - 2 * m_inset, m_itemSize.Height - 2 * m_inset);
}

CSize CPaperLayout::GetPrintableRect() const
{
    const Gdiplus::SizeF size = GetPrintableSize();
    return CSize((int)(size.Width * 100.0), (int)(size.Height * 100.0));
}

namespace {

void AppendInt(CString& line, int value) { line.AppendFormat(",%d", value); }
void AppendFloat(CString& line, float value) { line.AppendFormat(",%f", (double)value); }

// A token read as a decimal number: sign, digits, fraction and exponent, up to the first
// character that does not fit; no digits read as 0. Not the C library's wider reading,
// which would take "inf", "nan" and hexadecimal from a file.
double ReadDecimal(const char* text)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    const char* start = p;
    if (*p == '+' || *p == '-')
        ++p;
    bool digits = false;
    for (; isdigit((unsigned char)*p); ++p)
        digits = true;
    if (*p == '.')
        for (++p; isdigit((unsigned char)*p); ++p)
            digits = true;
    if (!digits)
        return 0;
    if (*p == 'e' || *p == 'E') {
        const char* e = p + 1;
        if (*e == '+' || *e == '-')
            ++e;
        if (isdigit((unsigned char)*e)) {
            while (isdigit((unsigned char)*e))
                ++e;
            p = e;
        }
    }
    return strtod(std::string(start, p).c_str(), NULL);
}

// Whether the token, read as a decimal number, fits a float.
bool FitsFloat(const char* text) { return fabs(ReadDecimal(text)) <= FLT_MAX; }

// Reads the tokens of a stored line in order; the caller has checked there are enough.
class TokenReader
{
public:
    explicit TokenReader(const CStringArray& tokens) : m_tokens(tokens), m_next(0) {}
    const CString& Text() { return m_tokens[m_next++]; }
    int Int() { return (int)strtol(Text(), NULL, 10); }
    float Float() { return (float)ReadDecimal(Text()); }
    BYTE Flag() { return Int() != 0 ? 1 : 0; }

private:
    const CStringArray& m_tokens;
    INT_PTR m_next;
};

} // namespace

CString CPaperLayout::FormatCsv() const
{
    CString name = m_name;
    name.Replace(',', ';'); // a comma would shift every later field of the line
    CString line;
    line.Format("%d,%d,%d,%d,%f,%f,%d,%d,%f,%f,%d,%f,%f,%s,%d,%d", m_id, m_rows, m_columns, m_shape,
                (double)m_itemSize.Width, (double)m_itemSize.Height, m_previewBitmap, m_custom ? 1 : 0,
                (double)m_margin.X, (double)m_margin.Y, m_oneDesignPerCell ? 1 : 0, (double)m_spacing.Width,
                (double)m_spacing.Height, (LPCTSTR)name, m_paperSize ? m_paperSize->GetId() : 0, m_multiple ? 1 : 0);
    const int rows = m_rows < 0 ? 0 : (m_rows > kMaxCount ? (int)kMaxCount : m_rows);
    const int cols = m_columns < 0 ? 0 : (m_columns > kMaxCount ? (int)kMaxCount : m_columns);
    for (int i = 0; i < rows; ++i)
        AppendFloat(line, m_rowOffset[i]);
    for (int j = 0; j < cols; ++j)
        AppendFloat(line, m_columnOffset[j]);
    for (int i = 0; i < rows; ++i)
        AppendInt(line, m_rowAngle[i]);
    for (int j = 0; j < cols; ++j)
        for (int i = 0; i < rows; ++i)
            AppendInt(line, m_cellAngle[i][j]);
    for (int i = 0; i < rows; ++i)
        AppendFloat(line, m_rowShift[i]);
    for (int j = 0; j < cols; ++j)
        for (int i = 0; i < rows; ++i)
            AppendFloat(line, m_cellShift[i][j]);
    line.AppendFormat(",%d,%d,%d,%d,%d,%d,%d,%d", m_templateBitmap, m_series ? 1 : 0, m_turned ? 1 : 0,
                      m_series2 ? 1 : 0, m_printDialog ? 1 : 0, m_cellShifts ? 1 : 0, m_skipLast ? 1 : 0,
                      m_noInset ? 1 : 0);
    return line;
}

BOOL CPaperLayout::ParseCsv(LPCTSTR line, LPCTSTR version)
{
    CStringArray tokens;
    SplitText(CString(line), tokens, ',');
    const INT_PTR count = tokens.GetSize();
    const int kHead = 16;      // fields 1 to 16
    const int kNameToken = 13; // field 14
    if (count < kHead)
        return FALSE;
    const int rows = (int)strtol(tokens[1], NULL, 10);
    const int cols = (int)strtol(tokens[2], NULL, 10);
    if (rows < 1 || rows > kMaxCount || cols < 1 || cols > kMaxCount)
        return FALSE;

    const bool angles = IsVersionAtLeast(version, "7.8");
    const bool noInsetFlag = IsVersionAtLeast(version, "10.0");
    const bool noInsetField = IsVersionAtLeast(version, "10.3");
    INT_PTR needed = kHead + rows + cols;
    if (angles)
        needed += rows + rows * cols + rows + rows * cols + 7;
    if (noInsetField)
        needed += 1;
    if (count < needed)
        return FALSE;
    // A number beyond the float range is damage, not a size or an offset to lay out.
    for (INT_PTR k = 0; k < needed; ++k)
        if (k != kNameToken && !FitsFloat(tokens[k]))
            return FALSE;

    TokenReader in(tokens);
    m_id = in.Int();
    m_rows = in.Int();
    m_columns = in.Int();
    m_shape = in.Int();
    m_itemSize.Width = in.Float();
    m_itemSize.Height = in.Float();
    m_previewBitmap = in.Int();
    m_custom = in.Flag();
    m_margin.X = in.Float();
    m_margin.Y = in.Float();
    m_oneDesignPerCell = in.Flag();
    m_spacing.Width = in.Float();
    m_spacing.Height = in.Float();
    m_name = in.Text();
    const int paperId = in.Int();
    m_paperSize = paperId != 0 ? GetGlobalObjectB()->Lookup((WORD)paperId) : NULL;
    m_multiple = in.Flag();
    for (int i = 0; i < rows; ++i)
        m_rowOffset[i] = in.Float();
    for (int j = 0; j < cols; ++j)
        m_columnOffset[j] = in.Float();
    if (angles) {
        for (int i = 0; i < rows; ++i)
            m_rowAngle[i] = in.Int();
        for (int j = 0; j < cols; ++j)
            for (int i = 0; i < rows; ++i)
                m_cellAngle[i][j] = in.Int();
        for (int i = 0; i < rows; ++i)
            m_rowShift[i] = in.Float();
        for (int j = 0; j < cols; ++j)
            for (int i = 0; i < rows; ++i)
                m_cellShift[i][j] = in.Float();
        m_templateBitmap = in.Int();
        m_series = in.Flag();
        m_turned = in.Flag();
        m_series2 = in.Flag();
        m_printDialog = in.Flag();
        m_cellShifts = in.Flag();
        m_skipLast = in.Flag();
    }
    if (noInsetField)
        m_noInset = in.Flag();
    else if (noInsetFlag)
        m_noInset = 1;

    // The line holds neither the inset nor the choice between per-cell and per-row angles:
    // the catalogue layout of the same id knows them. A layout the catalogue does not know
    // has no inset and turns by cell when it has any cell angle.
    const CPaperLayout* known = GetGlobalObjectA()->Lookup((WORD)m_id);
    if (known) {
        m_inset = known->GetInset();
        m_cellAngles = known->HasCellAngles();
    } else {
        m_inset = 0.0f;
        if (angles) {
            m_cellAngles = 0;
            for (int i = 0; i < rows; ++i)
                for (int j = 0; j < cols; ++j)
                    if (m_cellAngle[i][j] != 0)
                        m_cellAngles = 1;
        }
    }
    return TRUE;
}

void SplitText(const CString& text, CStringArray& pieces, char delimiter)
{
    const int length = text.GetLength();
    int pos = 0;
    for (;;) {
        const int found = text.Find(delimiter, pos);
        if (found < 0)
            break;
        pieces.Add(text.Mid(pos, found - pos));
        pos = found + 1;
    }
    if (pos < length)
        pieces.Add(text.Mid(pos));
}
