// The clock workers: the live clock and the seconds field.
#include "schedule/Clock.h"

#include <atomic>

#include "platform/Event.h"
#include "schedule/ClockPass.h"
#include "schedule/Countdown.h"

namespace {

// The minute the minute field shows, for the seconds ticker to check.
std::atomic<int64_t> g_nShownMinute{kNoMinuteShown};

// Wakes the minute clock before its boundary; auto reset, so kicks that
// come together make one pass. Made before main (no guarded local static).
CEvent g_minuteWake(false);

ClockReading ReadClock()
{
    const int64_t nMs = CountdownWallClockMs();
    return {CTime(nMs / 1000), static_cast<uint32_t>(nMs % 1000)};
}

// The field is set from this thread; the dialog's thread carries it out.
// AfxStopWorkers keeps the controls alive until every worker has left.
ClockWorkerIo FieldIo(CStatic* pField)
{
    ClockWorkerIo io;
    io.now = ReadClock;
    io.stopping = [] { return AfxWorkersStopping() != FALSE; };
    io.show = [pField](const CString& strText) { AfxWorkerSetWindowText(pField, strText); };
    io.sleep = [](uint32_t nMs) { return AfxWorkerSleep(nMs) != FALSE; };
    return io;
}

} // namespace

UINT __cdecl ClockThreadProc(LPVOID pParam)
{
    ClockWorkerIo io = FieldIo(static_cast<CStatic*>(pParam));
    io.seen = [](CTime time) { g_nShownMinute = MinuteOf(time); };
    io.sleep = [](uint32_t nMs) {
        AfxWorkerWait(nMs, g_minuteWake.Handle());
        return AfxWorkersStopping() == FALSE;
    };
    RunClockWorker(MinuteClockPass, io);
    return 0;
}

UINT __cdecl SecondsThreadProc(LPVOID pParam)
{
    ClockWorkerIo io = FieldIo(static_cast<CStatic*>(pParam));
    // After a resume or a clock change the minute clock would sleep on to a
    // boundary it worked out before; the ticker, awake every second, sees it.
    io.seen = [](CTime time) {
        if (MinuteFieldBehind(g_nShownMinute, time))
            g_minuteWake.Set();
    };
    RunClockWorker(SecondsTickerPass, io);
    return 0;
}
