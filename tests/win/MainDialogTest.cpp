// The real main dialog, run modally in the test process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogHarness.h"
#include "app/KovnaDlg.h"

namespace {

struct Child {
    int id;
    std::string cls;
    std::string text;
    RECT rect;  // in the dialog's client coordinates
};

std::vector<Child> TemplateChildren(HWND hDlg)
{
    std::vector<Child> children;
    for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        char cls[64] = {};
        ::GetClassNameA(h, cls, sizeof cls);
        RECT rc;
        ::GetWindowRect(h, &rc);
        ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
        children.push_back({::GetDlgCtrlID(h), cls, WindowText(h).GetString(), rc});
    }
    return children;
}

// The dialog manager converts origin and size separately, as here.
RECT DialogUnits(HWND hDlg, int x, int y, int cx, int cy)
{
    RECT rc{x, y, cx, cy};
    ::MapDialogRect(hDlg, &rc);
    return RECT{rc.left, rc.top, rc.left + rc.right, rc.top + rc.bottom};
}

} // namespace

TEST(MainDialog, OpensWithTheTemplateControls)
{
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        ASSERT_TRUE(::IsWindow(dlg.m_hWnd));
        EXPECT_EQ("Kovna", std::string(WindowText(dlg.m_hWnd)));
        const std::vector<Child> children = TemplateChildren(dlg.m_hWnd);
        ASSERT_GE(children.size(), 19u);

        struct Want {
            int id;
            const char* cls;
            const char* text;
            int x, y, cx, cy;
        };
        // Template order is also Z order; the combo box's class is "ComboBox".
        const Want want[] = {
            {1006, "Static", nullptr, 69, 24, 97, 8},
            {1003, "Button", "关机", 19, 66, 30, 10},
            {1004, "Button", "重启", 19, 85, 30, 10},
            {1005, "Button", "提醒", 19, 103, 30, 10},
            {-1, "Static", "当前时间为:      ", 19, 24, 46, 8},
            {1007, "Static", nullptr, 167, 24, 8, 8},
            {-1, "Static", "秒.", 177, 24, 10, 8},
            {-1, "Static", "过", 74, 71, 8, 8},
            {-1, "Static", "之后", 196, 72, 17, 8},
            {-1, "Static", "到", 73, 98, 8, 8},
            {-1, "Static", "之时", 195, 98, 18, 8},
            {1015, "ComboBox", "分", 145, 70, 47, 0},
            {1000, "Edit", "", 84, 70, 56, 13},
            {1018, "Static", "", 197, 24, 81, 8},
            {1013, "SysDateTimePick32", nullptr, 84, 93, 56, 15},
            {1014, "SysDateTimePick32", nullptr, 145, 93, 47, 15},
            {-1, "Button", "系统状态", 7, 7, 277, 37},
            {-1, "Button", "用户设置", 7, 50, 277, 72},
            {-1, "Button", "功能按钮", 7, 127, 277, 36},
        };
        for (size_t i = 0; i < 19; ++i) {
            SCOPED_TRACE("control #" + std::to_string(i + 1));
            const Child& c = children[i];
            EXPECT_EQ(want[i].id, c.id);
            EXPECT_STRCASEEQ(want[i].cls, c.cls.c_str());
            if (want[i].text) {
                EXPECT_EQ(want[i].text, c.text);
            }
            const RECT rc = DialogUnits(dlg.m_hWnd, want[i].x, want[i].y, want[i].cx, want[i].cy);
            EXPECT_EQ(rc.left, c.rect.left);
            EXPECT_EQ(rc.top, c.rect.top);
            EXPECT_EQ(rc.right, c.rect.right);
            // A drop-down list's height is its edit part's, not the template's.
            if (want[i].cy) {
                EXPECT_EQ(rc.bottom, c.rect.bottom);
            }
        }
    });
}

TEST(MainDialog, StartsInAlarmModeWithMinutesSelected)
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

TEST(MainDialog, SystemMenuIconsAndPlacement)
{
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        const HMENU hSysMenu = ::GetSystemMenu(dlg.m_hWnd, FALSE);
        ASSERT_NE(nullptr, hSysMenu);
        const int n = ::GetMenuItemCount(hSysMenu);
        ASSERT_GE(n, 2);
        EXPECT_EQ(static_cast<UINT>(IDM_INFO_ENTRY), ::GetMenuItemID(hSysMenu, n - 1));
        char text[64] = {};
        ::GetMenuStringA(hSysMenu, n - 1, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ("关于 Kovna(&A)...", text);
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        ::GetMenuItemInfoA(hSysMenu, n - 2, TRUE, &info);
        EXPECT_TRUE(info.fType & MFT_SEPARATOR);

        ASSERT_NE(nullptr, dlg.m_hAppIcon);
        EXPECT_EQ(reinterpret_cast<LRESULT>(dlg.m_hAppIcon), ::SendMessageA(dlg.m_hWnd, WM_GETICON, ICON_BIG, 0));
        EXPECT_EQ(reinterpret_cast<LRESULT>(dlg.m_hAppIcon), ::SendMessageA(dlg.m_hWnd, WM_GETICON, ICON_SMALL, 0));

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

TEST(MainDialog, EscEndsTheModalLoop)
{
    CKovnaDlg dlg;
    const INT_PTR nResult = RunModal(dlg, [&] {
        ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    });
    EXPECT_EQ(IDCANCEL, nResult);
}

TEST(MainDialog, EnterEndsTheModalLoop)
{
    CKovnaDlg dlg;
    const INT_PTR nResult = RunModal(dlg, [&] {
        ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    });
    EXPECT_EQ(IDOK, nResult);
}

TEST(MainDialog, ExitCommandEndsTheModalLoop)
{
    CKovnaDlg dlg;
    const INT_PTR nResult = RunModal(dlg, [&] {
        ::SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_BTN_EXIT, BN_CLICKED), 0);
    });
    EXPECT_EQ(IDCANCEL, nResult);
}
