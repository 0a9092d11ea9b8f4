#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "schedule/ClockPass.h"

namespace {

std::string Text(const CString& str) { return std::string(str.GetString(), str.GetLength()); }

} // namespace

TEST(ClockPass, ShowsTheMinuteAndSleepsToItsEndAndTheSecondsEverySecond)
{
    const ClockPass morning = MinuteClockPass(CTime(2026, 12, 6, 7, 58, 43));
    EXPECT_EQ(Text("2026年12月06日  07时58分"), Text(morning.strText));
    EXPECT_EQ(17000u, morning.nSleepMs);

    const ClockPass midnight = MinuteClockPass(CTime(2027, 3, 5, 0, 5, 0));
    EXPECT_EQ(Text("2027年03月05日  00时05分"), Text(midnight.strText));
    EXPECT_EQ(60000u, midnight.nSleepMs);

    EXPECT_EQ(1000u, MinuteClockPass(CTime(2027, 3, 5, 0, 5, 59)).nSleepMs);

    const ClockPass fifth = SecondsTickerPass(CTime(2027, 3, 5, 0, 5, 5));
    EXPECT_EQ("05", Text(fifth.strText));
    EXPECT_EQ(1000u, fifth.nSleepMs);
    EXPECT_EQ("43", Text(SecondsTickerPass(CTime(2026, 12, 6, 7, 58, 43)).strText));

    // Both wake on the boundary itself, not a flat while after the reading.
    EXPECT_EQ(16600u, MinuteClockPass(CTime(2026, 12, 6, 7, 58, 43), 400).nSleepMs);
    EXPECT_EQ(1u, MinuteClockPass(CTime(2026, 12, 6, 7, 58, 59), 999).nSleepMs);
    EXPECT_EQ(750u, SecondsTickerPass(CTime(2026, 12, 6, 7, 58, 43), 250).nSleepMs);
}

TEST(ClockPass, TheTickerFindsTheMinuteFieldBehindAfterAResumeOrAClockChange)
{
    const CTime shown(2026, 12, 6, 7, 58, 43);
    const int64_t nShown = MinuteOf(shown);
    EXPECT_EQ(MinuteOf(CTime(2026, 12, 6, 7, 58, 0)), nShown);
    EXPECT_FALSE(MinuteFieldBehind(nShown, CTime(2026, 12, 6, 7, 58, 59)));
    // On the boundary the minute clock wakes by itself; a second later it is late.
    EXPECT_FALSE(MinuteFieldBehind(nShown, CTime(2026, 12, 6, 7, 59, 0)));
    EXPECT_TRUE(MinuteFieldBehind(nShown, CTime(2026, 12, 6, 7, 59, 1)));
    // Woken hours later, even on a boundary, or the clock set back.
    EXPECT_TRUE(MinuteFieldBehind(nShown, CTime(2026, 12, 6, 11, 2, 0)));
    EXPECT_TRUE(MinuteFieldBehind(nShown, CTime(2026, 12, 6, 7, 57, 30)));
    // The ticker's first pass may come before the minute clock's, on second 0 too.
    EXPECT_FALSE(MinuteFieldBehind(kNoMinuteShown, CTime(2026, 12, 6, 7, 59, 0)));
    EXPECT_FALSE(MinuteFieldBehind(kNoMinuteShown, CTime(2026, 12, 6, 7, 59, 1)));
}

TEST(ClockPass, TimesPast2038AndBeyondTheLibraryStaySane)
{
    const ClockPass later = MinuteClockPass(CTime(2040, 2, 29, 23, 59, 30));
    EXPECT_EQ(Text("2040年02月29日  23时59分"), Text(later.strText));
    EXPECT_EQ(30000u, later.nSleepMs);
    EXPECT_EQ("30", Text(SecondsTickerPass(CTime(2040, 2, 29, 23, 59, 30)).strText));

    // No local breakdown: the fields are cleared, and the minute clock
    // still sleeps a sane while, to a boundary of the raw count.
    for (const int64_t nTime : {INT64_MAX, INT64_MIN, INT64_MAX - 59}) {
        const ClockPass minute = MinuteClockPass(CTime(nTime));
        EXPECT_TRUE(minute.strText.IsEmpty()) << nTime;
        EXPECT_GE(minute.nSleepMs, 1000u) << nTime;
        EXPECT_LE(minute.nSleepMs, 60000u) << nTime;
        EXPECT_TRUE(SecondsTickerPass(CTime(nTime)).strText.IsEmpty());
    }
}

namespace {

// A worker with its clock, field and sleep in the test's hands.
struct FakeWorld {
    std::vector<ClockReading> times;
    size_t nReads = 0;
    std::vector<std::string> events;
    int nSleepsAllowed = 0;
    bool bStopping = false;

    ClockWorkerIo Io()
    {
        return {
            [this] {
                events.push_back("read");
                return times.at(nReads++);
            },
            [this] { return bStopping; },
            [this](const CString& strText) { events.push_back("show " + Text(strText)); },
            [this](uint32_t nMs) {
                events.push_back("sleep " + std::to_string(nMs));
                return nSleepsAllowed-- > 0;
            },
            {},
        };
    }
};

} // namespace

TEST(ClockWorker, ReadsOncePerPassAndStopsWithTheProgram)
{
    FakeWorld world;
    world.times = {{CTime(2026, 12, 6, 7, 58, 43), 0}, {CTime(2026, 12, 6, 7, 59, 1), 0}};
    world.nSleepsAllowed = 1;
    RunClockWorker(MinuteClockPass, world.Io());
    const std::vector<std::string> want = {
        "read", "show " + Text("2026年12月06日  07时58分"), "sleep 17000",
        "read", "show " + Text("2026年12月06日  07时59分"), "sleep 59000",
    };
    EXPECT_EQ(want, world.events);

    // A worker that sees the end before it writes leaves the field alone.
    FakeWorld ending;
    ending.times = {{CTime(2026, 12, 6, 7, 58, 43), 0}};
    ending.bStopping = true;
    RunClockWorker(SecondsTickerPass, ending.Io());
    EXPECT_EQ(std::vector<std::string>{"read"}, ending.events);
}
