// The two clock fields, free of windows: what one pass of a clock worker
// shows for a given time and how long it then sleeps, and the worker loop
// with the clock, the field and the sleep handed in.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/CString.h"
#include "platform/CTime.h"

struct ClockPass {
    CString strText;
    uint32_t nSleepMs;
};

// Date and time to the minute, then a sleep to the next minute boundary of
// that same time: 60,000 ms at second 0, 1,000 ms at second 59.
ClockPass MinuteClockPass(CTime now);

// The second of the minute, then a fixed 1,000 ms.
ClockPass SecondsTickerPass(CTime now);

struct ClockWorkerIo {
    std::function<CTime()> now;
    std::function<bool()> stopping;
    std::function<void(const CString&)> show;
    std::function<bool(uint32_t)> sleep;  // false: the program is ending
};

// Reads the clock once per pass, shows the pass's text and sleeps, until the
// program ends; once the end is seen nothing more is shown.
void RunClockWorker(ClockPass (*pfnPass)(CTime), const ClockWorkerIo& io);
