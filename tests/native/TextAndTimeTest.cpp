// The window-free text and time types.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/CString.h"
#include "platform/CTime.h"

TEST(CString, LengthCountsGbkBytesAndNullOrNoTextIsEmpty)
{
    const CString chinese("关机");
    EXPECT_EQ(4, chinese.GetLength());
    EXPECT_EQ(static_cast<char>(0xB9), chinese.GetAt(0));
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_TRUE(CString(nullptr).IsEmpty());
}

TEST(CString, FormatsLongAndChineseText)
{
    CString line;
    line.Format("%d秒后%s", 3600, "关机.");
    EXPECT_EQ(CString("3600秒后关机."), line);

    const std::string longText(5000, 'x');
    line.Format("%s|%d", longText.c_str(), -7);
    EXPECT_EQ(5003, line.GetLength());
    EXPECT_EQ('7', line.GetAt(5002));
}

class LocalTimeZone : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("TZ", "Asia/Shanghai", 1);
        tzset();
    }
};

TEST_F(LocalTimeZone, BuildsAndFormatsLocalTimes)
{
    const CTime t(2026, 12, 6, 7, 58, 43);
    EXPECT_EQ(CString("2026年12月06日  07时58分"), t.Format("%Y年%m月%d日  %H时%M分"));
    EXPECT_EQ(43, t.GetLocalTm()->tm_sec);
    EXPECT_EQ(2026, t.GetYear());
    EXPECT_EQ(12, t.GetMonth());
    EXPECT_EQ(6, t.GetDay());

    const CTime later(2026, 12, 6, 8, 0, 0);
    EXPECT_EQ(77, (later - t).GetTotalSeconds());
    EXPECT_LT((t - later).GetTotalSeconds(), 0);
}

TEST_F(LocalTimeZone, DatesPast2038StayCorrect)
{
    const CTime t(2040, 3, 5, 0, 5, 9);
    EXPECT_GT(t.GetTime(), 0x7FFFFFFFLL);
    EXPECT_EQ(CString("2040年03月05日  00时05分"), t.Format("%Y年%m月%d日  %H时%M分"));
    EXPECT_EQ(CString("09"), t.Format("%S"));
}

TEST_F(LocalTimeZone, DatesBefore1970AreRefused)
{
    EXPECT_EQ(-1, CTime(1969, 12, 31, 23, 0, 0).GetTime());
}
