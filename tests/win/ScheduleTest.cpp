// The schedule controller, countdown workers and end actions in the real
// main dialog, driven by the messages a user's clicks would send. Every
// system effect lands in the recorder.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <string>

#include <windows.h>
#include <mmsystem.h>

#include "kit/Controls.h"
#include "kit/DialogHarness.h"
#include "kit/Recorder.h"
#include "kit/XInput.h"
#include "app/KovnaDlg.h"
#include "schedule/Countdown.h"
#include "schedule/PowerActions.h"
#include "schedule/ScheduleState.h"

namespace {

const char kNotPositive[] = "时间间隔应大于0才对.";
const char kTooLong[] = "时间间隔太长了, 不能超过2147483647秒.";
const char kNotLater[] = "设置时间应该大于当前时间才对.";
const char kTooFar[] = "设置时间离现在太远了, 不能超过2147483647秒.";
const std::string kOwnRing = "#" + std::to_string(IDR_ALARM_RING);

void ClickRadio(CKovnaDlg& dlg, int nID)
{
    ::CheckRadioButton(dlg.m_hWnd, IDC_RADIO_SHUTDOWN, IDC_RADIO_ALARM, nID);
    Click(dlg.m_hWnd, nID);
}

std::string Text(CKovnaDlg& dlg, int nID) { return ControlText(dlg.m_hWnd, nID); }

SYSTEMTIME LocalFields(const CTime& time)
{
    SYSTEMTIME st{};
    time.GetAsSystemTime(st);
    return st;
}

// The date picker gets the date, the time picker the time of day; each gets
// a decoy for the part that must play no role.
void SetTarget(CKovnaDlg& dlg, SYSTEMTIME st)
{
    SYSTEMTIME date = st;
    date.wHour = 3;
    date.wMinute = 4;
    date.wSecond = 5;
    SYSTEMTIME time = st;
    time.wYear = 2001;
    time.wMonth = 2;
    time.wDay = 3;
    ::SendMessageA(dlg.m_dateCtrl.m_hWnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
    ::SendMessageA(dlg.m_timeCtrl.m_hWnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

void SetTarget(CKovnaDlg& dlg, const CTime& time) { SetTarget(dlg, LocalFields(time)); }

// Running: both Set buttons read "重设" and the inputs are disabled.
void ExpectRunningState(CKovnaDlg& dlg, bool bRunning)
{
    EXPECT_EQ(bRunning ? 1 : 0, dlg.m_bRunning);
    EXPECT_EQ(bRunning ? 1 : 0, g_bRunning.load());
    const char* pszSet = bRunning ? "重设" : "设置";
    EXPECT_EQ(pszSet, Text(dlg, IDC_BTN_SET_AFTER));
    EXPECT_EQ(pszSet, Text(dlg, IDC_BTN_SET_AT));
    for (const int nID : {IDC_EDIT_COUNT, IDC_COMBO_UNIT, IDC_DATE, IDC_TIME})
        EXPECT_EQ(!bRunning, ::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, nID)) != FALSE) << nID;
}

void ExpectStopped(CKovnaDlg& dlg) { ExpectRunningState(dlg, false); }
void ExpectRunning(CKovnaDlg& dlg) { ExpectRunningState(dlg, true); }

// Both pickers show the current local time (to within a few seconds).
void ExpectPickersNow(CKovnaDlg& dlg)
{
    CTime date;
    CTime time;
    ASSERT_TRUE(dlg.m_dateCtrl.GetTime(date));
    ASSERT_TRUE(dlg.m_timeCtrl.GetTime(time));
    const int64_t nNow = CTime::GetCurrentTime().GetTime();
    EXPECT_NEAR(static_cast<double>(nNow), static_cast<double>(date.GetTime()), 3);
    EXPECT_NEAR(static_cast<double>(nNow), static_cast<double>(time.GetTime()), 3);
}

// Running without a worker: an empty interval's Set press would refuse, so
// the state is set as a Set press of the relative row sets it.
void ToggleToRunning(CKovnaDlg& dlg)
{
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_EDIT_COUNT, "1");
    Click(dlg.m_hWnd, IDC_BTN_SET_AFTER);
    ScheduleSetRunning(false);
    ScheduleSetRunning(true);
}

void ExpectOneWarning(CRecordingApi& api, const char* pszText, UINT uType = MB_ICONEXCLAMATION)
{
    const auto boxes = api.CallsNamed("MessageBoxGbk");
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(pszText, boxes[0].text);
    EXPECT_EQ("警告", boxes[0].caption);
    EXPECT_EQ(static_cast<uintptr_t>(uType), boxes[0].args[1]);
    api.Clear();
}

// Nobody asked for it: the box takes the top, and the taskbar button
// flashes while it is up.
void ExpectUnaskedWarning(CKovnaDlg& dlg, CRecordingApi& api, const char* pszText)
{
    EXPECT_EQ((std::vector<std::string>{"FlashWindowEx", "MessageBoxGbk", "FlashWindowEx"}),
              api.CallNames({"FlashWindowEx", "MessageBoxGbk"}));
    const auto flashes = api.CallsNamed("FlashWindowEx");
    ASSERT_EQ(2u, flashes.size());
    EXPECT_EQ((std::vector<uintptr_t>{reinterpret_cast<uintptr_t>(dlg.m_hWnd), FLASHW_ALL | FLASHW_TIMERNOFG}),
              flashes[0].args);
    EXPECT_EQ(static_cast<uintptr_t>(FLASHW_STOP), flashes[1].args[1]);
    ExpectOneWarning(api, pszText, MB_ICONEXCLAMATION | MB_SETFOREGROUND | MB_TOPMOST);
}

// The dialog in shutdown mode: a body that refuses or stops what it set
// leaves no worker of its own behind, and nothing is shut down.
void RunInShutdownModeNeverActing(CKovnaDlg& dlg, CRecordingApi& api, const std::function<void()>& body)
{
    RunModal(dlg, [&] {
        const int nWorkers = AfxLiveWorkerCount();
        ClickRadio(dlg, IDC_RADIO_SHUTDOWN);
        body();
        EXPECT_TRUE(PumpUntil([&] { return AfxLiveWorkerCount() == nWorkers; }, 2500));
    });
    EXPECT_EQ(0u, api.Count("ExitWindowsEx"));
}

// A target the press still finds later than now: one second ahead may be
// the next second itself, which a busy machine reaches before the press.
CTime SoonTarget()
{
    return CTime::GetCurrentTime() + CTimeSpan(2);
}

// An alarm moments ahead, ringing once the recorder's sound plays.
bool RingAnAlarm(CKovnaDlg& dlg, CRecordingApi& api)
{
    SetTarget(dlg, SoonTarget());
    Click(dlg.m_hWnd, IDC_BTN_SET_AT);
    return PumpUntil([&] { return api.SoundPlaying(); }, 5000);
}

// Every effect lands in the recorder; the dialog is run by each test.
class Schedule : public ::testing::Test {
protected:
    CRecordingApi api;
    CScopedSystemApi seam{&api};
    CKovnaDlg dlg;
};

} // namespace

