// The schedule rows of the main dialog: the Set/Reset toggle, its two kinds
// of start, and the check of the interval field at every change.
#include "app/KovnaDlg.h"

#include <memory>

#include "schedule/Countdown.h"
#include "schedule/CountdownLoop.h"
#include "schedule/IntervalText.h"
#include "schedule/PowerActions.h"
#include "schedule/ScheduleMath.h"

namespace {

const char kWarning[] = "警告";
const char kIntervalNotPositive[] = "时间间隔应大于0才对.";
const char kIntervalTooLong[] = "时间间隔太长了, 不能超过2147483647秒.";
const char kTargetNotLater[] = "设置时间应该大于当前时间才对.";
const char kTargetTooFar[] = "设置时间离现在太远了, 不能超过2147483647秒.";
const char kShutdownFailed[] = "关机失败: ";
const char kRebootFailed[] = "重启失败: ";
const char kShutdownCancelled[] = "关机被取消了, 电脑没有关机.";
const char kRebootCancelled[] = "重启被取消了, 电脑没有重启.";
const char kButtonFailed[] = "按钮无法创建, 已停止计时.";

const int kScheduleInputs[] = {IDC_EDIT_COUNT, IDC_COMBO_UNIT, IDC_DATE, IDC_TIME};

// The words of a shutdown or restart the system refused, with its reason.
CString PowerFailureText(int nMode, DWORD dwError)
{
    return CString(nMode == MODE_SHUTDOWN ? kShutdownFailed : kRebootFailed) + AfxFormatSystemError(dwError);
}

} // namespace

void CKovnaDlg::ToggleRunning(BYTE& bFlag)
{
    const bool bStopping = bFlag != 0;
    // A stop comes first: a ring must not go on while the buttons are made
    // anew, which takes a while on a busy machine.
    if (bStopping)
        CountdownSetRunning(false);
    for (const int nID : kScheduleInputs)
        ::EnableWindow(::GetDlgItem(m_hWnd, nID), bStopping);

    if (!RemakeSetButtons(bStopping ? "设置" : "重设")) {
        // Without its Reset nothing on screen could stop the countdown: it
        // does not start.
        if (!bStopping) {
            for (const int nID : kScheduleInputs)
                ::EnableWindow(::GetDlgItem(m_hWnd, nID), TRUE);
            RemakeSetButtons("设置");
        }
        bFlag = 0;
        SetOnTop(false);
        MessageBox(kButtonFailed, kWarning, MB_ICONEXCLAMATION);
        return;
    }

    bFlag = bStopping ? 0 : 1;
    // Off the top where it stands: the final minute is over.
    if (bStopping)
        SetOnTop(false);
    else
        CountdownSetRunning(true);
}

BOOL CKovnaDlg::RemakeSetButtons(LPCSTR pszCaption)
{
    m_btnSetAfter.DestroyWindow();
    const BOOL bAfter = CreateCommandButton(IDC_BTN_SET_AFTER, pszCaption, kRemadeSetButtonHeight);
    m_btnSetAt.DestroyWindow();
    const BOOL bAt = CreateCommandButton(IDC_BTN_SET_AT, pszCaption, kRemadeSetButtonHeight);
    return bAfter && bAt;
}

void CKovnaDlg::RefuseSet(LPCSTR pszWarning)
{
    MessageBox(pszWarning, kWarning, MB_ICONEXCLAMATION);
    ToggleRunning(m_bRunning);
    // A worker stopped just before this press leaves its last line to the
    // schedule that was to follow; none follows.
    m_staticCountdown.SetWindowText("");
}

bool CKovnaDlg::RefusedForPrivilege()
{
    if (m_nMode == MODE_ALARM)
        return false;
    const DWORD dwError = CheckShutdownPrivilege();
    if (dwError == ERROR_SUCCESS)
        return false;
    RefuseSet(PowerFailureText(m_nMode, dwError));
    return true;
}

void CKovnaDlg::OnSetAfter()
{
    // The relative deadline counts from the press itself.
    const DWORD dwPress = ::GetTickCount();
    m_editCount.GetWindowText(m_strCount);
    ToggleRunning(m_bRunning);
    if (!m_bRunning) {
        ResetPickersToNow();
        return;
    }

    int nSeconds = 0;
    switch (IntervalSeconds(m_strCount, m_comboUnit.GetCurSel(), &nSeconds)) {
    case INTERVAL_NOT_POSITIVE:
        RefuseSet(kIntervalNotPositive);
        return;
    case INTERVAL_TOO_LONG:
        // The counter would wrap into a small or negative count and act at once.
        RefuseSet(kIntervalTooLong);
        return;
    case INTERVAL_OK:
        break;
    }
    if (RefusedForPrivilege())
        return;
    ScheduleDeadline deadline;
    deadline.nSecondsLeft = nSeconds;
    deadline.nStartTick = dwPress;
    StartCountdown(CountdownAfterThreadProc, ScheduleOpen(SCHEDULE_AFTER, m_nMode, deadline));
}

