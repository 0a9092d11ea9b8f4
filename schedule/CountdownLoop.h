// The countdown itself, free of windows: what it shows, how it sleeps and
// what it does at the end come from the caller, so the same loop runs in the
// program and, with a fake clock, in tests.
#pragma once

#include <functional>

#include "platform/CString.h"
#include "schedule/ScheduleState.h"

struct CountdownEffects {
    std::function<void(const CString&)> setLine;  // the countdown line's text
    std::function<bool(unsigned)> sleep;          // false: the program is ending
    std::function<bool()> ending;                 // the program is ending
    std::function<void(int)> powerAction;         // MODE_SHUTDOWN or MODE_REBOOT
    std::function<bool()> playAlarm;              // one play; false when nothing played
};

// Text after the count for a mode; the relative row's texts end in a full stop.
const char* CountdownModeText(ScheduleKind kind, int nMode);

// Claims the waiting schedule of this kind, counts it down once a second and
// acts when it runs out, while it still owns the schedule. Always 0.
unsigned RunCountdown(ScheduleKind kind, const CountdownEffects& effects);
