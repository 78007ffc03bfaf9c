// Printing the help topic: the printer the user chooses, one-inch margins, page by page.
// The rich edit formats the pages itself; where it cannot format for a printer (this Wine's
// rich edit answers EM_FORMATRANGE with nothing), the topic's text is laid out here instead,
// paragraph by paragraph, so that Print Topic still prints the whole topic.
#include "ui/periphery/HelpDialog.h"

#include <vector>

namespace {

// The topic's paragraphs as plain text; a line break inside a paragraph (\v) ends a line here too.
std::vector<CString> Paragraphs(CRichEditCtrl& edit)
{
    const long length = edit.GetTextLength();
    CString text;
    if (length > 0) {
        std::vector<char> buffer((size_t)length + 1);
        edit.SendMessage(WM_GETTEXT, (WPARAM)buffer.size(), (LPARAM)buffer.data());
        text = buffer.data();
    }
    std::vector<CString> out;
    int start = 0;
    for (int i = 0; i <= text.GetLength(); ++i) {
        if (i == text.GetLength() || text[i] == '\r' || text[i] == '\n' || text[i] == '\v') {
            out.push_back(text.Mid(start, i - start));
            if (i + 1 < text.GetLength() && text[i] == '\r' && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    while (!out.empty() && out.back().IsEmpty())
        out.pop_back();
    return out;
}

// Lays the paragraphs out with word wrap; a paragraph longer than what is left of a page
// goes on over the next one, line by line. The pages printed, 0 when a page failed.
int PrintParagraphs(HDC printer, const std::vector<CString>& paragraphs, const RECT& body)
{
    LOGFONT lf = {};
    lf.lfHeight = -::MulDiv(10, ::GetDeviceCaps(printer, LOGPIXELSY), 72);
    lstrcpy(lf.lfFaceName, "Arial");
    HFONT font = ::CreateFontIndirect(&lf);
    HGDIOBJ before = ::SelectObject(printer, font);
    TEXTMETRIC tm = {};
    ::GetTextMetrics(printer, &tm);
    const int lineHeight = tm.tmHeight + tm.tmExternalLeading;
    const UINT format = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;

    int pages = 0;
    bool open = false, failed = false;
    int y = body.top;
    auto newPage = [&] {
        if (open)
            ::EndPage(printer);
        open = ::StartPage(printer) > 0;
        failed = !open;
        if (open)
            ++pages;
        ::SelectObject(printer, font);
        y = body.top;
    };
    newPage();
    for (const CString& paragraph : paragraphs) {
        if (failed)
            break;
        RECT measure = {body.left, 0, body.right, 0};
        int height = lineHeight;
        if (!paragraph.IsEmpty()) {
            ::DrawText(printer, paragraph, paragraph.GetLength(), &measure, format | DT_CALCRECT);
            height = measure.bottom - measure.top;
        }
        int drawn = 0;
        while (drawn < height && !failed) {
            if (y + lineHeight > body.bottom)
                newPage();
            if (failed)
                break;
            const int room = (body.bottom - y) / lineHeight * lineHeight;
            const int part = height - drawn < room ? height - drawn : room;
            if (!paragraph.IsEmpty()) {
                // The lines of this part only: the paragraph drawn from above, clipped.
                ::SaveDC(printer);
                ::IntersectClipRect(printer, body.left, y, body.right, y + part);
                RECT r = {body.left, y - drawn, body.right, y - drawn + height};
                ::DrawText(printer, paragraph, paragraph.GetLength(), &r, format);
                ::RestoreDC(printer, -1);
            }
            drawn += part;
            y += part;
        }
    }
    if (open)
        ::EndPage(printer);
    ::SelectObject(printer, before);
    ::DeleteObject(font);
    return failed ? 0 : pages;
}

} // namespace

void CHelpDialog::OnPrintTopic()
{
    CPrintDialog dlg(
        FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE | PD_NOSELECTION | PD_RETURNDC,
        this);
    if (dlg.DoModal() != IDOK)
        return;
    HDC printer = dlg.GetPrinterDC();
    if (printer == nullptr)
        printer = dlg.CreatePrinterDC();
    if (printer != nullptr) {
        PrintTopic(printer);
        ::DeleteDC(printer);
    }
}

int CHelpDialog::PrintTopic(HDC printer)
{
    if (printer == nullptr || m_edit.m_hWnd == nullptr)
        return 0;
    const int dpiX = ::GetDeviceCaps(printer, LOGPIXELSX), dpiY = ::GetDeviceCaps(printer, LOGPIXELSY);
    if (dpiX <= 0 || dpiY <= 0)
        return 0;
    // The page in twips, whole inches of the printer's page; one inch of margin all round.
    const int inchesWide = ::GetDeviceCaps(printer, PHYSICALWIDTH) / dpiX;
    const int inchesHigh = ::GetDeviceCaps(printer, PHYSICALHEIGHT) / dpiY;
    if (inchesWide < 3 || inchesHigh < 3)
        return 0;
    const RECT page = {0, 0, inchesWide * 1440, inchesHigh * 1440};
    const RECT body = {1440, 1440, page.right - 1440, page.bottom - 1440};
    const long length = m_edit.GetTextLengthEx();

    FORMATRANGE range = {};
    range.hdc = range.hdcTarget = printer;
    range.rcPage = page;
    range.rc = body;
    range.chrg.cpMin = 0;
    range.chrg.cpMax = length;
    const bool formats = length == 0 || m_edit.FormatRange(&range, FALSE) > 0;
    m_edit.FormatRange(nullptr, FALSE);

    DOCINFO doc = {sizeof doc};
    doc.lpszDocName = "(Help Topic)";
    if (::StartDoc(printer, &doc) <= 0)
        return 0;
    int pages = 0;
    if (formats) {
        range.chrg.cpMin = 0;
        do {
            if (::StartPage(printer) <= 0) {
                pages = 0;
                break;
            }
            range.rc = body;
            const long next = m_edit.FormatRange(&range, TRUE);
            ::EndPage(printer);
            ++pages;
            // A page that takes nothing would come again for ever.
            if (next <= range.chrg.cpMin)
                break;
            range.chrg.cpMin = next;
        } while (range.chrg.cpMin < length);
        m_edit.FormatRange(nullptr, FALSE);
    } else {
        const RECT bodyPixels = {::MulDiv(body.left, dpiX, 1440), ::MulDiv(body.top, dpiY, 1440),
                                 ::MulDiv(body.right, dpiX, 1440), ::MulDiv(body.bottom, dpiY, 1440)};
        pages = PrintParagraphs(printer, Paragraphs(m_edit), bodyPixels);
    }
    if (pages == 0) {
        ::AbortDoc(printer);
        return 0;
    }
    ::EndDoc(printer);
    return pages;
}
