// The clock workers: the live clock and the seconds field.
#include "schedule/Clock.h"

#include "schedule/ClockPass.h"

namespace {

// The field is set from this thread; the dialog's thread carries it out.
// AfxStopWorkers keeps the controls alive until every worker has left.
ClockWorkerIo FieldIo(CStatic* pField)
{
    return {
        [] { return CTime::GetCurrentTime(); },
        [] { return AfxWorkersStopping() != FALSE; },
        [pField](const CString& strText) { pField->SetWindowText(strText); },
        [](uint32_t nMs) { return AfxWorkerSleep(nMs) != FALSE; },
    };
}

} // namespace

UINT __cdecl ClockThreadProc(LPVOID pParam)
{
    RunClockWorker(MinuteClockPass, FieldIo(static_cast<CStatic*>(pParam)));
    return 0;
}

UINT __cdecl SecondsThreadProc(LPVOID pParam)
{
    RunClockWorker(SecondsTickerPass, FieldIo(static_cast<CStatic*>(pParam)));
    return 0;
}
