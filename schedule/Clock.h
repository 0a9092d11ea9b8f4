// The clock workers of the main dialog's top row. Each is given the CStatic
// of its field and runs until the program ends.
#pragma once

#include "platform/Afx.h"

// The clock field: date and time to the minute, rewritten after each minute begins.
UINT __cdecl ClockThreadProc(LPVOID pParam);

// The seconds field: rewritten on every whole second.
UINT __cdecl SecondsThreadProc(LPVOID pParam);
