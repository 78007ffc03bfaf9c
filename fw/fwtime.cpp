#include "fw/fwtime.h"

namespace {

__time64_t MakeLocal(int year, int month, int day, int hour, int minute, int second, int dst)
{
    struct tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = dst;
    __time64_t r = _mktime64(&t);
    return r == -1 ? 0 : r;
}

} // namespace

CTime CTime::GetCurrentTime() { return CTime(_time64(NULL)); }

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst)
    : m_time(MakeLocal(year, month, day, hour, minute, second, dst))
{}

CTime::CTime(const SYSTEMTIME& st, int dst)
    : m_time(st.wYear < 1900 ? 0 : MakeLocal(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, dst))
{}

CTime::CTime(const FILETIME& ft, int dst) : m_time(0)
{
    FILETIME local;
    SYSTEMTIME st;
    if ((ft.dwLowDateTime || ft.dwHighDateTime) && FileTimeToLocalFileTime(&ft, &local) &&
        FileTimeToSystemTime(&local, &st))
        *this = CTime(st, dst);
}

bool CTime::GetLocalTm(struct tm* out) const { return _localtime64_s(out, &m_time) == 0; }

bool CTime::GetGmtTm(struct tm* out) const { return _gmtime64_s(out, &m_time) == 0; }

int CTime::GetYear() const
{
    struct tm t;
    return GetLocalTm(&t) ? t.tm_year + 1900 : 0;
}
int CTime::GetMonth() const
{
    struct tm t;
    return GetLocalTm(&t) ? t.tm_mon + 1 : 0;
}
int CTime::GetDay() const
{
    struct tm t;
    return GetLocalTm(&t) ? t.tm_mday : 0;
}
int CTime::GetHour() const
{
    struct tm t;
    return GetLocalTm(&t) ? t.tm_hour : 0;
}
int CTime::GetMinute() const
{
    struct tm t;
    return GetLocalTm(&t) ? t.tm_min : 0;
}
int CTime::GetSecond() const
{
    struct tm t;
    return GetLocalTm(&t) ? t.tm_sec : 0;
}
int CTime::GetDayOfWeek() const
{
    struct tm t;
    return GetLocalTm(&t) ? t.tm_wday + 1 : 0;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    struct tm t;
    if (!GetLocalTm(&t))
        return FALSE;
    st.wYear = (WORD)(t.tm_year + 1900);
    st.wMonth = (WORD)(t.tm_mon + 1);
    st.wDayOfWeek = (WORD)t.tm_wday;
    st.wDay = (WORD)t.tm_mday;
    st.wHour = (WORD)t.tm_hour;
    st.wMinute = (WORD)t.tm_min;
    st.wSecond = (WORD)t.tm_sec;
    st.wMilliseconds = 0;
    return TRUE;
}

namespace {
CString FormatTm(const struct tm& t, LPCSTR format)
{
    char buffer[512];
    if (format == NULL || strftime(buffer, sizeof buffer, format, &t) == 0)
        return CString();
    return CString(buffer);
}
} // namespace

CString CTime::Format(LPCSTR format) const
{
    struct tm t;
    return GetLocalTm(&t) ? FormatTm(t, format) : CString();
}

CString CTime::FormatGmt(LPCSTR format) const
{
    struct tm t;
    return GetGmtTm(&t) ? FormatTm(t, format) : CString();
}
