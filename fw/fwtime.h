// CTime (a point in time, seconds since 1970 UTC) and CTimeSpan.
#pragma once
#include "fw/fwstring.h"
#include <time.h>

class CTimeSpan
{
public:
    CTimeSpan() : m_span(0) {}
    CTimeSpan(__time64_t seconds) : m_span(seconds) {}
    CTimeSpan(LONG days, int hours, int minutes, int seconds)
        : m_span(((__time64_t)days * 24 * 3600) + hours * 3600 + minutes * 60 + seconds)
    {}

    LONGLONG GetDays() const { return m_span / (24 * 3600); }
    LONGLONG GetTotalHours() const { return m_span / 3600; }
    LONG GetHours() const { return (LONG)(GetTotalHours() - GetDays() * 24); }
    LONGLONG GetTotalMinutes() const { return m_span / 60; }
    LONG GetMinutes() const { return (LONG)(GetTotalMinutes() - GetTotalHours() * 60); }
    LONGLONG GetTotalSeconds() const { return m_span; }
    LONG GetSeconds() const { return (LONG)(m_span - GetTotalMinutes() * 60); }
    __time64_t GetTimeSpan() const { return m_span; }

    CTimeSpan operator+(CTimeSpan s) const { return CTimeSpan(m_span + s.m_span); }
    CTimeSpan operator-(CTimeSpan s) const { return CTimeSpan(m_span - s.m_span); }
    bool operator==(CTimeSpan s) const { return m_span == s.m_span; }
    bool operator!=(CTimeSpan s) const { return m_span != s.m_span; }
    bool operator<(CTimeSpan s) const { return m_span < s.m_span; }
    bool operator>(CTimeSpan s) const { return m_span > s.m_span; }

private:
    __time64_t m_span;
};

class CTime
{
public:
    static CTime GetCurrentTime();

    CTime() : m_time(0) {}
    CTime(__time64_t t) : m_time(t) {}
    // Local time; dst -1 lets the C runtime decide daylight saving.
    CTime(int year, int month, int day, int hour, int minute, int second, int dst = -1);
    CTime(const SYSTEMTIME& st, int dst = -1);
    // A file time (UTC) shown as local time.
    CTime(const FILETIME& ft, int dst = -1);

    __time64_t GetTime() const { return m_time; }
    // Local calendar fields; all 0 for a time the C runtime cannot convert.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 = Sunday
    bool GetLocalTm(struct tm* out) const;
    bool GetGmtTm(struct tm* out) const;
    BOOL GetAsSystemTime(SYSTEMTIME& st) const;
    // strftime of the local (or UTC) time.
    CString Format(LPCSTR format) const;
    CString FormatGmt(LPCSTR format) const;

    CTime operator+(CTimeSpan s) const { return CTime(m_time + s.GetTimeSpan()); }
    CTime operator-(CTimeSpan s) const { return CTime(m_time - s.GetTimeSpan()); }
    CTimeSpan operator-(CTime t) const { return CTimeSpan(m_time - t.m_time); }
    CTime& operator+=(CTimeSpan s)
    {
        m_time += s.GetTimeSpan();
        return *this;
    }
    CTime& operator-=(CTimeSpan s)
    {
        m_time -= s.GetTimeSpan();
        return *this;
    }
    bool operator==(CTime t) const { return m_time == t.m_time; }
    bool operator!=(CTime t) const { return m_time != t.m_time; }
    bool operator<(CTime t) const { return m_time < t.m_time; }
    bool operator>(CTime t) const { return m_time > t.m_time; }
    bool operator<=(CTime t) const { return m_time <= t.m_time; }
    bool operator>=(CTime t) const { return m_time >= t.m_time; }

private:
    __time64_t m_time;
};
