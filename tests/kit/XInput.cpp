// Real input through xdotool, each step waited for.
#include "XInput.h"

#include "DialogHarness.h"

bool HaveXdoTool() { return ::GetFileAttributesA("Z:\\usr\\bin\\xdotool") != INVALID_FILE_ATTRIBUTES; }

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

void MovePointerTo(POINT screen)
{
    XdoTool("mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y));
    EXPECT_TRUE(PumpUntil(
        [&] {
            POINT pt;
            return ::GetCursorPos(&pt) && pt.x == screen.x && pt.y == screen.y;
        },
        3000));
}

void RestPointerOn(HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    MovePointerTo(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
}
