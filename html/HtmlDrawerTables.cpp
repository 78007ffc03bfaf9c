// The drawer's tables: the grid of a table's rows and cells with their spans, column widths
// and row heights from the measuring pass, and in the drawing pass the stretching, alignment,
// backgrounds, borders and the cells' contents (flow text and nested tables).
// A table's text is searched only at its own level: rows and cells of nested tables are
// skipped whole, and every search moves forward, so no text can make a search loop.
#include "html/HtmlDrawer.h"
#include <initializer_list>
#include <string.h>

namespace {

// Widths, paddings and spacings beyond this are clamped: they would only push cells off
// every device, and the sums of a grid stay within int.
const int kMaxLength = 0xFFFF;
// A grid of more cells than this is laid out empty: no tooltip holds such a table.
const long long kMaxCells = 0x4000;
// Coordinates further out than this are off every device.
const long long kCoordinateLimit = 0x3FFFFFFF;

int ClampLength(int value) { return value < 0 ? 0 : (value > kMaxLength ? kMaxLength : value); }

LONG ClampCoordinate(long long value)
{
    return (LONG)(value > kCoordinateLimit ? kCoordinateLimit
                                           : (value < -kCoordinateLimit ? -kCoordinateLimit : value));
}

// Whether text holds the tag name (with its "<") at pos, followed by the end of a name.
bool IsTagAt(const CString& text, int pos, const char* name)
{
    const int length = text.GetLength();
    const int n = (int)strlen(name);
    if (pos < 0 || pos + n > length || strncmp((LPCTSTR)text + pos, name, (size_t)n) != 0)
        return false;
    return pos + n == length || strchr(" \t\r\n>", text[pos + n]) != nullptr;
}

// The next "<" from pos that opens a tag (a doubled "<<" is a literal "<"), or -1.
int NextTagStart(const CString& text, int pos)
{
    const int length = text.GetLength();
    while (pos < length) {
        const int lt = text.Find('<', pos);
        if (lt < 0)
            return -1;
        if (lt + 1 < length && text[lt + 1] == '<') {
            pos = lt + 2;
            continue;
        }
        return lt;
    }
    return -1;
}

// The next "<table" from pos, or -1.
int FindTableStart(const CString& text, int pos)
{
    for (int lt = NextTagStart(text, pos); lt >= 0; lt = NextTagStart(text, lt + 1))
        if (IsTagAt(text, lt, "<table"))
            return lt;
    return -1;
}

// The next tag of one of the names from pos at this level (nested tables skipped), or -1.
int FindAtLevel(const CString& text, int pos, std::initializer_list<const char*> names)
{
    int lt = NextTagStart(text, pos);
    while (lt >= 0) {
        for (const char* name : names)
            if (IsTagAt(text, lt, name))
                return lt;
        if (IsTagAt(text, lt, "<table")) {
            const int end = CPPHtmlDrawer::SearchEndOfTable(text, lt);
            lt = NextTagStart(text, end > lt ? end : lt + 1);
        } else {
            lt = NextTagStart(text, lt + 1);
        }
    }
    return -1;
}

// Splits "<name attributes>content" at the end of the tag of nameLength characters (its
// "<" included); a tag never closed has no content.
void SplitTag(const CString& text, int nameLength, CString& attributes, CString& content)
{
    const int gt = text.Find('>');
    if (gt < 0) {
        attributes = text.Mid(nameLength);
        content.Empty();
        return;
    }
    attributes = gt > nameLength ? text.Mid(nameLength, gt - nameLength) : CString();
    content = text.Mid(gt + 1);
}

// The rows of a table's content, each from its "<tr" to the next row or the end.
std::vector<CString> TableRows(const CString& content)
{
    std::vector<CString> rows;
    int start = FindAtLevel(content, 0, {"<tr"});
    while (start >= 0) {
        const int next = FindAtLevel(content, start + 3, {"<tr"});
        rows.push_back(content.Mid(start, (next < 0 ? content.GetLength() : next) - start));
        start = next;
    }
    return rows;
}

// The cells of a row's content, each from its "<td" to its "</td>", the next cell or the
// end of the row.
std::vector<CString> RowCells(const CString& content)
{
    std::vector<CString> cells;
    int start = FindAtLevel(content, 0, {"<td"});
    while (start >= 0) {
        const int end = FindAtLevel(content, start + 3, {"<td", "</td", "</tr"});
        cells.push_back(content.Mid(start, (end < 0 ? content.GetLength() : end) - start));
        start = end < 0 ? -1 : FindAtLevel(content, end, {"<td"});
    }
    return cells;
}

// The table's text without its own closing tag, which SearchEndOfTable leaves at its end.
CString WithoutClosingTag(const CString& text)
{
    const int lt = text.ReverseFind('<');
    if (lt > 0 && IsTagAt(text, lt, "</table") && CPPHtmlDrawer::SearchEndOfTable(text, 0) == text.GetLength())
        return text.Left(lt);
    return text;
}

// The length of a grid line: the sizes of its columns (rows), the spacing before, between and
// after them, and one pixel between neighbours.
long long GridLength(const std::vector<int>& sizes, int spacing)
{
    const long long count = (long long)sizes.size();
    long long length = count + spacing - 1;
    if (length < 0)
        length = 0;
    for (int size : sizes)
        length += (long long)size + spacing;
    return length;
}

} // namespace

