// Hiding the main dialog to the notification area and restoring it.
#include "app/KovnaDlg.h"

namespace {

constexpr char kTrayTip[] = "Kovna";
constexpr char kStillRunning[] = "Kovna 仍在运行, 双击此图标即可打开.";

} // namespace

void CKovnaDlg::HideToNotificationArea()
{
    // Hidden already: the icon is there, and a second one for the same
    // window and identifier would be refused and orphan the first.
    if (m_notifyIcon.m_bActive)
        return;
    // Run elevated, the message filter of Vista and later would keep a
    // restarted shell's TaskbarCreated from the hidden window.
    AfxSystemApi().ChangeWindowMessageFilter(WM_TASKBARCREATED, MSGFLT_ADD);
    // Without an icon nothing would lead back to a hidden window, and a
    // pending shutdown could no longer be cancelled: stay visible then.
    if (!m_notifyIcon.AddIcon(this, WM_ICON_NOTIFY, TrayTip(), m_smallIcon, IDR_ICONMENU))
        return;
    ShowWindow(SW_HIDE);
    // Windows 11 starts a new icon out of sight, where Kovna would look
    // closed: the first hide says where it went. A shell without balloons
    // only misses the hint.
    if (!m_bHiddenBefore)
        m_notifyIcon.ShowBalloon(kTrayTip, kStillRunning);
    m_bHiddenBefore = true;
}

void CKovnaDlg::ShowFromNotificationArea()
{
    // A window minimised by a route that hides only once it is iconic (a
    // taskbar click, Win+Down) comes back at its own size.
    ShowWindow(IsIconic() ? SW_RESTORE : SW_SHOW);
}

LRESULT CKovnaDlg::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    // The minimise box and the system menu hide instead of minimising; the
    // low four bits of the command are the system's own.
    if (nMsg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE) {
        HideToNotificationArea();
        return 1;
    }
    // Any other route to an iconic window hides it as well.
    if (nMsg == WM_SIZE && wParam == SIZE_MINIMIZED)
        HideToNotificationArea();
    return CDialog::WindowProc(nMsg, wParam, lParam);
}

void CKovnaDlg::OnClose() { HideToNotificationArea(); }

void CKovnaDlg::OnBtnHide() { HideToNotificationArea(); }

LRESULT CKovnaDlg::OnIconMessage(WPARAM wParam, LPARAM lParam) { return m_notifyIcon.OnIconNotify(wParam, lParam); }

LRESULT CKovnaDlg::OnTaskbarCreated(WPARAM, LPARAM)
{
    // A restarted shell has lost our icon; while hidden, put it back, or
    // show the window when the new shell refuses it.
    if (m_notifyIcon.m_bActive) {
        if (!m_notifyIcon.AddIcon(this, WM_ICON_NOTIFY, TrayTip(), m_smallIcon, IDR_ICONMENU))
            ShowFromNotificationArea();
    }
    return 0;
}

void CKovnaDlg::OnIconMenuOpen()
{
    m_notifyIcon.DeleteIcon();
    ShowFromNotificationArea();
}

void CKovnaDlg::OnIconMenuExit() { OnCancel(); }

CString CKovnaDlg::TrayTip() const
{
    CString strLine;
    if (m_bRunning)
        m_staticCountdown.GetWindowText(strLine);
    return strLine.IsEmpty() ? CString(kTrayTip) : CString(kTrayTip) + " " + strLine;
}

void CKovnaDlg::BringFinalMinuteIntoSight()
{
    ShowWithoutFocus();
    SetOnTop(true);
}

void CKovnaDlg::ShowWithoutFocus()
{
    m_notifyIcon.DeleteIcon();
    // Keys typed elsewhere must not land on our buttons. A window minimised
    // by a route that hides only once it is iconic comes back at its size.
    if (IsIconic())
        ShowWindow(SW_SHOWNOACTIVATE);
    else if (!IsWindowVisible())
        ShowWindow(SW_SHOWNA);
}

void CKovnaDlg::FlashTaskbarButton(bool bFlash)
{
    FLASHWINFO info{};
    info.cbSize = sizeof info;
    info.hwnd = m_hWnd;
    info.dwFlags = bFlash ? FLASHW_ALL | FLASHW_TIMERNOFG : FLASHW_STOP;
    AfxSystemApi().FlashWindowEx(&info);
}

void CKovnaDlg::SetOnTop(bool bOnTop)
{
    if (bOnTop == m_bOnTop)
        return;
    // A change of rank only: the window stays where it is, the focus where
    // it was. One the system refused is asked for again next time.
    if (AfxSystemApi().SetWindowPos(m_hWnd, bOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                                    SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) == ERROR_SUCCESS)
        m_bOnTop = bOnTop;
}
