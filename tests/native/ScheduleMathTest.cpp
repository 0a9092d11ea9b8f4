#include <gtest/gtest.h>

#include <climits>

#include "RandomCountText.h"
#include "schedule/IntervalText.h"
#include "schedule/ScheduleMath.h"

TEST(ScheduleMath, LeadingIntegerReadsLikeAtoiWithoutOverflow)
{
    EXPECT_EQ(1, LeadingInteger("1.5"));
    EXPECT_EQ(-3, LeadingInteger("-3"));
    EXPECT_EQ(42, LeadingInteger("  +42abc"));
    EXPECT_EQ(0, LeadingInteger(""));
    EXPECT_EQ(0, LeadingInteger("abc"));
    EXPECT_EQ(9999999999LL, LeadingInteger("9999999999"));
    // Far more digits than any integer holds: large, never wrapped.
    EXPECT_GT(LeadingInteger("99999999999999999999999999999999"), int64_t{INT_MAX});
    EXPECT_LT(LeadingInteger("-99999999999999999999999999999999"), int64_t{INT_MIN});
}

TEST(ScheduleMath, IntervalsOutsideTheCounterAreRefused)
{
    int nSeconds = -7;
    EXPECT_EQ(INTERVAL_OK, IntervalSeconds("5", 3, &nSeconds));
    EXPECT_EQ(5 * 12960000, nSeconds);
    EXPECT_EQ(INTERVAL_OK, IntervalSeconds("1.5", 1, &nSeconds));
    EXPECT_EQ(3600, nSeconds);
    EXPECT_EQ(INTERVAL_OK, IntervalSeconds("165", 3, &nSeconds));
    EXPECT_EQ(165 * 12960000, nSeconds);
    EXPECT_EQ(INTERVAL_OK, IntervalSeconds("35791394", 0, &nSeconds));
    EXPECT_EQ(2147483640, nSeconds);

    nSeconds = -7;
    for (const char* text : {"", "0", "-3", "-0", "x5", ".5"})
        EXPECT_EQ(INTERVAL_NOT_POSITIVE, IntervalSeconds(text, 0, &nSeconds)) << text;
    for (const char* text : {"166", "2147483647", "99999999999999999999"})
        EXPECT_EQ(INTERVAL_TOO_LONG, IntervalSeconds(text, 3, &nSeconds)) << text;
    EXPECT_EQ(INTERVAL_TOO_LONG, IntervalSeconds("35791395", 0, &nSeconds));
    EXPECT_EQ(INTERVAL_TOO_LONG, IntervalSeconds("596524", 1, &nSeconds));
    EXPECT_EQ(-7, nSeconds);
}

TEST(ScheduleMath, SpansMustBeLaterAndFitTheCounter)
{
    EXPECT_EQ(SPAN_NOT_LATER, CheckSpan(CTimeSpan(0)));
    EXPECT_EQ(SPAN_NOT_LATER, CheckSpan(CTime(-1) - CTime::GetCurrentTime()));
    EXPECT_EQ(SPAN_OK, CheckSpan(CTimeSpan(1)));
    EXPECT_EQ(SPAN_OK, CheckSpan(CTimeSpan(INT_MAX)));
    EXPECT_EQ(SPAN_TOO_FAR, CheckSpan(CTimeSpan(int64_t{INT_MAX} + 1)));
    // Past January 2038 the time itself is right; the count is what must fit.
    const CTime target(2040, 1, 1, 0, 0, 0);
    EXPECT_GT(target.GetTime(), int64_t{INT_MAX});
    EXPECT_EQ(SPAN_OK, CheckSpan(target - CTime::GetCurrentTime()));
    EXPECT_EQ(-1, CTime(1969, 12, 31, 23, 59, 59).GetTime());
}

// Whatever the interval field lets through, a Set press never starts a
// countdown of zero or fewer seconds, nor one that wrapped past the counter.
TEST(ScheduleMath, AcceptedFieldTextsNeverGiveAnEarlyOrWrappedCountdown)
{
    int nStarted = 0;
    int nTooLong = 0;
    ForEachRandomCountText(20261207, 100000, [&](const CString& text) {
        if (CheckCount(text) != CountCheck::Accepted)
            return;
        const int64_t nLeading = LeadingInteger(text);
        for (int nUnit = 0; nUnit < kUnitCount; ++nUnit) {
            int nSeconds = -1;
            const IntervalResult result = IntervalSeconds(text, nUnit, &nSeconds);
            const int64_t nExpected = nLeading * kUnitSeconds[nUnit];
            if (result == INTERVAL_OK) {
                ASSERT_GT(nSeconds, 0) << text.GetString();
                ASSERT_EQ(nExpected, nSeconds) << text.GetString();
                ++nStarted;
            } else if (result == INTERVAL_TOO_LONG) {
                ASSERT_GT(nExpected, INT32_MAX) << text.GetString();
                ++nTooLong;
            } else {
                ASSERT_LE(nLeading, 0) << text.GetString();
            }
        }
    });
    EXPECT_GT(nStarted, 1000);
    EXPECT_GT(nTooLong, 1000);
}
