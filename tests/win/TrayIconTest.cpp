// The notification-area icon class against a recording shell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Recorder.h"
#include "controls/TrayIcon.h"
#include "res/resource.h"

namespace {

constexpr UINT kCallback = WM_APP + 7;
constexpr UINT kMenuIcon = IDR_ICONMENU;

// A live top-level window that records the commands it receives.
class OwnerWindow {
public:
    OwnerWindow()
    {
        static const ATOM atom = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = Proc;
            wc.hInstance = ::GetModuleHandleA(nullptr);
            wc.lpszClassName = "KovnaTrayOwner";
            return ::RegisterClassA(&wc);
        }();
        m_hWnd = ::CreateWindowExA(0, MAKEINTATOM(atom), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_pWnd = CWnd::FromHandle(m_hWnd);
    }
    ~OwnerWindow()
    {
        if (::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
    }

    HWND m_hWnd;
    CWnd* m_pWnd;
    std::vector<std::pair<WPARAM, LPARAM>> commands;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
    {
        auto* pThis = reinterpret_cast<OwnerWindow*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (nMsg == WM_COMMAND && pThis)
            pThis->commands.emplace_back(wParam, lParam);
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    }
};

HICON AppIcon() { return ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP)); }

const RecordedCall& LastShellCall(const std::vector<RecordedCall>& calls)
{
    EXPECT_FALSE(calls.empty());
    return calls.back();
}

} // namespace

TEST(TrayIcon, RuntimeClassRecord)
{
    const CRuntimeClass* pClass = RUNTIME_CLASS(CTrayIcon);
    EXPECT_STREQ("CTrayIcon", pClass->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CObject), pClass->m_pBaseClass);
    EXPECT_EQ(0xFFFFu, pClass->m_wSchema);
    EXPECT_EQ(nullptr, pClass->m_pfnCreateObject);
    CTrayIcon icon;
    EXPECT_EQ(pClass, icon.GetRuntimeClass());
    EXPECT_TRUE(icon.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(icon.IsKindOf(RUNTIME_CLASS(CWnd)));
}

TEST(TrayIcon, AddFillsTheFirstLayoutAndDeleteRemovesOnce)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    OwnerWindow owner;
    const HICON hIcon = AppIcon();
    {
        CTrayIcon icon;
        EXPECT_FALSE(icon.m_bActive);
        EXPECT_FALSE(icon.m_bSuspended);
        EXPECT_EQ(nullptr, icon.GetOwnerWindow());

        ASSERT_TRUE(icon.AddIcon(owner.m_pWnd, kCallback, "Kovna", hIcon, kMenuIcon));
        EXPECT_TRUE(icon.m_bActive);
        ASSERT_EQ(2u, api.Calls().size());
        EXPECT_EQ("GetVersion", api.Calls()[0].name);
        const RecordedCall add = api.Calls()[1];
        EXPECT_EQ("Shell_NotifyIconA", add.name);
        EXPECT_EQ(static_cast<uintptr_t>(NIM_ADD), add.args[0]);
        EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE), add.nid.cbSize);
        EXPECT_EQ(owner.m_hWnd, add.nid.hWnd);
        EXPECT_EQ(kMenuIcon, add.nid.uID);
        EXPECT_EQ(7u, add.nid.uFlags);
        EXPECT_EQ(kCallback, add.nid.uCallbackMessage);
        EXPECT_EQ(hIcon, add.nid.hIcon);
        EXPECT_EQ("Kovna", add.text);
        EXPECT_EQ(hIcon, icon.GetImage());
        EXPECT_EQ(CString("Kovna"), icon.GetTip());
        EXPECT_EQ(owner.m_pWnd, icon.GetOwnerWindow());

        api.Clear();
        icon.DeleteIcon();
        ASSERT_EQ(1u, api.Count("Shell_NotifyIconA"));
        EXPECT_EQ(static_cast<uintptr_t>(NIM_DELETE), api.Calls()[0].args[0]);
        EXPECT_EQ(0u, api.Calls()[0].nid.uFlags);
        EXPECT_FALSE(icon.m_bActive);
        // Empty again, but the owner is still answered.
        EXPECT_EQ(nullptr, icon.GetImage());
        EXPECT_TRUE(icon.GetTip().IsEmpty());
        EXPECT_EQ(owner.m_pWnd, icon.GetOwnerWindow());

        icon.DeleteIcon();
        EXPECT_EQ(1u, api.Count("Shell_NotifyIconA"));
    }
    // Neither the destructor after DeleteIcon nor that of a never-used object calls the shell.
    { CTrayIcon unused; }
    EXPECT_EQ(1u, api.Count("Shell_NotifyIconA"));

    // The full constructor adds, the destructor of a held icon deletes it.
    api.Clear();
    {
        CTrayIcon icon(owner.m_pWnd, kCallback, "Kovna", hIcon, kMenuIcon);
        EXPECT_TRUE(icon.m_bActive);
        EXPECT_EQ(1u, api.Count("Shell_NotifyIconA"));
    }
    const std::vector<RecordedCall> calls = api.CallsNamed("Shell_NotifyIconA");
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(static_cast<uintptr_t>(NIM_DELETE), calls[1].args[0]);
    EXPECT_EQ(owner.m_hWnd, calls[1].nid.hWnd);
    EXPECT_EQ(kMenuIcon, calls[1].nid.uID);
}

