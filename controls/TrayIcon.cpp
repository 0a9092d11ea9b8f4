// The notification-area icon: add, modify, delete and its menu.
#include "controls/TrayIcon.h"

#include <algorithm>
#include <cwchar>

IMPLEMENT_DYNAMIC(CTrayIcon, CObject)

const UINT WM_TASKBARCREATED = ::RegisterWindowMessageW(L"TaskbarCreated");

namespace {

constexpr UINT kAllFields = NIF_MESSAGE | NIF_ICON | NIF_TIP;

// As much of the GBK text as fits in a field of the record, terminated. Every character of code page
// 936 is one UTF-16 unit, so a cut never falls inside one.
template <size_t N>
void CopyTip(WCHAR (&field)[N], LPCSTR pszTip)
{
    const CWideText tip(pszTip);
    const size_t nLength = std::min(static_cast<size_t>(tip.GetLength()), N - 1);
    if (nLength)
        std::wmemcpy(field, tip, nLength);
    field[nLength] = L'\0';
}

} // namespace

CTrayIcon::CTrayIcon() : m_bActive(FALSE), m_bSuspended(FALSE), m_nid() {}

CTrayIcon::CTrayIcon(CWnd* pWnd, UINT uCallbackMessage, LPCSTR pszTip, HICON hIcon, UINT uID) : CTrayIcon()
{
    AddIcon(pWnd, uCallbackMessage, pszTip, hIcon, uID);
}

CTrayIcon::~CTrayIcon() { DeleteIcon(); }

BOOL CTrayIcon::Notify(DWORD dwMessage)
{
    // The record's prefix is the shell's own record; cbSize tells it which layout.
    return AfxSystemApi().Shell_NotifyIconW(dwMessage, reinterpret_cast<PNOTIFYICONDATAW>(&m_nid));
}

BOOL CTrayIcon::AddIcon(CWnd* pWnd, UINT uCallbackMessage, LPCSTR pszTip, HICON hIcon, UINT uID)
{
    // Shells before version 4 have no notification area.
    m_bActive = LOBYTE(LOWORD(AfxSystemApi().GetVersion())) >= 4;
    if (!m_bActive)
        return FALSE;
    m_bActive = pWnd && ::IsWindow(pWnd->m_hWnd);
    if (!m_bActive)
        return FALSE;

    m_nid.cbSize = sizeof m_nid;
    m_nid.hWnd = pWnd->m_hWnd;
    m_nid.uID = uID;
    m_nid.hIcon = hIcon;
    m_nid.uFlags = kAllFields;
    m_nid.uCallbackMessage = uCallbackMessage;
    CopyTip(m_nid.szTip, pszTip);

    m_bActive = Notify(NIM_ADD);
    return m_bActive;
}

void CTrayIcon::DeleteIcon()
{
    if (!m_bActive)
        return;
    m_nid.uFlags = 0;
    Notify(NIM_DELETE);
    m_bActive = FALSE;
}

void CTrayIcon::SuspendIcon()
{
    if (!m_bActive || m_bSuspended)
        return;
    m_nid.uFlags = NIF_ICON;
    Notify(NIM_DELETE);
    m_bSuspended = TRUE;
}

void CTrayIcon::ResumeIcon()
{
    if (!m_bActive || !m_bSuspended)
        return;
    m_nid.uFlags = kAllFields;
    Notify(NIM_ADD);
    m_bSuspended = FALSE;
}

void CTrayIcon::ReinsertIcon()
{
    SuspendIcon();
    ResumeIcon();
}

BOOL CTrayIcon::ChangeImage(HICON hIcon)
{
    if (!m_bActive)
        return FALSE;
    m_nid.uFlags = NIF_ICON;
    m_nid.hIcon = hIcon;
    return Notify(NIM_MODIFY);
}

BOOL CTrayIcon::ChangeImage(LPCSTR pszIconName)
{
    // A name missing from our module must not fall through to the system's icons.
    const HINSTANCE hInstance = AfxFindResourceHandle(pszIconName, RT_GROUP_ICON);
    return ChangeImage(hInstance ? ::LoadIconA(hInstance, pszIconName) : HICON{});
}

