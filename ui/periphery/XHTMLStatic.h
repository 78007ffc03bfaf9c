// A static control that draws its window text as a small HTML dialect: bold, italic,
// underline, strike-out, bigger and smaller type, sub- and superscript, font colour, face and
// size, a code face, rules, line breaks, character entities, sections shown only while a
// status flag has a value, and links that open an address or send an application command.
//
// The rules it keeps: the links are the ones the last paint drew (gathered anew by every
// paint, so repainting never grows them); an address is opened only through OpenUrl, which
// quotes it and refuses what could break out of the quotes; a face name never overruns the
// font's face field.
#pragma once
#include "fw/fwwin.h"

#include <vector>

class CXHTMLStatic : public CStatic
{
public:
    // A command a link "APP:<command>" sends: the message goes to the window with the
    // wParam and, as lParam, the command text ("_LOADPAGE" in the command: lParam 0).
    struct AppCommand
    {
        HWND hWnd;
        UINT message;
        WPARAM wParam;
        CString command;
    };

    CXHTMLStatic();
    ~CXHTMLStatic() override;

    // Forgets the links and colours, then shows the text at once.
    void SetWindowText(LPCTSTR text);

    // Each returns the previous colour; none repaints. A text is a colour name, "#RRGGBB"
    // or "r,g,b".
    virtual COLORREF SetBkColor(LPCTSTR colour);
    virtual COLORREF SetBkColor(COLORREF colour);
    virtual COLORREF SetTextColor(LPCTSTR colour);
    virtual COLORREF SetTextColor(COLORREF colour);

    // What the owner supplies: the flags <STATUS FLAG=name:value> sections test (owned by
    // the caller, null: no section is shown), a font used in place of the window's (null:
    // the window's), the left and right margins, and the commands of "APP:" links (copied).
    void SetStatusFlags(const CMapStringToString* flags) { m_pStatusFlags = flags; }
    void SetOwnFont(const LOGFONT* font);
    void SetMargins(int left, int right);
    void SetAppCommands(const AppCommand* commands, int count);

    // Opens a link's target (SW_SHOW from a click): "APP:" (also quoted) sends the command;
    // anything else goes to OpenUrl. TRUE when it was opened or a command was sent.
    BOOL GotoURL(LPCTSTR target, int showCommand);
    // TRUE when at least one command's message was sent.
    BOOL ProcessAppCommand(LPCTSTR command);

    // The links the last paint drew: rectangles in client coordinates and their targets.
    int GetLinkCount() const { return (int)m_linkRects.size(); }
    CRect GetLinkRect(int i) const { return m_linkRects[(size_t)i]; }
    CString GetLinkTarget(int i) const { return m_linkTargets[(size_t)i]; }
    // The font of the last run painted.
    const CFont& GetRunFont() const { return m_font; }

    // True for a text of spaces and tabs only (and an empty one).
    static BOOL IsBlank(LPCTSTR text);

    enum : UINT_PTR { kLinkTimer = 1 };

protected:
    void PreSubclassWindow() override;
    void OnPaint();
    void OnTimer(UINT_PTR id);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnDestroy();
    void OnClicked();
    DECLARE_MESSAGE_MAP()

    // Draws one run with word wrap from rect's top at x offset `x`; returns the x where the
    // run ended and moves rect's top to the line it ended on.
    int FormatText(HDC dc, const CString& run, CRect& rect, int x);

private:
    struct PaintState;
    void Reset();
    void ClearLinks();
    void ApplyTag(int tag, const CString& whole, HDC dc, PaintState& st);
    void DrawRun(HDC dc, PaintState& st, const CString& run, bool lineBreak);
    void ReadFontTag(const CString& tag, PaintState& st);
    bool FlagIsSet(const CString& flag) const;

    const CMapStringToString* m_pStatusFlags = nullptr;
    COLORREF m_crBackground = 0;
    COLORREF m_crText = 0;
    LOGFONT m_ownFont = {};
    BOOL m_bOwnFont = FALSE;
    int m_nUnderline = 0, m_nBold = 0, m_nItalic = 0, m_nStrikeOut = 0, m_nSubscript = 0, m_nSuperscript = 0;
    int m_nPendingRules = 0;
    int m_nRuleThickness = 2;
    CFont m_font;
    BOOL m_bInLink = FALSE;
    std::vector<CRect> m_linkRects;
    std::vector<CString> m_linkTargets;
    BOOL m_bTimerRunning = FALSE;
    BOOL m_bOverLink = FALSE;
    HCURSOR m_hHand = nullptr;
    bool m_bHandCopied = false;
    HCURSOR m_hSavedCursor = nullptr;
    int m_nLeftMargin = 0, m_nRightMargin = 0;
    std::vector<AppCommand> m_commands;
};