int CPPHtmlDrawer::SearchEndOfTable(const CString& text, int start)
{
    const int length = text.GetLength();
    int depth = 0;
    int lt = NextTagStart(text, start < 0 ? 0 : start);
    while (lt >= 0) {
        if (IsTagAt(text, lt, "<table")) {
            ++depth;
        } else if (IsTagAt(text, lt, "</table")) {
            const int gt = text.Find('>', lt);
            const int behind = gt < 0 ? length : gt + 1;
            if (--depth <= 0)
                return behind;
        }
        lt = NextTagStart(text, lt + 1);
    }
    return length;
}

SIZE CPPHtmlDrawer::CountTableDims(const CString& text)
{
    CString attributes, content;
    if (IsTagAt(text, 0, "<table"))
        SplitTag(WithoutClosingTag(text), 6, attributes, content);
    else
        content = text;
    SIZE dims = {0, 0};
    for (const CString& row : TableRows(content)) {
        SplitTag(row, 3, attributes, content);
        const LONG cells = (LONG)RowCells(content).size();
        if (cells > dims.cx)
            dims.cx = cells;
        ++dims.cy;
    }
    return dims;
}

SIZE CPPHtmlDrawer::DrawFlow(const CString& text, const RECT& rect)
{
    SIZE size = {0, 0};
    RECT block = rect;
    auto add = [&](SIZE part) {
        if (part.cx > size.cx)
            size.cx = part.cx;
        size.cy = ClampCoordinate((long long)size.cy + part.cy);
        if (!m_measuring)
            block.top = ClampCoordinate((long long)block.top + part.cy);
    };
    int pos = 0;
    while (pos < text.GetLength()) {
        const int table = FindTableStart(text, pos);
        const int runEnd = table < 0 ? text.GetLength() : table;
        if (runEnd > pos)
            add(DrawHtml(text.Mid(pos, runEnd - pos), block));
        if (table < 0)
            break;
        // An unmatched table runs to the end of the text.
        const int tableEnd = SearchEndOfTable(text, table);
        add(DrawHtmlTable(text.Mid(table, tableEnd - table), block));
        pos = tableEnd > table ? tableEnd : table + 1;
    }
    return size;
}

void CPPHtmlDrawer::PushStyleScope(LPCTSTR name)
{
    m_style.name = name;
    m_styleStack.push_back(m_style);
    m_style.name.Empty();
}

void CPPHtmlDrawer::PopStyleScope(LPCTSTR name)
{
    // Scopes left open inside go with it.
    for (size_t i = m_styleStack.size(); i-- > 0;) {
        if (m_styleStack[i].name == name) {
            m_style = m_styleStack[i];
            m_styleStack.resize(i);
            m_style.name.Empty();
            return;
        }
    }
}

