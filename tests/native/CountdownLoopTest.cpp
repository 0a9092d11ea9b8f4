// The countdown loop with a fake clock: hours pass in milliseconds, the
// computer sleeps and the wall clock is set at the test's word.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "schedule/CountdownLoop.h"

namespace {

// The clocks and what one or more workers did with them.
struct Scene {
    std::mutex lock;
    uint32_t nTick = 0xFFFFFFFFu - 1500;  // wraps during the count
    int64_t nWallMs = 1'800'000'000'000;
    int64_t nElapsedMs = 0;               // since the Set press
    unsigned nLateMs = 0;                 // every wait ends this much after its time
    std::vector<std::string> lines;
    std::vector<int64_t> lineTimes;
    std::vector<int> actions;
    std::vector<int64_t> actionTimes;
    int nPlays = 0;
    bool bPlayResult = false;
    std::atomic<bool> bEnding{false};
    std::function<void()> onWait;

    // Time passes on both clocks, as when the computer sleeps.
    void Pass(int64_t nMs)
    {
        nTick += static_cast<uint32_t>(nMs);
        nWallMs += nMs;
        nElapsedMs += nMs;
    }

    CountdownEffects Effects()
    {
        CountdownEffects effects;
        effects.setLine = [this](const CString& text) {
            std::lock_guard<std::mutex> guard(lock);
            lines.emplace_back(text.GetString());
            lineTimes.push_back(nElapsedMs);
        };
        effects.tickCount = [this] { return nTick; };
        effects.wallClockMs = [this] { return nWallMs; };
        effects.wait = [this](unsigned nMs, CEvent&) {
            Pass(nMs + nLateMs);
            if (onWait)
                onWait();
            return !bEnding.load();
        };
        effects.ending = [this] { return bEnding.load(); };
        effects.powerAction = [this](int nMode) {
            std::lock_guard<std::mutex> guard(lock);
            actions.push_back(nMode);
            actionTimes.push_back(nElapsedMs);
        };
        effects.playAlarm = [this] {
            std::lock_guard<std::mutex> guard(lock);
            if (++nPlays >= 5)
                ScheduleSetRunning(false);  // the user would press Reset by now
            return bPlayResult;
        };
        return effects;
    }

    // A Set press now, of the given kind, for nSeconds.
    void Start(ScheduleKind kind, int nMode, int nSeconds)
    {
        ScheduleSetRunning(false);
        ScheduleSetRunning(true);
        ScheduleDeadline deadline;
        deadline.nSecondsLeft = nSeconds;
        deadline.nStartTick = nTick;
        deadline.nTargetMs = nWallMs + nSeconds * int64_t{1000};
        ScheduleOpen(kind, nMode, deadline);
    }

    void Run(ScheduleKind kind) { RunCountdown(kind, Effects()); }
};

std::string Line(int nSeconds, const char* pszMode) { return std::to_string(nSeconds) + "秒后" + pszMode; }

} // namespace

TEST(CountdownLoop, OneValueASecondOnTheSecondAndTheActionOnTheDeadline)
{
    for (const ScheduleKind kind : {SCHEDULE_AFTER, SCHEDULE_AT}) {
        SCOPED_TRACE(kind);
        Scene scene;
        const char* pszMode = CountdownModeText(kind, MODE_SHUTDOWN);
        // A late wake-up costs that wake-up only; it never adds up.
        scene.nLateMs = 15;
        // The counter holds what is left, as shown.
        scene.onWait = [&] { ASSERT_EQ(Line(ScheduleCounter(kind), pszMode), scene.lines.back()); };
        scene.Start(kind, MODE_SHUTDOWN, 2 * 3600);
        scene.Run(kind);
        ASSERT_EQ(2u * 3600 + 1, scene.lines.size());
        for (int i = 0; i < 7200; ++i) {
            ASSERT_EQ(Line(7200 - i, pszMode), scene.lines[i]);
            ASSERT_EQ(i == 0 ? 0 : i * 1000 + 15, scene.lineTimes[i]);
        }
        EXPECT_EQ("", scene.lines.back());
        EXPECT_EQ(std::vector<int>{MODE_SHUTDOWN}, scene.actions);
        EXPECT_EQ(std::vector<int64_t>{7200 * 1000 + 15}, scene.actionTimes);
        EXPECT_EQ(0, ScheduleCounter(kind));
    }
    EXPECT_STREQ("关机.", CountdownModeText(SCHEDULE_AFTER, MODE_SHUTDOWN));
    EXPECT_STREQ("重启", CountdownModeText(SCHEDULE_AT, MODE_REBOOT));
}

