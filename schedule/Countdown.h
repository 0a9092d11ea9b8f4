// The countdown workers and the stop of a schedule, for the dialog's Set and
// Reset presses. A worker is started with AfxBeginThread and a new
// CountdownStart, which it takes over; both procedures return 0.
#pragma once

#include <windows.h>

#include <cstdint>

#include "schedule/ScheduleState.h"

class CWnd;

// What a countdown worker is bound to at its start: the countdown line it
// writes, the window it tells, and the one schedule it works for.
struct CountdownStart {
    CWnd* pLine;
    CWnd* pNotify;
    ScheduleTicket ticket;
};

// Posted to pNotify; lParam is the schedule's ticket number, so a message
// of a schedule stopped since can be told apart.
// wParam: the seconds the line now shows, 0 once it was cleared.
constexpr UINT WM_COUNTDOWN_SHOWN = WM_APP + 1;
// wParam: the system's error code; the shutdown or restart was refused.
constexpr UINT WM_COUNTDOWN_FAILED = WM_APP + 2;

UINT __cdecl CountdownAfterThreadProc(LPVOID pStart);
UINT __cdecl CountdownAtThreadProc(LPVOID pStart);

// Sets or clears the running flag. A clear is the one stop of a schedule:
// its worker leaves without acting, and the sound is silenced.
void CountdownSetRunning(bool bRunning);

// The wall clock the absolute countdown follows: milliseconds since 1970 UTC.
int64_t CountdownWallClockMs();
