// The real kovna.exe as a user starts it: the program lives exactly as long
// as its main dialog.
#include <gtest/gtest.h>

#include <string>

#include "kit/Controls.h"
#include "kit/DialogHarness.h"
#include "kit/Paths.h"

namespace {

std::string ExePath() { return WinePath(KOVNA_EXE_PATH); }

struct FindData {
    DWORD pid;
    HWND hWnd;
};

BOOL CALLBACK FindMainDialog(HWND hWnd, LPARAM lParam)
{
    auto* pData = reinterpret_cast<FindData*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid == pData->pid && ClassName(hWnd) == "#32770" && ::IsWindowVisible(hWnd)) {
        pData->hWnd = hWnd;
        return FALSE;
    }
    return TRUE;
}

// kovna.exe started in this prefix; killed at the end if it is still running.
class Program {
public:
    Program()
    {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::string commandLine = "\"" + ExePath() + "\"";
        m_bStarted = ::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                                      &m_pi);
    }
    ~Program()
    {
        if (!m_bStarted)
            return;
        if (::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_pi.hProcess, 99);
        ::CloseHandle(m_pi.hThread);
        ::CloseHandle(m_pi.hProcess);
    }

    bool Started() const { return m_bStarted; }

    HWND WaitForDialog(DWORD nTimeoutMs) const
    {
        FindData data{m_pi.dwProcessId, nullptr};
        PumpUntil(
            [&] {
                ::EnumWindows(FindMainDialog, reinterpret_cast<LPARAM>(&data));
                return data.hWnd != nullptr;
            },
            nTimeoutMs);
        return data.hWnd;
    }

    // The exit code once the process has ended within nTimeoutMs, else -1.
    long WaitForExit(DWORD nTimeoutMs) const
    {
        if (::WaitForSingleObject(m_pi.hProcess, nTimeoutMs) != WAIT_OBJECT_0)
            return -1;
        DWORD dwCode = 0;
        ::GetExitCodeProcess(m_pi.hProcess, &dwCode);
        return static_cast<long>(dwCode);
    }

private:
    PROCESS_INFORMATION m_pi{};
    BOOL m_bStarted = FALSE;
};

} // namespace

TEST(Program, EndsWithItsDialogOnEscEnterAndExit)
{
    struct Case {
        const char* name;
        void (*end)(HWND hDlg);
    };
    const Case cases[] = {
        {"Esc", [](HWND hDlg) {
             PostKeyDown(::GetDlgItem(hDlg, IDC_COMBO_UNIT), VK_ESCAPE);
         }},
        {"Enter", [](HWND hDlg) {
             PostKeyDown(::GetDlgItem(hDlg, IDC_COMBO_UNIT), VK_RETURN);
         }},
        {"Exit button", [](HWND hDlg) {
             ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_BTN_EXIT, BN_CLICKED), 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Program program;
        ASSERT_TRUE(program.Started());
        const HWND hDlg = program.WaitForDialog(20000);
        ASSERT_NE(nullptr, hDlg);
        EXPECT_EQ("Kovna", std::string(WindowText(hDlg)));
        c.end(hDlg);
        EXPECT_EQ(0, program.WaitForExit(15000));
    }
}
