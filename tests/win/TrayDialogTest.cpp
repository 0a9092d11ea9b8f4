// The main dialog hiding to the notification area and coming back, against
// a recording shell.
#include <gtest/gtest.h>

#include <functional>

#include "kit/Controls.h"
#include "kit/DialogHarness.h"
#include "kit/Pixels.h"
#include "kit/Recorder.h"
#include "app/KovnaDlg.h"

namespace {

using Msgs = std::vector<uintptr_t>;

void Hide(CKovnaDlg& dlg) { ::SendMessageA(dlg.m_hWnd, WM_CLOSE, 0, 0); }

} // namespace

TEST(TrayDialog, AnyCodePage_CloseMinimiseAndHideAllHideToTheIcon)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    CKovnaDlg dlg;
    const INT_PTR nResult = RunModal(dlg, [&] {
        RECT rcBefore;
        dlg.GetWindowRect(&rcBefore);
        const std::pair<UINT, WPARAM> ways[] = {
            {WM_CLOSE, 0},
            {WM_SYSCOMMAND, SC_CLOSE},
            {WM_SYSCOMMAND, SC_MINIMIZE},
            {WM_COMMAND, MAKEWPARAM(IDC_BTN_HIDE, BN_CLICKED)},
        };
        for (const auto& way : ways) {
            SCOPED_TRACE(way.second);
            api.Clear();
            const LRESULT lResult = ::SendMessageA(dlg.m_hWnd, way.first, way.second, 0);
            EXPECT_EQ(way.second == SC_MINIMIZE ? 1 : 0, lResult);
            EXPECT_FALSE(dlg.IsWindowVisible());
            EXPECT_FALSE(dlg.IsIconic());
            ASSERT_EQ(Msgs{NIM_ADD}, api.ShellMessages());
            const RecordedCall added = api.CallsNamed("Shell_NotifyIconW")[0];
            const NOTIFYICONDATAW& nid = added.nid;
            EXPECT_EQ(dlg.m_hWnd, nid.hWnd);
            EXPECT_EQ(0x040Au, nid.uCallbackMessage);
            EXPECT_EQ("Kovna", added.text);
            EXPECT_EQ(static_cast<HICON>(dlg.m_smallIcon), nid.hIcon);
            EXPECT_EQ(129u, nid.uID);
            // The first hide of the run says where Kovna went, in a balloon
            // at the icon; later hides say nothing.
            const auto balloons = api.Balloons();
            ASSERT_EQ(&way == ways ? 1u : 0u, balloons.size());
            if (!balloons.empty()) {
                EXPECT_EQ(NIM_MODIFY, api.CallsNamed("Shell_NotifyIconW")[1].args[0]);
                EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE), balloons[0].cbSize);
                EXPECT_EQ(static_cast<UINT>(NIF_INFO), balloons[0].uFlags);
                EXPECT_EQ(dlg.m_hWnd, balloons[0].hWnd);
                EXPECT_EQ(129u, balloons[0].uID);
                EXPECT_EQ("Kovna", GbkText(balloons[0].szInfoTitle));
                EXPECT_EQ("Kovna 仍在运行, 双击此图标即可打开.", GbkText(balloons[0].szInfo));
            }

            // Hidden already: no second icon for the same window.
            ::SendMessageA(dlg.m_hWnd, way.first, way.second, 0);
            // Open deletes the icon, then shows the window where it was.
            ::SendMessageA(dlg.m_hWnd, WM_COMMAND, ID_ICONMENU_OPEN, 0);
            EXPECT_EQ((Msgs{NIM_ADD, NIM_DELETE}), api.ShellMessages());
            EXPECT_TRUE(dlg.IsWindowVisible());
            RECT rcAfter;
            dlg.GetWindowRect(&rcAfter);
            EXPECT_TRUE(::EqualRect(&rcBefore, &rcAfter));
        }
    });
    EXPECT_EQ(kHarnessEnded, nResult);  // closing never ended the dialog
}

// The minimise box's command with the system's low bits, and a window made
// iconic from outside (a taskbar click, Win+Down).
TEST(TrayDialog, AnyCodePage_EveryRouteToMinimisedHidesAndOpenRestores)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        RECT rcBefore;
        dlg.GetWindowRect(&rcBefore);
        const std::function<void()> routes[] = {
            [&] { EXPECT_EQ(1, ::SendMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE | 0x0002, 0)); },
            [&] { ::ShowWindow(dlg.m_hWnd, SW_MINIMIZE); },
        };
        for (const auto& minimise : routes) {
            api.Clear();
            minimise();
            EXPECT_FALSE(dlg.IsWindowVisible());
            EXPECT_EQ(Msgs{NIM_ADD}, api.ShellMessages());
            ::SendMessageA(dlg.m_hWnd, WM_COMMAND, ID_ICONMENU_OPEN, 0);
            EXPECT_TRUE(dlg.IsWindowVisible());
            EXPECT_FALSE(dlg.IsIconic());
            RECT rcAfter;
            dlg.GetWindowRect(&rcAfter);
            EXPECT_TRUE(::EqualRect(&rcBefore, &rcAfter));
        }
    });
}