TEST(TrayIcon, RefusedAddLeavesAnEmptyObject)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    OwnerWindow owner;

    // A shell of major version 3 has no notification area.
    api.dwVersion = 0x0A0B0003;
    CTrayIcon old;
    EXPECT_FALSE(old.AddIcon(owner.m_pWnd, kCallback, "Kovna", AppIcon(), kMenuIcon));
    EXPECT_FALSE(old.m_bActive);
    EXPECT_EQ(0u, api.Count("Shell_NotifyIconA"));
    EXPECT_EQ(0u, old.m_nid.cbSize);
    EXPECT_FALSE(old.ChangeImage(AppIcon()));
    EXPECT_FALSE(old.ChangeTip("x"));
    EXPECT_FALSE(old.ChangeOwnerWindow(owner.m_pWnd));
    EXPECT_EQ(nullptr, old.GetImage());
    EXPECT_TRUE(old.GetTip().IsEmpty());
    EXPECT_EQ(nullptr, old.GetOwnerWindow());
    old.SuspendIcon();
    old.ResumeIcon();
    old.ReinsertIcon();
    old.DeleteIcon();
    EXPECT_EQ(0u, api.Count("Shell_NotifyIconA"));

    api.dwVersion = 4;
    CTrayIcon icon;
    EXPECT_FALSE(icon.AddIcon(nullptr, kCallback, "Kovna", AppIcon(), kMenuIcon));
    HWND hDead = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(hDead);
    CWnd dead;
    dead.m_hWnd = hDead;
    EXPECT_FALSE(icon.AddIcon(&dead, kCallback, "Kovna", AppIcon(), kMenuIcon));
    dead.m_hWnd = nullptr;
    EXPECT_EQ(0u, api.Count("Shell_NotifyIconA"));

    // The shell says no.
    api.bShellResult = FALSE;
    EXPECT_FALSE(icon.AddIcon(owner.m_pWnd, kCallback, "Kovna", AppIcon(), kMenuIcon));
    EXPECT_FALSE(icon.m_bActive);
    EXPECT_EQ(1u, api.Count("Shell_NotifyIconA"));
    icon.DeleteIcon();
    EXPECT_EQ(1u, api.Count("Shell_NotifyIconA"));
}