TEST_F(Schedule, CommandButtonsHaveTheirCaptionsPlacesAndSizeAndTheRadiosStoreTheMode)
{
    RunModal(dlg, [&] {
        const struct {
            int id;
            const char* caption;
            int x, y;
        } want[] = {
            {IDC_BTN_SET_AFTER, "设置", 350, 100}, {IDC_BTN_SET_AT, "设置", 350, 138},
            {IDC_BTN_HIDE, "隐藏", 96, 208},       {IDC_BTN_EXIT, "退出", 335, 208},
            {IDC_BTN_HELP, "帮助", 220, 208},
        };
        for (const auto& w : want) {
            SCOPED_TRACE(w.id);
            const HWND hButton = ::GetDlgItem(dlg.m_hWnd, w.id);
            ASSERT_NE(nullptr, hButton);
            EXPECT_EQ(w.caption, Text(dlg, w.id));
            const RECT rc = ChildRect(dlg.m_hWnd, w.id);
            EXPECT_EQ(w.x, rc.left);
            EXPECT_EQ(w.y, rc.top);
            EXPECT_EQ(50, rc.right - rc.left);
            EXPECT_EQ(24, rc.bottom - rc.top);
            EXPECT_EQ(static_cast<LONG>(WS_CHILD | WS_VISIBLE),
                      ::GetWindowLongA(hButton, GWL_STYLE) & (WS_CHILD | WS_VISIBLE | WS_POPUP));
        }
        EXPECT_EQ(dlg.m_btnSetAfter.m_hWnd, ::GetDlgItem(dlg.m_hWnd, IDC_BTN_SET_AFTER));
        EXPECT_EQ(dlg.m_btnExit.m_hWnd, ::GetDlgItem(dlg.m_hWnd, IDC_BTN_EXIT));

        // The radios only store the mode.
        ClickRadio(dlg, IDC_RADIO_SHUTDOWN);
        EXPECT_EQ(MODE_SHUTDOWN, dlg.m_nMode);
        ClickRadio(dlg, IDC_RADIO_REBOOT);
        EXPECT_EQ(MODE_REBOOT, dlg.m_nMode);
        ClickRadio(dlg, IDC_RADIO_ALARM);
        EXPECT_EQ(MODE_ALARM, dlg.m_nMode);
    });
}

TEST_F(Schedule, AnyCodePage_RelativeStartCountsMinutesHoursDaysAndMonthsAndResetStops)
{
    RunModal(dlg, [&] {
        const int units[] = {60, 3600, 86400, 2592000};
        ClickRadio(dlg, IDC_RADIO_REBOOT);
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            ::SetDlgItemTextA(dlg.m_hWnd, IDC_EDIT_COUNT, "5");
            dlg.m_comboUnit.SetCurSel(i);
            Click(dlg.m_hWnd, IDC_BTN_SET_AFTER);
            EXPECT_EQ(5 * units[i], g_nSecondsLeft.load());
            EXPECT_EQ(MODE_REBOOT, g_nMode.load());
            EXPECT_EQ(CString("5"), dlg.m_strCount);
            ExpectRunning(dlg);
            // Re-created buttons are 26 high.
            EXPECT_EQ(26, ChildRect(dlg.m_hWnd, IDC_BTN_SET_AFTER).bottom - ChildRect(dlg.m_hWnd, IDC_BTN_SET_AFTER).top);
            EXPECT_EQ(138, ChildRect(dlg.m_hWnd, IDC_BTN_SET_AT).top);
            ASSERT_TRUE(PumpUntil([&] { return Text(dlg, IDC_STATIC_COUNTDOWN) ==
                                               std::to_string(5 * units[i]) + "秒后重启."; },
                                  3000));

            SetTarget(dlg, CTime(2020, 6, 7, 8, 9, 10));
            Click(dlg.m_hWnd, IDC_BTN_SET_AFTER);
            ExpectStopped(dlg);
            ExpectPickersNow(dlg);
            EXPECT_TRUE(PumpUntil([&] { return Text(dlg, IDC_STATIC_COUNTDOWN).empty(); }, 2500));
        }
        // A count just under the counter's end is still a count.
        ::SetDlgItemTextA(dlg.m_hWnd, IDC_EDIT_COUNT, "35791394");
        dlg.m_comboUnit.SetCurSel(0);
        Click(dlg.m_hWnd, IDC_BTN_SET_AFTER);
        EXPECT_EQ(2147483640, g_nSecondsLeft.load());
        ExpectRunning(dlg);
        Click(dlg.m_hWnd, IDC_BTN_SET_AFTER);
        EXPECT_EQ(0u, api.Count("MessageBoxGbk"));
    });
    EXPECT_EQ(0u, api.Count("ExitWindowsEx"));
}

