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
std::atomic<unsigned> g_nTicket{0};
std::atomic<int> g_nWaitingKind{SCHEDULE_NONE};

bool OwnedLocked(unsigned nTicket) { return g_bRunning.load() && g_nTicket.load() == nTicket; }

} // namespace

void ScheduleSetRunning(bool bRunning)
{
    CSingleLock lock(g_scheduleLock);
    if (bRunning) {
        g_bRunning = 1;
        return;
    }
    g_bRunning = 0;
    g_nWaitingKind = SCHEDULE_NONE;
    ++g_nTicket;
}

void ScheduleOpen(ScheduleKind kind)
{
    CSingleLock lock(g_scheduleLock);
    if (g_bRunning)
        g_nWaitingKind = kind;
}

bool ScheduleClaim(ScheduleKind kind, unsigned* pnTicket)
{
    CSingleLock lock(g_scheduleLock);
    if (!g_bRunning || g_nWaitingKind != kind)
        return false;
    g_nWaitingKind = SCHEDULE_NONE;
    *pnTicket = g_nTicket;
    return true;
}

bool ScheduleOwned(unsigned nTicket)
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

bool ScheduleTick(ScheduleKind kind, unsigned nTicket)
{
    CSingleLock lock(g_scheduleLock);
    if (!OwnedLocked(nTicket))
        return false;
    if (kind == SCHEDULE_AFTER)
        --g_nSecondsLeft;
    else
        g_spanLeft = g_spanLeft.load() - CTimeSpan(1);
    return true;
}

bool ScheduleActIfOwned(unsigned nTicket, const std::function<void()>& act)
{
    CSingleLock lock(g_scheduleLock);
    if (!OwnedLocked(nTicket))
        return false;
    act();
    return true;
}
