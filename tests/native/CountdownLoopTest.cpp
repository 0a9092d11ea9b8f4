// The countdown loop with a fake clock: hours pass in milliseconds, the
// computer sleeps and the wall clock is set at the test's word.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
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
    std::vector<int> shown;       // what the dialog was told the line shows
    std::vector<bool> awake;      // the requests to stay awake, and their withdrawals
    int nPlays = 0;
    bool bPlayResult = false;
    bool bActionTaken = true;  // the system takes the shutdown or restart
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
        effects.shown = [this](int nLeft) {
            std::lock_guard<std::mutex> guard(lock);
            shown.push_back(nLeft);
        };
        effects.stayAwake = [this](bool bAwake) {
            std::lock_guard<std::mutex> guard(lock);
            awake.push_back(bAwake);
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
            return bActionTaken;
        };
        effects.startAlarm = [this] {
            std::lock_guard<std::mutex> guard(lock);
            ++nPlays;
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
        ticket = ScheduleOpen(kind, nMode, deadline);
    }

    // The worker started for the last Start.
    void Run() { RunCountdown(ticket, Effects()); }

    ScheduleTicket ticket;
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
        scene.Run();
        ASSERT_EQ(2u * 3600 + 1, scene.lines.size());
        for (int i = 0; i < 7200; ++i) {
            ASSERT_EQ(Line(7200 - i, pszMode), scene.lines[i]);
            ASSERT_EQ(i == 0 ? 0 : i * 1000 + 15, scene.lineTimes[i]);
        }
        EXPECT_EQ("", scene.lines.back());
        EXPECT_EQ(std::vector<int>{MODE_SHUTDOWN}, scene.actions);
        EXPECT_EQ(std::vector<int64_t>{7200 * 1000 + 15}, scene.actionTimes);
        EXPECT_EQ(0, ScheduleCounter(kind));
        // In the system's hands until a stop; a refused request never was.
        EXPECT_TRUE(ScheduleHandedOver());
        scene.bActionTaken = false;
        scene.Start(kind, MODE_SHUTDOWN, 1);
        scene.Run();
        EXPECT_EQ(2u, scene.actions.size());
        EXPECT_FALSE(ScheduleHandedOver());
    }
    EXPECT_STREQ("关机.", CountdownModeText(SCHEDULE_AFTER, MODE_SHUTDOWN));
    EXPECT_STREQ("重启", CountdownModeText(SCHEDULE_AT, MODE_REBOOT));
}

TEST(CountdownLoop, AResumeSkipsTheSleptSecondsAndAShutdownMissedAsleepGetsAFinalMinute)
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
        scene.Run();
        const char* pszMode = CountdownModeText(kind, MODE_REBOOT);
        ASSERT_EQ(20u + 60 + 1, scene.lines.size());
        EXPECT_EQ(Line(7191, pszMode), scene.lines[9]);
        EXPECT_EQ(Line(3590, pszMode), scene.lines[10]);
        EXPECT_EQ(Line(3581, pszMode), scene.lines[19]);
        // On waking: a minute from then, counted as any other.
        EXPECT_EQ(Line(60, pszMode), scene.lines[20]);
        EXPECT_EQ(Line(1, pszMode), scene.lines[79]);
        EXPECT_EQ("", scene.lines[80]);
        EXPECT_EQ(80, nWaits);
        EXPECT_EQ(std::vector<int>{MODE_REBOOT}, scene.actions);
        EXPECT_EQ(scene.lines.size(), scene.shown.size());
        EXPECT_EQ(60, scene.shown[20]);
        EXPECT_EQ(0, scene.shown.back());
        // Asked once, withdrawn once the action was handed over.
        EXPECT_EQ((std::vector<bool>{true, false}), scene.awake);
    }

    // Asleep from 1 s before the deadline: ten seconds past it still acts; an
    // alarm missed by hours rings at once.
    struct Case {
        int nMode;
        int64_t nLateMs;
        bool bFinalMinute;
    } const cases[] = {{MODE_SHUTDOWN, 11 * 1000, false}, {MODE_SHUTDOWN, 11 * 1000 + 1, true},
                       {MODE_ALARM, 5 * 3600 * 1000, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nLateMs);
        Scene scene;
        scene.bPlayResult = true;
        scene.onWait = [&] {
            if (scene.nElapsedMs == 5 * 1000)
                scene.Pass(c.nLateMs);
        };
        scene.Start(SCHEDULE_AFTER, c.nMode, 6);
        scene.Run();
        EXPECT_EQ(c.bFinalMinute ? 5u + 60 + 1 : 5u + 1, scene.lines.size());
        EXPECT_EQ(c.nMode == MODE_ALARM ? 1 : 0, scene.nPlays);
        EXPECT_EQ(c.nMode == MODE_ALARM ? 0u : 1u, scene.actions.size());
        ScheduleSetRunning(false);
    }
}