TEST(TrayIcon, SuspendResumeAndReinsert)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    OwnerWindow owner;
    CTrayIcon icon;
    ASSERT_TRUE(icon.AddIcon(owner.m_pWnd, kCallback, "Kovna", AppIcon(), kMenuIcon));
    api.Clear();

    icon.ResumeIcon();  // not suspended: nothing
    EXPECT_EQ(0u, api.Count("Shell_NotifyIconA"));

    icon.SuspendIcon();
    icon.SuspendIcon();
    ASSERT_EQ(1u, api.Count("Shell_NotifyIconA"));
    EXPECT_EQ(static_cast<uintptr_t>(NIM_DELETE), api.Calls()[0].args[0]);
    EXPECT_EQ(static_cast<UINT>(NIF_ICON), api.Calls()[0].nid.uFlags);
    EXPECT_TRUE(icon.m_bActive);
    EXPECT_TRUE(icon.m_bSuspended);
    EXPECT_EQ(owner.m_pWnd, icon.GetOwnerWindow());

    // A new image while hidden: the shell cannot find the icon, the record keeps it.
    const HICON hQuestion = ::LoadIconA(nullptr, IDI_QUESTION);
    api.bShellResult = FALSE;
    EXPECT_FALSE(icon.ChangeImage(hQuestion));
    EXPECT_EQ(hQuestion, icon.GetImage());
    api.bShellResult = TRUE;
    api.Clear();
    icon.ResumeIcon();
    ASSERT_EQ(1u, api.Count("Shell_NotifyIconA"));
    EXPECT_EQ(static_cast<uintptr_t>(NIM_ADD), api.Calls()[0].args[0]);
    EXPECT_EQ(7u, api.Calls()[0].nid.uFlags);
    EXPECT_EQ(hQuestion, api.Calls()[0].nid.hIcon);
    EXPECT_FALSE(icon.m_bSuspended);

    // Reinsert from Shown deletes and adds; from Hidden it only adds.
    api.Clear();
    icon.ReinsertIcon();
    std::vector<RecordedCall> calls = api.CallsNamed("Shell_NotifyIconA");
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(static_cast<uintptr_t>(NIM_DELETE), calls[0].args[0]);
    EXPECT_EQ(static_cast<uintptr_t>(NIM_ADD), calls[1].args[0]);
    icon.SuspendIcon();
    api.Clear();
    icon.ReinsertIcon();
    calls = api.CallsNamed("Shell_NotifyIconA");
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(static_cast<uintptr_t>(NIM_ADD), calls[0].args[0]);
    EXPECT_FALSE(icon.m_bSuspended);

    // The suspended flag survives DeleteIcon and AddIcon.
    icon.SuspendIcon();
    icon.DeleteIcon();
    EXPECT_TRUE(icon.m_bSuspended);
    ASSERT_TRUE(icon.AddIcon(owner.m_pWnd, kCallback, "Kovna", AppIcon(), kMenuIcon));
    EXPECT_TRUE(icon.m_bSuspended);
    api.Clear();
    icon.SuspendIcon();
    EXPECT_EQ(0u, api.Count("Shell_NotifyIconA"));
    icon.ResumeIcon();
    ASSERT_EQ(1u, api.Count("Shell_NotifyIconA"));
    EXPECT_EQ(static_cast<uintptr_t>(NIM_ADD), api.Calls()[0].args[0]);
    EXPECT_FALSE(icon.m_bSuspended);
}

