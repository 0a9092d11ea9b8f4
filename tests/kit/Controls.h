// Controls as a test reads and drives them: text, class, rectangles, clicks and keys.
#pragma once

#include <string>

#include "platform/Afx.h"
#include "res/resource.h"

// Text of a window as ANSI bytes.
CString WindowText(HWND hWnd);
std::string ControlText(HWND hDlg, int nID);
std::string ClassName(HWND hWnd);

// A child's rectangle in its parent's client pixels.
RECT ChildRect(HWND hChild);
RECT ChildRect(HWND hDlg, int nID);

// The WM_COMMAND a click on the button nID sends its dialog.
void Click(HWND hDlg, int nID);

// The lParam of a first key press of vk: repeat count 1 and vk's scan code.
LPARAM KeyDownLParam(UINT vk);
void PostKeyDown(HWND hWnd, UINT vk);
