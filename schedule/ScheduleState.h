// The process-wide schedule, shared by the GUI thread and the countdown
// workers. Every field is atomic; the steps that read and change several of
// them at once (stop, open, claim, count, act) run under one small lock, so
// that at most one worker counts and acts for a schedule.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/CTime.h"
#include "platform/Event.h"

// Action modes, wherever stored.
enum : int {
    MODE_SHUTDOWN = 1,
    MODE_REBOOT = 2,
    MODE_ALARM = 3,
};

extern std::atomic<uint8_t> g_bRunning;
extern std::atomic<int> g_nMode;
extern std::atomic<int> g_nSecondsLeft;  // what is left of a relative countdown
extern std::atomic<CTimeSpan> g_spanLeft;  // what is left of an absolute one

// Which counter a schedule runs on.
enum ScheduleKind : int {
    SCHEDULE_NONE = 0,
    SCHEDULE_AFTER = 1,  // g_nSecondsLeft
    SCHEDULE_AT = 2,     // g_spanLeft
};

// When a schedule acts, fixed at the Set press.
struct ScheduleDeadline {
    int nSecondsLeft = 0;   // at the press
    uint32_t nStartTick = 0;  // relative: the tick count at the press; the deadline is nSecondsLeft later
    int64_t nTargetMs = 0;    // absolute: the target, milliseconds since 1970 UTC
};

// What a worker's claim hands it: the schedule it works for.
struct ScheduleTicket {
    unsigned nTicket = 0;
    ScheduleKind kind = SCHEDULE_NONE;
    int nMode = 0;
    ScheduleDeadline deadline;
    std::shared_ptr<CEvent> pStop;  // set when this schedule stops
};

// GUI thread. Setting the flag starts a schedule; clearing it ends the
// schedule for good: its worker wakes and no longer owns anything, even when
// the flag is set again at once for the next one.
void ScheduleSetRunning(bool bRunning);

// GUI thread, on a running schedule: writes its mode, deadline and counter;
// it then waits for a worker of that kind to claim it.
void ScheduleOpen(ScheduleKind kind, int nMode, const ScheduleDeadline& deadline);

// Worker, at its start: takes the waiting schedule when it is of this kind.
// A worker that comes late, after its schedule was stopped, finds nothing
// (or a schedule started for another worker of the same shape, which then
// finds nothing) and ends without touching anything.
bool ScheduleClaim(ScheduleKind kind, ScheduleTicket* pTicket);

// The schedule of the ticket is still the running one.
bool ScheduleOwned(const ScheduleTicket& ticket);

// The counter of that kind; whole seconds, at most INT_MAX.
int ScheduleCounter(ScheduleKind kind);

// Stores what is left in the ticket's counter, only while it owns the schedule.
bool ScheduleSetLeft(const ScheduleTicket& ticket, int nSecondsLeft);

// Runs act while the ticket owns the schedule, with stops held off
// meanwhile: once a stop has returned, no act of the old schedule can start.
// Keep act short and never let it wait for the GUI thread.
bool ScheduleActIfOwned(const ScheduleTicket& ticket, const std::function<void()>& act);
