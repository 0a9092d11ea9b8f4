// The countdown loop, with its clock, display and end actions handed in.
#include "schedule/CountdownLoop.h"

#include <climits>

namespace {

constexpr int64_t kSecondMs = 1000;

// A ring that could not start is tried again this often, until a stop.
constexpr unsigned kAlarmRetryMs = 1000;

// The ring starts under the schedule's lock, so a stop either comes first
// and no ring starts, or comes after and knows to silence it.
void StartRinging(const ScheduleTicket& ticket, const CountdownEffects& effects)
{
    for (;;) {
        bool bRinging = false;
        if (!ScheduleActIfOwned(ticket, [&] { return bRinging = !effects.ending() && effects.startAlarm(); }))
            return;
        if (bRinging || effects.ending())
            return;
        effects.wait(kAlarmRetryMs, *ticket.pStop);
    }
}

// What is left of the ticket's deadline. The relative clock adds up the
// tick count's unsigned steps, so its wrap every 49.7 days does no harm.
class CDeadlineClock {
public:
    CDeadlineClock(const ScheduleTicket& ticket, const CountdownEffects& effects)
        : m_ticket(ticket), m_effects(effects), m_nLastTick(ticket.deadline.nStartTick)
    {
    }

    int64_t LeftMs()
    {
        if (m_ticket.kind != SCHEDULE_AFTER)
            return m_ticket.deadline.nTargetMs - m_effects.wallClockMs();
        const uint32_t nTick = m_effects.tickCount();
        m_nElapsedMs += static_cast<uint32_t>(nTick - m_nLastTick);
        m_nLastTick = nTick;
        return m_ticket.deadline.nSecondsLeft * kSecondMs - m_nElapsedMs;
    }

private:
    const ScheduleTicket& m_ticket;
    const CountdownEffects& m_effects;
    uint32_t m_nLastTick;
    int64_t m_nElapsedMs = 0;
};

} // namespace

const char* CountdownModeText(ScheduleKind kind, int nMode)
{
    const bool bAfter = kind == SCHEDULE_AFTER;
    switch (nMode) {
    case MODE_SHUTDOWN:
        return bAfter ? "关机." : "关机";
    case MODE_REBOOT:
        return bAfter ? "重启." : "重启";
    case MODE_ALARM:
        return bAfter ? "闹铃." : "闹铃";
    default:
        return "";
    }
}

int CountdownSecondsShown(int64_t nLeftMs)
{
    if (nLeftMs <= 0)
        return 0;
    const int64_t nSeconds = nLeftMs / kSecondMs + (nLeftMs % kSecondMs != 0);
    return nSeconds > INT_MAX ? INT_MAX : static_cast<int>(nSeconds);
}

unsigned RunCountdown(const ScheduleTicket& ticket, const CountdownEffects& effects)
{
    CDeadlineClock clock(ticket, effects);
    int nShown = 0;
    for (;;) {
        const int64_t nLeftMs = clock.LeftMs();
        const int nLeft = CountdownSecondsShown(nLeftMs);
        if (!ScheduleSetLeft(ticket, nLeft) || nLeft < 1)
            break;
        if (nLeft != nShown) {
            CString strLine;
            strLine.Format("%d秒后%s", nLeft, CountdownModeText(ticket.kind, ticket.nMode));
            if (!ScheduleShowLine(ticket, false, [&] { effects.setLine(strLine); }))
                break;
            nShown = nLeft;
        }
        // To the moment the shown value goes down by one; a wait that ends
        // early only makes a short second wait.
        const int64_t nWaitMs = nLeftMs - (nLeft - 1) * kSecondMs;
        if (!effects.wait(static_cast<unsigned>(nWaitMs), *ticket.pStop) && effects.ending())
            return 0;
    }

    const auto clear = [&] { effects.setLine(""); };
    if (!ScheduleShowLine(ticket, false, clear)) {
        // Stopped: the line is cleared unless the next schedule has it.
        ScheduleShowLine(ticket, true, clear);
        return 0;
    }

    if (ticket.nMode == MODE_ALARM) {
        StartRinging(ticket, effects);
    } else if (ticket.nMode == MODE_SHUTDOWN || ticket.nMode == MODE_REBOOT) {
        ScheduleActIfOwned(ticket, [&] {
            if (!effects.ending())
                effects.powerAction(ticket.nMode);
            return false;
        });
    }
    return 0;
}
