// The drawer's passes and its line layout: word wrap, justification, vertical alignment,
// tabulation and the line records that tie a drawing pass to the measuring pass before it.
#include "html/HtmlDrawer.h"
#include <limits.h>

namespace {

// Pens further out than this are off every device; the clamp keeps the arithmetic defined.
const long long kPenLimit = 0x3FFFFFFF;
// A font larger than this fills no tooltip and only costs the rasteriser.
const int kMaxFontHeight = 2048;
// Line-break and tab counts beyond this would only move the pen off every device.
const int kMaxCount = 0x7FFF;

int CountSpaces(const CString& text)
{
    int count = 0;
    for (int i = 0; i < text.GetLength(); ++i)
        count += text[i] == ' ';
    return count;
}

void ApplyTransform(CString& text, int transform)
{
    switch (transform) {
    case PPHtmlStyle::TRANSFORM_UPPER:
        text.MakeUpper();
        break;
    case PPHtmlStyle::TRANSFORM_LOWER:
        text.MakeLower();
        break;
    case PPHtmlStyle::TRANSFORM_CAPITALIZE:
        text.MakeLower();
        for (int i = 0; i < text.GetLength(); ++i) {
            const char c = text[i];
            if (c >= 'a' && c <= 'z' && (i == 0 || text[i - 1] == ' '))
                text.SetAt(i, (char)(c - 'a' + 'A'));
        }
        break;
    default:
        break;
    }
}

} // namespace

CPPHtmlDrawer::CPPHtmlDrawer() : m_disabledColor(::GetSysColor(COLOR_BTNSHADOW))
{
    SetHyperlinkCursor(nullptr);
    SetImageShadow(4, 4, 50, TRUE, 7, 7);
    SetDefaultCssStyles();
}

CPPHtmlDrawer::~CPPHtmlDrawer()
{
    if (m_linkCursor)
        ::DestroyCursor(m_linkCursor);
    if (m_imageList)
        ImageList_Destroy(m_imageList);
    if (m_resourceModule && m_ownsResourceModule)
        ::FreeLibrary(m_resourceModule);
}

CString CPPHtmlDrawer::ReplaceSpecialChars(LPCTSTR text) const
{
    CString result = m_dialect.ReplaceEntities(text);
    result.Remove('\r');
    if (m_lineBreaks) {
        result.Replace("\n", "<br>");
        result.Replace("\t", "<t>");
    } else {
        result.Remove('\n');
        result.Remove('\t');
    }
    return result;
}

void CPPHtmlDrawer::PrepareOutput(HDC dc, LPCTSTR text, SIZE* size)
{
    m_hDC = dc;
    ::SetTextJustification(dc, 0, 0);
    m_prepared = ReplaceSpecialChars(text);
    SIZE measured = {0, 0};
    if (!m_prepared.IsEmpty()) {
        m_tables.clear();
        const RECT block = {0, 0, m_maxWidth, 0};
        measured = Draw(block, true);
    }
    if (measured.cx == 0 && measured.cy == 0) {
        m_prepared.Empty();
    } else {
        if (m_maxWidth && measured.cx > m_maxWidth)
            measured.cx = m_maxWidth;
        ++measured.cx;
        ++measured.cy;
    }
    if (size)
        *size = measured;
}

void CPPHtmlDrawer::DrawPreparedOutput(HDC dc, const RECT* rect)
{
    if (m_prepared.IsEmpty() || !dc || !rect)
        return;
    m_hDC = dc;
    Draw(*rect, false);
}

void CPPHtmlDrawer::DrawHtmlAt(HDC dc, LPCTSTR text, POINT pt)
{
    SIZE size = {0, 0};
    PrepareOutput(dc, text, &size);
    if (size.cx && size.cy) {
        const RECT rect = {pt.x, pt.y, pt.x + size.cx, pt.y + size.cy};
        DrawPreparedOutput(dc, &rect);
    }
}

SIZE CPPHtmlDrawer::Draw(const RECT& rect, bool measuring)
{
    m_measuring = measuring;
    m_linesExhausted = false;
    if (measuring) {
        m_lines.clear();
        m_animations.clear();
    }
    m_hotAreas.clear();
    m_lineIndex = 0;
    m_linkCounter = -1;
    m_tableNumber = -1;
    m_tableDepth = 0;
    m_animationNumber = -1;
    ResetStyle();
    ApplyStyleByName("body", m_style);
    BeginContext();

    const SIZE size = DrawFlow(m_prepared, rect);

    // The record begun for a line after the last one was never finished: no pass draws it.
    if (measuring && m_lineIndex < (int)m_lines.size())
        m_lines.resize((size_t)m_lineIndex);
    EndContext();
    m_styleStack.clear();
    return size;
}

