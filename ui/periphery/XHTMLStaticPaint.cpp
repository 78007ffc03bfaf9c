// The HTML static control's painting: tags read one by one from the window text, each run of
// text drawn with word wrap in the font and colours the tags before it chose.
#include "ui/periphery/XHTMLStatic.h"

#include "fw/fwselect.h"
#include "ui/periphery/NamedColor.h"

#include <stdlib.h>
#include <string.h>

namespace {

// Entities stand in the text as byte 0x01 and a code (its row + 2) until a run is drawn.
struct Entity
{
    const char* text;
    char character;
};
const Entity kEntities[] = {
    {"&amp;", '&'},       {"&bull;", '\x95'}, {"&copy;", '\xA9'},  {"&euro;", '\x80'}, {"&gt;", '>'},
    {"&iquest;", '\xBF'}, {"&lt;", '<'},      {"&nbsp;", ' '},     {"&para;", '\xB6'}, {"&pound;", '\xA3'},
    {"&quot;", '"'},      {"&reg;", '\xAE'},  {"&trade;", '\x99'},
};
const int kEntityCount = (int)(sizeof(kEntities) / sizeof(kEntities[0]));
const char kPlaceholder = '\x01';

char EntityCharacter(char code)
{
    const int row = (unsigned char)code - 2;
    return row >= 0 && row < kEntityCount ? kEntities[row].character : ' ';
}

// The tags, compared in this order. The first twelve count: opening and closing by turns.
enum Tag {
    kCounted = 0,
    kCountedEnd = 12,
    kBig = kCountedEnd,
    kBigEnd,
    kSmall,
    kSmallEnd,
    kFont,
    kFontEnd,
    kCode,
    kCodeEnd,
    kStatus,
    kStatusEnd,
    kLink,
    kLinkEnd,
    kRule,
    kTagCount
};
const char* const kTags[kTagCount] = {
    "<B>",    "</B>",    "<I>",           "</I>",      "<U>",      "</U>",    "<STRIKE>", "</STRIKE>", "<SUB>",
    "</SUB>", "<SUP>",   "</SUP>",        "<BIG>",     "</BIG>",   "<SMALL>", "</SMALL>", "<FONT",     "</FONT>",
    "<CODE>", "</CODE>", "<STATUS FLAG=", "</STATUS>", "<A HREF=", "</A>",    "<HR",
};

// One unit more or less in magnitude, whichever sign the height has.
LONG Grow(LONG height, int units) { return height <= 0 ? height - units : height + units; }

// The text between "=" and ">" of a tag.
CString ValueAfterEquals(const CString& tag)
{
    const int eq = tag.Find('=');
    if (eq < 0)
        return "";
    int end = tag.Find('>', eq);
    if (end < 0)
        end = tag.GetLength();
    return tag.Mid(eq + 1, end - eq - 1);
}

} // namespace

struct CXHTMLStatic::PaintState
{
    CRect rect;
    int x = 0;
    LOGFONT font = {};
    LOGFONT original = {};
    COLORREF text = 0, back = 0;
    bool sizeChanged = false;
    bool inStatus = false;
    CString flag;
    CString target;
    int lastDescent = 0;
};

void CXHTMLStatic::OnPaint()
{
    CPaintDC paint(this);
    HDC dc = paint.m_hDC;
    // The links are the ones this paint draws; the style counters start from plain text.
    ClearLinks();
    m_nUnderline = m_nBold = m_nItalic = m_nStrikeOut = m_nSubscript = m_nSuperscript = 0;
    m_nPendingRules = 0;
    m_bInLink = FALSE;

    CString text;
    GetWindowText(text);
    for (int i = 0; i < kEntityCount; ++i) {
        const char placeholder[3] = {kPlaceholder, (char)(i + 2), 0};
        text.Replace(kEntities[i].text, placeholder);
    }

    CRect client;
    GetClientRect(&client);
    ::SetBkColor(dc, m_crBackground);
    ::ExtTextOut(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);

    PaintState st;
    st.rect = client;
    st.rect.left += m_nLeftMargin;
    st.rect.right -= m_nRightMargin;
    if (m_bOwnFont) {
        st.font = m_ownFont;
    } else {
        HFONT font = (HFONT)SendMessage(WM_GETFONT);
        if (font == nullptr)
            font = (HFONT)::GetStockObject(SYSTEM_FONT);
        ::GetObject(font, sizeof(st.font), &st.font);
    }
    st.original = st.font;
    st.text = m_crText;
    st.back = m_crBackground;
    HGDIOBJ before = ::GetCurrentObject(dc, OBJ_FONT);

    int pos = 0;
    const int length = text.GetLength();
    while (pos < length) {
        const char* head = (LPCTSTR)text + pos;
        int tag = 0;
        while (tag < kTagCount && _strnicmp(head, kTags[tag], strlen(kTags[tag])) != 0)
            ++tag;
        if (tag < kTagCount) {
            // A tag without its '>' takes the rest of the text.
            const int close = text.Find('>', pos);
            const int end = close < 0 ? length : close + 1;
            const CString whole = text.Mid(pos, end - pos);
            pos = end;
            if (tag < kCountedEnd) {
                // Counted tags nest; a closing one without its opening one changes nothing.
                int* const counters[] = {&m_nBold,      &m_nItalic,    &m_nUnderline,
                                         &m_nStrikeOut, &m_nSubscript, &m_nSuperscript};
                int& counter = *counters[tag / 2];
                if (tag % 2 == 0)
                    ++counter;
                else if (counter > 0)
                    --counter;
            } else {
                ApplyTag(tag, whole, dc, st);
            }
            continue;
        }
        if (_strnicmp(head, "<BR>", 4) == 0) {
            pos += 4;
            DrawRun(dc, st, "\r\n", true);
            continue;
        }
        int next = text.Find('<', pos);
        if (next < 0)
            next = length;
        if (next == pos)
            next = pos + 1; // a '<' that opens no known tag is a character
        const CString run = text.Mid(pos, next - pos);
        pos = next;
        DrawRun(dc, st, run, false);
    }
    ::SelectObject(dc, before);
}