SIZE CPPHtmlDrawer::DrawHtmlTable(const CString& text, const RECT& block)
{
    if (m_tableDepth >= kMaxTableDepth)
        return SIZE{0, 0}; // skipped alike by every pass, so the table numbers still match
    struct DepthScope
    {
        explicit DepthScope(int& depth) : m_depth(depth) { ++m_depth; }
        ~DepthScope() { --m_depth; }
        int& m_depth;
    } depthScope(m_tableDepth);

    ++m_tableNumber;
    const size_t number = (size_t)m_tableNumber;
    CString attributes, content;
    SplitTag(WithoutClosingTag(text), 6, attributes, content);
    if (m_measuring) {
        PPHtmlTable fresh;
        const SIZE dims = CountTableDims(text);
        if ((long long)dims.cx * dims.cy <= kMaxCells) {
            fresh.columns = dims.cx;
            fresh.rows = dims.cy;
        }
        fresh.columnWidths.assign((size_t)fresh.columns, 0);
        fresh.columnFixed.assign((size_t)fresh.columns, FALSE);
        fresh.rowHeights.assign((size_t)fresh.rows, 0);
        fresh.cells.assign((size_t)fresh.columns * (size_t)fresh.rows, PPHtmlTable::Cell());
        if (m_tables.size() <= number)
            m_tables.resize(number + 1);
        m_tables[number] = fresh;
    } else if (number >= m_tables.size()) {
        return SIZE{0, 0}; // not the text that was measured
    }
    // A copy: the tables nested in its cells add records to the list.
    PPHtmlTable table = m_tables[number];

    PushStyleScope("table");
    ApplyStyleByName("table", m_style);
    GetTableAttributes(attributes, m_style, TRUE);
    UpdateContext();
    const PPHtmlStyle style = m_style;
    table.spacing = ClampLength(style.padding);
    const int borderWidth = ClampLength(style.borderWidth);
    const bool doubleBorder = style.borderStyle == CPPDrawManager::PEN_DOUBLE;
    const int frame = doubleBorder ? 3 : borderWidth;
    const int borderSize = doubleBorder ? 6 * borderWidth : 2 * borderWidth;

    RECT rect = {block.left, block.top, block.left, block.top};
    if (!m_measuring) {
        long long width = GridLength(table.columnWidths, table.spacing) + borderSize;
        const long long room = (long long)block.right - block.left;
        if (width < room) {
            // The free columns share what the block has left, the last ones the remainder.
            int free = 0;
            for (int c = 0; c < table.columns; ++c)
                free += !table.columnFixed[(size_t)c];
            long long left = room - width;
            for (int c = 0; c < table.columns && free > 0; ++c) {
                if (table.columnFixed[(size_t)c])
                    continue;
                const long long share = left / free--;
                table.columnWidths[(size_t)c] = ClampLength((int)(table.columnWidths[(size_t)c] + share));
                left -= share;
            }
            width = GridLength(table.columnWidths, table.spacing) + borderSize;
        }
        if (width < room) {
            if (style.hAlign == PPHtmlStyle::ALIGN_CENTER)
                rect.left = ClampCoordinate(block.left + (room - width) / 2);
            else if (style.hAlign == PPHtmlStyle::ALIGN_RIGHT)
                rect.left = ClampCoordinate(block.right - width);
        }
        rect.right = ClampCoordinate(rect.left + width);
        rect.bottom = ClampCoordinate(rect.top + GridLength(table.rowHeights, table.spacing) + borderSize);

        if (style.bkEffect == -1)
            DrawBackgroundImage(m_hDC, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                style.bkImage);
        else
            m_drawManager.FillEffect(m_hDC, style.bkEffect, rect, style.bkColor, style.bkMiddle, style.bkEnd, 5);
        if (borderWidth > 0) {
            const COLORREF light = m_enabled ? style.borderLight : m_disabledColor;
            const COLORREF dark = m_enabled ? style.borderDark : m_disabledColor;
            m_drawManager.DrawRectangle(m_hDC, rect, light, dark, style.borderStyle, borderWidth);
        }
    }
    const RECT area = {rect.left + frame, rect.top + frame, rect.right - frame, rect.bottom - frame};

    if (table.rows > 0 && table.columns > 0) {
        int row = 0;
        for (const CString& rowText : TableRows(content)) {
            if (row >= table.rows)
                break;
            DrawTableRow(rowText, area, table, row++, block);
        }
    }

    SIZE size = {rect.right - rect.left, rect.bottom - rect.top};
    if (m_measuring) {
        // Single cells first, then each span length: a spanning cell wider than the columns
        // it covers widens them equally, the odd pixels going to the last one (for rows, the
        // first one).
        for (int span = 1; span <= table.columns; ++span) {
            for (int r = 0; r < table.rows; ++r) {
                for (int c = 0; c < table.columns; ++c) {
                    const PPHtmlTable::Cell& cell = table.At(r, c);
                    if (cell.taken || cell.colSpan != span)
                        continue;
                    long long covered = 0;
                    for (int k = c; k < c + span; ++k) {
                        covered += table.columnWidths[(size_t)k];
                        if (cell.fixedWidth)
                            table.columnFixed[(size_t)k] = TRUE;
                    }
                    if (covered >= cell.width)
                        continue;
                    const int missing = (int)(cell.width - covered);
                    for (int k = c; k < c + span; ++k)
                        table.columnWidths[(size_t)k] = ClampLength(table.columnWidths[(size_t)k] + missing / span);
                    const size_t last = (size_t)(c + span - 1);
                    table.columnWidths[last] = ClampLength(table.columnWidths[last] + missing % span);
                }
            }
        }
        for (int span = 1; span <= table.rows; ++span) {
            for (int r = 0; r < table.rows; ++r) {
                for (int c = 0; c < table.columns; ++c) {
                    const PPHtmlTable::Cell& cell = table.At(r, c);
                    if (cell.taken || cell.rowSpan != span)
                        continue;
                    long long covered = 0;
                    for (int k = r; k < r + span; ++k)
                        covered += table.rowHeights[(size_t)k];
                    if (covered >= cell.height)
                        continue;
                    const int missing = (int)(cell.height - covered);
                    for (int k = r; k < r + span; ++k)
                        table.rowHeights[(size_t)k] = ClampLength(table.rowHeights[(size_t)k] + missing / span);
                    table.rowHeights[(size_t)r] = ClampLength(table.rowHeights[(size_t)r] + missing % span);
                }
            }
        }
        size.cx = ClampCoordinate(GridLength(table.columnWidths, table.spacing) + borderSize);
        size.cy = ClampCoordinate(GridLength(table.rowHeights, table.spacing) + borderSize);
        m_tables[number] = table;
    }

    PopStyleScope("table");
    UpdateContext();
    return size;
}

