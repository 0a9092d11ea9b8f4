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

// What is left of the second; a reading never holds a full second.
uint32_t RestOfSecond(uint32_t nMs) { return nMs < kSecondMs ? kSecondMs - nMs : 1; }

} // namespace

ClockPass MinuteClockPass(CTime now, uint32_t nMs)
{
    // Format gives the empty text for a time it cannot convert: the field
    // is cleared rather than left showing a stale or garbled time.
    return {now.Format("%Y年%m月%d日  %H时%M分"),
            static_cast<uint32_t>(59 - SecondOfMinute(now)) * kSecondMs + RestOfSecond(nMs)};
}

ClockPass SecondsTickerPass(CTime now, uint32_t nMs) { return {now.Format("%S"), RestOfSecond(nMs)}; }

int64_t MinuteOf(CTime time) { return time.GetTime() - SecondOfMinute(time); }

bool MinuteFieldBehind(int64_t nShownMinute, CTime now)
{
    if (nShownMinute == kNoMinuteShown)
        return false;
    const int64_t nMinute = MinuteOf(now);
    // In the first second of the next minute the minute clock is waking by itself.
    return nMinute != nShownMinute && !(SecondOfMinute(now) == 0 && nMinute - nShownMinute == 60);
}

void RunClockWorker(ClockPass (*pfnPass)(CTime, uint32_t), const ClockWorkerIo& io)
{
    for (;;) {
        uint32_t nSleepMs = 0;
        {
            // The text goes before the sleep; nothing carries over to the next pass.
            const ClockReading reading = io.now();
            const ClockPass pass = pfnPass(reading.time, reading.nMs);
            if (io.stopping())
                return;
            if (io.seen)
                io.seen(reading.time);
            io.show(pass.strText);
            nSleepMs = pass.nSleepMs;
        }
        if (!io.sleep(nSleepMs))
            return;
    }
}
