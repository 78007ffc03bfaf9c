// CString: ANSI text with value semantics (shared buffer, copied on write).
#pragma once
#include "fw/fwdefs.h"
#include <stdarg.h>

class CStringW;

class CString
{
public:
    CString();
    CString(const CString& s);
    CString(CString&& s) noexcept;
    CString(LPCSTR s); // NULL gives ""; MAKEINTRESOURCE(id) loads string id
    CString(LPCSTR s, int length);
    CString(const unsigned char* s);
    CString(LPCWSTR s); // UTF-16 in the ANSI code page (CP_ACP)
    CString(LPCWSTR s, int length);
    explicit CString(char ch, int repeat = 1);
    ~CString();

    CString& operator=(const CString& s);
    CString& operator=(CString&& s) noexcept;
    CString& operator=(LPCSTR s);
    CString& operator=(LPCWSTR s);
    CString& operator=(char ch);

    CString& operator+=(const CString& s);
    CString& operator+=(LPCSTR s);
    CString& operator+=(char ch);
    void Append(LPCSTR s, int length);
    void Append(const CString& s) { *this += s; }
    void AppendChar(char ch) { *this += ch; }

    int GetLength() const { return Data()->length; }
    BOOL IsEmpty() const { return Data()->length == 0; }
    void Empty();
    char GetAt(int index) const { return m_psz[index]; }
    void SetAt(int index, char ch);
    char operator[](int index) const { return m_psz[index]; }
    operator LPCSTR() const { return m_psz; }
    LPCSTR GetString() const { return m_psz; }

    int Compare(LPCSTR s) const;
    int CompareNoCase(LPCSTR s) const;
    int Collate(LPCSTR s) const;
    int CollateNoCase(LPCSTR s) const;

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString SpanIncluding(LPCSTR charSet) const;
    CString SpanExcluding(LPCSTR charSet) const;
    CString Tokenize(LPCSTR delimiters, int& start) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    CString& Trim();
    CString& Trim(char target);
    CString& Trim(LPCSTR targets);
    CString& TrimLeft();
    CString& TrimLeft(char target);
    CString& TrimLeft(LPCSTR targets);
    CString& TrimRight();
    CString& TrimRight(char target);
    CString& TrimRight(LPCSTR targets);

    int Replace(char oldCh, char newCh);
    int Replace(LPCSTR oldText, LPCSTR newText);
    int Remove(char ch);
    int Insert(int index, char ch);
    int Insert(int index, LPCSTR s);
    int Delete(int index, int count = 1);

    int Find(char ch, int start = 0) const;
    int Find(LPCSTR sub, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR charSet) const;

    void Format(LPCSTR format, ...);
    void FormatV(LPCSTR format, va_list args);
    void AppendFormat(LPCSTR format, ...);
    BOOL LoadString(UINT id);

    LPSTR GetBuffer(int minLength = 0);
    LPSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);
    void FreeExtra() {}
    void Preallocate(int length);

    BSTR AllocSysString() const; // caller frees with SysFreeString
    BSTR SetSysString(BSTR* target) const;

private:
    struct Header
    {
        volatile LONG refs;
        int length;
        int capacity;
    };
    Header* Data() const { return reinterpret_cast<Header*>(m_psz) - 1; }
    static char* EmptyText();
    static char* Allocate(int capacity);
    static void Release(char* text);
    void Assign(LPCSTR s, int length);
    void AssignWide(LPCWSTR s, int length);
    char* Writable(int capacity); // unshared buffer of at least capacity chars, text kept

    char* m_psz; // text; a Header lies just before it
};

typedef CString CStringA;

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCSTR b);
CString operator+(LPCSTR a, const CString& b);
CString operator+(const CString& a, char b);
CString operator+(char a, const CString& b);

inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
inline bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
inline bool operator!=(const CString& a, LPCSTR b) { return a.Compare(b) != 0; }
inline bool operator!=(LPCSTR a, const CString& b) { return b.Compare(a) != 0; }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator<(const CString& a, LPCSTR b) { return a.Compare(b) < 0; }
inline bool operator<(LPCSTR a, const CString& b) { return b.Compare(a) > 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
inline bool operator>(const CString& a, LPCSTR b) { return a.Compare(b) > 0; }
inline bool operator>(LPCSTR a, const CString& b) { return b.Compare(a) < 0; }
inline bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
inline bool operator<=(const CString& a, LPCSTR b) { return a.Compare(b) <= 0; }
inline bool operator<=(LPCSTR a, const CString& b) { return b.Compare(a) >= 0; }
inline bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
inline bool operator>=(const CString& a, LPCSTR b) { return a.Compare(b) >= 0; }
inline bool operator>=(LPCSTR a, const CString& b) { return b.Compare(a) <= 0; }

// UTF-16 text converted from ANSI with the system code page, for GDI+ and OLE calls:
//   Gdiplus::FontFamily family{CStringW(face)};
class CStringW
{
public:
    CStringW();
    CStringW(const CStringW& s);
    CStringW(CStringW&& s) noexcept;
    CStringW(LPCWSTR s);
    CStringW(LPCWSTR s, int length);
    CStringW(LPCSTR s);
    CStringW(const CString& s);
    ~CStringW();
    CStringW& operator=(const CStringW& s);
    CStringW& operator=(CStringW&& s) noexcept;

    int GetLength() const { return m_length; }
    BOOL IsEmpty() const { return m_length == 0; }
    operator LPCWSTR() const { return m_text; }
    LPCWSTR GetString() const { return m_text; }
    BSTR AllocSysString() const;

private:
    void Assign(LPCWSTR s, int length);
    WCHAR* m_text;
    int m_length;
};

// Loads string id from the resource module into out; FALSE when it does not exist.
BOOL FwLoadString(UINT id, CString& out);
