// The arithmetic of a Set press: the interval's leading integer times its
// unit, and the span to a target time, both checked against the counters'
// range (signed 32-bit seconds) before anything counts.
#pragma once

#include <cstdint>

#include "platform/CTime.h"

// Seconds per unit, by index of the unit list: a minute, an hour, a day and
// a month of thirty days.
constexpr int kUnitSeconds[] = {60, 3600, 86400, 2592000};
constexpr int kUnitCount = 4;

// The integer that the text starts with, as atoi reads it (blanks, an
// optional sign, digits up to the first other character: "1.5" gives 1), but
// without overflow: a longer run of digits saturates.
int64_t LeadingInteger(const char* pszText);

enum IntervalResult {
    INTERVAL_OK,
    INTERVAL_NOT_POSITIVE,  // empty, zero or negative
    INTERVAL_TOO_LONG,      // more seconds than the counter holds
};

// Checks the interval text for the unit of index nUnit; the seconds on success.
IntervalResult IntervalSeconds(const char* pszText, int nUnit, int* pnSeconds);

enum SpanResult {
    SPAN_OK,
    SPAN_NOT_LATER,  // the target is now or earlier (or has no time: -1)
    SPAN_TOO_FAR,    // more seconds than the counter holds
};

SpanResult CheckSpan(CTimeSpan span);

// The verdict on a target built from the pickers with the date nYear-nMonth-
// nDay. A target with no time (-1) is judged by its date against today's.
SpanResult CheckTarget(CTime target, CTime now, int nYear, int nMonth, int nDay);
