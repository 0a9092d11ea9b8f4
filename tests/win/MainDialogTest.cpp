// The real main dialog, run modally in the test process.
#include <gtest/gtest.h>

#include <string>

#include "app/KovnaDlg.h"
#include "kit/Controls.h"
#include "kit/DialogHarness.h"
#include "kit/MainTemplate.h"

namespace {

// What the control shows once the dialog is up: the clock, the seconds and
// the pickers show the time, the unit list its first unit.
const char* LiveText(const TemplateControl& c)
{
    switch (c.id) {
    case IDC_STATIC_CLOCK:
    case IDC_STATIC_SECONDS:
    case IDC_DATE:
    case IDC_TIME:
        return nullptr;
    case IDC_COMBO_UNIT:
        return "分";
    default:
        return c.text;
    }
}

} // namespace

TEST(MainDialog, AnyCodePage_OpensWithTheTemplateControls)
{
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        ASSERT_TRUE(::IsWindow(dlg.m_hWnd));
        EXPECT_EQ("Kovna", std::string(WindowText(dlg.m_hWnd)));
        size_t i = 0;
        for (HWND h = ::GetWindow(dlg.m_hWnd, GW_CHILD); h && i < 19; h = ::GetWindow(h, GW_HWNDNEXT), ++i) {
            SCOPED_TRACE("control #" + std::to_string(i + 1));
            const TemplateControl& want = kMainControls[i];
            EXPECT_EQ(want.id, ::GetDlgCtrlID(h));
            EXPECT_STRCASEEQ(WindowClassOf(want.cls), ClassName(h).c_str());
            if (const char* pszText = LiveText(want)) {
                EXPECT_EQ(pszText, std::string(WindowText(h)));
            }
            const RECT rc = TemplateRect(dlg.m_hWnd, want);
            const RECT now = ChildRect(h);
            // A static text widens where the dialog font needs it, and the
            // statics after it on its row move right; the layout test judges
            // how far. No other control moves at the fonts tested.
            if (ClassName(h) == "Static") {
                EXPECT_LE(rc.left, now.left);
                EXPECT_LE(rc.right, now.right);
            } else {
                EXPECT_EQ(rc.left, now.left);
                EXPECT_EQ(rc.right, now.right);
            }
            EXPECT_EQ(rc.top, now.top);
            // A drop-down list's height is its edit part's, not the template's.
            if (want.id != IDC_COMBO_UNIT) {
                EXPECT_EQ(rc.bottom, now.bottom);
            }
        }
        EXPECT_EQ(19u, i);
    });
}

TEST(MainDialog, AnyCodePage_StartsInAlarmModeWithMinutesSelected)
{
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        EXPECT_EQ(MODE_ALARM, dlg.m_nMode);
        EXPECT_EQ(0, dlg.m_bRunning);
        EXPECT_TRUE(dlg.m_strCount.IsEmpty());
        EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(dlg.m_hWnd, IDC_RADIO_ALARM));
        EXPECT_EQ(BST_UNCHECKED, ::IsDlgButtonChecked(dlg.m_hWnd, IDC_RADIO_SHUTDOWN));
        EXPECT_EQ(BST_UNCHECKED, ::IsDlgButtonChecked(dlg.m_hWnd, IDC_RADIO_REBOOT));

        // The members are bound to their controls.
        EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_STATIC_CLOCK), dlg.m_staticClock.m_hWnd);
        EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_STATIC_SECONDS), dlg.m_staticSeconds.m_hWnd);
        EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_COMBO_UNIT), dlg.m_comboUnit.m_hWnd);
        EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_DATE), dlg.m_dateCtrl.m_hWnd);
        EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_TIME), dlg.m_timeCtrl.m_hWnd);
        EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_STATIC_COUNTDOWN), dlg.m_staticCountdown.m_hWnd);
        EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_EDIT_COUNT), dlg.m_editCount.m_hWnd);

        ASSERT_EQ(4, dlg.m_comboUnit.GetCount());
        const char* units[] = {"分", "时", "日", "月"};
        for (int i = 0; i < 4; ++i) {
            CString text;
            dlg.m_comboUnit.GetLBText(i, text);
            EXPECT_EQ(CString(units[i]), text);
        }
        EXPECT_EQ(0, dlg.m_comboUnit.GetCurSel());
    });
}

TEST(MainDialog, AnyCodePage_SystemMenuIconsAndPlacement)
{
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        const HMENU hSysMenu = ::GetSystemMenu(dlg.m_hWnd, FALSE);
        ASSERT_NE(nullptr, hSysMenu);
        const int n = ::GetMenuItemCount(hSysMenu);
        ASSERT_GE(n, 2);
        EXPECT_EQ(static_cast<UINT>(IDM_INFO_ENTRY), ::GetMenuItemID(hSysMenu, n - 1));
        EXPECT_EQ("关于 Kovna(&A)...", MenuText(hSysMenu, n - 1));
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        ::GetMenuItemInfoA(hSysMenu, n - 2, TRUE, &info);
        EXPECT_TRUE(info.fType & MFT_SEPARATOR);

        ASSERT_NE(nullptr, dlg.m_hAppIcon);
        EXPECT_EQ(reinterpret_cast<LRESULT>(static_cast<HICON>(dlg.m_hAppIcon)), ::SendMessageA(dlg.m_hWnd, WM_GETICON, ICON_BIG, 0));
        EXPECT_EQ(reinterpret_cast<LRESULT>(static_cast<HICON>(dlg.m_smallIcon)),
                  ::SendMessageA(dlg.m_hWnd, WM_GETICON, ICON_SMALL, 0));

        // Centred in the work area.
        RECT rcWork;
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
        RECT rc;
        ::GetWindowRect(dlg.m_hWnd, &rc);
        EXPECT_NEAR((rcWork.left + rcWork.right) / 2, (rc.left + rc.right) / 2, 1);
        EXPECT_NEAR((rcWork.top + rcWork.bottom) / 2, (rc.top + rc.bottom) / 2, 1);
        EXPECT_EQ(0x00040000, ::GetWindowLongA(dlg.m_hWnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    });
}

TEST(MainDialog, AnyCodePage_EscEnterAndTheExitCommandEndTheModalLoop)
{
    const struct {
        const char* name;
        void (*end)(HWND hDlg);
        INT_PTR nWant;
    } cases[] = {
        {"Esc", [](HWND) { PostKeyDown(::GetFocus(), VK_ESCAPE); }, IDCANCEL},
        {"Enter", [](HWND) { PostKeyDown(::GetFocus(), VK_RETURN); }, IDOK},
        {"Exit", [](HWND hDlg) { Click(hDlg, IDC_BTN_EXIT); }, IDCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CKovnaDlg dlg;
        EXPECT_EQ(c.nWant, RunModal(dlg, [&] { c.end(dlg.m_hWnd); }));
    }
}