void CKovnaDlg::OnSetAt()
{
    ToggleRunning(m_bRunning);
    if (!m_bRunning) {
        ResetPickersToNow();
        return;
    }

    const CTime now = CTime::GetCurrentTime();
    const CTime target = GetTargetTime();
    // A target with no time is judged by the date's own fields.
    SYSTEMTIME date{};
    m_dateCtrl.GetTime(date);
    switch (CheckTarget(target, now, date.wYear, date.wMonth, date.wDay)) {
    case SPAN_OK: {
        if (RefusedForPrivilege())
            return;
        ScheduleDeadline deadline;
        deadline.nSecondsLeft = static_cast<int>((target - now).GetTotalSeconds());
        deadline.nTargetMs = target.GetTime() * 1000;
        StartCountdown(CountdownAtThreadProc, ScheduleOpen(SCHEDULE_AT, m_nMode, deadline));
        return;
    }
    case SPAN_NOT_LATER:
        RefuseSet(kTargetNotLater);
        return;
    case SPAN_TOO_FAR:
        RefuseSet(kTargetTooFar);
        return;
    }
}

void CKovnaDlg::StartCountdown(AFX_THREADPROC pfnThreadProc, const ScheduleTicket& ticket)
{
    // The worker is bound to this schedule and never waited for: one that
    // starts late finds it stopped and leaves without touching anything.
    auto pStart = std::make_unique<CountdownStart>(CountdownStart{&m_staticCountdown, this, ticket});
    if (ticket.pStop && ticket.pStop->IsValid() &&
        AfxBeginThread(pfnThreadProc, pStart.get(), THREAD_PRIORITY_NORMAL, 0, 0, nullptr) == ERROR_SUCCESS) {
        pStart.release();
        return;
    }
    // Nothing would count, or a Reset could not wake the worker: back to the
    // stopped face rather than a line that never moves.
    ToggleRunning(m_bRunning);
}

LRESULT CKovnaDlg::OnCountdownShown(WPARAM wParam, LPARAM lParam)
{
    // Posted before a Reset or a later Set: that schedule is over.
    if (!ScheduleRunningTicket(static_cast<unsigned>(lParam)))
        return 0;
    if (m_notifyIcon.m_bActive)
        m_notifyIcon.ChangeTip(TrayTip());
    // Nobody should lose their work to a shutdown that counted out of sight;
    // the ring is an alarm's own warning.
    const int nLeft = static_cast<int>(wParam);
    if (g_nMode != MODE_ALARM && nLeft > 0 && nLeft <= kFinalMinuteSeconds)
        BringFinalMinuteIntoSight();
    else if (nLeft == 0)
        SetOnTop(false);
    // A ring out of sight is lost where nothing is heard (no sound device,
    // muted, a remote session): Reset comes within one click.
    if (nLeft == 0 && g_nMode == MODE_ALARM && (!IsWindowVisible() || IsIconic())) {
        ShowWithoutFocus();
        FlashTaskbarButton(true);
    }
    return 0;
}

LRESULT CKovnaDlg::OnCountdownFailed(WPARAM wParam, LPARAM lParam)
{
    if (!ScheduleRunningTicket(static_cast<unsigned>(lParam)) || !m_bRunning)
        return 0;
    const int nMode = g_nMode;
    ToggleRunning(m_bRunning);
    ResetPickersToNow();
    TellUnasked(PowerFailureText(nMode, static_cast<DWORD>(wParam)));
    return 0;
}

LRESULT CKovnaDlg::OnPowerCancelled(WPARAM, LPARAM)
{
    // A Reset since has said all there is to say.
    if (!m_bRunning || !ScheduleHandedOver())
        return 0;
    const bool bShutdown = g_nMode == MODE_SHUTDOWN;
    ToggleRunning(m_bRunning);
    ResetPickersToNow();
    TellUnasked(bShutdown ? kShutdownCancelled : kRebootCancelled);
    return 0;
}

void CKovnaDlg::TellUnasked(LPCSTR pszWarning)
{
    ShowWithoutFocus();
    FlashTaskbarButton(true);
    MessageBox(pszWarning, kWarning, MB_ICONEXCLAMATION | MB_SETFOREGROUND | MB_TOPMOST);
    FlashTaskbarButton(false);
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

void CKovnaDlg::OnChangeCount()
{
    GetDlgItemText(IDC_EDIT_COUNT, m_strCount);
    switch (CheckCount(m_strCount)) {
    case CountCheck::Accepted:
        return;
    case CountCheck::TooLong:
        // The text stays: the user shortens it.
        MessageBox("数字太长了, 请调整一下.", kWarning, MB_ICONEXCLAMATION);
        return;
    case CountCheck::IllegalCharacter:
        MessageBox("输入非法字符，请重新输入", kWarning, MB_ICONEXCLAMATION);
        // Emptying the field comes back here at once, nested, and passes.
        SetDlgItemText(IDC_EDIT_COUNT, "");
        UpdateData(FALSE);
        return;
    }
}