BOOL CTrayIcon::ChangeImage(UINT nIDResource) { return ChangeImage(MAKEINTRESOURCEA(LOWORD(nIDResource))); }

BOOL CTrayIcon::ChangeToSystemImage(LPCSTR pszIconName) { return ChangeImage(::LoadIconA(nullptr, pszIconName)); }

BOOL CTrayIcon::ChangeToSystemImage(UINT nIDResource)
{
    return ChangeToSystemImage(MAKEINTRESOURCEA(LOWORD(nIDResource)));
}

HICON CTrayIcon::GetImage() const { return m_bActive ? m_nid.hIcon : nullptr; }

BOOL CTrayIcon::ChangeTip(LPCSTR pszTip)
{
    if (!m_bActive)
        return FALSE;
    m_nid.uFlags = NIF_TIP;
    CopyTip(m_nid.szTip, pszTip);
    return Notify(NIM_MODIFY);
}

BOOL CTrayIcon::ChangeTip(UINT nIDResource)
{
    CString strTip;
    strTip.LoadString(nIDResource);
    return ChangeTip(strTip.GetString());
}

CString CTrayIcon::GetTip() const { return m_bActive ? AfxGbkFromWide(m_nid.szTip) : CString(); }

BOOL CTrayIcon::ShowBalloon(LPCSTR pszTitle, LPCSTR pszText)
{
    if (!m_bActive || m_bSuspended)
        return FALSE;
    m_nid.uFlags = NIF_INFO;
    NOTIFYICONDATAW balloon{};
    balloon.cbSize = NOTIFYICONDATAW_V2_SIZE;
    balloon.hWnd = m_nid.hWnd;
    balloon.uID = m_nid.uID;
    balloon.uFlags = m_nid.uFlags;
    CopyTip(balloon.szInfoTitle, pszTitle);
    CopyTip(balloon.szInfo, pszText);
    // Shells before Vista keep a balloon up this long, at the least ten seconds.
    balloon.uTimeout = 10000;
    balloon.dwInfoFlags = NIIF_INFO;
    return AfxSystemApi().Shell_NotifyIconW(NIM_MODIFY, &balloon);
}

BOOL CTrayIcon::ChangeOwnerWindow(CWnd* pWnd)
{
    if (!m_bActive)
        return FALSE;
    m_nid.hWnd = pWnd ? pWnd->m_hWnd : nullptr;
    m_nid.uFlags = 0;
    return Notify(NIM_MODIFY);
}

CWnd* CTrayIcon::GetOwnerWindow() const { return CWnd::FromHandle(m_nid.hWnd); }

LRESULT CTrayIcon::OnIconNotify(WPARAM wParam, LPARAM lParam)
{
    if (wParam != m_nid.uID)
        return 0;
    const UINT nEvent = LOWORD(lParam);
    if (nEvent != WM_RBUTTONUP && nEvent != WM_LBUTTONDBLCLK)
        return 1;

    // Loaded afresh each time; the menu object destroys it on every way out.
    const LPCSTR pszMenuName = MAKEINTRESOURCEA(LOWORD(m_nid.uID));
    CMenu menu;
    if (!menu.LoadMenu(AfxFindResourceHandle(pszMenuName, RT_MENU), LOWORD(m_nid.uID)))
        return 0;
    CMenuHandle popup = menu.GetSubMenu(0);
    if (!popup)
        return 0;

    if (nEvent == WM_RBUTTONUP) {
        popup.SetDefaultItem(0, TRUE);
        POINT pt;
        ::GetCursorPos(&pt);
        // Without the foreground the menu would not close on a click
        // elsewhere. A menu that could not be shown leaves nothing to do.
        AfxSystemApi().SetForegroundWindow(m_nid.hWnd);
        AfxSystemApi().TrackPopupMenu(popup, 0, pt.x, pt.y, m_nid.hWnd);
        // A notification icon's menu must be followed by a message to its
        // owner, or the next time it is shown it can close at once.
        ::PostMessageA(m_nid.hWnd, WM_NULL, 0, 0);
    } else {
        AfxSystemApi().SetForegroundWindow(m_nid.hWnd);
        ::SendMessageA(m_nid.hWnd, WM_COMMAND, popup.GetMenuItemID(0), 0);
    }
    return 1;
}
