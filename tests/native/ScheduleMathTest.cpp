#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

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
    EXPECT_EQ(INTERVAL_OK, IntervalSeconds("1.5", 1, &nSeconds));
    EXPECT_EQ(3600, nSeconds);
    // A day is 24 hours and a month 30 days; each unit's last count that
    // fits the counter, and the first that does not.
    struct Limit {
        int nUnit;
        int nUnitSeconds;
        const char* pszLast;
        int nLastSeconds;
        const char* pszFirstTooLong;
    } const limits[] = {{0, 60, "35791394", 2147483640, "35791395"},
                        {1, 3600, "596523", 2147482800, "596524"},
                        {2, 86400, "24855", 2147472000, "24856"},
                        {3, 2592000, "828", 2146176000, "829"}};
    for (const Limit& limit : limits) {
        SCOPED_TRACE(limit.nUnit);
        EXPECT_EQ(INTERVAL_OK, IntervalSeconds("1", limit.nUnit, &nSeconds));
        EXPECT_EQ(limit.nUnitSeconds, nSeconds);
        EXPECT_EQ(INTERVAL_OK, IntervalSeconds(limit.pszLast, limit.nUnit, &nSeconds));
        EXPECT_EQ(limit.nLastSeconds, nSeconds);
        nSeconds = -7;
        EXPECT_EQ(INTERVAL_TOO_LONG, IntervalSeconds(limit.pszFirstTooLong, limit.nUnit, &nSeconds));
        EXPECT_EQ(-7, nSeconds);
    }

    for (const char* text : {"", "0", "-3", "-0", "x5", ".5"})
        EXPECT_EQ(INTERVAL_NOT_POSITIVE, IntervalSeconds(text, 0, &nSeconds)) << text;
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

TEST(ScheduleMath, HugeCountsSaturateAndAreTooLongInEveryUnit)
{
    const char* const texts[] = {
        "2147483647", "2147483649",                     // 2^31 - 1, 2^31 + 1
        "9223372036854775807", "9223372036854775809",   // 2^63 - 1, 2^63 + 1
        "18446744073709551615", "18446744073709551617", // 2^64 - 1, 2^64 + 1
        "9999999999999999999", "9999999999999999999999999999999999999999",
        "1000000000000000000000000000000000000000",
    };
    for (const char* text : texts) {
        EXPECT_GE(LeadingInteger(text), int64_t{INT_MAX}) << text;
        EXPECT_EQ(-LeadingInteger(text), LeadingInteger(("-" + std::string(text)).c_str())) << text;
        for (int nUnit = 0; nUnit < kUnitCount; ++nUnit) {
            int nSeconds = -7;
            EXPECT_EQ(INTERVAL_TOO_LONG, IntervalSeconds(text, nUnit, &nSeconds)) << text << " unit " << nUnit;
            EXPECT_EQ(-7, nSeconds);
        }
    }
    int nSeconds = 0;
    EXPECT_EQ(INTERVAL_OK, IntervalSeconds("00000000000000000000000000000000000001", 3, &nSeconds));
    EXPECT_EQ(2592000, nSeconds);
}

TEST(ScheduleMath, ATargetWithNoTimeIsJudgedByItsDate)
{
    const CTime now = CTime::GetCurrentTime();
    EXPECT_EQ(SPAN_OK, CheckTarget(now + CTimeSpan(60), now, 0, 0, 0));
    EXPECT_EQ(SPAN_NOT_LATER, CheckTarget(now, now, 0, 0, 0));
    // 1970-01-01 east of UTC has no time either: it is in the past, not far off.
    EXPECT_EQ(SPAN_NOT_LATER, CheckTarget(CTime(-1), now, 1970, 1, 1));
    EXPECT_EQ(SPAN_NOT_LATER, CheckTarget(CTime(-1), now, 1969, 12, 31));
    EXPECT_EQ(SPAN_TOO_FAR, CheckTarget(CTime(-1), now, 3001, 1, 1));
}

namespace {

// The conversion worked out independently: atoi's reading, capped far
// beyond any counter in a wider type.
int64_t ReferenceCount(const std::string& text, int64_t nCap)
{
    size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string::npos)
        return 0;
    const bool bNegative = text[i] == '-';
    if (text[i] == '+' || text[i] == '-')
        ++i;
    __int128 nValue = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        nValue = nValue >= nCap ? nValue : nValue * 10 + (text[i] - '0');
    const int64_t nCapped = nValue > nCap ? nCap : static_cast<int64_t>(nValue);
    return bNegative ? -nCapped : nCapped;
}

} // namespace

// A million texts through the field check, the conversion and the unit
// product: no text starts a countdown other than the one it names.
TEST(ScheduleMath, NoTextStartsACountdownOtherThanTheOneItNames)
{
    constexpr int kTexts = 1000000;
    constexpr int64_t kCap = int64_t{1} << 62;
    int nRan = 0;
    int nStarted = 0;
    int nTooLong = 0;
    ForEachRandomCountText(20261207, kTexts, [&](const CString& text) {
        ++nRan;
        const std::string bytes(text.GetString(), text.GetLength());
        CheckCount(text);
        const int64_t nLeading = LeadingInteger(text);
        ASSERT_EQ(ReferenceCount(bytes, kCap), nLeading) << bytes;
        for (int nUnit = 0; nUnit < kUnitCount; ++nUnit) {
            int nSeconds = -1;
            const IntervalResult result = IntervalSeconds(text, nUnit, &nSeconds);
            if (nLeading <= 0) {
                ASSERT_EQ(INTERVAL_NOT_POSITIVE, result) << bytes;
            } else if (static_cast<__int128>(nLeading) * kUnitSeconds[nUnit] > INT_MAX) {
                ASSERT_EQ(INTERVAL_TOO_LONG, result) << bytes;
                ++nTooLong;
            } else {
                ASSERT_EQ(INTERVAL_OK, result) << bytes;
                ASSERT_EQ(nLeading * kUnitSeconds[nUnit], nSeconds) << bytes;
                ++nStarted;
            }
        }
    });
    std::printf("interval texts run through check, conversion and unit product: %d\n", nRan);
    EXPECT_EQ(kTexts, nRan);
    EXPECT_GT(nStarted, 100000);
    EXPECT_GT(nTooLong, 100000);
}
