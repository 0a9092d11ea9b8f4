// The Set/Reset controller of the main dialog.
#include "app/KovnaDlg.h"
#include "schedule/Countdown.h"
#include "schedule/ScheduleMath.h"
#include "schedule/ScheduleState.h"

namespace {

const char kWarning[] = "警告";
const char kIntervalNotPositive[] = "时间间隔应大于0才对.";
const char kIntervalTooLong[] = "时间间隔太长了, 不能超过2147483647秒.";
const char kTargetNotLater[] = "设置时间应该大于当前时间才对.";
const char kTargetTooFar[] = "设置时间离现在太远了, 不能超过2147483647秒.";

const int kScheduleInputs[] = {IDC_EDIT_COUNT, IDC_COMBO_UNIT, IDC_DATE, IDC_TIME};

// A stopped worker leaves at once; one in the middle of an alarm play
// leaves when the play ends.
constexpr DWORD kPreviousWorkerMs = 3000;

// Owns the handle of the latest countdown worker, so that a new one starts
// only once the one told to stop before it has left.
class CCountdownThread {
public:
    CCountdownThread() = default;
    CCountdownThread(const CCountdownThread&) = delete;
    CCountdownThread& operator=(const CCountdownThread&) = delete;
    ~CCountdownThread() { Close(); }

    void Start(AFX_THREADPROC pfnThreadProc, CStatic* pLine)
    {
        if (m_hThread) {
            AfxWaitForWorker(m_hThread, kPreviousWorkerMs);
            Close();
        }
        // Suspended until its handle is ours: a thread object deletes itself when its thread ends.
        CWinThread* pThread = AfxBeginThread(pfnThreadProc, pLine, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr);
        if (!pThread)
            return;
        if (!::DuplicateHandle(::GetCurrentProcess(), pThread->m_hThread, ::GetCurrentProcess(), &m_hThread,
                               SYNCHRONIZE, FALSE, 0))
            m_hThread = nullptr;
        ::ResumeThread(pThread->m_hThread);
    }

private:
    void Close()
    {
        if (m_hThread)
            ::CloseHandle(m_hThread);
        m_hThread = nullptr;
    }

    HANDLE m_hThread = nullptr;
};

CCountdownThread g_countdownThread;

} // namespace

void CKovnaDlg::ToggleRunning(BYTE& bFlag)
{
    const bool bStopping = bFlag != 0;
    for (const int nID : kScheduleInputs)
        ::EnableWindow(::GetDlgItem(m_hWnd, nID), bStopping);

    const char* pszCaption = bStopping ? "设置" : "重设";
    CRgn rgnButton;
    rgnButton.CreateRectRgn(0, 0, 50, 26);
    m_btnSetAfter.DestroyWindow();
    CreateCommandButton(m_btnSetAfter, pszCaption, 350, 100, rgnButton, IDC_BTN_SET_AFTER);
    m_btnSetAt.DestroyWindow();
    CreateCommandButton(m_btnSetAt, pszCaption, 350, 138, rgnButton, IDC_BTN_SET_AT);
    rgnButton.DeleteObject();

    bFlag = bStopping ? 0 : 1;
    ScheduleSetRunning(!bStopping);
}

void CKovnaDlg::OnSetAfter()
{
    // The relative deadline counts from the press itself.
    const DWORD dwPress = ::GetTickCount();
    m_editCount.GetWindowText(m_strCount);
    ToggleRunning(m_bRunning);
    if (!g_bRunning) {
        ResetPickersToNow();
        return;
    }

    int nSeconds = 0;
    switch (IntervalSeconds(m_strCount, m_comboUnit.GetCurSel(), &nSeconds)) {
    case INTERVAL_NOT_POSITIVE:
        MessageBox(kIntervalNotPositive, kWarning, MB_ICONEXCLAMATION);
        ToggleRunning(m_bRunning);
        return;
    case INTERVAL_TOO_LONG:
        // The counter would wrap into a small or negative count and act at once.
        MessageBox(kIntervalTooLong, kWarning, MB_ICONEXCLAMATION);
        ToggleRunning(m_bRunning);
        return;
    case INTERVAL_OK:
        break;
    }
    ScheduleDeadline deadline;
    deadline.nSecondsLeft = nSeconds;
    deadline.nStartTick = dwPress;
    ScheduleOpen(SCHEDULE_AFTER, m_nMode, deadline);
    g_countdownThread.Start(CountdownAfterThreadProc, &m_staticCountdown);
}

void CKovnaDlg::OnSetAt()
{
    ToggleRunning(m_bRunning);
    if (!g_bRunning) {
        ResetPickersToNow();
        return;
    }

    const CTime now = CTime::GetCurrentTime();
    const CTime target = GetTargetTime();
    SYSTEMTIME date{};
    ::SendMessageA(m_dateCtrl.m_hWnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
    switch (CheckTarget(target, now, date.wYear, date.wMonth, date.wDay)) {
    case SPAN_OK: {
        ScheduleDeadline deadline;
        deadline.nSecondsLeft = static_cast<int>((target - now).GetTotalSeconds());
        deadline.nTargetMs = target.GetTime() * 1000;
        ScheduleOpen(SCHEDULE_AT, m_nMode, deadline);
        g_countdownThread.Start(CountdownAtThreadProc, &m_staticCountdown);
        return;
    }
    case SPAN_NOT_LATER:
        MessageBox(kTargetNotLater, kWarning, MB_ICONEXCLAMATION);
        break;
    case SPAN_TOO_FAR:
        MessageBox(kTargetTooFar, kWarning, MB_ICONEXCLAMATION);
        break;
    }
    ToggleRunning(m_bRunning);
}

CTime CKovnaDlg::GetTargetTime()
{
    CTime date(-1);
    CTime time(-1);
    if (!m_dateCtrl.GetTime(date) || !m_timeCtrl.GetTime(time) || date.GetTime() == -1 || time.GetTime() == -1)
        return CTime(-1);
    return CTime(date.GetYear(), date.GetMonth(), date.GetDay(), time.GetHour(), time.GetMinute(),
                 time.GetSecond(), -1);
}

void CKovnaDlg::ResetPickersToNow()
{
    const CTime now = CTime::GetCurrentTime();
    m_dateCtrl.SetTime(now);
    m_timeCtrl.SetTime(now);
}
