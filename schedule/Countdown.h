// The countdown workers: started with AfxBeginThread and a pointer to the
// dialog's countdown line (a CStatic); both return 0.
#pragma once

#include <windows.h>

UINT __cdecl CountdownAfterThreadProc(LPVOID pParam);
UINT __cdecl CountdownAtThreadProc(LPVOID pParam);
