// The About box: which system commands open it, whose it is, where it
// stands, its colours and the keys that close it.
#include <gtest/gtest.h>

#include "kit/AboutBox.h"
#include "kit/Controls.h"
#include "kit/DialogHarness.h"
#include "kit/Pixels.h"
#include "app/KovnaDlg.h"

TEST(AboutBox, AnyCodePage_OpensForTheInfoCommandsOnlyOwnedAndCentredInSystemColours)
{
    CKovnaDlg dlg;
    const INT_PTR nResult = RunAsMainWindow(dlg, [&] {
        const HWND hMain = dlg.m_hWnd;
        ShowAndPaint(hMain);
        RECT rcMainBefore;
        ::GetWindowRect(hMain, &rcMainBefore);

        for (const WPARAM nCmd : {WPARAM{IDM_INFO_ENTRY}, WPARAM{IDM_INFO_ENTRY | 0x5}, WPARAM{IDM_INFO_ENTRY | 0xF}}) {
            SCOPED_TRACE(nCmd);
            bool bSeen = false;
            CAboutWatcher watcher(hMain, [&](HWND hBox) {
                bSeen = true;
                EXPECT_EQ(hMain, ::GetWindow(hBox, GW_OWNER));
                EXPECT_FALSE(::IsWindowEnabled(hMain));
                RECT rcBox;
                ::GetWindowRect(hBox, &rcBox);
                EXPECT_NEAR((rcMainBefore.left + rcMainBefore.right) / 2, (rcBox.left + rcBox.right) / 2, 1);
                EXPECT_NEAR((rcMainBefore.top + rcMainBefore.bottom) / 2, (rcBox.top + rcBox.bottom) / 2, 1);
                EXPECT_EQ(IDOK, ::GetDlgCtrlID(::GetFocus()));
                // Not recoloured: the system's dialog face, no white.
                ::RedrawWindow(hBox, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                EXPECT_EQ(::GetSysColor(COLOR_3DFACE), ClientPixel(hBox, 2, 2));
                RECT rcClient;
                ::GetClientRect(hBox, &rcClient);
                EXPECT_EQ(::GetSysColor(COLOR_3DFACE), ClientPixel(hBox, rcClient.right - 3, rcClient.bottom - 3));
                ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
            });
            ::SendMessageA(hMain, WM_SYSCOMMAND, nCmd, 0);
            EXPECT_TRUE(bSeen);
            EXPECT_EQ(1, watcher.m_nBoxes);
            EXPECT_TRUE(::IsWindowEnabled(hMain));
        }

        // Other commands take the default handling: no box, and the main
        // dialog stays where it was.
        for (const WPARAM nCmd : {WPARAM{0}, WPARAM{IDM_INFO_ENTRY << 1}, WPARAM{0xF}}) {
            SCOPED_TRACE(nCmd);
            CAboutWatcher watcher(hMain, [](HWND hBox) { ::PostMessageA(hBox, WM_COMMAND, IDCANCEL, 0); });
            ::SendMessageA(hMain, WM_SYSCOMMAND, nCmd, 0);
            PumpFor(100);
            EXPECT_EQ(0, watcher.m_nBoxes);
        }
        RECT rcMainAfter;
        ::GetWindowRect(hMain, &rcMainAfter);
        EXPECT_TRUE(::EqualRect(&rcMainBefore, &rcMainAfter));
        EXPECT_TRUE(::IsWindowVisible(hMain));
    });
    // Only the harness ended the main dialog.
    EXPECT_EQ(kHarnessEnded, nResult);
}

TEST(AboutBox, AnyCodePage_EnterAndEscCloseItAndNothingElse)
{
    CKovnaDlg dlg;
    const INT_PTR nResult = RunAsMainWindow(dlg, [&] {
        const HWND hMain = dlg.m_hWnd;
        for (const WPARAM vk : {WPARAM{VK_RETURN}, WPARAM{VK_ESCAPE}}) {
            SCOPED_TRACE(vk);
            HWND hClosed = nullptr;
            CAboutWatcher watcher(hMain, [&](HWND hBox) {
                hClosed = hBox;
                PostKeyDown(::GetFocus(), static_cast<UINT>(vk));
            });
            ::SendMessageA(hMain, WM_SYSCOMMAND, IDM_INFO_ENTRY, 0);
            EXPECT_EQ(1, watcher.m_nBoxes);
            EXPECT_FALSE(::IsWindow(hClosed));
            PumpFor(100);
            EXPECT_TRUE(::IsWindowVisible(hMain));
            EXPECT_TRUE(::IsWindowEnabled(hMain));
            EXPECT_EQ(MODE_ALARM, dlg.m_nMode);
            EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(hMain, IDC_RADIO_ALARM));
        }
    });
    EXPECT_EQ(kHarnessEnded, nResult);
}
