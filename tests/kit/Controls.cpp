// Controls as a test reads and drives them.
#include "Controls.h"

std::string GbkText(const wchar_t* pwch, int nLength)
{
    const int nBytes = ::WideCharToMultiByte(936, 0, pwch, nLength, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(nBytes > 0 ? nBytes : 0), '\0');
    if (nBytes > 0)
        ::WideCharToMultiByte(936, 0, pwch, nLength, &text[0], nBytes, nullptr, nullptr);
    if (nLength < 0 && !text.empty())
        text.pop_back();  // the terminator
    return text;
}

std::wstring WideFromGbk(const std::string& text)
{
    const int nLength = static_cast<int>(text.size());
    const int nWide = ::MultiByteToWideChar(936, 0, text.data(), nLength, nullptr, 0);
    std::wstring wide(static_cast<size_t>(nWide > 0 ? nWide : 0), L'\0');
    if (nWide > 0)
        ::MultiByteToWideChar(936, 0, text.data(), nLength, &wide[0], nWide);
    return wide;
}

CString WindowText(HWND hWnd)
{
    wchar_t buffer[1024] = {};
    const int n = ::GetWindowTextW(hWnd, buffer, 1024);
    const std::string text = GbkText(buffer, n);
    return CString(text.data(), static_cast<int>(text.size()));
}

std::string ControlText(HWND hDlg, int nID) { return WindowText(::GetDlgItem(hDlg, nID)).GetString(); }

std::string MenuText(HMENU hMenu, UINT nPosition)
{
    wchar_t buffer[256] = {};
    const int n = ::GetMenuStringW(hMenu, nPosition, buffer, 256, MF_BYPOSITION);
    return GbkText(buffer, n);
}

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
