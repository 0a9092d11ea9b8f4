// Local date-time and signed span, both a count of seconds. The count is
// 64-bit so that dates past January 2038 convert and display correctly.
#pragma once

#include <cstdint>
#include <ctime>

#include "platform/CString.h"

#ifdef _WIN32
#include <windows.h>
#endif

// The run-time library converts through time_t: a 32-bit one would turn every
// date past 2038-01-19 into -1.
static_assert(sizeof(time_t) == 8, "time_t must be 64 bits wide");

class CTimeSpan {
public:
    CTimeSpan() = default;
    CTimeSpan(int64_t nSeconds) : m_span(nSeconds) {}
    CTimeSpan(long nDays, int nHours, int nMins, int nSecs)
        : m_span(((static_cast<int64_t>(nDays) * 24 + nHours) * 60 + nMins) * 60 + nSecs) {}

    int64_t GetTotalSeconds() const { return m_span; }

    CTimeSpan operator-(CTimeSpan other) const { return CTimeSpan(m_span - other.m_span); }
    CTimeSpan operator+(CTimeSpan other) const { return CTimeSpan(m_span + other.m_span); }
    CTimeSpan& operator-=(CTimeSpan other) { m_span -= other.m_span; return *this; }
    bool operator==(CTimeSpan other) const { return m_span == other.m_span; }
    bool operator!=(CTimeSpan other) const { return m_span != other.m_span; }
    bool operator<(CTimeSpan other) const { return m_span < other.m_span; }
    bool operator>(CTimeSpan other) const { return m_span > other.m_span; }
    bool operator<=(CTimeSpan other) const { return m_span <= other.m_span; }
    bool operator>=(CTimeSpan other) const { return m_span >= other.m_span; }

private:
    int64_t m_span = 0;
};

class CTime {
public:
    CTime() = default;
    explicit CTime(int64_t nTime) : m_time(nTime) {}
    // Six local fields; nDST -1 lets the run-time library decide on daylight
    // saving. A date the library cannot represent gives the time -1.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);

    static CTime GetCurrentTime();

    int64_t GetTime() const { return m_time; }

    // Local-time breakdown; without a buffer of the caller's, a buffer of the
    // calling thread is used. Null when the time has no local representation.
    struct tm* GetLocalTm(struct tm* ptm = nullptr) const;

#ifdef _WIN32
    // The local fields as the system's date-time record; FALSE when the time
    // has no local representation.
    bool GetAsSystemTime(SYSTEMTIME& st) const;
#endif

    // strftime codes in local time; empty when the time cannot be converted.
    CString Format(const char* pszFormat) const;

    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;

    CTimeSpan operator-(CTime other) const { return CTimeSpan(m_time - other.m_time); }
    CTime operator-(CTimeSpan span) const { return CTime(m_time - span.GetTotalSeconds()); }
    CTime operator+(CTimeSpan span) const { return CTime(m_time + span.GetTotalSeconds()); }
    bool operator==(CTime other) const { return m_time == other.m_time; }
    bool operator!=(CTime other) const { return m_time != other.m_time; }
    bool operator<(CTime other) const { return m_time < other.m_time; }
    bool operator>(CTime other) const { return m_time > other.m_time; }

private:
    int64_t m_time = 0;
};