TEST_F(Schedule, AnyCodePage_RefusedIntervalsWarnAndStayStopped)
{
    RunInShutdownModeNeverActing(dlg, api, [&] {
        const struct {
            const char* text;
            int unit;
            const char* warning;
        } cases[] = {
            {"", 0, kNotPositive},
            {"0", 2, kNotPositive},
            // 829 months and ten digits of minutes would wrap the counter.
            {"829", 3, kTooLong},
            {"9999999999", 0, kTooLong},
            // Past 2^64: it once wrapped to a one-minute countdown.
            {"18446744073709551617", 0, kTooLong},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.text);
            ::SetDlgItemTextA(dlg.m_hWnd, IDC_EDIT_COUNT, c.text);
            dlg.m_comboUnit.SetCurSel(c.unit);
            api.Clear();
            Click(dlg.m_hWnd, IDC_BTN_SET_AFTER);
            ExpectOneWarning(api, c.warning);
            ExpectStopped(dlg);
        }
    });
}

TEST_F(Schedule, AbsoluteTargetsThatCannotCountAreRefused)
{
    RunInShutdownModeNeverActing(dlg, api, [&] {
        // A line that a just stopped worker left goes with the refusal.
        ::SetDlgItemTextA(dlg.m_hWnd, IDC_STATIC_COUNTDOWN, "3600秒后关机");
        SetTarget(dlg, CTime::GetCurrentTime());
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        ExpectOneWarning(api, kNotLater);
        ExpectStopped(dlg);
        EXPECT_EQ("", Text(dlg, IDC_STATIC_COUNTDOWN));

        // Before 1970 the target has no time at all (-1): never a count.
        SYSTEMTIME st{};
        st.wYear = 1969;
        st.wMonth = 12;
        st.wDay = 31;
        st.wHour = 23;
        SetTarget(dlg, st);
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        ExpectOneWarning(api, kNotLater);
        ExpectStopped(dlg);

        // Past January 2038 the time is right, but the count would not fit.
        st.wYear = 2100;
        SetTarget(dlg, st);
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        ExpectOneWarning(api, kTooFar);
        ExpectStopped(dlg);

        st.wYear = 2040;
        SetTarget(dlg, st);
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        EXPECT_EQ(0u, api.Count("MessageBoxGbk"));
        ExpectRunning(dlg);
        // Date from the date picker, time of day from the time picker.
        const int64_t nWant = (CTime(2040, 12, 31, 23, 0, 0) - CTime::GetCurrentTime()).GetTotalSeconds();
        EXPECT_NEAR(static_cast<double>(nWant), static_cast<double>(g_spanLeft.load().GetTotalSeconds()), 2);
        ASSERT_TRUE(PumpUntil([&] { return Text(dlg, IDC_STATIC_COUNTDOWN).find("秒后关机") != std::string::npos; },
                              3000));
        EXPECT_EQ(std::string::npos, Text(dlg, IDC_STATIC_COUNTDOWN).find('.'));
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        ExpectStopped(dlg);
    });
}

TEST_F(Schedule, AbsoluteButtonStopsARelativeCountdownWithoutActing)
{
    RunInShutdownModeNeverActing(dlg, api, [&] {
        ::SetDlgItemTextA(dlg.m_hWnd, IDC_EDIT_COUNT, "1");
        Click(dlg.m_hWnd, IDC_BTN_SET_AFTER);
        ASSERT_TRUE(PumpUntil([&] { return Text(dlg, IDC_STATIC_COUNTDOWN) == "60秒后关机."; }, 2000));
        SetTarget(dlg, CTime::GetCurrentTime() + CTimeSpan(5));
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        ExpectStopped(dlg);
        ExpectPickersNow(dlg);
        EXPECT_TRUE(PumpUntil([&] { return Text(dlg, IDC_STATIC_COUNTDOWN).empty(); }, 2500));
    });
    EXPECT_EQ(0u, api.Count("MessageBoxGbk"));
    EXPECT_EQ(0u, api.Count("AdjustTokenPrivileges"));
}