TEST(CountdownLoop, AResumeSkipsTheSleptSecondsAndADeadlinePassedAsleepActsAtOnce)
{
    for (const ScheduleKind kind : {SCHEDULE_AFTER, SCHEDULE_AT}) {
        SCOPED_TRACE(kind);
        Scene scene;
        int nWaits = 0;
        scene.onWait = [&] {
            ++nWaits;
            if (nWaits == 10)
                scene.Pass(3600 * 1000);  // an hour asleep
            if (nWaits == 20)
                scene.Pass(3 * 3600 * 1000);  // asleep past the deadline
        };
        scene.Start(kind, MODE_REBOOT, 2 * 3600);
        scene.Run(kind);
        const char* pszMode = CountdownModeText(kind, MODE_REBOOT);
        ASSERT_EQ(21u, scene.lines.size());
        EXPECT_EQ(Line(7191, pszMode), scene.lines[9]);
        EXPECT_EQ(Line(3590, pszMode), scene.lines[10]);
        EXPECT_EQ(Line(3581, pszMode), scene.lines[19]);
        EXPECT_EQ("", scene.lines[20]);
        // No wait between the wake and the action.
        EXPECT_EQ(20, nWaits);
        EXPECT_EQ(std::vector<int>{MODE_REBOOT}, scene.actions);
    }
}

