// The room a text needs in a window's font: the widest text a field can
// show must fit it whole.
#pragma once

#include <windows.h>

#include "platform/CString.h"

// The width in pixels of strText in hWnd's font with every digit at the
// font's widest, so the same text with any other digits needs no more.
// Blanks at its end draw nothing and need no room.
int AfxTextRoom(HWND hWnd, const CString& strText);