TEST_F(Schedule, AbsoluteCountdownRestartsWithTheModeOfThePress)
{
    RunModal(dlg, [&] {
        ClickRadio(dlg, IDC_RADIO_REBOOT);
        SetTarget(dlg, SoonTarget());
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        ExpectRunning(dlg);
        // A later radio change does not touch the running countdown.
        ClickRadio(dlg, IDC_RADIO_SHUTDOWN);
        ASSERT_TRUE(PumpUntil([&] { return Text(dlg, IDC_STATIC_COUNTDOWN) == "1秒后重启"; }, 3000));
        ASSERT_TRUE(PumpUntil([&] { return api.Count("ExitWindowsEx") > 0; }, 3000));
        EXPECT_EQ("", Text(dlg, IDC_STATIC_COUNTDOWN));
        PumpFor(200);
        ExpectRunning(dlg);
    });
    // On top from its first second, a countdown shorter than a minute, and
    // off once the line is cleared; when the GUI thread gets to that is its own.
    const auto ranks = api.CallsNamed("SetWindowPos");
    ASSERT_EQ(2u, ranks.size());
    EXPECT_EQ(reinterpret_cast<uintptr_t>(HWND_TOPMOST), ranks[0].args[1]);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(HWND_NOTOPMOST), ranks[1].args[1]);
    std::vector<RecordedCall> calls;
    for (const auto& call : api.Calls()) {
        if (call.name != "SetWindowPos")
            calls.push_back(call);
    }
    std::vector<std::string> names;
    for (const auto& call : calls)
        names.push_back(call.name);
    // The press asks whether the token holds the privilege at all; the
    // worker keeps the system awake from its first line until the action
    // was handed over; the last call stops any sound as the program ends.
    const std::vector<std::string> want = {
        "OpenProcessToken",      "LookupPrivilegeValueW",   "GetTokenInformation", "GetTokenInformation",
        "CloseHandle",           "SetThreadExecutionState", "OpenProcessToken",    "LookupPrivilegeValueW",
        "AdjustTokenPrivileges", "ExitWindowsEx",           "CloseHandle",         "SetThreadExecutionState",
        "PlaySoundW"};
    ASSERT_EQ(want, names);
    EXPECT_EQ(static_cast<uintptr_t>(TOKEN_QUERY), calls[0].args[1]);
    EXPECT_EQ(static_cast<uintptr_t>(TokenPrivileges), calls[2].args[1]);
    EXPECT_EQ(CRecordingApi::kFakeToken, calls[4].args[0]);
    calls.erase(calls.begin(), calls.begin() + 5);
    EXPECT_EQ(static_cast<uintptr_t>(ES_CONTINUOUS | ES_SYSTEM_REQUIRED), calls[0].args[0]);
    EXPECT_EQ(static_cast<uintptr_t>(ES_CONTINUOUS), calls[6].args[0]);
    EXPECT_EQ(calls[0].args[1], calls[6].args[1]);
    EXPECT_NE(static_cast<uintptr_t>(::GetCurrentThreadId()), calls[0].args[1]);
    EXPECT_EQ(0x28u, calls[1].args[1]);
    EXPECT_EQ(0u, calls[2].args[0]);
    EXPECT_EQ("SeShutdownPrivilege", calls[2].text);
    // Token, not disabling all, no previous state; one privilege, enabled.
    const std::vector<uintptr_t> adjust = {CRecordingApi::kFakeToken, 0, 0, 0, 0, 1, 19, SE_PRIVILEGE_ENABLED};
    EXPECT_EQ(adjust, calls[3].args);
    // A planned shutdown of no other kind, as Windows logs it.
    EXPECT_EQ((std::vector<uintptr_t>{EWX_REBOOT | EWX_FORCE, 0x80000000u}), calls[4].args);
    EXPECT_EQ(CRecordingApi::kFakeToken, calls[5].args[0]);
}

TEST_F(Schedule, PowerActionsNeedTheEnabledPrivilege)
{
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), ShutdownSystem());
    ASSERT_EQ(1u, api.Count("ExitWindowsEx"));
    EXPECT_EQ(static_cast<uintptr_t>(EWX_SHUTDOWN | EWX_FORCE), api.CallsNamed("ExitWindowsEx")[0].args[0]);

    // Each failure gives the system's reason, and the token is closed.
    api.Clear();
    api.dwAdjustError = ERROR_NOT_ALL_ASSIGNED;
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ALL_ASSIGNED), RebootSystem());
    EXPECT_EQ(0u, api.Count("ExitWindowsEx"));
    EXPECT_EQ(1u, api.Count("CloseHandle"));

    api.dwAdjustError = ERROR_SUCCESS;
    api.dwExitWindowsError = ERROR_SHUTDOWN_IN_PROGRESS;
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHUTDOWN_IN_PROGRESS), ShutdownSystem());

    api.Clear();
    api.dwOpenTokenError = ERROR_ACCESS_DENIED;
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), ShutdownSystem());
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), CheckShutdownPrivilege());
    EXPECT_EQ((std::vector<std::string>{"OpenProcessToken", "OpenProcessToken"}), api.CallNames());
}

