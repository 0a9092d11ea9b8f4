// The countdown loop with a fake clock: hours pass in milliseconds.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "schedule/CountdownLoop.h"

namespace {

// What one or more workers did, seen from the fake effects.
struct Scene {
    std::mutex lock;
    std::vector<std::string> lines;
    std::vector<int> actions;
    int nPlays = 0;
    unsigned nSleptMs = 0;
    bool bPlayResult = false;
    std::atomic<bool> bEnding{false};
    std::function<void()> onSleep;

    CountdownEffects Effects()
    {
        CountdownEffects effects;
        effects.setLine = [this](const CString& text) {
            std::lock_guard<std::mutex> guard(lock);
            lines.emplace_back(text.GetString());
        };
        effects.sleep = [this](unsigned nMs) {
            {
                std::lock_guard<std::mutex> guard(lock);
                nSleptMs += nMs;
            }
            if (onSleep)
                onSleep();
            return !bEnding.load();
        };
        effects.ending = [this] { return bEnding.load(); };
        effects.powerAction = [this](int nMode) {
            std::lock_guard<std::mutex> guard(lock);
            actions.push_back(nMode);
        };
        effects.playAlarm = [this] {
            std::lock_guard<std::mutex> guard(lock);
            ++nPlays;
            if (nPlays >= 5)
                g_bRunning = 0;  // the user would press Reset by now
            return bPlayResult;
        };
        return effects;
    }
};

void StartAfter(int nMode, int nSeconds)
{
    ScheduleSetRunning(false);
    ScheduleSetRunning(true);
    g_nMode = nMode;
    g_nSecondsLeft = nSeconds;
    ScheduleOpen(SCHEDULE_AFTER);
}

void StartAt(int nMode, int64_t nSeconds)
{
    ScheduleSetRunning(false);
    ScheduleSetRunning(true);
    g_nMode = nMode;
    g_spanLeft = CTimeSpan(nSeconds);
    ScheduleOpen(SCHEDULE_AT);
}

} // namespace

TEST(CountdownLoop, RelativeHoursCountDownOnePerSecondThenAct)
{
    Scene scene;
    StartAfter(1, 2 * 3600);
    RunCountdown(SCHEDULE_AFTER, scene.Effects());
    ASSERT_EQ(2u * 3600 + 1, scene.lines.size());
    EXPECT_EQ("7200秒后关机.", scene.lines.front());
    EXPECT_EQ("7199秒后关机.", scene.lines[1]);
    EXPECT_EQ("1秒后关机.", scene.lines[7199]);
    EXPECT_EQ("", scene.lines.back());
    EXPECT_EQ(7200u * 1000, scene.nSleptMs);
    EXPECT_EQ(std::vector<int>{1}, scene.actions);
    EXPECT_EQ(0, g_nSecondsLeft.load());
    // The absolute row's texts have no full stop.
    EXPECT_STREQ("重启", CountdownModeText(SCHEDULE_AT, 2));
    EXPECT_STREQ("闹铃.", CountdownModeText(SCHEDULE_AFTER, 3));
}

TEST(CountdownLoop, ACounterAlreadyOutActsAtOnce)
{
    Scene scene;
    StartAfter(2, 0);
    RunCountdown(SCHEDULE_AFTER, scene.Effects());
    EXPECT_EQ(std::vector<std::string>{""}, scene.lines);
    EXPECT_EQ(std::vector<int>{2}, scene.actions);
}

TEST(CountdownLoop, ResetDuringTheCountClearsTheLineWithoutActing)
{
    Scene scene;
    StartAfter(1, 60);
    int nSleeps = 0;
    scene.onSleep = [&] {
        if (++nSleeps == 10)
            ScheduleSetRunning(false);
    };
    RunCountdown(SCHEDULE_AFTER, scene.Effects());
    ASSERT_EQ(11u, scene.lines.size());
    EXPECT_EQ("51秒后关机.", scene.lines[9]);
    EXPECT_EQ("", scene.lines.back());
    EXPECT_TRUE(scene.actions.empty());
    // No decrement after the stop.
    EXPECT_EQ(51, g_nSecondsLeft.load());
}

TEST(CountdownLoop, ProgramEndingStopsTheCountAndTheAction)
{
    Scene scene;
    StartAfter(1, 5);
    int nSleeps = 0;
    scene.onSleep = [&] {
        if (++nSleeps == 5)
            scene.bEnding = true;
    };
    RunCountdown(SCHEDULE_AFTER, scene.Effects());
    EXPECT_TRUE(scene.actions.empty());

    // Ending noticed only after the count ran out: still no action.
    Scene late;
    StartAfter(1, 0);
    late.bEnding = true;
    RunCountdown(SCHEDULE_AFTER, late.Effects());
    EXPECT_TRUE(late.actions.empty());
}

TEST(CountdownLoop, FailedAlarmPlaysWaitASecondBetweenTries)
{
    Scene scene;
    StartAt(3, 2);
    scene.bPlayResult = false;
    RunCountdown(SCHEDULE_AT, scene.Effects());
    EXPECT_EQ(5, scene.nPlays);
    // Two seconds of count, then a wait after each failed play.
    EXPECT_EQ(2000u + 5 * 1000, scene.nSleptMs);
    EXPECT_TRUE(scene.actions.empty());

    Scene playing;
    StartAt(3, 1);
    playing.bPlayResult = true;
    RunCountdown(SCHEDULE_AT, playing.Effects());
    EXPECT_EQ(5, playing.nPlays);
    EXPECT_EQ(1000u, playing.nSleptMs);
}

TEST(CountdownLoop, WorkersClaimOnlyTheScheduleOfTheirKind)
{
    // A relative worker that starts late finds an absolute schedule: not its own.
    Scene scene;
    StartAt(1, 2);
    RunCountdown(SCHEDULE_AFTER, scene.Effects());
    EXPECT_TRUE(scene.lines.empty());
    EXPECT_TRUE(scene.actions.empty());
    RunCountdown(SCHEDULE_AT, scene.Effects());
    EXPECT_EQ(std::vector<int>{1}, scene.actions);

    // A second worker for a claimed schedule, or one for a stopped one, finds nothing.
    Scene second;
    RunCountdown(SCHEDULE_AT, second.Effects());
    StartAfter(1, 2);
    ScheduleSetRunning(false);
    RunCountdown(SCHEDULE_AFTER, second.Effects());
    EXPECT_TRUE(second.lines.empty());
    EXPECT_TRUE(second.actions.empty());
}

TEST(CountdownLoop, AnOldAlarmStopsRingingWhenANewScheduleStarts)
{
    Scene old;
    StartAfter(3, 0);
    old.bPlayResult = true;
    std::thread ringing([&] {
        CountdownEffects effects = old.Effects();
        effects.playAlarm = [&] {
            std::lock_guard<std::mutex> guard(old.lock);
            ++old.nPlays;
            return true;
        };
        RunCountdown(SCHEDULE_AFTER, effects);
    });
    while ([&] {
        std::lock_guard<std::mutex> guard(old.lock);
        return old.nPlays < 3;
    }())
        std::this_thread::yield();
    // Reset then Set at once: the flag is set again, but the schedule is new.
    StartAfter(1, 1000);
    ringing.join();
    // It neither touched the new schedule's line nor acted on its mode.
    EXPECT_EQ(std::vector<std::string>{""}, old.lines);
    EXPECT_TRUE(old.actions.empty());
    EXPECT_EQ(1000, g_nSecondsLeft.load());
    ScheduleSetRunning(false);
}
