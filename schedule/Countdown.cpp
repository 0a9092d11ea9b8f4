// The countdown workers, each on the dialog's countdown line.
#include "schedule/Countdown.h"

#include "platform/Afx.h"
#include "schedule/CountdownLoop.h"
#include "schedule/PowerActions.h"

namespace {

const char kAlarmSound[] = "C:\\WINDOWS\\Media\\ringin.wav";

// FILETIME counts 100 ns steps from 1601; these are the ones up to 1970.
constexpr int64_t kFileTimeTo1970 = 116444736000000000LL;

} // namespace

int64_t CountdownWallClockMs()
{
    FILETIME ft{};
    ::GetSystemTimeAsFileTime(&ft);
    const int64_t nSince1601 = (static_cast<int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (nSince1601 - kFileTimeTo1970) / 10000;
}

namespace {

UINT RunOnLine(ScheduleKind kind, LPVOID pParam)
{
    CStatic* pLine = static_cast<CStatic*>(pParam);
    CountdownEffects effects;
    effects.setLine = [pLine](const CString& strText) { AfxWorkerSetWindowText(pLine, strText); };
    // GetTickCount goes on counting while the computer sleeps; the unbiased
    // interrupt time would not.
    effects.tickCount = [] { return static_cast<uint32_t>(::GetTickCount()); };
    effects.wallClockMs = CountdownWallClockMs;
    effects.wait = [](unsigned nMilliseconds, CEvent& stop) {
        return AfxWorkerWait(nMilliseconds, stop.Handle()) != FALSE;
    };
    effects.ending = [] { return AfxWorkersStopping() != FALSE; };
    effects.powerAction = [](int nMode) {
        if (nMode == MODE_SHUTDOWN)
            ShutdownSystem();
        else
            RebootSystem();
    };
    effects.playAlarm = [] { return AfxSystemApi().PlaySoundA(kAlarmSound, nullptr, 0) != FALSE; };
    return RunCountdown(kind, effects);
}

} // namespace

UINT __cdecl CountdownAfterThreadProc(LPVOID pParam) { return RunOnLine(SCHEDULE_AFTER, pParam); }

UINT __cdecl CountdownAtThreadProc(LPVOID pParam) { return RunOnLine(SCHEDULE_AT, pParam); }