TEST_F(Schedule, AlarmRingsUntilResetSilencesItAndATriedRingWaitsASecond)
{
    RunModal(dlg, [&] {
        const int nWorkers = AfxLiveWorkerCount();
        SetTarget(dlg, SoonTarget());
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        ASSERT_TRUE(PumpUntil([&] { return api.Count("PlaySoundW") > 0; }, 5000));
        EXPECT_EQ("", Text(dlg, IDC_STATIC_COUNTDOWN));
        // No sound device: about one try a second, not thousands. Each try
        // ends with the program's own ring.
        PumpFor(2500);
        size_t nTries = 0;
        for (const auto& call : api.CallsNamed("PlaySoundW")) {
            nTries += call.text == kOwnRing;
            EXPECT_EQ(static_cast<uintptr_t>(SND_ASYNC | SND_LOOP), call.args[1] & (SND_ASYNC | SND_LOOP));
        }
        EXPECT_GE(nTries, 2u);
        EXPECT_LE(nTries, 5u);
        ExpectRunning(dlg);

        // Once a ring starts, the system repeats it; the worker leaves.
        api.bPlaySoundResult = TRUE;
        ASSERT_TRUE(PumpUntil([&] { return api.SoundPlaying(); }, 2000));
        EXPECT_TRUE(PumpUntil([&] { return AfxLiveWorkerCount() == nWorkers; }, 1000));
        const size_t nPlays = api.Count("PlaySoundW");
        // Silenced before the buttons are made anew, which takes a while on a busy machine.
        std::string strButtonAtStop;
        api.onStopSound = [&] { strButtonAtStop = Text(dlg, IDC_BTN_SET_AFTER); };
        Click(dlg.m_hWnd, IDC_BTN_SET_AFTER);
        api.onStopSound = nullptr;
        EXPECT_EQ("重设", strButtonAtStop);
        ExpectStopped(dlg);
        EXPECT_FALSE(api.SoundPlaying());
        ASSERT_EQ(nPlays + 1, api.Count("PlaySoundW"));
        EXPECT_EQ("", api.CallsNamed("PlaySoundW").back().text);
    });
    EXPECT_EQ(0u, api.Count("ExitWindowsEx"));
}

TEST_F(Schedule, SetAfterResetDuringARingCountsAtOnceAndOnlyTheLastWorkerActs)
{
    api.bPlaySoundResult = TRUE;
    RunModal(dlg, [&] {
        ASSERT_TRUE(RingAnAlarm(dlg, api));
        ClickRadio(dlg, IDC_RADIO_SHUTDOWN);
        ::SetDlgItemTextA(dlg.m_hWnd, IDC_EDIT_COUNT, "1");
        // Reset by either row, then Set, with no pause for a worker to start.
        for (int i = 0; i < 150; ++i) {
            Click(dlg.m_hWnd, i % 2 ? IDC_BTN_SET_AFTER : IDC_BTN_SET_AT);
            Click(dlg.m_hWnd, IDC_BTN_SET_AFTER);
        }
        ExpectRunning(dlg);
        EXPECT_FALSE(api.SoundPlaying());
        // The last schedule's worker shows its whole minute; a busy machine
        // may let the first second pass.
        ASSERT_TRUE(PumpUntil([&] { return !Text(dlg, IDC_STATIC_COUNTDOWN).empty(); }, 2000));
        const std::string strFirst = Text(dlg, IDC_STATIC_COUNTDOWN);
        EXPECT_TRUE(strFirst == "60秒后关机." || strFirst == "59秒后关机.") << strFirst;
        PumpFor(1500);
        EXPECT_GE(g_nSecondsLeft.load(), 57);
    });
    EXPECT_EQ(0u, api.Count("ExitWindowsEx"));
}

// The alarm's first play marks the action; the deadline is counted from the
// Set press on the recorder's clock.
TEST_F(Schedule, ATenSecondCountdownOfEachKindActsOnItsDeadline)
{
    RunModal(dlg, [&] {
        const auto expectOnTime = [&](const char* pszKind, DWORD dwDeadline) {
            SCOPED_TRACE(pszKind);
            ASSERT_TRUE(PumpUntil([&] { return api.Count("PlaySoundW") > 0; }, 12000));
            const long nLateMs = static_cast<long>(api.CallsNamed("PlaySoundW")[0].dwTick - dwDeadline);
            std::printf("%s countdown acted %ld ms after its deadline\n", pszKind, nLateMs);
            EXPECT_GE(nLateMs, 0);
            EXPECT_LE(nLateMs, 100);
            Click(dlg.m_hWnd, IDC_BTN_SET_AT);
            ExpectStopped(dlg);
            api.Clear();
        };

        // The relative row counts whole minutes; its worker is given ten seconds here.
        ToggleToRunning(dlg);
        ScheduleDeadline deadline;
        deadline.nSecondsLeft = 10;
        deadline.nStartTick = ::GetTickCount();
        AfxBeginThread(CountdownAfterThreadProc,
                       new CountdownStart{&dlg.m_staticCountdown, &dlg, ScheduleOpen(SCHEDULE_AFTER, MODE_ALARM, deadline)});
        expectOnTime("relative", deadline.nStartTick + 10000);

        const CTime target = CTime::GetCurrentTime() + CTimeSpan(10);
        SetTarget(dlg, target);
        const DWORD dwPress = ::GetTickCount();
        const int64_t nPressMs = CountdownWallClockMs();
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        ExpectRunning(dlg);
        expectOnTime("absolute", dwPress + static_cast<DWORD>(target.GetTime() * 1000 - nPressMs));
    });
}

