// The countdown loop, with its clock, display and end actions handed in.
#include "schedule/CountdownLoop.h"

namespace {

constexpr int kModeShutdown = 1;
constexpr int kModeReboot = 2;
constexpr int kModeAlarm = 3;

// A failed play returns at once: wait this long before the next try
// instead of spinning.
constexpr unsigned kAlarmRetryMs = 1000;

void RingUntilStopped(unsigned nTicket, const CountdownEffects& effects)
{
    while (ScheduleOwned(nTicket) && !effects.ending()) {
        if (!effects.playAlarm() && !effects.sleep(kAlarmRetryMs))
            return;
    }
}

} // namespace

const char* CountdownModeText(ScheduleKind kind, int nMode)
{
    const bool bAfter = kind == SCHEDULE_AFTER;
    switch (nMode) {
    case kModeShutdown:
        return bAfter ? "关机." : "关机";
    case kModeReboot:
        return bAfter ? "重启." : "重启";
    case kModeAlarm:
        return bAfter ? "闹铃." : "闹铃";
    default:
        return "";
    }
}

unsigned RunCountdown(ScheduleKind kind, const CountdownEffects& effects)
{
    unsigned nTicket = 0;
    if (!ScheduleClaim(kind, &nTicket))
        return 0;

    for (;;) {
        if (!ScheduleOwned(nTicket))
            break;
        const int nLeft = ScheduleCounter(kind);
        if (nLeft < 1)
            break;
        CString strLine;
        strLine.Format("%d秒后%s", nLeft, CountdownModeText(kind, g_nMode));
        effects.setLine(strLine);
        if (!effects.sleep(1000))
            return 0;
        ScheduleTick(kind, nTicket);
    }

    // A newer schedule's worker owns the line now.
    if (ScheduleOwned(nTicket) || !g_bRunning)
        effects.setLine("");

    const int nMode = g_nMode;
    if (nMode == kModeAlarm) {
        if (ScheduleOwned(nTicket))
            RingUntilStopped(nTicket, effects);
    } else if (nMode == kModeShutdown || nMode == kModeReboot) {
        ScheduleActIfOwned(nTicket, [&] {
            if (!effects.ending())
                effects.powerAction(nMode);
        });
    }
    return 0;
}