void CPPHtmlDrawer::DrawTableRow(const CString& text, const RECT& area, PPHtmlTable& table, int row, const RECT& block)
{
    CString attributes, content;
    SplitTag(text, 3, attributes, content);
    PushStyleScope("tr");
    ApplyStyleByName("tr", m_style);
    GetTableAttributes(attributes, m_style, FALSE);

    const int spacing = table.spacing;
    int column = 0;
    for (const CString& cellText : RowCells(content)) {
        // The next slot of the row that no span has taken.
        while (column < table.columns && table.At(row, column).taken)
            ++column;
        if (column >= table.columns)
            break;
        PPHtmlTable::Cell& cell = table.At(row, column);
        if (m_measuring) {
            CString cellAttributes, unused;
            SplitTag(cellText, 3, cellAttributes, unused);
            PPHtmlStyle scratch = m_style;
            const SIZE spans = GetTableAttributes(cellAttributes, scratch, FALSE);
            // A span stays on the grid and off the slots other cells hold.
            int freeColumns = 0;
            while (column + freeColumns < table.columns && !table.At(row, column + freeColumns).taken)
                ++freeColumns;
            const int freeRows = table.rows - row;
            cell.colSpan = spans.cx < 1 ? 1 : (spans.cx > freeColumns ? freeColumns : (int)spans.cx);
            cell.rowSpan = spans.cy < 1 ? 1 : (spans.cy > freeRows ? freeRows : (int)spans.cy);
            for (int r = row; r < row + cell.rowSpan; ++r)
                for (int c = column; c < column + cell.colSpan; ++c)
                    if (r != row || c != column)
                        table.At(r, c).taken = TRUE;
        }
        RECT rect = block;
        if (!m_measuring) {
            long long left = (long long)area.left + spacing, top = (long long)area.top + spacing;
            for (int c = 0; c < column; ++c)
                left += (long long)table.columnWidths[(size_t)c] + spacing + 1;
            for (int r = 0; r < row; ++r)
                top += (long long)table.rowHeights[(size_t)r] + spacing + 1;
            long long right = left + (long long)(cell.colSpan - 1) * (spacing + 1);
            long long bottom = top + (long long)(cell.rowSpan - 1) * (spacing + 1);
            for (int c = column; c < column + cell.colSpan && c < table.columns; ++c)
                right += table.columnWidths[(size_t)c];
            for (int r = row; r < row + cell.rowSpan && r < table.rows; ++r)
                bottom += table.rowHeights[(size_t)r];
            rect = RECT{ClampCoordinate(left), ClampCoordinate(top), ClampCoordinate(right), ClampCoordinate(bottom)};
        }
        DrawTableCell(cellText, rect, cell);
        column += cell.colSpan < 1 ? 1 : cell.colSpan;
    }
    PopStyleScope("tr");
}

