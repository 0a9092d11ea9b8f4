// The countdown workers: started with AfxBeginThread and a pointer to the
// dialog's countdown line (a CStatic); both return 0.
#pragma once

#include <windows.h>

#include <cstdint>

UINT __cdecl CountdownAfterThreadProc(LPVOID pParam);
UINT __cdecl CountdownAtThreadProc(LPVOID pParam);

// The wall clock the absolute countdown follows: milliseconds since 1970 UTC.
int64_t CountdownWallClockMs();