// The 32 x 32 image squeezed to 16 would be the shell's doing, not ours.
TEST(TrayDialog, AnyCodePage_TheNotificationAreaAndTheCaptionShowTheSmallIcon)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        const auto hSmall = reinterpret_cast<HICON>(::SendMessageA(dlg.m_hWnd, WM_GETICON, ICON_SMALL, 0));
        EXPECT_EQ(static_cast<HICON>(dlg.m_smallIcon), hSmall);
        const SIZE size = IconSize(hSmall);
        EXPECT_EQ(::GetSystemMetrics(SM_CXSMICON), size.cx);
        EXPECT_EQ(::GetSystemMetrics(SM_CYSMICON), size.cy);
        EXPECT_EQ(dlg.m_hAppIcon, reinterpret_cast<HICON>(::SendMessageA(dlg.m_hWnd, WM_GETICON, ICON_BIG, 0)));
        Hide(dlg);
        EXPECT_EQ(hSmall, api.CallsNamed("Shell_NotifyIconW")[0].nid.hIcon);
    });
}

TEST(TrayDialog, AnyCodePage_DoubleClickRestoresAndExitEndsWithoutAnIcon)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    CKovnaDlg dlg;
    const INT_PTR nResult = RunModal(dlg, [&] {
        Hide(dlg);
        EXPECT_EQ(0, ::SendMessageA(dlg.m_hWnd, WM_ICON_NOTIFY, 130, WM_LBUTTONDBLCLK));
        EXPECT_FALSE(dlg.IsWindowVisible());
        // The window is open again before the notification returns.
        EXPECT_EQ(1, ::SendMessageA(dlg.m_hWnd, WM_ICON_NOTIFY, 129, WM_LBUTTONDBLCLK));
        EXPECT_TRUE(dlg.IsWindowVisible());
        EXPECT_EQ((Msgs{NIM_ADD, NIM_DELETE}), api.ShellMessages());

        Hide(dlg);
        ::PostMessageA(dlg.m_hWnd, WM_COMMAND, ID_ICONMENU_EXIT, 0);
    });
    EXPECT_EQ(IDCANCEL, nResult);
    EXPECT_EQ((Msgs{NIM_ADD, NIM_DELETE, NIM_ADD, NIM_DELETE}), api.ShellMessages());
}

TEST(TrayDialog, AnyCodePage_ARefusedIconKeepsTheWindowVisible)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        api.bShellResult = FALSE;
        Hide(dlg);
        EXPECT_TRUE(dlg.IsWindowVisible());
        api.bShellResult = TRUE;
        api.dwVersion = 3;
        EXPECT_EQ(1, ::SendMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0));
        EXPECT_TRUE(dlg.IsWindowVisible());
        EXPECT_FALSE(dlg.IsIconic());
    });
}

TEST(TrayDialog, AnyCodePage_ARestartedShellGetsTheIconAgain)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    CKovnaDlg dlg;
    RunModal(dlg, [&] {
        ASSERT_NE(0u, WM_TASKBARCREATED);
        ::SendMessageA(dlg.m_hWnd, WM_TASKBARCREATED, 0, 0);  // shown: no icon wanted
        Hide(dlg);
        // Let through from a shell of lower integrity than an elevated Kovna.
        const auto filters = api.CallsNamed("ChangeWindowMessageFilter");
        ASSERT_EQ(1u, filters.size());
        EXPECT_EQ((Msgs{WM_TASKBARCREATED, MSGFLT_ADD}), filters[0].args);
        ::SendMessageA(dlg.m_hWnd, WM_TASKBARCREATED, 0, 0);
        EXPECT_EQ((Msgs{NIM_ADD, NIM_ADD}), api.ShellMessages());
        EXPECT_EQ(129u, api.Calls().back().nid.uID);
        EXPECT_FALSE(dlg.IsWindowVisible());

        // A new shell that refuses the icon: the window comes back instead.
        api.bShellResult = FALSE;
        ::SendMessageA(dlg.m_hWnd, WM_TASKBARCREATED, 0, 0);
        EXPECT_TRUE(dlg.IsWindowVisible());
        api.bShellResult = TRUE;
        Hide(dlg);
        EXPECT_FALSE(dlg.IsWindowVisible());
    });
}

TEST(TrayDialog, AnyCodePage_DestroyingTheDialogLeavesNoIcon)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    {
        CKovnaDlg dlg;
        RunModal(dlg, [&] { Hide(dlg); });
    }
    EXPECT_EQ((Msgs{NIM_ADD, NIM_DELETE}), api.ShellMessages());
    EXPECT_EQ(129u, api.Calls().back().nid.uID);
}
