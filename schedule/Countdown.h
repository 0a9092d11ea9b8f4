// The countdown workers and the stop of a schedule, for the dialog's Set and
// Reset presses. A worker is started with AfxBeginThread and a new
// CountdownStart, which it takes over; both procedures return 0.
#pragma once

#include <windows.h>

#include <cstdint>

#include "schedule/ScheduleState.h"

class CWnd;

// What a countdown worker is bound to at its start: the countdown line it
// writes and the one schedule it works for.
struct CountdownStart {
    CWnd* pLine;
    ScheduleTicket ticket;
};

UINT __cdecl CountdownAfterThreadProc(LPVOID pStart);
UINT __cdecl CountdownAtThreadProc(LPVOID pStart);

// Sets or clears the running flag; a clear ends the running schedule, its
// worker leaves without acting, and a ring it began is silenced.
void CountdownSetRunning(bool bRunning);

// The wall clock the absolute countdown follows: milliseconds since 1970 UTC.
int64_t CountdownWallClockMs();
