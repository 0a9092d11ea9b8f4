// The notification-area icon class against a recording shell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/Controls.h"
#include "kit/Recorder.h"
#include "controls/TrayIcon.h"
#include "res/resource.h"

namespace {

constexpr UINT kCallback = WM_APP + 7;
constexpr UINT kMenuIcon = IDR_ICONMENU;

// A live window that records the commands it receives.
class OwnerWindow {
public:
    OwnerWindow()
    {
        static const ATOM atom = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = Proc;
            wc.lpszClassName = "KovnaTrayOwner";
            return ::RegisterClassA(&wc);
        }();
        m_hWnd = ::CreateWindowExA(0, MAKEINTATOM(atom), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, this);
        m_pWnd = CWnd::FromHandle(m_hWnd);
    }
    ~OwnerWindow() { ::DestroyWindow(m_hWnd); }

    HWND m_hWnd;
    CWnd* m_pWnd;
    std::vector<std::pair<WPARAM, LPARAM>> commands;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
    {
        if (nMsg == WM_NCCREATE)
            ::SetWindowLongPtrA(hWnd, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        if (nMsg == WM_COMMAND)
            reinterpret_cast<OwnerWindow*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA))->commands.emplace_back(wParam, lParam);
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    }
};

HICON AppIcon() { return ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP)); }

using Msgs = std::vector<uintptr_t>;

} // namespace

TEST(TrayIcon, AnyCodePage_RuntimeClassRecord)
{
    const CRuntimeClass* pClass = RUNTIME_CLASS(CTrayIcon);
    EXPECT_STREQ("CTrayIcon", pClass->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CObject), pClass->m_pBaseClass);
    EXPECT_EQ(0xFFFFu, pClass->m_wSchema);
    EXPECT_EQ(nullptr, pClass->m_pfnCreateObject);
    EXPECT_EQ(pClass, CTrayIcon().GetRuntimeClass());
}

TEST(TrayIcon, AnyCodePage_AddFillsTheFirstLayoutAndDeleteRemovesOnce)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    OwnerWindow owner;
    const HICON hIcon = AppIcon();
    {
        CTrayIcon icon;
        EXPECT_EQ(nullptr, icon.GetOwnerWindow());
        ASSERT_TRUE(icon.AddIcon(owner.m_pWnd, kCallback, "Kovna", hIcon, kMenuIcon));
        ASSERT_EQ(2u, api.Calls().size());
        EXPECT_EQ("GetVersion", api.Calls()[0].name);
        const RecordedCall add = api.Calls()[1];
        EXPECT_EQ(static_cast<uintptr_t>(NIM_ADD), add.args[0]);
        EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAW_V1_SIZE), add.nid.cbSize);
        EXPECT_EQ(owner.m_hWnd, add.nid.hWnd);
        EXPECT_EQ(kMenuIcon, add.nid.uID);
        EXPECT_EQ(7u, add.nid.uFlags);
        EXPECT_EQ(kCallback, add.nid.uCallbackMessage);
        EXPECT_EQ(hIcon, add.nid.hIcon);
        EXPECT_EQ("Kovna", add.text);
        EXPECT_TRUE(icon.m_bActive);
        EXPECT_EQ(CString("Kovna"), icon.GetTip());

        api.Clear();
        icon.DeleteIcon();
        icon.DeleteIcon();
        EXPECT_EQ(Msgs{NIM_DELETE}, api.ShellMessages());
        EXPECT_EQ(0u, api.Calls()[0].nid.uFlags);
        EXPECT_EQ(nullptr, icon.GetImage());
        EXPECT_TRUE(icon.GetTip().IsEmpty());
        EXPECT_EQ(owner.m_pWnd, icon.GetOwnerWindow());
    }
    { CTrayIcon unused; }
    EXPECT_EQ(Msgs{NIM_DELETE}, api.ShellMessages());

    // The full constructor adds; the destructor deletes what is still held.
    api.Clear();
    { CTrayIcon icon(owner.m_pWnd, kCallback, "Kovna", hIcon, kMenuIcon); }
    EXPECT_EQ((Msgs{NIM_ADD, NIM_DELETE}), api.ShellMessages());
}

TEST(TrayIcon, AnyCodePage_RefusedAddLeavesAnEmptyObject)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    OwnerWindow owner;

    api.dwVersion = 0x0A0B0003;  // major version 3: no notification area
    CTrayIcon icon;
    EXPECT_FALSE(icon.AddIcon(owner.m_pWnd, kCallback, "Kovna", AppIcon(), kMenuIcon));
    EXPECT_EQ(0u, icon.m_nid.cbSize);
    EXPECT_FALSE(icon.ChangeImage(AppIcon()));
    EXPECT_EQ(nullptr, icon.GetImage());
    EXPECT_TRUE(icon.GetTip().IsEmpty());

    api.dwVersion = 4;
    EXPECT_FALSE(icon.AddIcon(nullptr, kCallback, "Kovna", AppIcon(), kMenuIcon));
    CWnd dead;
    dead.m_hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(dead.m_hWnd);
    EXPECT_FALSE(icon.AddIcon(&dead, kCallback, "Kovna", AppIcon(), kMenuIcon));
    dead.m_hWnd = nullptr;
    icon.SuspendIcon();
    icon.DeleteIcon();
    EXPECT_TRUE(api.ShellMessages().empty());

    api.bShellResult = FALSE;
    EXPECT_FALSE(icon.AddIcon(owner.m_pWnd, kCallback, "Kovna", AppIcon(), kMenuIcon));
    EXPECT_FALSE(icon.m_bActive);
    icon.DeleteIcon();
    EXPECT_EQ(Msgs{NIM_ADD}, api.ShellMessages());
}