TEST(TrayIcon, ChangeOperationsModifyTheRecord)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    OwnerWindow owner;
    OwnerWindow other;
    CTrayIcon icon;
    ASSERT_TRUE(icon.AddIcon(owner.m_pWnd, kCallback, "Kovna", nullptr, kMenuIcon));
    api.Clear();

    // From our resources, by identifier and by name.
    EXPECT_TRUE(icon.ChangeImage(static_cast<UINT>(IDI_APP)));
    const RecordedCall byId = LastShellCall(api.Calls());
    EXPECT_EQ(static_cast<uintptr_t>(NIM_MODIFY), byId.args[0]);
    EXPECT_EQ(static_cast<UINT>(NIF_ICON), byId.nid.uFlags);
    EXPECT_NE(nullptr, byId.nid.hIcon);
    EXPECT_TRUE(icon.ChangeImage("#132"));
    EXPECT_NE(nullptr, icon.GetImage());
    // A missing resource is passed on as no image, not as a system icon.
    EXPECT_TRUE(icon.ChangeImage(static_cast<UINT>(32512)));
    EXPECT_EQ(nullptr, icon.GetImage());
    EXPECT_EQ(nullptr, LastShellCall(api.Calls()).nid.hIcon);

    EXPECT_TRUE(icon.ChangeToSystemImage(static_cast<UINT>(32512)));
    EXPECT_EQ(::LoadIconA(nullptr, IDI_APPLICATION), icon.GetImage());
    EXPECT_TRUE(icon.ChangeToSystemImage(IDI_WARNING));
    EXPECT_EQ(::LoadIconA(nullptr, IDI_WARNING), icon.GetImage());

    EXPECT_TRUE(icon.ChangeTip("倒计时"));
    const RecordedCall tip = LastShellCall(api.Calls());
    EXPECT_EQ(static_cast<uintptr_t>(NIM_MODIFY), tip.args[0]);
    EXPECT_EQ(static_cast<UINT>(NIF_TIP), tip.nid.uFlags);
    EXPECT_EQ("倒计时", tip.text);
    EXPECT_TRUE(icon.ChangeTip(static_cast<UINT>(IDS_INFO_ENTRY)));
    EXPECT_EQ(CString("关于 Kovna(&A)..."), icon.GetTip());
    EXPECT_TRUE(icon.ChangeTip(static_cast<UINT>(999)));
    EXPECT_TRUE(icon.GetTip().IsEmpty());

    // A refused change still keeps the new value.
    api.bShellResult = FALSE;
    EXPECT_FALSE(icon.ChangeTip("Kovna"));
    EXPECT_EQ(CString("Kovna"), icon.GetTip());

    api.bShellResult = TRUE;
    EXPECT_TRUE(icon.ChangeOwnerWindow(other.m_pWnd));
    const RecordedCall owned = LastShellCall(api.Calls());
    EXPECT_EQ(0u, owned.nid.uFlags);
    EXPECT_EQ(other.m_hWnd, owned.nid.hWnd);
    EXPECT_EQ(other.m_pWnd, icon.GetOwnerWindow());
    EXPECT_TRUE(icon.ChangeOwnerWindow(nullptr));
    EXPECT_EQ(nullptr, icon.GetOwnerWindow());
}

TEST(TrayIcon, LongTipsAreCutAtACharacterBoundary)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    OwnerWindow owner;
    CTrayIcon icon;

    const std::string ascii(100, 'k');
    ASSERT_TRUE(icon.AddIcon(owner.m_pWnd, kCallback, ascii.c_str(), nullptr, kMenuIcon));
    EXPECT_EQ(ascii.substr(0, 63), std::string(icon.GetTip()));

    // Two bytes and then 40 two-byte characters: byte 63 is a lead byte.
    std::string mixed = "kk";
    for (int i = 0; i < 40; ++i)
        mixed += "关";
    EXPECT_TRUE(icon.ChangeTip(mixed.c_str()));
    EXPECT_EQ(mixed.substr(0, 62), std::string(icon.GetTip()));
    EXPECT_EQ('\0', icon.m_nid.szTip[62]);
    EXPECT_EQ(mixed.substr(0, 62), LastShellCall(api.Calls()).text);

    std::string exact;
    for (int i = 0; i < 31; ++i)
        exact += "机";
    exact += "k";
    EXPECT_TRUE(icon.ChangeTip(exact.c_str()));
    EXPECT_EQ(exact, std::string(icon.GetTip()));
}