void CPPHtmlDrawer::DrawTableCell(const CString& text, const RECT& rect, PPHtmlTable::Cell& cell)
{
    CString attributes, content;
    SplitTag(text, 3, attributes, content);
    PushStyleScope("td");
    m_style.width = 0;
    m_style.height = 0;
    ApplyStyleByName("td", m_style);
    GetTableAttributes(attributes, m_style, FALSE);
    UpdateContext();

    const int inset = ClampLength(m_style.margin) + ClampLength(m_style.borderWidth);
    if (!m_measuring) {
        if (m_style.bkEffect != -1)
            m_drawManager.FillEffect(m_hDC, m_style.bkEffect, rect, m_style.bkColor, m_style.bkMiddle, m_style.bkEnd,
                                     5);
        if (m_style.borderWidth > 0) {
            const COLORREF light = m_enabled ? m_style.borderLight : m_disabledColor;
            const COLORREF dark = m_enabled ? m_style.borderDark : m_disabledColor;
            m_drawManager.DrawRectangle(m_hDC, rect, light, dark, CPPDrawManager::PEN_SOLID, 1);
        }
        RECT inner = {rect.left + inset, rect.top + inset, rect.right - inset, rect.bottom - inset};
        const int free = (inner.bottom - inner.top) - cell.contentHeight;
        if (free > 0 && m_style.vAlign == PPHtmlStyle::VALIGN_MIDDLE)
            inner.top += free / 2;
        else if (free > 0 && m_style.vAlign == PPHtmlStyle::VALIGN_BOTTOM)
            inner.top += free;
        DrawFlow(content, inner);
    } else {
        const RECT measureBlock = {rect.left, rect.top, rect.right, rect.top};
        const SIZE size = DrawFlow(content, measureBlock);
        const int width = ClampLength(m_style.width), height = ClampLength(m_style.height);
        cell.contentWidth = size.cx;
        cell.contentHeight = size.cy;
        cell.width = ClampLength((size.cx > width ? size.cx : width) + 2 * inset);
        cell.height = ClampLength((size.cy > height ? size.cy : height) + 2 * inset);
        cell.fixedWidth = width > 0;
    }
    PopStyleScope("td");
    UpdateContext();
}

