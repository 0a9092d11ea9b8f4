// The clock workers of the main dialog's top row. Each is given the CStatic
// of its field and runs until the program ends.
#pragma once

#include "platform/Afx.h"

// Field 1006: date and time to the minute, rewritten after each minute begins.
UINT __cdecl ClockThreadProc(LPVOID pParam);

// Field 1007: the seconds, rewritten about once a second.
UINT __cdecl SecondsThreadProc(LPVOID pParam);
