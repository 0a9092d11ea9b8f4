// The main dialog under the keyboard: where the focus starts, what Tab
// visits and the one group of the mode radios, with real X keys.
#include <gtest/gtest.h>

#include <vector>

#include "kit/DialogHarness.h"
#include "kit/XInput.h"
#include "app/KovnaDlg.h"

namespace {

int FocusID() { return ::GetDlgCtrlID(::GetFocus()); }

} // namespace

TEST(Keyboard, FocusStartsInTheUnitListAndTabVisitsFourControls)
{
    KOVNA_REQUIRE_XDOTOOL();
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        const HWND hDlg = dlg.m_hWnd;
        EXPECT_EQ(IDC_COMBO_UNIT, FocusID());
        for (const int id : {IDC_RADIO_SHUTDOWN, IDC_RADIO_REBOOT, IDC_RADIO_ALARM}) {
            EXPECT_EQ(0, ::GetWindowLongA(::GetDlgItem(hDlg, id), GWL_STYLE) & WS_TABSTOP) << id;
        }
        EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(hDlg, IDC_RADIO_ALARM));

        RestPointerOn(hDlg);
        ASSERT_EQ(IDC_COMBO_UNIT, FocusID());
        std::vector<int> visited;
        for (int i = 0; i < 4; ++i) {
            const int nBefore = FocusID();
            XdoTool("key Tab");
            PumpUntil([&] { return FocusID() != nBefore; }, 3000);
            visited.push_back(FocusID());
        }
        EXPECT_EQ((std::vector<int>{IDC_EDIT_COUNT, IDC_DATE, IDC_TIME, IDC_COMBO_UNIT}), visited);

        XdoTool("key shift+Tab");
        PumpUntil([&] { return FocusID() != IDC_COMBO_UNIT; }, 3000);
        EXPECT_EQ(IDC_TIME, FocusID());

        // One group: a click on any radio unchecks the other two.
        for (const int id : {IDC_RADIO_SHUTDOWN, IDC_RADIO_REBOOT, IDC_RADIO_ALARM}) {
            ::SendDlgItemMessageA(hDlg, id, BM_CLICK, 0, 0);
            PumpFor(20);
            for (const int other : {IDC_RADIO_SHUTDOWN, IDC_RADIO_REBOOT, IDC_RADIO_ALARM}) {
                EXPECT_EQ(other == id ? BST_CHECKED : BST_UNCHECKED, ::IsDlgButtonChecked(hDlg, other))
                    << "clicked " << id << ", looking at " << other;
            }
        }
    });
}