TEST_F(Schedule, EndingTheProgramSilencesTheAlarm)
{
    api.bPlaySoundResult = TRUE;
    RunModal(dlg, [&] {
        ASSERT_TRUE(RingAnAlarm(dlg, api));
        Click(dlg.m_hWnd, IDC_BTN_EXIT);
    });
    EXPECT_FALSE(api.SoundPlaying());
    EXPECT_EQ(0, AfxLiveWorkerCount());
    const auto plays = api.CallsNamed("PlaySoundW");
    ASSERT_GE(plays.size(), 2u);
    EXPECT_EQ("", plays.back().text);
    EXPECT_EQ((std::vector<uintptr_t>{0, 0}), plays.back().args);
}

TEST_F(Schedule, EndingTheProgramDuringACountdownNeverActs)
{
    CTime target;
    const INT_PTR nResult = RunModal(dlg, [&] {
        ClickRadio(dlg, IDC_RADIO_SHUTDOWN);
        target = SoonTarget();
        SetTarget(dlg, target);
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        ASSERT_TRUE(PumpUntil([&] { return !Text(dlg, IDC_STATIC_COUNTDOWN).empty(); }, 2000));
        Click(dlg.m_hWnd, IDC_BTN_EXIT);
    });
    EXPECT_EQ(IDCANCEL, nResult);
    EXPECT_EQ(0, AfxLiveWorkerCount());
    // A worker that outlived the end could not reach a control: the
    // window object is not even looked at.
    AfxWorkerSetWindowText(nullptr, "late");
    // Past the deadline the countdown would have acted on.
    EXPECT_TRUE(PumpUntil([&] { return CTime::GetCurrentTime() > target; }, 5000));
    EXPECT_EQ(0u, api.Count("AdjustTokenPrivileges"));
    EXPECT_EQ(0u, api.Count("ExitWindowsEx"));
}