void CXHTMLStatic::ApplyTag(int tag, const CString& whole, HDC dc, PaintState& st)
{
    switch (tag) {
    case kBig:
    case kSmallEnd:
        st.font.lfHeight = Grow(st.font.lfHeight, 1);
        break;
    case kBigEnd:
    case kSmall:
        st.font.lfHeight = Grow(st.font.lfHeight, -1);
        break;
    case kFont:
        ReadFontTag(whole, st);
        break;
    case kFontEnd:
        st.text = m_crText;
        st.back = m_crBackground;
        st.font = st.original;
        if (st.sizeChanged) {
            st.rect.top += st.lastDescent;
            st.sizeChanged = false;
        }
        break;
    case kCode:
        lstrcpyn(st.font.lfFaceName, "Courier New", LF_FACESIZE);
        break;
    case kCodeEnd:
        st.font = st.original;
        break;
    case kStatus:
        st.inStatus = true;
        st.flag = ValueAfterEquals(whole);
        break;
    case kStatusEnd:
        st.inStatus = false;
        break;
    case kLink:
        m_bInLink = TRUE;
        st.target = ValueAfterEquals(whole);
        break;
    case kLinkEnd:
        m_bInLink = FALSE;
        break;
    case kRule:
        // SIZE=n stays for the rules after this one.
        if (whole.Find('=') >= 0) {
            const int thickness = atoi(ValueAfterEquals(whole));
            if (thickness > 0)
                m_nRuleThickness = thickness;
        }
        if (!st.inStatus || FlagIsSet(st.flag))
            ++m_nPendingRules;
        DrawRun(dc, st, "\r\n", true);
        break;
    }
}

void CXHTMLStatic::ReadFontTag(const CString& tag, PaintState& st)
{
    // Words after "<FONT", each NAME="value"; a value without its closing quote ends it.
    int at = 5;
    const int length = tag.GetLength();
    while (at < length) {
        while (at < length && tag[at] == ' ')
            ++at;
        if (at >= length || tag[at] == '>')
            return;
        const int eq = tag.Find('=', at);
        const int space = tag.Find(' ', at);
        if (eq < 0 || (space >= 0 && space < eq)) {
            at = space < 0 ? length : space; // a word without a value
            continue;
        }
        const CString name = tag.Mid(at, eq - at);
        const int open = tag.Find('"', eq);
        const int close = open < 0 ? -1 : tag.Find('"', open + 1);
        if (close < 0)
            return;
        const CString value = tag.Mid(open + 1, close - open - 1);
        if (name.CompareNoCase("COLOR") == 0) {
            st.text = CNamedColor(value).GetColor();
        } else if (name.CompareNoCase("BGCOLOR") == 0) {
            st.back = CNamedColor(value).GetColor();
        } else if (name.CompareNoCase("FACE") == 0) {
            // The face field holds 31 characters and its end: a longer name is cut.
            memset(st.font.lfFaceName, 0, sizeof(st.font.lfFaceName));
            lstrcpyn(st.font.lfFaceName, value, LF_FACESIZE);
        } else if (name.CompareNoCase("SIZE") == 0) {
            st.font.lfHeight -= atoi(value);
            st.sizeChanged = true;
        }
        at = close + 1;
    }
}