TEST(TrayIcon, AnyCodePage_SuspendResumeAndReinsert)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    OwnerWindow owner;
    CTrayIcon icon;
    ASSERT_TRUE(icon.AddIcon(owner.m_pWnd, kCallback, "Kovna", AppIcon(), kMenuIcon));
    api.Clear();

    icon.ResumeIcon();  // not suspended: nothing
    icon.SuspendIcon();
    icon.SuspendIcon();
    EXPECT_EQ(Msgs{NIM_DELETE}, api.ShellMessages());
    EXPECT_EQ(static_cast<UINT>(NIF_ICON), api.Calls()[0].nid.uFlags);
    EXPECT_TRUE(icon.m_bActive && icon.m_bSuspended);
    EXPECT_EQ(owner.m_pWnd, icon.GetOwnerWindow());

    // A new image while hidden is refused by the shell but kept for ResumeIcon.
    const HICON hQuestion = ::LoadIconA(nullptr, IDI_QUESTION);
    api.bShellResult = FALSE;
    EXPECT_FALSE(icon.ChangeImage(hQuestion));
    api.bShellResult = TRUE;
    api.Clear();
    icon.ResumeIcon();
    EXPECT_EQ(Msgs{NIM_ADD}, api.ShellMessages());
    EXPECT_EQ(7u, api.Calls()[0].nid.uFlags);
    EXPECT_EQ(hQuestion, api.Calls()[0].nid.hIcon);
    EXPECT_FALSE(icon.m_bSuspended);

    // Reinsert from Shown deletes and adds; from Hidden it only adds.
    api.Clear();
    icon.ReinsertIcon();
    icon.SuspendIcon();
    icon.ReinsertIcon();
    EXPECT_EQ((Msgs{NIM_DELETE, NIM_ADD, NIM_DELETE, NIM_ADD}), api.ShellMessages());

    // The suspended flag survives DeleteIcon and AddIcon.
    icon.SuspendIcon();
    icon.DeleteIcon();
    ASSERT_TRUE(icon.AddIcon(owner.m_pWnd, kCallback, "Kovna", AppIcon(), kMenuIcon));
    EXPECT_TRUE(icon.m_bSuspended);
    api.Clear();
    icon.SuspendIcon();
    icon.ResumeIcon();
    EXPECT_EQ(Msgs{NIM_ADD}, api.ShellMessages());
}

TEST(TrayIcon, AnyCodePage_ChangeOperationsModifyTheRecord)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    OwnerWindow owner;
    OwnerWindow other;
    CTrayIcon icon;
    ASSERT_TRUE(icon.AddIcon(owner.m_pWnd, kCallback, "Kovna", nullptr, kMenuIcon));
    api.Clear();

    EXPECT_TRUE(icon.ChangeImage(static_cast<UINT>(IDI_APP)));
    EXPECT_EQ(Msgs{NIM_MODIFY}, api.ShellMessages());
    EXPECT_EQ(static_cast<UINT>(NIF_ICON), api.Calls().back().nid.uFlags);
    EXPECT_NE(nullptr, icon.GetImage());
    // Missing from our resources: no image, not the system icon of that number.
    EXPECT_TRUE(icon.ChangeImage(static_cast<UINT>(32512)));
    EXPECT_EQ(nullptr, icon.GetImage());
    EXPECT_TRUE(icon.ChangeToSystemImage(static_cast<UINT>(32512)));
    EXPECT_EQ(::LoadIconA(nullptr, IDI_APPLICATION), icon.GetImage());

    EXPECT_TRUE(icon.ChangeTip(static_cast<UINT>(IDS_INFO_ENTRY)));
    EXPECT_EQ(static_cast<UINT>(NIF_TIP), api.Calls().back().nid.uFlags);
    EXPECT_EQ("关于 Kovna(&A)...", api.Calls().back().text);
    EXPECT_TRUE(icon.ChangeTip(static_cast<UINT>(999)));
    EXPECT_TRUE(icon.GetTip().IsEmpty());
    api.bShellResult = FALSE;
    EXPECT_FALSE(icon.ChangeTip("Kovna"));
    EXPECT_EQ(CString("Kovna"), icon.GetTip());

    api.bShellResult = TRUE;
    EXPECT_TRUE(icon.ChangeOwnerWindow(other.m_pWnd));
    EXPECT_EQ(0u, api.Calls().back().nid.uFlags);
    EXPECT_EQ(other.m_pWnd, icon.GetOwnerWindow());
    EXPECT_TRUE(icon.ChangeOwnerWindow(nullptr));
    EXPECT_EQ(nullptr, icon.GetOwnerWindow());
}

