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

// A reading of the clock: the whole second and the milliseconds into it.
struct ClockReading {
    CTime time;
    uint32_t nMs;
};

// Date and time to the minute, then a sleep to the next minute boundary of
// that same time: 60,000 ms at second 0, 1,000 ms at second 59, less the
// milliseconds already gone.
ClockPass MinuteClockPass(CTime now, uint32_t nMs = 0);

// The second of the minute, then a sleep to the next whole second.
ClockPass SecondsTickerPass(CTime now, uint32_t nMs = 0);

// The minute a field shows for this time, as the raw count at its start.
int64_t MinuteOf(CTime time);

// What the minute field shows before the minute clock's first pass.
constexpr int64_t kNoMinuteShown = INT64_MIN;

// The seconds ticker's check on the minute field, which shows nShownMinute:
// it is behind (a resume, a clock change) when now is in another minute,
// except in the first second of the minute after it, when the minute clock
// wakes on its own. Nothing shown yet is not behind: the first pass is due.
bool MinuteFieldBehind(int64_t nShownMinute, CTime now);

struct ClockWorkerIo {
    std::function<ClockReading()> now;
    std::function<bool()> stopping;
    std::function<void(const CString&)> show;
    std::function<bool(uint32_t)> sleep;  // false: the program is ending
    std::function<void(CTime)> seen;      // optional: the time of each pass, before it is shown
};

// Reads the clock once per pass, shows the pass's text and sleeps, until the
// program ends; once the end is seen nothing more is shown.
void RunClockWorker(ClockPass (*pfnPass)(CTime, uint32_t), const ClockWorkerIo& io);
