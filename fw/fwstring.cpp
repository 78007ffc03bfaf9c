#include "fw/fwstring.h"
#include <oleauto.h>
#include <stdio.h>
#include <string.h>
#include <stdlib.h>
#include <ctype.h>
#include <mbstring.h>
#include <new>
#include <utility>

namespace {

// The shared empty text: its reference count is never changed.
struct EmptyBlock
{
    volatile LONG refs;
    int length;
    int capacity;
    char text[4];
};
EmptyBlock g_empty = {-1, 0, 0, {0, 0, 0, 0}};

int Len(LPCSTR s) { return s ? (int)strlen(s) : 0; }

} // namespace

char* CString::EmptyText() { return g_empty.text; }

char* CString::Allocate(int capacity)
{
    if (capacity < 0)
        capacity = 0;
    void* block = ::operator new(sizeof(Header) + (size_t)capacity + 1);
    Header* h = static_cast<Header*>(block);
    h->refs = 1;
    h->length = 0;
    h->capacity = capacity;
    char* text = reinterpret_cast<char*>(h + 1);
    text[0] = 0;
    return text;
}

void CString::Release(char* text)
{
    if (text == g_empty.text)
        return;
    Header* h = reinterpret_cast<Header*>(text) - 1;
    if (InterlockedDecrement(&h->refs) == 0)
        ::operator delete(h);
}

char* CString::Writable(int capacity)
{
    Header* h = Data();
    if (h->refs == 1 && h->capacity >= capacity)
        return m_psz;
    int keep = h->length;
    int cap = capacity;
    if (h->refs == 1 && cap > h->capacity && cap < h->capacity * 2)
        cap = h->capacity * 2; // appending in a loop stays linear
    char* fresh = Allocate(cap);
    if (keep > cap)
        keep = cap;
    memcpy(fresh, m_psz, (size_t)keep);
    fresh[keep] = 0;
    (reinterpret_cast<Header*>(fresh) - 1)->length = keep;
    Release(m_psz);
    m_psz = fresh;
    return m_psz;
}

void CString::Assign(LPCSTR s, int length)
{
    if (length <= 0 || s == NULL) {
        Empty();
        return;
    }
    // s may point into this string's own buffer.
    char* fresh = Allocate(length);
    memcpy(fresh, s, (size_t)length);
    fresh[length] = 0;
    (reinterpret_cast<Header*>(fresh) - 1)->length = length;
    Release(m_psz);
    m_psz = fresh;
}

void CString::AssignWide(LPCWSTR s, int length)
{
    if (s == NULL || length == 0) {
        Empty();
        return;
    }
    if (length < 0)
        length = (int)wcslen(s);
    int bytes = WideCharToMultiByte(CP_ACP, 0, s, length, NULL, 0, NULL, NULL);
    if (bytes <= 0) {
        Empty();
        return;
    }
    char* fresh = Allocate(bytes);
    WideCharToMultiByte(CP_ACP, 0, s, length, fresh, bytes, NULL, NULL);
    fresh[bytes] = 0;
    (reinterpret_cast<Header*>(fresh) - 1)->length = bytes;
    Release(m_psz);
    m_psz = fresh;
}

CString::CString() : m_psz(EmptyText()) {}

CString::CString(const CString& s) : m_psz(s.m_psz)
{
    if (Data()->refs >= 0)
        InterlockedIncrement(&Data()->refs);
}

CString::CString(CString&& s) noexcept : m_psz(s.m_psz) { s.m_psz = EmptyText(); }

CString::CString(LPCSTR s) : m_psz(EmptyText())
{
    if (s != NULL && IS_INTRESOURCE(s))
        LoadString(LOWORD((ULONG_PTR)s));
    else
        Assign(s, Len(s));
}

CString::CString(LPCSTR s, int length) : m_psz(EmptyText()) { Assign(s, length); }

CString::CString(const unsigned char* s) : m_psz(EmptyText()) { Assign((LPCSTR)s, Len((LPCSTR)s)); }

CString::CString(LPCWSTR s) : m_psz(EmptyText()) { AssignWide(s, -1); }

