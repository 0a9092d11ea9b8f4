// The countdown itself, free of windows: its clocks, its wait, what it shows
// and what it does at the end come from the caller, so the same loop runs in
// the program and, with a fake clock, in tests.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/CString.h"
#include "schedule/ScheduleState.h"

struct CountdownEffects {
    std::function<void(const CString&)> setLine;  // the countdown line's text
    // Right after each setLine: the seconds the line now shows, 0 once cleared.
    std::function<void(int)> shown;
    // True asks the system not to sleep on idle while this worker counts;
    // false withdraws that.
    std::function<void(bool)> stayAwake;
    // Milliseconds that go on counting while the computer sleeps; wraps
    // after 2^32 like GetTickCount.
    std::function<uint32_t()> tickCount;
    std::function<int64_t()> wallClockMs;  // milliseconds since 1970 UTC
    // Waits, or less when the event is set or the program is ending; false
    // when woken early.
    std::function<bool(unsigned, CEvent&)> wait;
    std::function<bool()> ending;          // the program is ending
    // MODE_SHUTDOWN or MODE_REBOOT; true when the system took the request.
    std::function<bool(int)> powerAction;
    // Starts the alarm ringing over and over until the schedule's stop
    // silences it; false when it could not start.
    std::function<bool()> startAlarm;
};

// Text after the count for a mode; the relative row's texts end in a full stop.
const char* CountdownModeText(ScheduleKind kind, int nMode);

// The countdown line with nLeft seconds to go.
CString CountdownLine(int nLeft, ScheduleKind kind, int nMode);

// Whole seconds still to show for what is left: rounded up, 0 once the
// deadline has come, at most INT_MAX.
int CountdownSecondsShown(int64_t nLeftMs);

// A shutdown or restart whose deadline passed more than this long ago (the
// computer slept through it, or the clock was set forward) is not carried
// out: it counts a final minute from then instead.
constexpr int64_t kMissedDeadlineMs = 10 * 1000;
constexpr int kFinalMinuteSeconds = 60;

// Counts the ticket's schedule down to its deadline, one line value a
// second, each wait ending on the next whole second before the deadline;
// acts when the deadline has come, while it still owns the schedule, and
// keeps the system awake until then. A worker that starts after its
// schedule was stopped touches nothing.
void RunCountdown(const ScheduleTicket& ticket, const CountdownEffects& effects);