TEST(CountdownLoop, TheAbsoluteCountFollowsTheWallClockTheRelativeOneDoesNot)
{
    struct Case {
        ScheduleKind kind;
        int nAfterBack;     // shown after the clock is set back a minute
        size_t nLines;      // to the end, once it is set forward 200 s
    } const cases[] = {{SCHEDULE_AFTER, 90, 101}, {SCHEDULE_AT, 150, 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        Scene scene;
        int nWaits = 0;
        scene.onWait = [&] {
            ++nWaits;
            if (nWaits == 10)
                scene.nWallMs -= 60 * 1000;
            if (nWaits == 11)
                scene.nWallMs += 200 * 1000;
        };
        scene.Start(c.kind, MODE_SHUTDOWN, 100);
        scene.Run(c.kind);
        ASSERT_EQ(c.nLines, scene.lines.size());
        EXPECT_EQ(Line(c.nAfterBack, CountdownModeText(c.kind, MODE_SHUTDOWN)), scene.lines[10]);
        EXPECT_EQ("", scene.lines.back());
        EXPECT_EQ(std::vector<int>{MODE_SHUTDOWN}, scene.actions);
    }
}

TEST(CountdownLoop, ACounterAlreadyOutActsAtOnceAndResetOrTheEndNeverActs)
{
    Scene out;
    out.Start(SCHEDULE_AFTER, MODE_REBOOT, 0);
    out.Run(SCHEDULE_AFTER);
    EXPECT_EQ(std::vector<std::string>{""}, out.lines);
    EXPECT_EQ(std::vector<int>{MODE_REBOOT}, out.actions);

    Scene reset;
    reset.onWait = [&] {
        if (reset.nElapsedMs == 10 * 1000)
            ScheduleSetRunning(false);
    };
    reset.Start(SCHEDULE_AFTER, MODE_SHUTDOWN, 60);
    reset.Run(SCHEDULE_AFTER);
    ASSERT_EQ(11u, reset.lines.size());
    EXPECT_EQ("", reset.lines.back());
    EXPECT_TRUE(reset.actions.empty());
    // Nothing written after the stop.
    EXPECT_EQ(51, g_nSecondsLeft.load());

    // The program ending mid-count, or once the count ran out: no action.
    Scene ending;
    ending.onWait = [&] { ending.bEnding = ending.nElapsedMs == 5 * 1000; };
    ending.Start(SCHEDULE_AT, MODE_SHUTDOWN, 5);
    ending.Run(SCHEDULE_AT);
    Scene late;
    late.bEnding = true;
    late.Start(SCHEDULE_AFTER, MODE_SHUTDOWN, 0);
    late.Run(SCHEDULE_AFTER);
    EXPECT_TRUE(ending.actions.empty());
    EXPECT_TRUE(late.actions.empty());
}

TEST(CountdownLoop, FailedAlarmPlaysWaitASecondBetweenTries)
{
    Scene scene;
    scene.Start(SCHEDULE_AT, MODE_ALARM, 2);
    scene.Run(SCHEDULE_AT);
    EXPECT_EQ(5, scene.nPlays);
    // Two seconds of count, then a wait after each failed play.
    EXPECT_EQ(2000 + 5 * 1000, scene.nElapsedMs);
    EXPECT_TRUE(scene.actions.empty());

    Scene playing;
    playing.bPlayResult = true;
    playing.Start(SCHEDULE_AT, MODE_ALARM, 1);
    playing.Run(SCHEDULE_AT);
    EXPECT_EQ(5, playing.nPlays);
    EXPECT_EQ(1000, playing.nElapsedMs);
}

TEST(CountdownLoop, WorkersClaimOnlyTheScheduleOfTheirKindWithItsMode)
{
    // A relative worker that starts late finds an absolute schedule: not its own.
    Scene scene;
    scene.Start(SCHEDULE_AT, MODE_SHUTDOWN, 2);
    g_nMode = MODE_ALARM;  // the mode was copied at the press
    scene.Run(SCHEDULE_AFTER);
    EXPECT_TRUE(scene.lines.empty());
    scene.Run(SCHEDULE_AT);
    EXPECT_EQ(std::vector<int>{MODE_SHUTDOWN}, scene.actions);

    // A second worker for a claimed schedule, or one for a stopped one, finds nothing.
    Scene second;
    second.Run(SCHEDULE_AT);
    second.Start(SCHEDULE_AFTER, MODE_SHUTDOWN, 2);
    ScheduleSetRunning(false);
    second.Run(SCHEDULE_AFTER);
    EXPECT_TRUE(second.lines.empty());
    EXPECT_TRUE(second.actions.empty());
}

// Real threads from here: the stop wakes a waiting worker at once.
TEST(CountdownLoop, ResetWakesTheWaitingWorkerAndAnOldAlarmStopsRinging)
{
    Scene counting;
    std::atomic<bool> bWaiting{false};
    CountdownEffects effects = counting.Effects();
    // Were the stop not to wake it, this wait would outlast the test's time limit.
    effects.wait = [&](unsigned, CEvent& stop) {
        bWaiting = true;
        return !stop.Wait(10 * 60 * 1000);
    };
    counting.Start(SCHEDULE_AFTER, MODE_SHUTDOWN, 3600);
    std::thread worker([&] { RunCountdown(SCHEDULE_AFTER, effects); });
    while (!bWaiting)
        std::this_thread::yield();
    ScheduleSetRunning(false);
    worker.join();
    EXPECT_EQ("", counting.lines.back());
    EXPECT_TRUE(counting.actions.empty());

    Scene old;
    std::atomic<int> nPlays{0};
    CountdownEffects ringing = old.Effects();
    ringing.playAlarm = [&] { return ++nPlays > 0; };
    old.Start(SCHEDULE_AFTER, MODE_ALARM, 0);
    std::thread alarm([&] { RunCountdown(SCHEDULE_AFTER, ringing); });
    while (nPlays < 3)
        std::this_thread::yield();
    // Reset then Set at once: the flag is set again, but the schedule is new.
    Scene next;
    next.Start(SCHEDULE_AFTER, MODE_SHUTDOWN, 1000);
    alarm.join();
    // It neither touched the new schedule's line nor acted on its mode.
    EXPECT_EQ(std::vector<std::string>{""}, old.lines);
    EXPECT_TRUE(old.actions.empty());
    EXPECT_EQ(1000, g_nSecondsLeft.load());
    ScheduleSetRunning(false);
}
