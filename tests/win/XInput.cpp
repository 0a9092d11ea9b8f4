#include "XInput.h"

#include <gtest/gtest.h>

#include "DialogHarness.h"

void XdoTool(const std::string& args)
{
    std::string command = "/usr/bin/xdotool " + args;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << command;
    if (pi.hProcess) {
        ::WaitForSingleObject(pi.hProcess, 5000);
        ::CloseHandle(pi.hProcess);
    }
    if (pi.hThread)
        ::CloseHandle(pi.hThread);
}

void RestPointerOn(HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    const POINT centre{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    XdoTool("mousemove " + std::to_string(centre.x) + " " + std::to_string(centre.y));
    EXPECT_TRUE(PumpUntil(
        [&] {
            POINT pt;
            return ::GetCursorPos(&pt) && pt.x == centre.x && pt.y == centre.y;
        },
        3000));
}
