// The live clock in the real dialog, and its passes under the Windows
// run-time library, whose date range differs from the native one.
#include <gtest/gtest.h>

#include <string>

#include "kit/Controls.h"
#include "kit/DialogHarness.h"
#include "app/KovnaDlg.h"
#include "schedule/ClockPass.h"

namespace {

std::string MinuteText(CTime time) { return MinuteClockPass(time).strText.GetString(); }

} // namespace

TEST(Clock, FieldsRunShownAndHiddenAndStopWithTheDialog)
{
    CKovnaDlg dlg;
    DWORD dwBodyEnd = 0;
    RunModal(dlg, [&] {
        const HWND hDlg = dlg.m_hWnd;
        ASSERT_TRUE(PumpUntil([&] { return !ControlText(hDlg, IDC_STATIC_CLOCK).empty(); }, 2000));
        ASSERT_TRUE(PumpUntil([&] { return !ControlText(hDlg, IDC_STATIC_SECONDS).empty(); }, 2000));

        // The minute field shows now (or, across a boundary, the minute before).
        const CTime now = CTime::GetCurrentTime();
        const std::string clock = ControlText(hDlg, IDC_STATIC_CLOCK);
        EXPECT_TRUE(clock == MinuteText(now) || clock == MinuteText(now - CTimeSpan(2))) << clock;
        const std::string seconds = ControlText(hDlg, IDC_STATIC_SECONDS);
        EXPECT_EQ(2u, seconds.size());

        EXPECT_TRUE(PumpUntil([&] { return ControlText(hDlg, IDC_STATIC_SECONDS) != seconds; }, 2500));

        dlg.ShowWindow(SW_HIDE);
        const std::string hidden = ControlText(hDlg, IDC_STATIC_SECONDS);
        EXPECT_TRUE(PumpUntil([&] { return ControlText(hDlg, IDC_STATIC_SECONDS) != hidden; }, 2500));
        dlg.ShowWindow(SW_SHOW);
        dwBodyEnd = ::GetTickCount();
    });
    // The minute clock was asleep for up to a minute: ending wakes it at
    // once. (Wine itself takes about 2 s to take a dialog down here.)
    EXPECT_LT(::GetTickCount() - dwBodyEnd, 5000u);
    EXPECT_EQ(0, AfxLiveWorkerCount());
}

TEST(Clock, PassesPast2038AndBeyondTheRuntimeStaySane)
{
    const ClockPass later = MinuteClockPass(CTime(2040, 2, 29, 23, 59, 30));
    EXPECT_EQ("2040年02月29日  23时59分", std::string(later.strText));
    EXPECT_EQ(30000u, later.nSleepMs);
    EXPECT_EQ("07", std::string(SecondsTickerPass(CTime(2040, 1, 1, 0, 0, 7)).strText));

    // Just past the end of 3000 and before 1970 the runtime gives no local
    // time: the fields clear and the minute clock still sleeps a sane while.
    const CTime lastConvertible(3000, 12, 31, 0, 0, 0);
    ASSERT_NE(-1, lastConvertible.GetTime());
    for (const CTime time : {lastConvertible + CTimeSpan(2, 0, 0, 0), CTime(-1)}) {
        const ClockPass minute = MinuteClockPass(time);
        EXPECT_TRUE(minute.strText.IsEmpty()) << time.GetTime() << ": " << minute.strText.GetString();
        EXPECT_GE(minute.nSleepMs, 1000u);
        EXPECT_LE(minute.nSleepMs, 60000u);
        EXPECT_TRUE(SecondsTickerPass(time).strText.IsEmpty());
    }
}