SIZE CPPHtmlDrawer::GetTableAttributes(const CString& attributes, PPHtmlStyle& style, BOOL table)
{
    SIZE spans = {1, 1};
    auto colour = [&](const CString& value, COLORREF current) {
        return m_enabled ? GetColorValue(value, current) : m_disabledColor;
    };
    int pos = 0;
    CString name, value;
    while (HtmlTokens::GetTagAttributes(attributes, pos, name, value)) {
        if (name == "cellpadding") {
            style.margin = GetLengthValue(value, style.margin, FALSE);
        } else if (name == "cellspacing") {
            style.padding = GetLengthValue(value, style.padding, FALSE);
        } else if (name == "background") {
            style.bkImage = value;
        } else if (name == "rowspan") {
            spans.cy = GetLengthValue(value, 1, FALSE);
        } else if (name == "colspan") {
            spans.cx = GetLengthValue(value, 1, FALSE);
        } else if (name == "border") {
            style.borderWidth = GetLengthValue(value, style.borderWidth, FALSE);
            if (style.borderWidth == 0)
                style.borderStyle = CPPDrawManager::PEN_NULL;
            else if (style.borderStyle == CPPDrawManager::PEN_NULL)
                style.borderStyle = CPPDrawManager::PEN_SOLID;
        } else if (name == "borderstyle") {
            if (value.IsEmpty() || value == "none")
                style.borderStyle = CPPDrawManager::PEN_NULL;
            else if (value == "solid")
                style.borderStyle = CPPDrawManager::PEN_SOLID;
            else if (value == "dotted")
                style.borderStyle = CPPDrawManager::PEN_DOT;
            else if (value == "dashed")
                style.borderStyle = CPPDrawManager::PEN_DASH;
            else if (value == "double")
                style.borderStyle = CPPDrawManager::PEN_DOUBLE;
            if (style.borderStyle != CPPDrawManager::PEN_NULL && style.borderWidth == 0)
                style.borderWidth = 1;
        } else if (name == "bordercolor") {
            style.borderLight = style.borderDark = colour(value, style.borderLight);
        } else if (name == "bordercolorlight") {
            style.borderLight = colour(value, style.borderLight);
        } else if (name == "bordercolordark") {
            style.borderDark = colour(value, style.borderDark);
        } else if (name == "bgcolor") {
            style.bkColor = colour(value, style.bkColor);
            style.bkEffect = CPPDrawManager::EFFECT_SOLID;
        } else if (name == "bgmidcolor") {
            style.bkMiddle = colour(value, style.bkMiddle);
        } else if (name == "bgendcolor") {
            style.bkEnd = colour(value, style.bkEnd);
        } else if (name == "bgeffect") {
            style.bkEffect = GetBackgroundEffect(value, style.bkEffect);
        } else if (name == "align") {
            if (value == "left")
                style.hAlign = PPHtmlStyle::ALIGN_LEFT;
            else if (value == "center")
                style.hAlign = PPHtmlStyle::ALIGN_CENTER;
            else if (value == "right")
                style.hAlign = PPHtmlStyle::ALIGN_RIGHT;
        } else if (name == "valign") {
            if (value == "baseline")
                style.vAlign = PPHtmlStyle::VALIGN_BASELINE;
            else if (value == "middle" || value == "vcenter")
                style.vAlign = PPHtmlStyle::VALIGN_MIDDLE;
            else if (value == "top")
                style.vAlign = PPHtmlStyle::VALIGN_TOP;
            else if (value == "bottom")
                style.vAlign = PPHtmlStyle::VALIGN_BOTTOM;
        } else if (name == "width") {
            style.width = GetLengthValue(value, style.width, FALSE);
        } else if (name == "height") {
            style.height = GetLengthValue(value, style.height, FALSE);
        }
    }
    if (style.borderStyle == CPPDrawManager::PEN_NULL || style.borderWidth == 0) {
        style.borderStyle = CPPDrawManager::PEN_NULL;
        style.borderWidth = 0;
    } else if (style.borderStyle != CPPDrawManager::PEN_SOLID) {
        style.borderWidth = 1;
    }
    // Only a table has borders wider than one pixel.
    if (!table && style.borderWidth != 0)
        style.borderWidth = 1;
    return spans;
}
