// The arithmetic of a Set press: interval seconds and the span to a target.
#include "schedule/ScheduleMath.h"

#include <climits>

namespace {

// Far beyond any counter, far from int64_t's end.
constexpr int64_t kSaturated = int64_t{1} << 62;

} // namespace

int64_t LeadingInteger(const char* pszText)
{
    const char* p = pszText;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool bNegative = false;
    if (*p == '+' || *p == '-')
        bNegative = *p++ == '-';
    int64_t nValue = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        const int nDigit = *p - '0';
        // Checked before the step, so the product never leaves int64_t.
        nValue = nValue <= (kSaturated - nDigit) / 10 ? nValue * 10 + nDigit : kSaturated;
    }
    return bNegative ? -nValue : nValue;
}

IntervalResult IntervalSeconds(const char* pszText, int nUnit, int* pnSeconds)
{
    const int64_t nCount = LeadingInteger(pszText);
    if (!*pszText || nCount <= 0)
        return INTERVAL_NOT_POSITIVE;
    const int64_t nUnitSeconds = nUnit >= 0 && nUnit < kUnitCount ? kUnitSeconds[nUnit] : kUnitSeconds[0];
    if (nCount > INT_MAX / nUnitSeconds)
        return INTERVAL_TOO_LONG;
    *pnSeconds = static_cast<int>(nCount * nUnitSeconds);
    return INTERVAL_OK;
}

SpanResult CheckTarget(CTime target, CTime now, int nYear, int nMonth, int nDay)
{
    if (target.GetTime() != -1)
        return CheckSpan(target - now);
    // No time for that date: before 1970 in this zone (which can be 1970
    // itself east of UTC), or past what the run-time library converts.
    struct tm today {};
    if (!now.GetLocalTm(&today))
        return SPAN_NOT_LATER;
    const int64_t nTargetDay = (int64_t{nYear} * 16 + nMonth) * 32 + nDay;
    const int64_t nToday = (int64_t{today.tm_year + 1900} * 16 + today.tm_mon + 1) * 32 + today.tm_mday;
    return nTargetDay < nToday ? SPAN_NOT_LATER : SPAN_TOO_FAR;
}

SpanResult CheckSpan(CTimeSpan span)
{
    if (span.GetTotalSeconds() <= 0)
        return SPAN_NOT_LATER;
    if (span.GetTotalSeconds() > INT_MAX)
        return SPAN_TOO_FAR;
    return SPAN_OK;
}
