// Reset/Set presses far faster than a worker's once-a-second wait, with
// workers that start late and of both kinds: exactly one worker counts and
// acts. Meant to run under ThreadSanitizer as well.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "schedule/CountdownLoop.h"

TEST(ScheduleStorm, OneWorkerActsForTheLastSchedule)
{
    std::atomic<int> nActions{0};
    std::atomic<int> nActedMode{0};
    std::atomic<int> nLinesOfLast{0};
    std::atomic<bool> bLastStarted{false};

    auto effects = [&] {
        CountdownEffects fx;
        fx.setLine = [&](const CString& text) {
            if (bLastStarted && !text.IsEmpty())
                ++nLinesOfLast;
        };
        fx.shown = [](int) {};
        fx.stayAwake = [](bool) {};
        // Each worker's own clock: two milliseconds of real time stand for
        // the wait asked.
        auto pNowMs = std::make_shared<uint32_t>(0);
        fx.tickCount = [pNowMs] { return *pNowMs; };
        fx.wallClockMs = [pNowMs] { return int64_t{*pNowMs}; };
        fx.wait = [pNowMs](unsigned nMs, CEvent& stop) {
            *pNowMs += nMs;
            return !stop.Wait(2);
        };
        fx.ending = [] { return false; };
        fx.powerAction = [&](int nMode) {
            ++nActions;
            nActedMode = nMode;
            return true;
        };
        fx.startAlarm = [] { return false; };
        return fx;
    };

    std::mt19937 random(7);
    std::vector<std::thread> workers;
    ScheduleSetRunning(false);
    for (int i = 0; i < 300; ++i) {
        const ScheduleKind kind = i % 2 ? SCHEDULE_AFTER : SCHEDULE_AT;
        // Set: a long count that the next Reset always cuts short.
        ScheduleSetRunning(true);
        const ScheduleTicket ticket = ScheduleOpen(kind, MODE_SHUTDOWN, {100000, 0, 100000 * 1000LL});
        const int nDelayUs = static_cast<int>(random() % 3000);
        workers.emplace_back([&, ticket, nDelayUs] {
            std::this_thread::sleep_for(std::chrono::microseconds(nDelayUs));
            RunCountdown(ticket, effects());
        });
        // Reset.
        ScheduleSetRunning(false);
    }

    // The last Set, in reboot mode, counts for real.
    ScheduleSetRunning(true);
    bLastStarted = true;
    const ScheduleTicket last = ScheduleOpen(SCHEDULE_AFTER, MODE_REBOOT, {20, 0, 0});
    workers.emplace_back([&] { RunCountdown(last, effects()); });
    for (std::thread& worker : workers)
        worker.join();

    EXPECT_EQ(1, nActions.load());
    EXPECT_EQ(2, nActedMode.load());
    EXPECT_EQ(0, g_nSecondsLeft.load());
    // One counting worker: one line per second of the last schedule.
    EXPECT_EQ(20, nLinesOfLast.load());
    ScheduleSetRunning(false);
}