TEST(TrayIcon, AnyCodePage_LongTipsAreCutToTheFieldsCharacters)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    OwnerWindow owner;
    // The field holds 63 characters of any width: 2 + 61 of these 70.
    std::string tip = "kk";
    for (int i = 0; i < 70; ++i)
        tip += "关";
    const std::string kept = tip.substr(0, 2 + 61 * 2);
    CTrayIcon icon;
    ASSERT_TRUE(icon.AddIcon(owner.m_pWnd, kCallback, tip.c_str(), nullptr, kMenuIcon));
    EXPECT_EQ(kept, api.Calls().back().text);
    EXPECT_EQ(L'\0', api.Calls().back().nid.szTip[63]);
    EXPECT_TRUE(icon.ChangeTip(tip.c_str()));
    EXPECT_EQ(kept, std::string(icon.GetTip()));
}

TEST(TrayIcon, AnyCodePage_NotificationsActOnlyForTheirIcon)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    OwnerWindow owner;
    CTrayIcon icon;
    ASSERT_TRUE(icon.AddIcon(owner.m_pWnd, kCallback, "Kovna", AppIcon(), kMenuIcon));

    EXPECT_EQ(0, icon.OnIconNotify(kMenuIcon + 1, WM_LBUTTONDBLCLK));
    for (UINT nEvent : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN})
        EXPECT_EQ(1, icon.OnIconNotify(kMenuIcon, nEvent));
    EXPECT_TRUE(owner.commands.empty());

    // The double-click sends the first item's command before returning.
    EXPECT_EQ(1, icon.OnIconNotify(kMenuIcon, WM_LBUTTONDBLCLK));
    ASSERT_EQ(1u, owner.commands.size());
    EXPECT_EQ(static_cast<WPARAM>(ID_ICONMENU_OPEN), owner.commands[0].first);
    EXPECT_EQ(0, owner.commands[0].second);

    // No menu numbered like this icon: nothing shown, nothing sent.
    CTrayIcon bare(owner.m_pWnd, kCallback, "Kovna", AppIcon(), 4321);
    EXPECT_EQ(0, bare.OnIconNotify(4321, WM_LBUTTONDBLCLK));
    EXPECT_EQ(0, bare.OnIconNotify(4321, WM_RBUTTONUP));
    EXPECT_EQ(1u, owner.commands.size());
}

namespace {

struct MenuSeen {
    HMENU hPopup = nullptr;
    std::vector<std::string> texts;
    std::vector<UINT> ids;
    UINT nDefault = 0;
};
MenuSeen* g_pSeen = nullptr;

void CALLBACK LookAtMenu(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    const HWND hMenuWnd = ::FindWindowA("#32768", nullptr);
    if (!hMenuWnd || !::IsWindowVisible(hMenuWnd))
        return;  // not up yet
    ::KillTimer(nullptr, nIDEvent);
    const auto hMenu = reinterpret_cast<HMENU>(::SendMessageA(hMenuWnd, MN_GETHMENU, 0, 0));
    g_pSeen->hPopup = hMenu;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        g_pSeen->texts.push_back(MenuText(hMenu, static_cast<UINT>(i)));
        g_pSeen->ids.push_back(::GetMenuItemID(hMenu, i));
    }
    g_pSeen->nDefault = ::GetMenuDefaultItem(hMenu, TRUE, 0);
    ::EndMenu();
}

} // namespace

TEST(TrayIcon, AnyCodePage_RightButtonReleaseShowsThePopupWithItsFirstItemBold)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    OwnerWindow owner;
    CTrayIcon icon(owner.m_pWnd, kCallback, "Kovna", AppIcon(), kMenuIcon);

    MenuSeen seen;
    g_pSeen = &seen;
    const UINT_PTR nTimer = ::SetTimer(nullptr, 0, 50, LookAtMenu);
    EXPECT_EQ(1, icon.OnIconNotify(kMenuIcon, WM_RBUTTONUP));
    ::KillTimer(nullptr, nTimer);
    g_pSeen = nullptr;

    EXPECT_EQ((std::vector<std::string>{"打开(&O)", "退出(&X)"}), seen.texts);
    EXPECT_EQ((std::vector<UINT>{ID_ICONMENU_OPEN, ID_ICONMENU_EXIT}), seen.ids);
    EXPECT_EQ(0u, seen.nDefault);  // shown in bold
    EXPECT_FALSE(::IsMenu(seen.hPopup));  // loaded for this event only
    EXPECT_TRUE(owner.commands.empty());

    // The owner's benign message after the menu, which lets the next menu stay up.
    bool bNullPosted = false;
    MSG msg;
    while (::PeekMessageA(&msg, owner.m_hWnd, 0, 0, PM_REMOVE))
        bNullPosted = bNullPosted || msg.message == WM_NULL;
    EXPECT_TRUE(bNullPosted);
}
