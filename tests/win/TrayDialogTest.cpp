// The main dialog hiding to the notification area and coming back, against
// a recording shell.
#include <gtest/gtest.h>

#include "DialogHarness.h"
#include "Recorder.h"
#include "app/KovnaDlg.h"

namespace {

std::vector<RecordedCall> ShellCalls(const CRecordingApi& api) { return api.CallsNamed("Shell_NotifyIconA"); }

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

TEST(TrayDialog, CloseMinimiseAndHideAllHideToTheIcon)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    CKovnaDlg dlg;
    const INT_PTR nResult = RunModal(dlg, [&] {
        RECT rcBefore;
        dlg.GetWindowRect(&rcBefore);

        struct Way {
            const char* name;
            UINT nMsg;
            WPARAM wParam;
        };
        const Way ways[] = {
            {"WM_CLOSE", WM_CLOSE, 0},
            {"SC_CLOSE", WM_SYSCOMMAND, SC_CLOSE},
            {"SC_MINIMIZE", WM_SYSCOMMAND, SC_MINIMIZE},
            {"Hide", WM_COMMAND, MAKEWPARAM(IDC_BTN_HIDE, BN_CLICKED)},
        };
        for (const Way& way : ways) {
            SCOPED_TRACE(way.name);
            api.Clear();
            const LRESULT lResult = ::SendMessageA(dlg.m_hWnd, way.nMsg, way.wParam, 0);
            if (way.wParam == SC_MINIMIZE) {
                EXPECT_EQ(1, lResult);
            }
            PumpFor(50);
            EXPECT_FALSE(dlg.IsWindowVisible());
            EXPECT_FALSE(dlg.IsIconic());
            const std::vector<RecordedCall> calls = ShellCalls(api);
            ASSERT_EQ(1u, calls.size());
            EXPECT_EQ(static_cast<uintptr_t>(NIM_ADD), calls[0].args[0]);
            EXPECT_EQ(dlg.m_hWnd, calls[0].nid.hWnd);
            EXPECT_EQ(static_cast<UINT>(WM_ICON_NOTIFY), calls[0].nid.uCallbackMessage);
            EXPECT_EQ(0x040Au, calls[0].nid.uCallbackMessage);
            EXPECT_EQ("Kovna", calls[0].text);
            EXPECT_EQ(dlg.m_hAppIcon, calls[0].nid.hIcon);
            EXPECT_EQ(129u, calls[0].nid.uID);

            // Hidden already: nothing more is added.
            ::SendMessageA(dlg.m_hWnd, way.nMsg, way.wParam, 0);
            EXPECT_EQ(1u, ShellCalls(api).size());

            // Open deletes the icon first, then shows the window where it was.
            ::SendMessageA(dlg.m_hWnd, WM_COMMAND, ID_ICONMENU_OPEN, 0);
            const std::vector<RecordedCall> after = ShellCalls(api);
            ASSERT_EQ(2u, after.size());
            EXPECT_EQ(static_cast<uintptr_t>(NIM_DELETE), after[1].args[0]);
            EXPECT_TRUE(dlg.IsWindowVisible());
            RECT rcAfter;
            dlg.GetWindowRect(&rcAfter);
            EXPECT_TRUE(SameRect(rcBefore, rcAfter));
        }
        // Only the exact minimise command is taken.
        api.Clear();
        EXPECT_EQ(0, ::SendMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_KEYMENU, 0));
        EXPECT_TRUE(dlg.IsWindowVisible());
        EXPECT_EQ(0u, ShellCalls(api).size());
    });
    // Closing never ended the dialog.
    EXPECT_EQ(kHarnessEnded, nResult);
}