TEST(CountdownLoop, TheAbsoluteCountFollowsTheWallClockTheRelativeOneDoesNot)
{
    struct Case {
        ScheduleKind kind;
        int nAfterBack;     // shown after the clock is set back a minute
        size_t nLines;      // to the end, once it is set forward 200 s: past the deadline, a final minute
    } const cases[] = {{SCHEDULE_AFTER, 90, 101}, {SCHEDULE_AT, 150, 72}};
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
        scene.Run();
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
    out.Run();
    EXPECT_EQ(std::vector<std::string>{""}, out.lines);
    EXPECT_EQ(std::vector<int>{MODE_REBOOT}, out.actions);

    Scene reset;
    reset.onWait = [&] {
        if (reset.nElapsedMs == 10 * 1000)
            ScheduleSetRunning(false);
    };
    reset.Start(SCHEDULE_AFTER, MODE_SHUTDOWN, 60);
    reset.Run();
    ASSERT_EQ(11u, reset.lines.size());
    EXPECT_EQ("", reset.lines.back());
    EXPECT_TRUE(reset.actions.empty());
    // Nothing written after the stop.
    EXPECT_EQ(51, g_nSecondsLeft.load());

    // The program ending mid-count, or once the count ran out: no action.
    Scene ending;
    ending.onWait = [&] { ending.bEnding = ending.nElapsedMs == 5 * 1000; };
    ending.Start(SCHEDULE_AT, MODE_SHUTDOWN, 5);
    ending.Run();
    Scene late;
    late.bEnding = true;
    late.Start(SCHEDULE_AFTER, MODE_SHUTDOWN, 0);
    late.Run();
    EXPECT_TRUE(ending.actions.empty());
    EXPECT_TRUE(late.actions.empty());
}

TEST(CountdownLoop, AnAlarmRingsOnceStartedAndOneThatCannotStartIsTriedEverySecond)
{
    Scene failing;
    failing.onWait = [&] {
        if (failing.nPlays == 5)
            ScheduleSetRunning(false);  // the user would press Reset by now
    };
    failing.Start(SCHEDULE_AT, MODE_ALARM, 2);
    failing.Run();
    EXPECT_EQ(5, failing.nPlays);
    // Two seconds of count, then a wait after each failed start.
    EXPECT_EQ(2000 + 5 * 1000, failing.nElapsedMs);

    // The system repeats a started ring: the worker leaves.
    Scene ringing;
    ringing.bPlayResult = true;
    ringing.Start(SCHEDULE_AT, MODE_ALARM, 1);
    ringing.Run();
    EXPECT_EQ(1, ringing.nPlays);
    EXPECT_EQ(1000, ringing.nElapsedMs);
    EXPECT_TRUE(ringing.actions.empty());
}

TEST(CountdownLoop, ALateWorkerLeavesTheNextScheduleAlone)
{
    // Reset and Set again before the first worker ran.
    Scene first;
    first.Start(SCHEDULE_AT, MODE_SHUTDOWN, 2);
    const ScheduleTicket late = first.ticket;
    Scene next;
    next.Start(SCHEDULE_AT, MODE_REBOOT, 50);
    RunCountdown(late, first.Effects());
    EXPECT_TRUE(first.lines.empty());
    EXPECT_TRUE(first.actions.empty());
    EXPECT_EQ(50, ScheduleCounter(SCHEDULE_AT));
    // The next schedule's own worker counts it, with its own mode.
    next.Run();
    EXPECT_EQ(Line(50, "重启"), next.lines.front());
    EXPECT_EQ(std::vector<int>{MODE_REBOOT}, next.actions);

    // A worker whose schedule stopped before it started, with none after it.
    Scene stopped;
    stopped.Start(SCHEDULE_AFTER, MODE_SHUTDOWN, 2);
    ScheduleSetRunning(false);
    stopped.Run();
    EXPECT_TRUE(stopped.actions.empty());
}

// Real threads from here: the stop wakes a waiting worker at once.
TEST(CountdownLoop, ResetWakesTheWaitingWorkerAndNoRingStartsAfterIt)
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
    std::thread worker([&] { RunCountdown(counting.ticket, effects); });
    while (!bWaiting)
        std::this_thread::yield();
    ScheduleSetRunning(false);
    worker.join();
    EXPECT_EQ("", counting.lines.back());
    EXPECT_TRUE(counting.actions.empty());

    // A ring starts before a stop, which then silences it, or not at all.
    for (int i = 0; i < 200; ++i) {
        Scene alarm;
        alarm.bPlayResult = true;
        alarm.Start(SCHEDULE_AFTER, MODE_ALARM, 0);
        std::thread ringer([&] { alarm.Run(); });
        std::this_thread::sleep_for(std::chrono::microseconds(i % 20 * 10));
        ScheduleSetRunning(false);
        const int nPlaysAtStop = [&] {
            std::lock_guard<std::mutex> guard(alarm.lock);
            return alarm.nPlays;
        }();
        ringer.join();
        ASSERT_EQ(nPlaysAtStop, alarm.nPlays) << i;
    }
}
