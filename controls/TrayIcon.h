// One icon in the notification area on behalf of one owner window. The
// icon's context menu is the menu resource numbered like the icon.
#pragma once

#include "platform/Afx.h"

// The shell's first record layout, the one every shell version accepts, in
// its Unicode form: cbSize is NOTIFYICONDATAW_V1_SIZE (152 bytes where
// handles take 4 bytes, 168 where they take 8).
struct NOTIFYICONDATAV1W {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    WCHAR szTip[64];
};

static_assert(sizeof(NOTIFYICONDATAV1W) == NOTIFYICONDATAW_V1_SIZE, "the shell's first layout");
#ifndef _WIN64
static_assert(sizeof(NOTIFYICONDATAV1W) == 152, "the 32-bit first layout is 152 bytes");
#endif

// Sent to every top-level window when the shell (re)starts and its icons
// are gone.
extern const UINT WM_TASKBARCREATED;

class CTrayIcon : public CObject {
    DECLARE_DYNAMIC(CTrayIcon)
public:
    CTrayIcon();
    CTrayIcon(CWnd* pWnd, UINT uCallbackMessage, LPCSTR pszTip, HICON hIcon, UINT uID);
    ~CTrayIcon() override;

    BOOL AddIcon(CWnd* pWnd, UINT uCallbackMessage, LPCSTR pszTip, HICON hIcon, UINT uID);
    void DeleteIcon();
    void SuspendIcon();
    void ResumeIcon();
    void ReinsertIcon();

    BOOL ChangeImage(HICON hIcon);
    BOOL ChangeImage(LPCSTR pszIconName);
    BOOL ChangeImage(UINT nIDResource);
    BOOL ChangeToSystemImage(LPCSTR pszIconName);
    BOOL ChangeToSystemImage(UINT nIDResource);
    HICON GetImage() const;

    BOOL ChangeTip(LPCSTR pszTip);
    BOOL ChangeTip(UINT nIDResource);
    CString GetTip() const;

    // A balloon at the icon, in the larger record that carries its fields
    // (shells from Windows 2000 on); the icon's other calls keep the first layout.
    BOOL ShowBalloon(LPCSTR pszTitle, LPCSTR pszText);

    BOOL ChangeOwnerWindow(CWnd* pWnd);
    CWnd* GetOwnerWindow() const;

    // The owner routes its callback message here and returns the result.
    virtual LRESULT OnIconNotify(WPARAM wParam, LPARAM lParam);

    BOOL m_bActive;      // the shell accepted the icon this object holds
    BOOL m_bSuspended;   // held, but taken out of the notification area
    NOTIFYICONDATAV1W m_nid;

private:
    BOOL Notify(DWORD dwMessage);
};