void CPPHtmlDrawer::BeginContext()
{
    m_oldBkMode = ::GetBkMode(m_hDC);
    m_oldTextColor = ::GetTextColor(m_hDC);
    m_oldBkColor = ::GetBkColor(m_hDC);
    UpdateContext();
}

void CPPHtmlDrawer::UpdateContext()
{
    m_fontSelect.reset();
    m_font.DeleteObject();
    int height = m_style.fontHeight;
    height = height > kMaxFontHeight ? kMaxFontHeight : (height < -kMaxFontHeight ? -kMaxFontHeight : height);
    if (m_font.CreateFont(height, 0, 0, 0, m_style.weight, (BYTE)(m_style.italic != 0), (BYTE)(m_style.underline != 0),
                          (BYTE)(m_style.strikeOut != 0), DEFAULT_CHARSET, 0, 0, 0, 0, m_style.face))
        m_fontSelect.emplace(m_hDC, m_font.GetSafeHandle());
    ::GetTextMetrics(m_hDC, &m_tm);
    ::SetBkMode(m_hDC, m_style.bkMode == OPAQUE ? OPAQUE : TRANSPARENT);
    ::SetTextColor(m_hDC, m_style.textColor);
    ::SetBkColor(m_hDC, m_style.bkColor);
}

void CPPHtmlDrawer::EndContext()
{
    ::SetTextJustification(m_hDC, 0, 0);
    ::SetBkMode(m_hDC, m_oldBkMode);
    ::SetBkColor(m_hDC, m_oldBkColor);
    ::SetTextColor(m_hDC, m_oldTextColor);
    m_fontSelect.reset();
    m_font.DeleteObject();
}

SIZE CPPHtmlDrawer::Extent(const CString& text) const
{
    SIZE size = {0, 0};
    ::GetTextExtentPoint32(m_hDC, text, text.GetLength(), &size);
    return size;
}

void CPPHtmlDrawer::MovePen(LONG& coordinate, long long delta)
{
    long long moved = (long long)coordinate + delta;
    moved = moved > kPenLimit ? kPenLimit : (moved < -kPenLimit ? -kPenLimit : moved);
    coordinate = (LONG)moved;
}

SIZE CPPHtmlDrawer::DrawHtml(const CString& run, const RECT& block)
{
    const CString text = "<body>" + run + "</body>";
    // Whether this run has measured lines is found again by its first line: a run or table
    // before it may have ended just behind the last record.
    m_linesExhausted = false;
    m_block = block;
    m_pen.x = block.left;
    m_pen.y = block.top;
    m_runWidth = 0;
    const int firstLine = m_lineIndex;
    InitNewLine();

    const int length = text.GetLength();
    int pos = 0;
    while (pos < length && !m_linesExhausted) {
        // The text up to the next tag; "<<" is one literal "<".
        CString piece;
        CString tag;
        bool hasTag = false;
        while (pos < length) {
            const int lt = text.Find('<', pos);
            const int end = lt < 0 ? length : lt;
            piece.Append((LPCTSTR)text + pos, end - pos);
            pos = end;
            if (lt < 0)
                break;
            if (lt + 1 < length && text[lt + 1] == '<') {
                piece += '<';
                pos = lt + 2;
                continue;
            }
            int gt = text.Find('>', lt + 1);
            if (gt < 0)
                gt = length;
            tag = text.Mid(lt + 1, gt - lt - 1);
            hasTag = true;
            pos = gt < length ? gt + 1 : length;
            break;
        }
        if (!piece.IsEmpty()) {
            ApplyTransform(piece, m_style.transform);
            LayoutText(piece);
        }
        if (hasTag && !m_linesExhausted)
            InterpretTag(tag);
    }
    if (!m_linesExhausted && m_pen.x != m_lineStartX) {
        m_line.wrapped = FALSE;
        NewLine(1);
    }
    ::SetTextJustification(m_hDC, 0, 0);

    SIZE size = {m_runWidth, m_pen.y - block.top};
    for (int i = firstLine; i < m_lineIndex && i < (int)m_lines.size(); ++i) {
        if (!m_lines[i].percent)
            continue;
        const int width = m_lines[i].width + ::MulDiv(m_lines[i].percent, size.cx, 100);
        if (width > size.cx)
            size.cx = width;
    }
    return size;
}

