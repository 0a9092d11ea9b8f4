// Real input through the X display's test extension (xdotool), the path a
// keyboard and a mouse take. Without a window manager, keys go to the X
// window under the pointer.
#pragma once

#include <string>

#include <windows.h>

// Runs xdotool with args. Wine gives no handle to wait on for a Unix
// program, so callers wait for the effect.
void XdoTool(const std::string& args);

// Rests the pointer on the centre of hWnd and waits until Windows sees it there.
void RestPointerOn(HWND hWnd);