CString::CString(LPCWSTR s, int length) : m_psz(EmptyText())
{
    if (length > 0)
        AssignWide(s, length);
}

CString::CString(char ch, int repeat) : m_psz(EmptyText())
{
    if (repeat > 0) {
        m_psz = Allocate(repeat);
        memset(m_psz, ch, (size_t)repeat);
        m_psz[repeat] = 0;
        Data()->length = repeat;
    }
}

CString::~CString() { Release(m_psz); }

CString& CString::operator=(const CString& s)
{
    if (m_psz != s.m_psz) {
        if (s.Data()->refs >= 0)
            InterlockedIncrement(&s.Data()->refs);
        Release(m_psz);
        m_psz = s.m_psz;
    }
    return *this;
}

CString& CString::operator=(CString&& s) noexcept
{
    if (this != &s) {
        Release(m_psz);
        m_psz = s.m_psz;
        s.m_psz = EmptyText();
    }
    return *this;
}

CString& CString::operator=(LPCSTR s)
{
    Assign(s, Len(s));
    return *this;
}

CString& CString::operator=(LPCWSTR s)
{
    AssignWide(s, -1);
    return *this;
}

CString& CString::operator=(char ch)
{
    char one[2] = {ch, 0};
    Assign(one, 1);
    return *this;
}

void CString::Append(LPCSTR s, int length)
{
    if (s == NULL || length <= 0)
        return;
    int old = GetLength();
    if (s >= m_psz && s <= m_psz + old) {
        CString copy(s, length); // appending a piece of itself
        Append(copy, length);
        return;
    }
    Writable(old + length);
    memcpy(m_psz + old, s, (size_t)length);
    m_psz[old + length] = 0;
    Data()->length = old + length;
}

CString& CString::operator+=(const CString& s)
{
    if (IsEmpty())
        return *this = s;
    Append(s.m_psz, s.GetLength());
    return *this;
}

CString& CString::operator+=(LPCSTR s)
{
    Append(s, Len(s));
    return *this;
}

CString& CString::operator+=(char ch)
{
    Append(&ch, 1);
    return *this;
}

void CString::Empty()
{
    Release(m_psz);
    m_psz = EmptyText();
}

void CString::SetAt(int index, char ch)
{
    if (index < 0 || index >= GetLength())
        return;
    Writable(GetLength());
    m_psz[index] = ch;
}

int CString::Compare(LPCSTR s) const { return strcmp(m_psz, s ? s : ""); }
int CString::CompareNoCase(LPCSTR s) const { return _stricmp(m_psz, s ? s : ""); }
int CString::Collate(LPCSTR s) const { return strcoll(m_psz, s ? s : ""); }
int CString::CollateNoCase(LPCSTR s) const { return _stricoll(m_psz, s ? s : ""); }

CString CString::Mid(int first) const { return Mid(first, GetLength() - (first < 0 ? 0 : first)); }

