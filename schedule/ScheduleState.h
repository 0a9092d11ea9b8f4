// The process-wide schedule, shared by the GUI thread and the countdown
// workers. Every field is atomic; the steps that read and change several of
// them at once (stop, open, count, act) run under one small lock, so that at
// most one worker counts and acts for a schedule. Free of windows: the
// dialog opens and stops schedules, a worker is bound to one.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/CString.h"
#include "platform/CTime.h"
#include "platform/Event.h"

// Action modes, wherever stored.
enum : int {
    MODE_SHUTDOWN = 1,
    MODE_REBOOT = 2,
    MODE_ALARM = 3,
};

// Read anywhere; written only by the steps below, under the schedule's
// lock, which is why they are read-only here.
extern const std::atomic<uint8_t>& g_bRunning;
extern const std::atomic<int>& g_nMode;
extern const std::atomic<int>& g_nSecondsLeft;  // what is left of a relative countdown
extern const std::atomic<CTimeSpan>& g_spanLeft;  // what is left of an absolute one

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

// One opened schedule, as its worker is given it at its start.
struct ScheduleTicket {
    unsigned nTicket = 0;
    ScheduleKind kind = SCHEDULE_NONE;
    int nMode = 0;
    ScheduleDeadline deadline;
    std::shared_ptr<CEvent> pStop;  // set when this schedule stops
};

// GUI thread. Setting the flag readies a schedule; clearing it ends the
// running one for good: its worker wakes and no longer owns anything, even
// when the flag is set again at once for the next one, and once it has
// returned no ring of the old schedule can start.
void ScheduleSetRunning(bool bRunning);

// GUI thread, on a running flag, after the press's check passed: the one
// writer of the mode, the deadline and the counter. The ticket is for the
// worker started for this schedule; an empty ticket when the flag is clear.
ScheduleTicket ScheduleOpen(ScheduleKind kind, int nMode, const ScheduleDeadline& deadline);

// The schedule of that ticket number is the running one (0: none ever is).
bool ScheduleRunningTicket(unsigned nTicket);

// The counter of that kind; whole seconds, at most INT_MAX.
int ScheduleCounter(ScheduleKind kind);

// Stores what is left in the ticket's counter, only while it owns the schedule.
bool ScheduleSetLeft(const ScheduleTicket& ticket, int nSecondsLeft);

// Writes of the countdown line, one at a time, so that what a stopped
// worker writes never lands after what the next schedule's worker wrote:
// show runs while the ticket owns the schedule, or, with bStopped, once no
// schedule runs at all. Never called with the schedule lock held, so show
// may wait for the GUI thread.
bool ScheduleShowLine(const ScheduleTicket& ticket, bool bStopped, const std::function<void()>& show);

// Runs act while the ticket owns the schedule, with stops held off
// meanwhile: once a stop has returned, no act of the old schedule can start.
// act returns true when it started what goes on without us: a ring, or a
// shutdown or restart the system took over. Keep act
// short and never let it wait for the GUI thread. False when not owned.
bool ScheduleActIfOwned(const ScheduleTicket& ticket, const std::function<bool()>& act);

// The running schedule's shutdown or restart is in the system's hands: a
// session end that does not come after it means that it did not happen.
bool ScheduleHandedOver();
