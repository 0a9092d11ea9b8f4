// Controls as a test reads and drives them: text, class, rectangles, clicks and keys.
#pragma once

#include <string>

#include "platform/Afx.h"
#include "res/resource.h"

// Texts as the program holds them: read through the W calls and made code
// page 936 bytes here, whatever the ANSI code page the test runs under.
std::string GbkText(const wchar_t* pwch, int nLength = -1);
std::wstring WideFromGbk(const std::string& text);
CString WindowText(HWND hWnd);
std::string ControlText(HWND hDlg, int nID);
std::string MenuText(HMENU hMenu, UINT nPosition);
std::string ClassName(HWND hWnd);

// A child's rectangle in its parent's client pixels.
RECT ChildRect(HWND hChild);
RECT ChildRect(HWND hDlg, int nID);

// The WM_COMMAND a click on the button nID sends its dialog.
void Click(HWND hDlg, int nID);

// The lParam of a first key press of vk: repeat count 1 and vk's scan code.
LPARAM KeyDownLParam(UINT vk);
void PostKeyDown(HWND hWnd, UINT vk);
