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
    m_editCount.GetWindowText(m_strCount);
    ToggleRunning(m_bRunning);
    g_nMode = m_nMode;
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
    g_nSecondsLeft = nSeconds;
    ScheduleOpen(SCHEDULE_AFTER);
    AfxBeginThread(CountdownAfterThreadProc, &m_staticCountdown, THREAD_PRIORITY_NORMAL, 0, 0, nullptr);
}

void CKovnaDlg::OnSetAt()
{
    ToggleRunning(m_bRunning);
    g_nMode = m_nMode;
    const CTime now = CTime::GetCurrentTime();
    const CTime target = GetTargetTime();
    const CTimeSpan span = target - now;
    g_spanLeft = span;
    if (!g_bRunning) {
        ResetPickersToNow();
        return;
    }

    SpanResult result = CheckSpan(span);
    if (target.GetTime() == -1) {
        // No time for that date: before 1970, or past what the run-time
        // library converts.
        SYSTEMTIME st{};
        ::SendMessageA(m_dateCtrl.m_hWnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
        result = st.wYear >= 1970 ? SPAN_TOO_FAR : SPAN_NOT_LATER;
    }
    switch (result) {
    case SPAN_OK:
        ScheduleOpen(SCHEDULE_AT);
        AfxBeginThread(CountdownAtThreadProc, &m_staticCountdown, THREAD_PRIORITY_NORMAL, 0, 0, nullptr);
        return;
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
