// The countdown workers, each on the dialog's countdown line.
#include "schedule/Countdown.h"

#include "app/KovnaDlg.h"
#include "schedule/CountdownLoop.h"
#include "schedule/PowerActions.h"

namespace {

const char kAlarmSound[] = "C:\\WINDOWS\\Media\\ringin.wav";

UINT RunOnLine(ScheduleKind kind, LPVOID pParam)
{
    CStatic* pLine = static_cast<CStatic*>(pParam);
    CountdownEffects effects;
    // The program stops every worker before its controls go, handling
    // the texts they send meanwhile.
    effects.setLine = [pLine](const CString& strText) { pLine->SetWindowText(strText); };
    effects.sleep = [](unsigned nMilliseconds) { return AfxWorkerSleep(nMilliseconds) != FALSE; };
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