void CPPHtmlDrawer::LayoutText(CString piece)
{
    const int blockWidth = m_block.right - m_block.left;
    while (!piece.IsEmpty() && !m_linesExhausted) {
        const SIZE extent = Extent(piece);
        int cx = extent.cx;
        const int cy = extent.cy;
        const int y = VerticalAlignText(m_pen.y, cy);
        const int room = blockWidth - (m_pen.x - m_block.left);
        CString part;
        if (m_maxWidth && cx > room && blockWidth != 0) {
            int partWidth = room;
            part = BreakLine(piece, blockWidth, partWidth);
            cx = partWidth;
        } else {
            part = piece;
            piece.Empty();
        }
        if (m_measuring) {
            m_line.align = m_style.hAlign;
            m_line.spaces += CountSpaces(part);
        } else if (cx != 0) {
            const int length = part.GetLength();
            if (m_remainingWidth == cx && length && part[length - 1] == ' ') {
                // The last content of the line: its trailing spaces neither show nor stretch.
                CString cut = part;
                cut.TrimRight(' ');
                const int cutWidth = cx - Extent(cut).cx;
                part = cut;
                m_remainingSpaces = CountSpaces(part);
                m_remainingWidth -= cutWidth;
                cx -= cutWidth;
            }
            // A justified line that wrapped spreads the room it has left over its spaces.
            int extra = 0, breaks = 0;
            if (m_line.align == PPHtmlStyle::ALIGN_JUSTIFY && m_line.wrapped && m_remainingSpaces > 0) {
                extra = room - m_remainingWidth;
                breaks = m_remainingSpaces;
            }
            m_remainingWidth -= cx;
            std::vector<int> advances;
            cx = JustifiedAdvances(part, extra, breaks, advances);
            AddHotArea(m_pen.x, y, m_pen.x + cx, y + cy);
            if (advances.empty())
                ::TextOut(m_hDC, m_pen.x, y, part, part.GetLength());
            else
                ::ExtTextOut(m_hDC, m_pen.x, y, 0, nullptr, part, (UINT)part.GetLength(), advances.data());
            m_remainingSpaces -= CountSpaces(part);
            if (m_style.overline)
                m_drawManager.DrawLine(m_hDC, m_pen.x, y, m_pen.x + cx, y, m_style.textColor, CPPDrawManager::PEN_SOLID,
                                       m_style.weight >= FW_BOLD ? 2 : 1);
        }
        MovePen(m_pen.x, cx);
        if (!piece.IsEmpty()) {
            m_line.wrapped = TRUE;
            NewLine(1);
        }
    }
}

int CPPHtmlDrawer::JustifiedAdvances(const CString& text, int extra, int breaks, std::vector<int>& advances) const
{
    advances.clear();
    const int length = text.GetLength();
    if (extra <= 0 || breaks <= 0 || length == 0)
        return Extent(text).cx;
    // The advance of every character, each space widened by its share of the extra pixels;
    // the first spaces take one more each until the remainder is used up, as GDI's own
    // justification does (whose break character some fonts here do not report as a space).
    std::vector<int> partial((size_t)length);
    SIZE total = {0, 0};
    if (!::GetTextExtentExPoint(m_hDC, text, length, 0, nullptr, partial.data(), &total))
        return Extent(text).cx;
    advances.resize((size_t)length);
    const int share = extra / breaks, remainder = extra % breaks;
    int space = 0, width = 0;
    for (int i = 0; i < length; ++i) {
        advances[(size_t)i] = partial[(size_t)i] - (i ? partial[(size_t)i - 1] : 0);
        if (text[i] == ' ') {
            advances[(size_t)i] += share + (space < remainder ? 1 : 0);
            ++space;
        }
        width += advances[(size_t)i];
    }
    return width;
}

CString CPPHtmlDrawer::BreakLine(CString& piece, int blockWidth, int& room)
{
    static const char kBreaks[] = " -.,!:;)}]?";
    const int length = piece.GetLength();
    // The width of every prefix in one call: widths[i] is that of the first i + 1 characters.
    std::vector<int> widths((size_t)length);
    SIZE total = {0, 0};
    if (!::GetTextExtentExPoint(m_hDC, piece, length, 0, nullptr, widths.data(), &total)) {
        // Unmeasurable: the piece stays whole rather than risk a line that never fills.
        CString whole = piece;
        piece.Empty();
        room = Extent(whole).cx;
        return whole;
    }
    auto prefixWidth = [&](int count) { return count > 0 ? widths[(size_t)count - 1] : 0; };

    int breakAt = -1;
    for (int i = 0; i < length; ++i) {
        if (!strchr(kBreaks, piece[i]))
            continue;
        if (prefixWidth(i) > room)
            break;
        breakAt = i;
    }
    CString part;
    if (breakAt > 0) {
        part = piece.Left(breakAt + 1);
        part.TrimRight(' ');
        CString rest = piece.Mid(breakAt + 1);
        rest.TrimLeft(' ');
        piece = rest;
        room = Extent(part).cx;
        return part;
    }
    if (room != blockWidth) {
        // The line holds something already: the piece starts the next one.
        room = 0;
        return part;
    }
    int count = 0;
    while (count < length && prefixWidth(count + 1) <= room)
        ++count;
    if (count < 1)
        count = 1;
    part = piece.Left(count);
    piece = piece.Mid(count);
    room = Extent(part).cx;
    return part;
}

