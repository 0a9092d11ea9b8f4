// Real input through the X display's test extension (xdotool), the path a
// keyboard and a mouse take. Without a window manager, keys go to the X
// window under the pointer.
#pragma once

#include <string>

#include <gtest/gtest.h>
#include <windows.h>

bool HaveXdoTool();

// Skips the running test where the display has no input tool.
#define KOVNA_REQUIRE_XDOTOOL()                             \
    do {                                                    \
        if (!HaveXdoTool())                                 \
            GTEST_SKIP() << "xdotool is not installed";     \
    } while (0)

// Runs xdotool with args and waits until it has finished.
void XdoTool(const std::string& args);

// Moves the pointer to a screen point and waits until Windows sees it there.
void MovePointerTo(POINT screen);

// Rests the pointer on the centre of hWnd.
void RestPointerOn(HWND hWnd);
