// Local date-time and span: conversion to and from local fields, formatting.
#include "platform/CTime.h"

#include <chrono>

namespace {

bool ToLocal(int64_t nTime, struct tm* ptm)
{
    const time_t t = static_cast<time_t>(nTime);
    if (static_cast<int64_t>(t) != nTime)
        return false;
#ifdef _WIN32
    // XP's msvcrt has no _localtime64_s; its _localtime64 keeps the result
    // per thread.
    const struct tm* pLocal = localtime(&t);
    if (!pLocal)
        return false;
    *ptm = *pLocal;
    return true;
#else
    return localtime_r(&t, ptm) != nullptr;
#endif
}

int Field(const CTime& time, int tm::*field)
{
    struct tm local {};
    return time.GetLocalTm(&local) ? local.*field : -1;
}

} // namespace

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
{
    struct tm fields {};
    fields.tm_year = nYear - 1900;
    fields.tm_mon = nMonth - 1;
    fields.tm_mday = nDay;
    fields.tm_hour = nHour;
    fields.tm_min = nMin;
    fields.tm_sec = nSec;
    fields.tm_isdst = nDST;
    m_time = nYear < 1970 ? -1 : static_cast<int64_t>(mktime(&fields));
}

CTime CTime::GetCurrentTime()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return CTime(std::chrono::duration_cast<std::chrono::seconds>(now).count());
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const
{
    static thread_local struct tm threadBuffer;
    struct tm* pTarget = ptm ? ptm : &threadBuffer;
    return ToLocal(m_time, pTarget) ? pTarget : nullptr;
}

#ifdef _WIN32
bool CTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    struct tm local {};
    if (!GetLocalTm(&local))
        return false;
    st = SYSTEMTIME{};
    st.wYear = static_cast<WORD>(local.tm_year + 1900);
    st.wMonth = static_cast<WORD>(local.tm_mon + 1);
    st.wDayOfWeek = static_cast<WORD>(local.tm_wday);
    st.wDay = static_cast<WORD>(local.tm_mday);
    st.wHour = static_cast<WORD>(local.tm_hour);
    st.wMinute = static_cast<WORD>(local.tm_min);
    st.wSecond = static_cast<WORD>(local.tm_sec);
    return true;
}
#endif

CString CTime::Format(const char* pszFormat) const
{
    struct tm local {};
    if (!GetLocalTm(&local))
        return CString();
    char buffer[256];
    const size_t n = strftime(buffer, sizeof buffer, pszFormat, &local);
    return CString(buffer, static_cast<int>(n));
}

int CTime::GetYear() const
{
    const int year = Field(*this, &tm::tm_year);
    return year == -1 ? -1 : year + 1900;
}
int CTime::GetMonth() const
{
    const int month = Field(*this, &tm::tm_mon);
    return month == -1 ? -1 : month + 1;
}
int CTime::GetDay() const { return Field(*this, &tm::tm_mday); }
int CTime::GetHour() const { return Field(*this, &tm::tm_hour); }
int CTime::GetMinute() const { return Field(*this, &tm::tm_min); }
int CTime::GetSecond() const { return Field(*this, &tm::tm_sec); }
