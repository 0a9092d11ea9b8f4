#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "RandomCountText.h"
#include "schedule/IntervalText.h"

TEST(IntervalText, DigitsAndOneFullStopPass)
{
    for (const char* text : {"", "15", "0", "007", "1.5", ".5", "5.", ".", "9999999999"}) {
        EXPECT_TRUE(IsNumeric(text)) << text;
    }
    for (const char* text : {"1.2.3", "..", "-5", "+5", "5 ", " 5", "1e3", "12a", "1,5", "５", "中", "1五"}) {
        EXPECT_FALSE(IsNumeric(text)) << text;
    }
    // A GBK character whose trail byte is an ASCII digit is still refused.
    EXPECT_FALSE(IsNumeric(CString("\x81\x30", 2)));
    EXPECT_FALSE(IsNumeric(CString("1\0" "2", 3)));
}

TEST(IntervalText, LengthIsJudgedInBytesBeforeCharacters)
{
    EXPECT_EQ(CountCheck::Accepted, CheckCount("1234567890"));
    EXPECT_EQ(CountCheck::TooLong, CheckCount("12345678901"));
    EXPECT_EQ(CountCheck::Accepted, CheckCount("12345678.9"));
    // Letters in an overlong text: only the length is reported.
    EXPECT_EQ(CountCheck::TooLong, CheckCount("abcdefghijk"));
    EXPECT_EQ(CountCheck::IllegalCharacter, CheckCount("abcdefghij"));
    // Five Chinese characters are ten bytes, six are twelve.
    EXPECT_EQ(CountCheck::IllegalCharacter, CheckCount("一二三四五"));
    EXPECT_EQ(CountCheck::TooLong, CheckCount("一二三四五六"));
    EXPECT_EQ(CountCheck::IllegalCharacter, CheckCount("中"));
    EXPECT_EQ(CountCheck::Accepted, CheckCount(""));
}

// Whatever bytes arrive, the check ends, and a text it accepts is at most
// ten bytes of digits with at most one full stop: no sign, so its leading
// integer is 0 or more and below 10^10, and even times the longest unit
// (12,960,000 s) it stays far inside 64 bits. A conversion into a 32-bit
// count must still check its range: ten digits pass here.
TEST(IntervalText, RandomBytesNeverCrashAndAcceptedTextsStayInRange)
{
    int nAccepted = 0;
    ForEachRandomCountText(20261207, 200000, [&](const CString& text) {
        const CountCheck verdict = CheckCount(text);
        int nFullStops = 0;
        bool bOnlyDigitsAndStops = true;
        int64_t nLeading = 0;
        bool bInLeadingDigits = true;
        for (int i = 0; i < text.GetLength(); ++i) {
            const char ch = text.GetAt(i);
            if (ch == '.')
                ++nFullStops;
            else if (ch < '0' || ch > '9')
                bOnlyDigitsAndStops = false;
            if (bInLeadingDigits && ch >= '0' && ch <= '9' && nLeading < INT64_MAX / 100)
                nLeading = nLeading * 10 + (ch - '0');
            else
                bInLeadingDigits = false;
        }
        const bool bShouldPass = text.GetLength() <= kMaxCountBytes && bOnlyDigitsAndStops && nFullStops <= 1;
        ASSERT_EQ(bShouldPass, verdict == CountCheck::Accepted) << std::string(text.GetString(), text.GetLength());
        ASSERT_EQ(text.GetLength() > kMaxCountBytes, verdict == CountCheck::TooLong);
        if (verdict == CountCheck::Accepted) {
            ++nAccepted;
            ASSERT_GE(nLeading, 0);
            ASSERT_LT(nLeading, INT64_C(10000000000));
            ASSERT_LT(nLeading, INT64_MAX / 12960000);
        }
    });
    // The generator must reach the accepted side, or the property says nothing.
    EXPECT_GT(nAccepted, 10000);
}
