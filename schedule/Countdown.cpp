// The countdown workers, each on the dialog's countdown line, and the stop
// that silences a ring.
#include "schedule/Countdown.h"

#include <memory>

#include "platform/Afx.h"
#include "schedule/AlarmSound.h"
#include "schedule/CountdownLoop.h"
#include "schedule/PowerActions.h"

namespace {

// FILETIME counts 100 ns steps from 1601; these are the ones up to 1970.
constexpr int64_t kFileTimeTo1970 = 116444736000000000LL;

UINT RunOnLine(LPVOID pParam)
{
    const std::unique_ptr<CountdownStart> pStart(static_cast<CountdownStart*>(pParam));
    CWnd* pLine = pStart->pLine;
    CWnd* pNotify = pStart->pNotify;
    const LPARAM nTicket = static_cast<LPARAM>(pStart->ticket.nTicket);
    // The first ring of a process must not load a DLL under the schedule's
    // lock, where a press would wait for it.
    if (pStart->ticket.nMode == MODE_ALARM)
        AfxSystemApi().LoadSoundModule();
    CountdownEffects effects;
    effects.setLine = [pLine](const CString& strText) { AfxWorkerSetWindowText(pLine, strText); };
    effects.shown = [pNotify, nTicket](int nLeft) {
        AfxWorkerPostMessage(pNotify, WM_COUNTDOWN_SHOWN, static_cast<WPARAM>(nLeft), nTicket);
    };
    // Only idle sleep is held off: the display may turn off, and a user can
    // still put the computer to sleep.
    effects.stayAwake = [](bool bAwake) {
        AfxSystemApi().SetThreadExecutionState(bAwake ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED : ES_CONTINUOUS);
    };
    // GetTickCount goes on counting while the computer sleeps; the unbiased
    // interrupt time would not.
    effects.tickCount = [] { return static_cast<uint32_t>(::GetTickCount()); };
    effects.wallClockMs = CountdownWallClockMs;
    effects.wait = [](unsigned nMilliseconds, CEvent& stop) {
        return AfxWorkerWait(nMilliseconds, stop.Handle()) != FALSE;
    };
    effects.ending = [] { return AfxWorkersStopping() != FALSE; };
    effects.powerAction = [pNotify, nTicket](int nMode) {
        const DWORD dwError = nMode == MODE_SHUTDOWN ? ShutdownSystem() : RebootSystem();
        if (dwError == ERROR_SUCCESS)
            return true;
        AfxWorkerPostMessage(pNotify, WM_COUNTDOWN_FAILED, dwError, nTicket);
        return false;
    };
    // The system repeats the sound back to back on its own until a stop
    // plays nothing; no thread of ours waits in a play that a stop would
    // have to cut short.
    effects.startAlarm = StartAlarmSound;
    RunCountdown(pStart->ticket, effects);
    return 0;
}

} // namespace

int64_t CountdownWallClockMs()
{
    FILETIME ft{};
    ::GetSystemTimeAsFileTime(&ft);
    const int64_t nSince1601 = (static_cast<int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (nSince1601 - kFileTimeTo1970) / 10000;
}

UINT __cdecl CountdownAfterThreadProc(LPVOID pStart) { return RunOnLine(pStart); }

UINT __cdecl CountdownAtThreadProc(LPVOID pStart) { return RunOnLine(pStart); }

void CountdownSetRunning(bool bRunning)
{
    ScheduleSetRunning(bRunning);
    // Every stop silences, whatever the schedule did: a ring starts only
    // under the lock the stop has just held, so none can follow it.
    if (!bRunning)
        AfxSystemApi().PlaySoundW(nullptr, nullptr, 0);
}