TEST_F(Schedule, AMouseClickOnSetReplacesTheButtonItCameFrom)
{
    RunModal(dlg, [&] {
        ::SetDlgItemTextA(dlg.m_hWnd, IDC_EDIT_COUNT, "2");
        for (const char* want : {"重设", "设置", "重设"}) {
            // Clicks apart by more than the double-click time, each a press;
            // posted, so each has its own time.
            const HWND hButton = ::GetDlgItem(dlg.m_hWnd, IDC_BTN_SET_AFTER);
            ::PostMessageA(hButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
            ::PostMessageA(hButton, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
            PumpFor(::GetDoubleClickTime() + 100);
            EXPECT_EQ(want, Text(dlg, IDC_BTN_SET_AFTER));
            EXPECT_EQ(want, Text(dlg, IDC_BTN_SET_AT));
        }
        // The last press counts its two minutes; the worker may have taken
        // a second off while a busy machine let the wait above run long.
        EXPECT_LE(119, g_nSecondsLeft.load());
        EXPECT_GE(120, g_nSecondsLeft.load());
        EXPECT_EQ(0u, api.Count("MessageBoxGbk"));
    });
}

TEST_F(Schedule, ADoubleClickOnSetOrResetIsOnePress)
{
    KOVNA_REQUIRE_XDOTOOL();
    RunModal(dlg, [&] {
        ::SetDlgItemTextA(dlg.m_hWnd, IDC_EDIT_COUNT, "5");
        RestPointerOn(::GetDlgItem(dlg.m_hWnd, IDC_BTN_SET_AFTER));
        // The second click lands on the button the first one made anew.
        const auto clickAndSettle = [&](const char* pszArgs) {
            XdoTool(pszArgs);
            PumpFor(::GetDoubleClickTime() + 300);
        };
        clickAndSettle("click --repeat 2 --delay 80 1");
        ExpectRunning(dlg);
        clickAndSettle("click --repeat 2 --delay 80 1");
        ExpectStopped(dlg);
        // Clicks further apart are presses each.
        clickAndSettle("click 1");
        ExpectRunning(dlg);
        clickAndSettle("click 1");
        ExpectStopped(dlg);
    });
    EXPECT_EQ(0u, api.Count("MessageBoxGbk"));
}

TEST_F(Schedule, EveryEndStopsTheScheduleBeforeTheDialogOrTheIconGoes)
{
    const struct {
        const char* pszEnd;
        UINT nCommand;
        bool bHidden;
    } ends[] = {{"Exit", IDC_BTN_EXIT, false}, {"Esc", IDCANCEL, false}, {"Enter", IDOK, false},
                {"the icon menu's Exit", ID_ICONMENU_EXIT, true}};
    for (const auto& end : ends) {
        SCOPED_TRACE(end.pszEnd);
        CKovnaDlg dlgEnding;
        RunModal(dlgEnding, [&] {
            ClickRadio(dlgEnding, IDC_RADIO_SHUTDOWN);
            SetTarget(dlgEnding, CTime::GetCurrentTime() + CTimeSpan(3600));
            Click(dlgEnding.m_hWnd, IDC_BTN_SET_AT);
            // The worker asks the system to stay awake before its first line.
            ASSERT_TRUE(PumpUntil([&] { return !Text(dlgEnding, IDC_STATIC_COUNTDOWN).empty(); }, 2000));
            if (end.bHidden)
                Click(dlgEnding.m_hWnd, IDC_BTN_HIDE);
            api.Clear();
            Click(dlgEnding.m_hWnd, end.nCommand);
            // The dialog has not ended yet, and nothing runs any more.
            EXPECT_TRUE(::IsWindow(dlgEnding.m_hWnd));
            EXPECT_EQ(0, g_bRunning.load());
            const auto calls = api.Calls();
            ASSERT_FALSE(calls.empty());
            EXPECT_EQ("PlaySoundW", calls[0].name);
            EXPECT_EQ(end.bHidden ? 1u : 0u, api.Count("Shell_NotifyIconW"));
        });
    }

    // The session ends: asked first, then told; only a true end stops.
    RunModal(dlg, [&] {
        ClickRadio(dlg, IDC_RADIO_SHUTDOWN);
        SetTarget(dlg, SoonTarget());
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        EXPECT_EQ(TRUE, dlg.SendMessage(WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
        dlg.SendMessage(WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
        EXPECT_EQ(1, g_bRunning.load());
        dlg.SendMessage(WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        EXPECT_EQ(0, g_bRunning.load());
        PumpFor(3500);
    });
    EXPECT_EQ(0u, api.Count("ExitWindowsEx"));
}

TEST_F(Schedule, AHiddenShutdownComesBackOnTopForItsFinalMinuteAndResetTakesItOff)
{
    // The rank last asked for: Wine gives no window that owns pop-ups (the
    // date pickers' calendars) the top, so the request is what is seen.
    const auto onTop = [&] {
        const auto calls = api.CallsNamed("SetWindowPos");
        return !calls.empty() && calls.back().args[0] == reinterpret_cast<uintptr_t>(dlg.m_hWnd) &&
               calls.back().args[1] == reinterpret_cast<uintptr_t>(HWND_TOPMOST) &&
               calls.back().args[2] == static_cast<uintptr_t>(SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    };
    const auto lastTip = [&] {
        const auto calls = api.CallsNamed("Shell_NotifyIconW");
        return calls.empty() ? std::string() : calls.back().text;
    };
    RunModal(dlg, [&] {
        // An alarm counts on hidden: its ring is its warning. The tip tells the count.
        SetTarget(dlg, CTime::GetCurrentTime() + CTimeSpan(30));
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        Click(dlg.m_hWnd, IDC_BTN_HIDE);
        ASSERT_TRUE(PumpUntil([&] { return lastTip() == "Kovna " + Text(dlg, IDC_STATIC_COUNTDOWN); }, 3000));
        EXPECT_NE(std::string::npos, lastTip().find("秒后闹铃"));
        EXPECT_FALSE(dlg.IsWindowVisible());
        EXPECT_FALSE(onTop());
        dlg.SendMessage(WM_COMMAND, ID_ICONMENU_OPEN);
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);

        // A shutdown hidden a little over a minute before its deadline.
        ClickRadio(dlg, IDC_RADIO_SHUTDOWN);
        SetTarget(dlg, CTime::GetCurrentTime() + CTimeSpan(62));
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        Click(dlg.m_hWnd, IDC_BTN_HIDE);
        ASSERT_TRUE(PumpUntil([&] { return dlg.IsWindowVisible() != FALSE; }, 4000));
        // A busy machine may let a second pass before the window is seen.
        const std::string strShown = Text(dlg, IDC_STATIC_COUNTDOWN);
        EXPECT_TRUE(strShown == "60秒后关机" || strShown == "59秒后关机") << strShown;
        EXPECT_TRUE(onTop());
        EXPECT_FALSE(dlg.m_notifyIcon.m_bActive);
        EXPECT_EQ(NIM_DELETE, api.ShellMessages().back());
        RECT rcBefore{};
        dlg.GetWindowRect(&rcBefore);
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        ExpectStopped(dlg);
        EXPECT_FALSE(onTop());
        // On top once for the whole minute, off once.
        EXPECT_EQ(2u, api.Count("SetWindowPos"));
        EXPECT_TRUE(dlg.IsWindowVisible());
        RECT rcAfter{};
        dlg.GetWindowRect(&rcAfter);
        EXPECT_TRUE(::EqualRect(&rcBefore, &rcAfter));

        // Shorter than a minute: on top from its first second to its end.
        ClickRadio(dlg, IDC_RADIO_REBOOT);
        SetTarget(dlg, CTime::GetCurrentTime() + CTimeSpan(2));
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        ASSERT_TRUE(PumpUntil(onTop, 2000));
        ASSERT_TRUE(PumpUntil([&] { return api.Count("ExitWindowsEx") > 0; }, 4000));
        EXPECT_TRUE(PumpUntil([&] { return !onTop(); }, 2000));
    });
}

TEST_F(Schedule, AShutdownTheSystemRefusesReturnsToStoppedAndSaysWhy)
{
    RunModal(dlg, [&] {
        ClickRadio(dlg, IDC_RADIO_SHUTDOWN);
        api.dwAdjustError = ERROR_NOT_ALL_ASSIGNED;
        SetTarget(dlg, SoonTarget());
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        ASSERT_TRUE(PumpUntil([&] { return api.Count("MessageBoxGbk") > 0; }, 5000));
        ExpectStopped(dlg);
        const CString strWhy = AfxFormatSystemError(ERROR_NOT_ALL_ASSIGNED);
        EXPECT_FALSE(strWhy.IsEmpty());
        EXPECT_NE('\n', strWhy.GetAt(strWhy.GetLength() - 1));
        ExpectUnaskedWarning(dlg, api, (CString("关机失败: ") + strWhy).GetString());

        ClickRadio(dlg, IDC_RADIO_REBOOT);
        api.dwAdjustError = ERROR_SUCCESS;
        api.dwExitWindowsError = ERROR_PRIVILEGE_NOT_HELD;
        SetTarget(dlg, SoonTarget());
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        ASSERT_TRUE(PumpUntil([&] { return api.Count("MessageBoxGbk") > 0; }, 5000));
        ExpectStopped(dlg);
        ExpectUnaskedWarning(dlg, api,
                             (CString("重启失败: ") + AfxFormatSystemError(ERROR_PRIVILEGE_NOT_HELD)).GetString());
    });
}

TEST_F(Schedule, AShutdownCancelledAfterOurRequestReturnsToStoppedAndSaysSo)
{
    RunModal(dlg, [&] {
        for (const int nRadio : {IDC_RADIO_SHUTDOWN, IDC_RADIO_REBOOT}) {
            ClickRadio(dlg, nRadio);
            SetTarget(dlg, SoonTarget());
            Click(dlg.m_hWnd, IDC_BTN_SET_AT);
            ASSERT_TRUE(PumpUntil([&] { return api.Count("ExitWindowsEx") > 0; }, 5000));
            // What Windows sends once the user cancels on its list of
            // programs that hold the shutdown.
            EXPECT_EQ(TRUE, dlg.SendMessage(WM_QUERYENDSESSION, 0, 0));
            dlg.SendMessage(WM_ENDSESSION, FALSE, 0);
            ASSERT_TRUE(PumpUntil([&] { return api.Count("MessageBoxGbk") > 0; }, 2000));
            ExpectStopped(dlg);
            ExpectPickersNow(dlg);
            ExpectUnaskedWarning(dlg, api,
                                 nRadio == IDC_RADIO_SHUTDOWN ? "关机被取消了, 电脑没有关机." : "重启被取消了, 电脑没有重启.");
        }
    });
}

TEST_F(Schedule, AShutdownThisUserMayNotAskForIsRefusedAtSet)
{
    api.bTokenHoldsShutdown = FALSE;
    RunInShutdownModeNeverActing(dlg, api, [&] {
        const CString strWhy = AfxFormatSystemError(ERROR_NOT_ALL_ASSIGNED);
        ::SetDlgItemTextA(dlg.m_hWnd, IDC_EDIT_COUNT, "1");
        Click(dlg.m_hWnd, IDC_BTN_SET_AFTER);
        ExpectOneWarning(api, (CString("关机失败: ") + strWhy).GetString());
        ExpectStopped(dlg);
        ClickRadio(dlg, IDC_RADIO_REBOOT);
        SetTarget(dlg, SoonTarget());
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        ExpectOneWarning(api, (CString("重启失败: ") + strWhy).GetString());
        ExpectStopped(dlg);
        // An alarm needs no privilege.
        ClickRadio(dlg, IDC_RADIO_ALARM);
        Click(dlg.m_hWnd, IDC_BTN_SET_AFTER);
        ExpectRunning(dlg);
        EXPECT_EQ(0u, api.Count("GetTokenInformation"));
        Click(dlg.m_hWnd, IDC_BTN_SET_AFTER);
    });
}

TEST_F(Schedule, ASetButtonThatCannotBeMadeStopsTheScheduleAndSaysSo)
{
    RunInShutdownModeNeverActing(dlg, api, [&] {
        api.refuseWindow = [](int nCtrlID) { return nCtrlID == IDC_BTN_SET_AT; };
        ::SetDlgItemTextA(dlg.m_hWnd, IDC_EDIT_COUNT, "1");
        Click(dlg.m_hWnd, IDC_BTN_SET_AFTER);
        ExpectOneWarning(api, "按钮无法创建, 已停止计时.");
        EXPECT_EQ(0, dlg.m_bRunning);
        EXPECT_EQ(0, g_bRunning.load());
        EXPECT_EQ("设置", Text(dlg, IDC_BTN_SET_AFTER));
        for (const int nID : {IDC_EDIT_COUNT, IDC_COMBO_UNIT, IDC_DATE, IDC_TIME})
            EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, nID))) << nID;
        api.refuseWindow = nullptr;
    });
    // At start-up nothing counts yet: the window says so and goes on.
    CKovnaDlg dlgStart;
    api.refuseWindow = [](int nCtrlID) { return nCtrlID == IDC_BTN_HIDE; };
    RunModal(dlgStart, [&] { ExpectOneWarning(api, "按钮无法创建, 请重新启动 Kovna."); });
}

TEST_F(Schedule, AnAlarmDueOutOfSightComesIntoViewAndFlashes)
{
    RunModal(dlg, [&] {
        SetTarget(dlg, SoonTarget());
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
        Click(dlg.m_hWnd, IDC_BTN_HIDE);
        ASSERT_FALSE(dlg.IsWindowVisible());
        ASSERT_TRUE(PumpUntil([&] { return api.Count("FlashWindowEx") > 0; }, 5000));
        EXPECT_TRUE(dlg.IsWindowVisible());
        EXPECT_FALSE(dlg.m_notifyIcon.m_bActive);
        EXPECT_EQ(static_cast<uintptr_t>(FLASHW_ALL | FLASHW_TIMERNOFG), api.CallsNamed("FlashWindowEx")[0].args[1]);
        ExpectRunning(dlg);
        Click(dlg.m_hWnd, IDC_BTN_SET_AT);
    });
}
