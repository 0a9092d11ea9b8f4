// Controls as a test reads and drives them.
#include "Controls.h"

CString WindowText(HWND hWnd)
{
    char buffer[1024] = {};
    const int n = ::GetWindowTextA(hWnd, buffer, sizeof buffer);
    return CString(buffer, n);
}

std::string ControlText(HWND hDlg, int nID) { return WindowText(::GetDlgItem(hDlg, nID)).GetString(); }

std::string ClassName(HWND hWnd)
{
    char cls[64] = {};
    ::GetClassNameA(hWnd, cls, sizeof cls);
    return cls;
}

RECT ChildRect(HWND hChild)
{
    RECT rc{};
    ::GetWindowRect(hChild, &rc);
    ::MapWindowPoints(nullptr, ::GetParent(hChild), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

RECT ChildRect(HWND hDlg, int nID) { return ChildRect(::GetDlgItem(hDlg, nID)); }

void Click(HWND hDlg, int nID)
{
    ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, nID)));
}

LPARAM KeyDownLParam(UINT vk)
{
    return static_cast<LPARAM>((::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) << 16) | 1);
}

void PostKeyDown(HWND hWnd, UINT vk) { ::PostMessageA(hWnd, WM_KEYDOWN, vk, KeyDownLParam(vk)); }