TEST(TrayIcon, NotificationsActOnlyForTheirIcon)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    OwnerWindow owner;
    CTrayIcon icon;
    ASSERT_TRUE(icon.AddIcon(owner.m_pWnd, kCallback, "Kovna", AppIcon(), kMenuIcon));

    EXPECT_EQ(0, icon.OnIconNotify(kMenuIcon + 1, WM_LBUTTONDBLCLK));
    EXPECT_EQ(0, icon.OnIconNotify(kMenuIcon + (WPARAM{1} << 16), WM_LBUTTONDBLCLK));
    for (UINT nEvent : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK})
        EXPECT_EQ(1, icon.OnIconNotify(kMenuIcon, nEvent));
    EXPECT_TRUE(owner.commands.empty());

    // The double-click sends the first item's command before returning.
    EXPECT_EQ(1, icon.OnIconNotify(kMenuIcon, MAKELPARAM(WM_LBUTTONDBLCLK, 0)));
    ASSERT_EQ(1u, owner.commands.size());
    EXPECT_EQ(static_cast<WPARAM>(ID_ICONMENU_OPEN), owner.commands[0].first);
    EXPECT_EQ(0, owner.commands[0].second);

    // An icon without a menu of its number shows and sends nothing.
    CTrayIcon bare;
    ASSERT_TRUE(bare.AddIcon(owner.m_pWnd, kCallback, "Kovna", AppIcon(), 4321));
    EXPECT_EQ(0, bare.OnIconNotify(4321, WM_LBUTTONDBLCLK));
    EXPECT_EQ(0, bare.OnIconNotify(4321, WM_RBUTTONUP));
    EXPECT_EQ(1u, owner.commands.size());
}

namespace {

struct MenuSeen {
    int nItems = -1;
    std::vector<std::string> texts;
    std::vector<UINT> ids;
    UINT nDefault = 0;
    HMENU hPopup = nullptr;
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
    g_pSeen->nItems = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < g_pSeen->nItems; ++i) {
        char text[64] = {};
        ::GetMenuStringA(hMenu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        g_pSeen->texts.push_back(text);
        g_pSeen->ids.push_back(::GetMenuItemID(hMenu, i));
    }
    g_pSeen->nDefault = ::GetMenuDefaultItem(hMenu, TRUE, 0);
    ::EndMenu();
}

} // namespace

TEST(TrayIcon, RightButtonReleaseShowsThePopupWithItsFirstItemBold)
{
    CRecordingApi api;
    CScopedSystemApi scope(&api);
    OwnerWindow owner;
    ::ShowWindow(owner.m_hWnd, SW_SHOWNA);
    CTrayIcon icon;
    ASSERT_TRUE(icon.AddIcon(owner.m_pWnd, kCallback, "Kovna", AppIcon(), kMenuIcon));

    MenuSeen seen;
    g_pSeen = &seen;
    const UINT_PTR nTimer = ::SetTimer(nullptr, 0, 50, LookAtMenu);
    EXPECT_EQ(1, icon.OnIconNotify(kMenuIcon, WM_RBUTTONUP));
    ::KillTimer(nullptr, nTimer);
    g_pSeen = nullptr;

    ASSERT_EQ(2, seen.nItems);
    EXPECT_EQ("打开(&O)", seen.texts[0]);
    EXPECT_EQ("退出(&X)", seen.texts[1]);
    EXPECT_EQ(static_cast<UINT>(ID_ICONMENU_OPEN), seen.ids[0]);
    EXPECT_EQ(static_cast<UINT>(ID_ICONMENU_EXIT), seen.ids[1]);
    EXPECT_EQ(0u, seen.nDefault);
    // Loaded for this event only.
    EXPECT_FALSE(::IsMenu(seen.hPopup));
    EXPECT_TRUE(owner.commands.empty());
}