TEST(TrayDialog, DoubleClickRestoresAndExitEndsWithoutAnIcon)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    CKovnaDlg dlg;
    const INT_PTR nResult = RunModal(dlg, [&] {
        ::SendMessageA(dlg.m_hWnd, WM_CLOSE, 0, 0);
        ASSERT_FALSE(dlg.IsWindowVisible());
        // Another icon's notification is not ours.
        EXPECT_EQ(0, ::SendMessageA(dlg.m_hWnd, WM_ICON_NOTIFY, 130, WM_LBUTTONDBLCLK));
        EXPECT_EQ(1, ::SendMessageA(dlg.m_hWnd, WM_ICON_NOTIFY, 129, WM_MOUSEMOVE));
        EXPECT_FALSE(dlg.IsWindowVisible());
        // The double-click opens the window before the notification returns.
        EXPECT_EQ(1, ::SendMessageA(dlg.m_hWnd, WM_ICON_NOTIFY, 129, WM_LBUTTONDBLCLK));
        EXPECT_TRUE(dlg.IsWindowVisible());
        ASSERT_EQ(2u, ShellCalls(api).size());
        EXPECT_EQ(static_cast<uintptr_t>(NIM_DELETE), ShellCalls(api)[1].args[0]);

        ::SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_BTN_HIDE, BN_CLICKED), 0);
        ASSERT_FALSE(dlg.IsWindowVisible());
        ::PostMessageA(dlg.m_hWnd, WM_COMMAND, ID_ICONMENU_EXIT, 0);
    });
    EXPECT_EQ(IDCANCEL, nResult);
    const std::vector<RecordedCall> calls = ShellCalls(api);
    ASSERT_EQ(4u, calls.size());
    EXPECT_EQ(static_cast<uintptr_t>(NIM_DELETE), calls[3].args[0]);
    EXPECT_FALSE(dlg.m_notifyIcon.m_bActive);
}

TEST(TrayDialog, ARefusedIconKeepsTheWindowVisible)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        api.bShellResult = FALSE;
        ::SendMessageA(dlg.m_hWnd, WM_CLOSE, 0, 0);
        EXPECT_TRUE(dlg.IsWindowVisible());
        EXPECT_EQ(1, ::SendMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0));
        EXPECT_TRUE(dlg.IsWindowVisible());
        EXPECT_FALSE(dlg.IsIconic());
        EXPECT_EQ(2u, ShellCalls(api).size());

        // A shell older than version 4 gives no icon either.
        api.bShellResult = TRUE;
        api.dwVersion = 3;
        ::SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_BTN_HIDE, BN_CLICKED), 0);
        EXPECT_TRUE(dlg.IsWindowVisible());
        EXPECT_EQ(2u, ShellCalls(api).size());
    });
}

TEST(TrayDialog, ARestartedShellGetsTheIconAgain)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        ASSERT_NE(0u, WM_TASKBARCREATED);
        // Shown: no icon to restore.
        ::SendMessageA(dlg.m_hWnd, WM_TASKBARCREATED, 0, 0);
        EXPECT_EQ(0u, ShellCalls(api).size());

        ::SendMessageA(dlg.m_hWnd, WM_CLOSE, 0, 0);
        api.Clear();
        ::SendMessageA(dlg.m_hWnd, WM_TASKBARCREATED, 0, 0);
        std::vector<RecordedCall> calls = ShellCalls(api);
        ASSERT_EQ(1u, calls.size());
        EXPECT_EQ(static_cast<uintptr_t>(NIM_ADD), calls[0].args[0]);
        EXPECT_EQ(129u, calls[0].nid.uID);
        EXPECT_EQ("Kovna", calls[0].text);
        EXPECT_FALSE(dlg.IsWindowVisible());

        // A new shell that refuses the icon: the window comes back instead.
        api.bShellResult = FALSE;
        ::SendMessageA(dlg.m_hWnd, WM_TASKBARCREATED, 0, 0);
        EXPECT_TRUE(dlg.IsWindowVisible());
        EXPECT_FALSE(dlg.m_notifyIcon.m_bActive);
        // And it can be hidden again once the shell takes icons.
        api.bShellResult = TRUE;
        ::SendMessageA(dlg.m_hWnd, WM_CLOSE, 0, 0);
        EXPECT_FALSE(dlg.IsWindowVisible());
    });
}

TEST(TrayDialog, DestroyingTheDialogLeavesNoIcon)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    {
        CKovnaDlg dlg;
        RunModal(dlg, [&] { ::SendMessageA(dlg.m_hWnd, WM_CLOSE, 0, 0); });
        EXPECT_EQ(1u, ShellCalls(api).size());
    }
    const std::vector<RecordedCall> calls = ShellCalls(api);
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(static_cast<uintptr_t>(NIM_DELETE), calls[1].args[0]);
    EXPECT_EQ(129u, calls[1].nid.uID);
}
