// The process-wide schedule and the locked steps that change it.
#include "schedule/ScheduleState.h"

#include <climits>

#include "platform/Lock.h"

namespace {

// Written here only; the rest of the program reads them through the names below.
std::atomic<uint8_t> s_bRunning{0};
std::atomic<int> s_nMode{0};
std::atomic<int> s_nSecondsLeft{0};
std::atomic<CTimeSpan> s_spanLeft{CTimeSpan(0)};

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

bool OwnedLocked(unsigned nTicket) { return s_bRunning.load() && g_nTicket == nTicket; }

} // namespace

const std::atomic<uint8_t>& g_bRunning = s_bRunning;
const std::atomic<int>& g_nMode = s_nMode;
const std::atomic<int>& g_nSecondsLeft = s_nSecondsLeft;
const std::atomic<CTimeSpan>& g_spanLeft = s_spanLeft;

void ScheduleSetRunning(bool bRunning)
{
    CSingleLock lock(g_scheduleLock);
    if (bRunning) {
        s_bRunning = 1;
        return;
    }
    s_bRunning = 0;
    NextTicketLocked();
    // The old worker wakes now, not at the end of its wait.
    if (g_pStop) {
        g_pStop->Set();
        g_pStop.reset();
    }
    g_bActed = false;
}

ScheduleTicket ScheduleOpen(ScheduleKind kind, int nMode, const ScheduleDeadline& deadline)
{
    CSingleLock lock(g_scheduleLock);
    if (!s_bRunning)
        return ScheduleTicket();
    s_nMode = nMode;
    if (kind == SCHEDULE_AFTER)
        s_nSecondsLeft = deadline.nSecondsLeft;
    else
        s_spanLeft = CTimeSpan(deadline.nSecondsLeft);
    // A press opens at most one schedule per running flag; a second open
    // would leave the first one's worker owning the new one.
    NextTicketLocked();
    if (g_pStop)
        g_pStop->Set();
    g_pStop = std::make_shared<CEvent>();
    g_bActed = false;
    return {g_nTicket, kind, nMode, deadline, g_pStop};
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
        s_nSecondsLeft = nSecondsLeft;
    else
        s_spanLeft = CTimeSpan(nSecondsLeft);
    return true;
}

bool ScheduleShowLine(const ScheduleTicket& ticket, bool bStopped, const std::function<void()>& show)
{
    CSingleLock lineLock(g_lineLock);
    {
        CSingleLock lock(g_scheduleLock);
        if (bStopped ? s_bRunning.load() != 0 : !OwnedLocked(ticket.nTicket))
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
    return s_bRunning.load() && g_bActed && s_nMode != MODE_ALARM;
}
