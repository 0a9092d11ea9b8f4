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
// Taken before g_scheduleLock, never after it, and never by the GUI thread.
CCriticalSection g_lineLock;
// Never 0, the number of the empty ticket, so no schedule is ever owned by it.
unsigned g_nTicket = 1;
std::shared_ptr<CEvent> g_pStop;  // of the open schedule
// The open schedule has acted: its alarm has begun, or its shutdown or
// restart was handed to the system.
bool g_bActed = false;

void NextTicketLocked()
{
    if (++g_nTicket == 0)
        ++g_nTicket;
}

bool OwnedLocked(unsigned nTicket) { return g_bRunning.load() && g_nTicket == nTicket; }

} // namespace

bool ScheduleSetRunning(bool bRunning)
{
    CSingleLock lock(g_scheduleLock);
    if (bRunning) {
        g_bRunning = 1;
        return false;
    }
    g_bRunning = 0;
    NextTicketLocked();
    // The old worker wakes now, not at the end of its wait.
    if (g_pStop) {
        g_pStop->Set();
        g_pStop.reset();
    }
    const bool bWasRinging = g_bActed && g_nMode == MODE_ALARM;
    g_bActed = false;
    return bWasRinging;
}

ScheduleTicket ScheduleOpen(ScheduleKind kind, int nMode, const ScheduleDeadline& deadline)
{
    CSingleLock lock(g_scheduleLock);
    if (!g_bRunning)
        return ScheduleTicket();
    g_nMode = nMode;
    if (kind == SCHEDULE_AFTER)
        g_nSecondsLeft = deadline.nSecondsLeft;
    else
        g_spanLeft = CTimeSpan(deadline.nSecondsLeft);
    // A press opens at most one schedule per running flag; a second open
    // would leave the first one's worker owning the new one.
    NextTicketLocked();
    if (g_pStop)
        g_pStop->Set();
    g_pStop = std::make_shared<CEvent>();
    g_bActed = false;
    return {g_nTicket, kind, nMode, deadline, g_pStop};
}

bool ScheduleOwned(const ScheduleTicket& ticket)
{
    CSingleLock lock(g_scheduleLock);
    return OwnedLocked(ticket.nTicket);
}

bool ScheduleRunningTicket(unsigned nTicket)
{
    CSingleLock lock(g_scheduleLock);
    return OwnedLocked(nTicket);
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
    if (!OwnedLocked(ticket.nTicket))
        return false;
    if (ticket.kind == SCHEDULE_AFTER)
        g_nSecondsLeft = nSecondsLeft;
    else
        g_spanLeft = CTimeSpan(nSecondsLeft);
    return true;
}

bool ScheduleShowLine(const ScheduleTicket& ticket, bool bStopped, const std::function<void()>& show)
{
    CSingleLock lineLock(g_lineLock);
    {
        CSingleLock lock(g_scheduleLock);
        if (bStopped ? g_bRunning.load() != 0 : !OwnedLocked(ticket.nTicket))
            return false;
    }
    show();
    return true;
}

bool ScheduleActIfOwned(const ScheduleTicket& ticket, const std::function<bool()>& act)
{
    CSingleLock lock(g_scheduleLock);
    if (!OwnedLocked(ticket.nTicket))
        return false;
    if (act())
        g_bActed = true;
    return true;
}

bool ScheduleHandedOver()
{
    CSingleLock lock(g_scheduleLock);
    return g_bRunning.load() && g_bActed && g_nMode != MODE_ALARM;
}
