// Real input through xdotool, each step waited for.
#include "XInput.h"

#include "DialogHarness.h"

bool HaveXdoTool() { return ::GetFileAttributesA("Z:\\usr\\bin\\xdotool") != INVALID_FILE_ATTRIBUTES; }

void XdoTool(const std::string& args)
{
    // Wine starts a Unix program without a process object: CreateProcess says
    // yes but leaves in PROCESS_INFORMATION whatever its stack held, which
    // under 32-bit Wine names handles of this process (closing them lost the
    // test's own output). So no handle of it is touched: a shell runs xdotool
    // and then leaves a marker, which tells that this step is done before
    // the next one starts.
    static unsigned s_nStep = 0;
    const std::string marker =
        "/tmp/kovna-xdotool." + std::to_string(::GetCurrentProcessId()) + "." + std::to_string(++s_nStep);
    std::string markerWin = "Z:" + marker;
    for (char& c : markerWin)
        if (c == '/')
            c = '\\';
    std::string command = "/bin/sh -c \"/usr/bin/xdotool " + args + "; : >" + marker + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    ASSERT_TRUE(::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << command;
    const auto done = [&] { return ::GetFileAttributesA(markerWin.c_str()) != INVALID_FILE_ATTRIBUTES; };
    EXPECT_TRUE(PumpUntil(done, 5000)) << "xdotool " << args << " did not finish";
    ::DeleteFileA(markerWin.c_str());
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