void CPPHtmlDrawer::InitNewLine()
{
    const int left = m_block.left;
    const int room = m_block.right - m_block.left;
    if (m_measuring) {
        m_line = Line();
        m_line.align = m_style.hAlign;
        if (m_lineIndex < (int)m_lines.size())
            m_lines[(size_t)m_lineIndex] = m_line;
        else
            m_lines.push_back(m_line);
        m_pen.x = left;
    } else if (m_lineIndex >= (int)m_lines.size()) {
        // More lines than the measuring pass recorded: another text or another rectangle.
        m_linesExhausted = true;
        m_line = Line();
        m_pen.x = left;
    } else {
        m_line = m_lines[(size_t)m_lineIndex];
        if (m_line.percent)
            m_line.width += ::MulDiv(room, m_line.percent, 100);
        switch (m_line.align) {
        case PPHtmlStyle::ALIGN_CENTER:
            m_pen.x = left + (room - m_line.width) / 2;
            break;
        case PPHtmlStyle::ALIGN_RIGHT:
            m_pen.x = left + room - m_line.width;
            break;
        default:
            m_pen.x = left;
            break;
        }
    }
    m_lineStartX = m_pen.x;
    m_remainingWidth = m_line.width;
    m_remainingSpaces = m_line.spaces;
}

void CPPHtmlDrawer::NewLine(int count)
{
    if (m_measuring) {
        if (m_line.ascent == 0)
            m_line.ascent = m_tm.tmHeight;
        const int width = m_pen.x - m_block.left;
        if (width > m_runWidth)
            m_runWidth = width;
        m_line.width = width;
        m_line.ascent += m_line.descent;
        m_lines[(size_t)m_lineIndex] = m_line;
    }
    ++m_lineIndex;
    count = count < 1 ? 1 : (count > kMaxCount ? kMaxCount : count);
    MovePen(m_pen.y, (long long)m_line.ascent * count);
    InitNewLine();
}

int CPPHtmlDrawer::VerticalAlignText(int y, int height)
{
    if (m_measuring) {
        if (m_line.ascent < m_tm.tmAscent)
            m_line.ascent = m_tm.tmAscent;
        if (m_line.descent < height - m_tm.tmAscent)
            m_line.descent = height - m_tm.tmAscent;
        return y;
    }
    const int H = m_line.ascent, D = m_line.descent;
    switch (m_style.vAlign) {
    case PPHtmlStyle::VALIGN_TOP:
        return y;
    case PPHtmlStyle::VALIGN_MIDDLE:
        return y + (H - m_tm.tmHeight) / 2;
    case PPHtmlStyle::VALIGN_BOTTOM:
        return y + H - m_tm.tmAscent;
    default:
        return y + H - D - m_tm.tmAscent;
    }
}

int CPPHtmlDrawer::VerticalAlignImage(int y, int height)
{
    if (m_measuring) {
        if (m_line.ascent < height)
            m_line.ascent = height;
        return y;
    }
    const int H = m_line.ascent, D = m_line.descent;
    switch (m_style.vAlign) {
    case PPHtmlStyle::VALIGN_TOP:
        return y;
    case PPHtmlStyle::VALIGN_MIDDLE:
        return y + (H - height) / 2;
    case PPHtmlStyle::VALIGN_BOTTOM:
        return y + H - height;
    default:
        return y + H - D - height;
    }
}

void CPPHtmlDrawer::Tabulation(int count)
{
    const int T = m_tabSize;
    count = count < 1 ? 1 : (count > kMaxCount ? kMaxCount : count);
    const int r = ((m_pen.x - m_block.left) % T + T) % T;
    if (r != 0) {
        MovePen(m_pen.x, T - r);
        --count;
    }
    MovePen(m_pen.x, (long long)count * T);
}

BOOL CPPHtmlDrawer::StepAnimations()
{
    BOOL advanced = FALSE;
    for (Animation& animation : m_animations) {
        if (animation.frameCount <= 0)
            continue;
        if (++animation.tick >= animation.ticksPerFrame) {
            animation.tick = 0;
            animation.frame = (animation.frame + 1) % animation.frameCount;
            advanced = TRUE;
        }
    }
    return advanced;
}