bool CXHTMLStatic::FlagIsSet(const CString& flag) const
{
    if (m_pStatusFlags == nullptr)
        return false;
    const int colon = flag.Find(':');
    const CString name = colon < 0 ? flag : flag.Left(colon);
    const CString wanted = colon < 0 ? CString() : flag.Mid(colon + 1);
    CString value;
    return m_pStatusFlags->Lookup(name, value) && value.CompareNoCase(wanted) == 0;
}

void CXHTMLStatic::DrawRun(HDC dc, PaintState& st, const CString& run, bool lineBreak)
{
    st.font.lfWeight = m_nBold > 0 ? FW_BOLD : FW_NORMAL;
    st.font.lfItalic = (BYTE)m_nItalic;
    st.font.lfUnderline = (BYTE)m_nUnderline;
    st.font.lfStrikeOut = (BYTE)m_nStrikeOut;
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&st.font);
    if (st.inStatus && !FlagIsSet(st.flag))
        return;

    ::SetTextColor(dc, st.text);
    ::SetBkColor(dc, st.back);
    ::SetBkMode(dc, OPAQUE);
    ::SelectObject(dc, m_font.GetSafeHandle());
    TEXTMETRIC tm = {};
    ::GetTextMetrics(dc, &tm);
    st.lastDescent = tm.tmDescent;
    int shift = 0;
    if (m_nSubscript > 0)
        shift = tm.tmAscent / 2;
    else if (m_nSuperscript > 0)
        shift = -tm.tmAscent / 2;
    st.rect.OffsetRect(0, shift);
    st.x = FormatText(dc, run, st.rect, st.x);
    st.rect.OffsetRect(0, -shift);
    if (lineBreak)
        st.x = 0;

    if (m_bInLink && !lineBreak) {
        SIZE extent = {};
        ::GetTextExtentPoint32(dc, run, run.GetLength(), &extent);
        const int right = st.rect.left + st.x;
        m_linkRects.push_back(CRect(right - extent.cx, st.rect.top, right, st.rect.top + extent.cy));
        m_linkTargets.push_back(st.target);
        if (!m_bTimerRunning && m_hWnd != nullptr) {
            SetTimer(kLinkTimer, 80);
            m_bTimerRunning = TRUE;
        }
    }

    for (; m_nPendingRules > 0; --m_nPendingRules) {
        // A rule across the whole width, margins included, as thick as the last SIZE asked.
        CRect rule(st.rect.left - m_nLeftMargin, st.rect.top, st.rect.right + m_nRightMargin,
                   st.rect.top + m_nRuleThickness);
        ::SetBkColor(dc, st.text);
        ::ExtTextOut(dc, 0, 0, ETO_OPAQUE, &rule, nullptr, 0, nullptr);
        st.rect.top += m_nRuleThickness;
        st.rect.bottom += m_nRuleThickness;
        st.x = 0;
    }
}

int CXHTMLStatic::FormatText(HDC dc, const CString& run, CRect& rect, int x)
{
    if (rect.top >= rect.bottom - 1)
        return 0;
    SIZE probe = {};
    ::GetTextExtentPoint32(dc, "abcdefgABCDEFG", 14, &probe);
    const int lineHeight = probe.cy;
    ::SetTextJustification(dc, 0, 0);
    auto width = [dc](const CString& s) {
        SIZE e = {};
        ::GetTextExtentPoint32(dc, s, s.GetLength(), &e);
        return (int)e.cx;
    };

    int y = rect.top;
    int endX = x; // from rect's left, as the next run's offset
    auto output = [&](const CString& line) {
        if (y <= rect.bottom - lineHeight)
            ::TextOut(dc, rect.left + x, y, line, line.GetLength());
        endX = x + width(line);
        x = 0;
    };

    const char* p = run;
    const int n = run.GetLength();
    int i = 0;
    if (x == 0)
        while (i < n && p[i] == ' ')
            ++i;
    CString line;
    while (i < n && y < rect.bottom) {
        CString word;
        bool lineFeed = false;
        while (i < n) {
            const char c = p[i++];
            if (c == '\r')
                continue;
            if (c == '\n') {
                word += ' ';
                lineFeed = true;
                break;
            }
            if (c == kPlaceholder && i < n) {
                word += EntityCharacter(p[i++]);
                continue;
            }
            word += c;
            if (c == ' ')
                break;
        }
        if (!line.IsEmpty() && width(line + word) >= rect.Width() - x - 2) {
            output(line);
            y += lineHeight;
            word.TrimLeft(' ');
            line = word;
        } else {
            line += word;
        }
        if (lineFeed) {
            output(line);
            line.Empty();
            y += lineHeight;
        }
    }
    if (!line.IsEmpty())
        output(line);
    rect.top = y < rect.bottom ? y : rect.bottom;
    return endX;
}
