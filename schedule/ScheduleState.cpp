// The process-wide schedule and the locked steps that change it.
#include "schedule/ScheduleState.h"

#include <climits>

#include "platform/Lock.h"

std::atomic<uint8_t> g_bRunning{0};
std::atomic<int> g_nMode{0};
std::atomic<int> g_nSecondsLeft{0};
std::atomic<CTimeSpan> g_spanLeft{CTimeSpan(0)};

namespace {

CCriticalSection g_scheduleLock;
unsigned g_nTicket = 0;
ScheduleTicket g_waiting;              // kind SCHEDULE_NONE: nothing waits
std::shared_ptr<CEvent> g_pStop;       // of the open schedule

bool OwnedLocked(const ScheduleTicket& ticket) { return g_bRunning.load() && g_nTicket == ticket.nTicket; }

} // namespace

void ScheduleSetRunning(bool bRunning)
{
    CSingleLock lock(g_scheduleLock);
    if (bRunning) {
        g_bRunning = 1;
        return;
    }
    g_bRunning = 0;
    g_waiting = ScheduleTicket();
    ++g_nTicket;
    // The old worker wakes now, not at the end of its wait.
    if (g_pStop) {
        g_pStop->Set();
        g_pStop.reset();
    }
}

void ScheduleOpen(ScheduleKind kind, int nMode, const ScheduleDeadline& deadline)
{
    CSingleLock lock(g_scheduleLock);
    if (!g_bRunning)
        return;
    g_nMode = nMode;
    if (kind == SCHEDULE_AFTER)
        g_nSecondsLeft = deadline.nSecondsLeft;
    else
        g_spanLeft = CTimeSpan(deadline.nSecondsLeft);
    if (!g_pStop)
        g_pStop = std::make_shared<CEvent>();
    g_waiting = {g_nTicket, kind, nMode, deadline, g_pStop};
}

bool ScheduleClaim(ScheduleKind kind, ScheduleTicket* pTicket)
{
    CSingleLock lock(g_scheduleLock);
    if (!g_bRunning || g_waiting.kind != kind)
        return false;
    *pTicket = g_waiting;
    g_waiting = ScheduleTicket();
    return true;
}

bool ScheduleOwned(const ScheduleTicket& ticket)
{
    CSingleLock lock(g_scheduleLock);
    return OwnedLocked(ticket);
}

int ScheduleCounter(ScheduleKind kind)
{
    if (kind == SCHEDULE_AFTER)
        return g_nSecondsLeft;
    const int64_t nSeconds = g_spanLeft.load().GetTotalSeconds();
    return nSeconds > INT_MAX ? INT_MAX : static_cast<int>(nSeconds < INT_MIN ? INT_MIN : nSeconds);
}

bool ScheduleSetLeft(const ScheduleTicket& ticket, int nSecondsLeft)
{
    CSingleLock lock(g_scheduleLock);
    if (!OwnedLocked(ticket))
        return false;
    if (ticket.kind == SCHEDULE_AFTER)
        g_nSecondsLeft = nSecondsLeft;
    else
        g_spanLeft = CTimeSpan(nSecondsLeft);
    return true;
}

bool ScheduleActIfOwned(const ScheduleTicket& ticket, const std::function<void()>& act)
{
    CSingleLock lock(g_scheduleLock);
    if (!OwnedLocked(ticket))
        return false;
    act();
    return true;
}
