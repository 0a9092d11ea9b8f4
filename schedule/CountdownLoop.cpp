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
        : m_bRelative(ticket.kind == SCHEDULE_AFTER),
          m_effects(effects),
          m_nLastTick(ticket.deadline.nStartTick),
          m_nDeadlineMs(m_bRelative ? ticket.deadline.nSecondsLeft * kSecondMs : ticket.deadline.nTargetMs)
    {
    }

    int64_t LeftMs()
    {
        if (!m_bRelative)
            return m_nDeadlineMs - m_effects.wallClockMs();
        const uint32_t nTick = m_effects.tickCount();
        m_nElapsedMs += static_cast<uint32_t>(nTick - m_nLastTick);
        m_nLastTick = nTick;
        return m_nDeadlineMs - m_nElapsedMs;
    }

    // The deadline moves to nMs from the last reading.
    void MoveDeadline(int64_t nMs) { m_nDeadlineMs = nMs + (m_bRelative ? m_nElapsedMs : m_effects.wallClockMs()); }

private:
    const bool m_bRelative;
    const CountdownEffects& m_effects;
    uint32_t m_nLastTick;
    int64_t m_nElapsedMs = 0;  // relative: since the press
    int64_t m_nDeadlineMs;     // relative: after the press; absolute: on the wall clock
};

// The system stays awake while a worker counts; the request is this thread's
// and is withdrawn when the worker leaves, whichever way.
class CAwakeRequest {
public:
    explicit CAwakeRequest(const CountdownEffects& effects) : m_effects(effects) {}
    ~CAwakeRequest()
    {
        if (m_bRequested)
            m_effects.stayAwake(false);
    }
    CAwakeRequest(const CAwakeRequest&) = delete;
    CAwakeRequest& operator=(const CAwakeRequest&) = delete;

    void Request()
    {
        if (!m_bRequested)
            m_effects.stayAwake(true);
        m_bRequested = true;
    }

private:
    const CountdownEffects& m_effects;
    bool m_bRequested = false;
};

bool IsPowerMode(int nMode) { return nMode == MODE_SHUTDOWN || nMode == MODE_REBOOT; }

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

CString CountdownLine(int nLeft, ScheduleKind kind, int nMode)
{
    CString strLine;
    strLine.Format("%d秒后%s", nLeft, CountdownModeText(kind, nMode));
    return strLine;
}

int CountdownSecondsShown(int64_t nLeftMs)
{
    if (nLeftMs <= 0)
        return 0;
    const int64_t nSeconds = nLeftMs / kSecondMs + (nLeftMs % kSecondMs != 0);
    return nSeconds > INT_MAX ? INT_MAX : static_cast<int>(nSeconds);
}

void RunCountdown(const ScheduleTicket& ticket, const CountdownEffects& effects)
{
    CDeadlineClock clock(ticket, effects);
    CAwakeRequest awake(effects);
    int nShown = 0;
    for (;;) {
        int64_t nLeftMs = clock.LeftMs();
        if (nLeftMs < -kMissedDeadlineMs && IsPowerMode(ticket.nMode)) {
            // Whoever wakes the computer must not lose their work without a warning.
            clock.MoveDeadline(kFinalMinuteSeconds * kSecondMs);
            nLeftMs = kFinalMinuteSeconds * kSecondMs;
        }
        const int nLeft = CountdownSecondsShown(nLeftMs);
        if (!ScheduleSetLeft(ticket, nLeft) || nLeft < 1)
            break;
        awake.Request();
        if (nLeft != nShown) {
            const CString strLine = CountdownLine(nLeft, ticket.kind, ticket.nMode);
            if (!ScheduleShowLine(ticket, false, [&] {
                    effects.setLine(strLine);
                    effects.shown(nLeft);
                }))
                break;
            nShown = nLeft;
        }
        // To the moment the shown value goes down by one; a wait that ends
        // early only makes a short second wait.
        const int64_t nWaitMs = nLeftMs - (nLeft - 1) * kSecondMs;
        if (!effects.wait(static_cast<unsigned>(nWaitMs), *ticket.pStop) && effects.ending())
            return;
    }

    const auto clear = [&] {
        effects.setLine("");
        effects.shown(0);
    };
    if (!ScheduleShowLine(ticket, false, clear)) {
        // Stopped: the line is cleared unless the next schedule has it.
        ScheduleShowLine(ticket, true, clear);
        return;
    }

    if (ticket.nMode == MODE_ALARM) {
        StartRinging(ticket, effects);
    } else if (IsPowerMode(ticket.nMode)) {
        ScheduleActIfOwned(ticket, [&] { return !effects.ending() && effects.powerAction(ticket.nMode); });
    }
}