CString CString::Mid(int first, int count) const
{
    int len = GetLength();
    if (first < 0)
        first = 0;
    if (count < 0)
        count = 0;
    if (first > len)
        first = len;
    if (count > len - first)
        count = len - first;
    if (first == 0 && count == len)
        return *this;
    return CString(m_psz + first, count);
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const
{
    int len = GetLength();
    if (count < 0)
        count = 0;
    if (count > len)
        count = len;
    return Mid(len - count, count);
}

CString CString::SpanIncluding(LPCSTR charSet) const { return Left((int)strspn(m_psz, charSet ? charSet : "")); }

CString CString::SpanExcluding(LPCSTR charSet) const { return Left((int)strcspn(m_psz, charSet ? charSet : "")); }

CString CString::Tokenize(LPCSTR delimiters, int& start) const
{
    int len = GetLength();
    if (start < 0 || start >= len) {
        start = -1;
        return CString();
    }
    LPCSTR set = delimiters ? delimiters : "";
    int from = start + (int)strspn(m_psz + start, set);
    if (from >= len) {
        start = -1;
        return CString();
    }
    int count = (int)strcspn(m_psz + from, set);
    start = from + count + 1;
    return CString(m_psz + from, count);
}

CString& CString::MakeUpper()
{
    if (!IsEmpty())
        _strupr(Writable(GetLength()));
    return *this;
}

CString& CString::MakeLower()
{
    if (!IsEmpty())
        _strlwr(Writable(GetLength()));
    return *this;
}

CString& CString::MakeReverse()
{
    if (!IsEmpty())
        _strrev(Writable(GetLength()));
    return *this;
}

namespace {
bool IsSpace(char c) { return isspace((unsigned char)c) != 0; }
} // namespace

CString& CString::TrimLeft()
{
    int n = 0, len = GetLength();
    while (n < len && IsSpace(m_psz[n]))
        ++n;
    if (n > 0)
        Delete(0, n);
    return *this;
}

CString& CString::TrimLeft(char target)
{
    char set[2] = {target, 0};
    return TrimLeft(set);
}

CString& CString::TrimLeft(LPCSTR targets)
{
    if (targets == NULL || *targets == 0)
        return *this;
    int n = (int)strspn(m_psz, targets);
    if (n > 0)
        Delete(0, n);
    return *this;
}

CString& CString::TrimRight()
{
    int len = GetLength(), end = len;
    while (end > 0 && IsSpace(m_psz[end - 1]))
        --end;
    if (end < len)
        Delete(end, len - end);
    return *this;
}

CString& CString::TrimRight(char target)
{
    char set[2] = {target, 0};
    return TrimRight(set);
}

CString& CString::TrimRight(LPCSTR targets)
{
    if (targets == NULL || *targets == 0)
        return *this;
    int len = GetLength(), end = len;
    while (end > 0 && strchr(targets, m_psz[end - 1]) != NULL)
        --end;
    if (end < len)
        Delete(end, len - end);
    return *this;
}

CString& CString::Trim()
{
    TrimRight();
    return TrimLeft();
}
CString& CString::Trim(char target)
{
    TrimRight(target);
    return TrimLeft(target);
}
CString& CString::Trim(LPCSTR targets)
{
    TrimRight(targets);
    return TrimLeft(targets);
}

int CString::Replace(char oldCh, char newCh)
{
    int count = 0, len = GetLength();
    if (oldCh == newCh || oldCh == 0)
        return 0;
    for (int i = 0; i < len; ++i)
        if (m_psz[i] == oldCh)
            ++count;
    if (count) {
        char* p = Writable(len);
        for (int i = 0; i < len; ++i)
            if (p[i] == oldCh)
                p[i] = newCh;
    }
    return count;
}

int CString::Replace(LPCSTR oldText, LPCSTR newText)
{
    int oldLen = Len(oldText);
    if (oldLen == 0)
        return 0;
    int newLen = Len(newText);
    int count = 0;
    CString result;
    LPCSTR from = m_psz;
    for (;;) {
        LPCSTR hit = strstr(from, oldText);
        if (hit == NULL)
            break;
        result.Append(from, (int)(hit - from));
        result.Append(newText, newLen);
        from = hit + oldLen;
        ++count;
    }
    if (count) {
        result.Append(from, (int)(m_psz + GetLength() - from));
        *this = std::move(result);
    }
    return count;
}

int CString::Remove(char ch)
{
    int len = GetLength(), count = 0;
    for (int i = 0; i < len; ++i)
        if (m_psz[i] == ch)
            ++count;
    if (count) {
        char* p = Writable(len);
        int out = 0;
        for (int i = 0; i < len; ++i)
            if (p[i] != ch)
                p[out++] = p[i];
        p[out] = 0;
        Data()->length = out;
    }
    return count;
}

int CString::Insert(int index, char ch)
{
    char one[2] = {ch, 0};
    return Insert(index, one);
}

int CString::Insert(int index, LPCSTR s)
{
    int len = GetLength();
    if (index < 0)
        index = 0;
    if (index > len)
        index = len;
    int add = Len(s);
    if (add) {
        CString result(m_psz, index);
        result.Append(s, add);
        result.Append(m_psz + index, len - index);
        *this = std::move(result);
    }
    return GetLength();
}

int CString::Delete(int index, int count)
{
    int len = GetLength();
    if (index < 0)
        index = 0;
    if (count > 0 && index < len) {
        if (count > len - index)
            count = len - index;
        char* p = Writable(len);
        memmove(p + index, p + index + count, (size_t)(len - index - count + 1));
        Data()->length = len - count;
    }
    return GetLength();
}

int CString::Find(char ch, int start) const
{
    if (start < 0 || start >= GetLength())
        return -1;
    LPCSTR hit = strchr(m_psz + start, ch);
    return hit && ch ? (int)(hit - m_psz) : -1;
}

int CString::Find(LPCSTR sub, int start) const
{
    if (sub == NULL || start < 0 || start > GetLength())
        return -1;
    LPCSTR hit = strstr(m_psz + start, sub);
    return hit ? (int)(hit - m_psz) : -1;
}

int CString::ReverseFind(char ch) const
{
    LPCSTR hit = strrchr(m_psz, ch);
    return hit && ch ? (int)(hit - m_psz) : -1;
}

int CString::FindOneOf(LPCSTR charSet) const
{
    if (charSet == NULL)
        return -1;
    LPCSTR hit = strpbrk(m_psz, charSet);
    return hit ? (int)(hit - m_psz) : -1;
}

void CString::FormatV(LPCSTR format, va_list args)
{
    if (format == NULL) {
        Empty();
        return;
    }
    va_list probe;
    va_copy(probe, args);
    int need = vsnprintf(NULL, 0, format, probe);
    va_end(probe);
    if (need <= 0) {
        Empty();
        return;
    }
    char* fresh = Allocate(need);
    vsnprintf(fresh, (size_t)need + 1, format, args);
    (reinterpret_cast<Header*>(fresh) - 1)->length = need;
    Release(m_psz); // after formatting: an argument may be this string's own text
    m_psz = fresh;
}

void CString::Format(LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(LPCSTR format, ...)
{
    CString piece;
    va_list args;
    va_start(args, format);
    piece.FormatV(format, args);
    va_end(args);
    *this += piece;
}

BOOL CString::LoadString(UINT id) { return FwLoadString(id, *this); }

LPSTR CString::GetBuffer(int minLength)
{
    int len = GetLength();
    return Writable(minLength > len ? minLength : len);
}

LPSTR CString::GetBufferSetLength(int length)
{
    if (length < 0)
        length = 0;
    char* p = Writable(length);
    if (p == EmptyText())
        return p;
    p[length] = 0;
    Data()->length = length;
    return p;
}

void CString::ReleaseBuffer(int newLength)
{
    if (m_psz == EmptyText())
        return;
    if (Data()->refs != 1) {
        // Shared since GetBuffer: take a private copy of the whole buffer rather than
        // change the text another string holds.
        int capacity = Data()->capacity;
        char* fresh = Allocate(capacity);
        memcpy(fresh, m_psz, (size_t)capacity + 1);
        (reinterpret_cast<Header*>(fresh) - 1)->length = Data()->length;
        Release(m_psz);
        m_psz = fresh;
    }
    Header* h = Data();
    if (newLength < 0)
        newLength = (int)strnlen(m_psz, (size_t)h->capacity);
    if (newLength > h->capacity)
        newLength = h->capacity;
    m_psz[newLength] = 0;
    h->length = newLength;
}

void CString::Preallocate(int length)
{
    if (length > GetLength())
        Writable(length);
}

BSTR CString::AllocSysString() const { return CStringW(*this).AllocSysString(); }

BSTR CString::SetSysString(BSTR* target) const
{
    CStringW wide(*this);
    if (!SysReAllocStringLen(target, wide, (UINT)wide.GetLength()))
        return NULL;
    return *target;
}

CString operator+(const CString& a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}
CString operator+(const CString& a, LPCSTR b)
{
    CString r(a);
    r += b;
    return r;
}
CString operator+(LPCSTR a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}
CString operator+(const CString& a, char b)
{
    CString r(a);
    r += b;
    return r;
}
CString operator+(char a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

// ---- CStringW

namespace {
WCHAR g_emptyWide[1] = {0};
}

CStringW::CStringW() : m_text(g_emptyWide), m_length(0) {}

CStringW::CStringW(const CStringW& s) : m_text(g_emptyWide), m_length(0) { Assign(s.m_text, s.m_length); }

CStringW::CStringW(CStringW&& s) noexcept : m_text(s.m_text), m_length(s.m_length)
{
    s.m_text = g_emptyWide;
    s.m_length = 0;
}

CStringW::CStringW(LPCWSTR s) : m_text(g_emptyWide), m_length(0) { Assign(s, s ? (int)wcslen(s) : 0); }

CStringW::CStringW(LPCWSTR s, int length) : m_text(g_emptyWide), m_length(0) { Assign(s, length); }

CStringW::CStringW(LPCSTR s) : m_text(g_emptyWide), m_length(0)
{
    int len = Len(s);
    if (len == 0)
        return;
    int chars = MultiByteToWideChar(CP_ACP, 0, s, len, NULL, 0);
    if (chars <= 0)
        return;
    m_text = new WCHAR[chars + 1];
    MultiByteToWideChar(CP_ACP, 0, s, len, m_text, chars);
    m_text[chars] = 0;
    m_length = chars;
}

CStringW::CStringW(const CString& s) : CStringW((LPCSTR)s) {}

CStringW::~CStringW()
{
    if (m_text != g_emptyWide)
        delete[] m_text;
}

CStringW& CStringW::operator=(const CStringW& s)
{
    if (this != &s)
        Assign(s.m_text, s.m_length);
    return *this;
}

CStringW& CStringW::operator=(CStringW&& s) noexcept
{
    if (this != &s) {
        if (m_text != g_emptyWide)
            delete[] m_text;
        m_text = s.m_text;
        m_length = s.m_length;
        s.m_text = g_emptyWide;
        s.m_length = 0;
    }
    return *this;
}

void CStringW::Assign(LPCWSTR s, int length)
{
    WCHAR* fresh = g_emptyWide;
    if (s != NULL && length > 0) {
        fresh = new WCHAR[length + 1];
        memcpy(fresh, s, (size_t)length * sizeof(WCHAR));
        fresh[length] = 0;
    } else {
        length = 0;
    }
    if (m_text != g_emptyWide)
        delete[] m_text;
    m_text = fresh;
    m_length = length;
}

BSTR CStringW::AllocSysString() const { return SysAllocStringLen(m_text, (UINT)m_length); }

// ---- resources

namespace {
HINSTANCE g_resourceModule = NULL;
}

HINSTANCE FwGetResourceHandle() { return g_resourceModule ? g_resourceModule : GetModuleHandleA(NULL); }

void FwSetResourceHandle(HINSTANCE module) { g_resourceModule = module; }

BOOL FwLoadString(UINT id, CString& out)
{
    // String tables are stored in blocks of 16 UTF-16 counted strings.
    HINSTANCE module = FwGetResourceHandle();
    HRSRC res = FindResourceA(module, MAKEINTRESOURCEA((id >> 4) + 1), (LPCSTR)RT_STRING);
    if (res == NULL) {
        out.Empty();
        return FALSE;
    }
    HGLOBAL mem = LoadResource(module, res);
    const WCHAR* p = mem ? static_cast<const WCHAR*>(LockResource(mem)) : NULL;
    DWORD size = SizeofResource(module, res) / sizeof(WCHAR);
    if (p == NULL) {
        out.Empty();
        return FALSE;
    }
    const WCHAR* end = p + size;
    for (UINT i = 0; i < (id & 15); ++i) {
        if (p >= end) {
            out.Empty();
            return FALSE;
        }
        p += 1 + *p;
    }
    if (p >= end || *p == 0 || p + 1 + *p > end) {
        out.Empty();
        return FALSE;
    }
    out = CString(p + 1, (int)*p);
    return TRUE;
}
