// What one pass of a clock worker shows and sleeps, and the worker loop.
#include "schedule/ClockPass.h"

#include <ctime>

namespace {

constexpr uint32_t kSecondMs = 1000;

// Seconds of the minute as the field shows them. A time without a local
// breakdown (beyond the run-time library's range) still has a minute
// boundary in the raw count, since zone offsets are whole minutes.
int SecondOfMinute(CTime now)
{
    struct tm local {};
    if (!now.GetLocalTm(&local)) {
        const int64_t nRemainder = now.GetTime() % 60;
        return static_cast<int>(nRemainder < 0 ? nRemainder + 60 : nRemainder);
    }
    // A leap second (60) would otherwise make a sleep of nothing.
    return local.tm_sec < 0 ? 0 : local.tm_sec > 59 ? 59 : local.tm_sec;
}

} // namespace

ClockPass MinuteClockPass(CTime now)
{
    // Format gives the empty text for a time it cannot convert: the field
    // is cleared rather than left showing a stale or garbled time.
    return {now.Format("%Y年%m月%d日  %H时%M分"), static_cast<uint32_t>(60 - SecondOfMinute(now)) * kSecondMs};
}

ClockPass SecondsTickerPass(CTime now) { return {now.Format("%S"), kSecondMs}; }

void RunClockWorker(ClockPass (*pfnPass)(CTime), const ClockWorkerIo& io)
{
    for (;;) {
        uint32_t nSleepMs = 0;
        {
            // The text goes before the sleep; nothing carries over to the next pass.
            const ClockPass pass = pfnPass(io.now());
            if (io.stopping())
                return;
            io.show(pass.strText);
            nSleepMs = pass.nSleepMs;
        }
        if (!io.sleep(nSleepMs))
            return;
    }
}
