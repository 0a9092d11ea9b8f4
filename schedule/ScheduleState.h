// The process-wide schedule, shared by the GUI thread and the countdown
// workers. Every field is atomic; the steps that read and change several of
// them at once (stop, claim, tick, act) run under one small lock, so that at
// most one worker counts and acts for a schedule.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "platform/CTime.h"

extern std::atomic<uint8_t> g_bRunning;
extern std::atomic<int> g_nMode;
extern std::atomic<int> g_nSecondsLeft;
extern std::atomic<CTimeSpan> g_spanLeft;

// Which counter a schedule runs on.
enum ScheduleKind : int {
    SCHEDULE_NONE = 0,
    SCHEDULE_AFTER = 1,  // g_nSecondsLeft
    SCHEDULE_AT = 2,     // g_spanLeft
};

// GUI thread. Setting the flag starts a schedule; clearing it ends the
// schedule for good: its worker no longer owns anything, even when the flag
// is set again at once for the next one.
void ScheduleSetRunning(bool bRunning);

// GUI thread, once the counter of the schedule is written: the schedule now
// waits for a worker of that kind to claim it.
void ScheduleOpen(ScheduleKind kind);

// Worker, at its start: takes the waiting schedule when it is of this kind.
// A worker that comes late, after its schedule was stopped, finds nothing
// (or a schedule started for another worker of the same shape, which then
// finds nothing) and ends without touching anything.
bool ScheduleClaim(ScheduleKind kind, unsigned* pnTicket);

// The schedule of nTicket is still the running one.
bool ScheduleOwned(unsigned nTicket);

// The counter of that kind; whole seconds, at most INT_MAX.
int ScheduleCounter(ScheduleKind kind);

// One second less on the counter, only while nTicket owns the schedule.
bool ScheduleTick(ScheduleKind kind, unsigned nTicket);

// Runs act while nTicket owns the schedule, with stops held off meanwhile:
// once a stop has returned, no act of the old schedule can start. Keep act
// short and never let it wait for the GUI thread.
bool ScheduleActIfOwned(unsigned nTicket, const std::function<void()>& act);
