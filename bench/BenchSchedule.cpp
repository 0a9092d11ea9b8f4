// Figures for the schedule: how far a one-minute countdown drifts from the
// wall clock, and how many worker threads are alive after 1,000 Reset/Set
// presses. Runs the real main dialog; the system seam is replaced by one
// that neither sounds nor shuts down. Prints its figures and exits.
#include <chrono>
#include <cstdio>

#include "app/KovnaDlg.h"
#include "schedule/ScheduleState.h"

namespace {

// No effect ever leaves the program.
class CQuietApi : public CSystemApi {
public:
    BOOL OpenProcessToken(HANDLE, DWORD, PHANDLE) override { return FALSE; }
    BOOL ExitWindowsEx(UINT, DWORD) override { return FALSE; }
    BOOL PlaySoundA(LPCSTR, HMODULE, DWORD) override { return FALSE; }
    BOOL Shell_NotifyIconA(DWORD, PNOTIFYICONDATAA) override { return TRUE; }
    int MessageBoxA(HWND, LPCSTR, LPCSTR, UINT) override { return IDOK; }
};

using Clock = std::chrono::steady_clock;

CKovnaDlg* g_pDlg = nullptr;

void Pump(DWORD nMilliseconds)
{
    const auto end = Clock::now() + std::chrono::milliseconds(nMilliseconds);
    while (Clock::now() < end) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

// Handles what is already queued or sent, as the modal loop does between two clicks.
void PumpPending()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void Press(int nID)
{
    ::SendMessageA(g_pDlg->m_hWnd, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(g_pDlg->m_hWnd, nID)));
}

CString LineText()
{
    char buffer[128] = {};
    ::GetDlgItemTextA(g_pDlg->m_hWnd, IDC_STATIC_COUNTDOWN, buffer, sizeof buffer);
    return buffer;
}

void MeasureWorkers()
{
    const int nBefore = AfxLiveWorkerCount();
    ::SetDlgItemTextA(g_pDlg->m_hWnd, IDC_EDIT_COUNT, "1");
    Press(IDC_BTN_SET_AFTER);
    int nPeak = AfxLiveWorkerCount();
    const auto start = Clock::now();
    for (int i = 0; i < 1000; ++i) {
        Press(IDC_BTN_SET_AFTER);  // Reset
        Press(IDC_BTN_SET_AFTER);  // Set
        PumpPending();
        if (AfxLiveWorkerCount() > nPeak)
            nPeak = AfxLiveWorkerCount();
    }
    const double dPressMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    const int nRightAfter = AfxLiveWorkerCount();
    Pump(1500);
    std::printf("workers before:                    %d\n", nBefore);
    std::printf("1000 Reset/Set pairs took:         %.1f ms\n", dPressMs);
    std::printf("workers right after (peak):        %d (%d)\n", nRightAfter, nPeak);
    std::printf("workers 1.5 s after:               %d\n", AfxLiveWorkerCount());
    Press(IDC_BTN_SET_AFTER);
    Pump(1500);
}

void MeasureDrift()
{
    ::SetDlgItemTextA(g_pDlg->m_hWnd, IDC_EDIT_COUNT, "1");
    const auto start = Clock::now();
    Press(IDC_BTN_SET_AFTER);
    const auto startWall = std::chrono::system_clock::now();
    CString strLast = LineText();
    auto lastChange = start;
    double dWorstStepMs = 0;
    int nSteps = 0;
    while (Clock::now() - start < std::chrono::seconds(70)) {
        Pump(2);
        const CString strNow = LineText();
        if (strNow == strLast)
            continue;
        const auto now = Clock::now();
        const double dStepMs = std::chrono::duration<double, std::milli>(now - lastChange).count();
        if (nSteps > 0 && dStepMs > dWorstStepMs)
            dWorstStepMs = dStepMs;
        ++nSteps;
        lastChange = now;
        strLast = strNow;
        if (strNow.IsEmpty())
            break;
    }
    const double dWallMs =
        std::chrono::duration<double, std::milli>(std::chrono::system_clock::now() - startWall).count();
    std::printf("60 s countdown ran (wall clock):   %.1f ms\n", dWallMs);
    std::printf("drift against 60 s:                %+.1f ms\n", dWallMs - 60000.0);
    std::printf("line changes seen / longest step:  %d / %.1f ms\n", nSteps, dWorstStepMs);
    Press(IDC_BTN_SET_AFTER);
}

void CALLBACK RunBench(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    ::KillTimer(nullptr, nIDEvent);
    ::CheckRadioButton(g_pDlg->m_hWnd, IDC_RADIO_SHUTDOWN, IDC_RADIO_ALARM, IDC_RADIO_ALARM);
    Press(IDC_RADIO_ALARM);
    MeasureWorkers();
    MeasureDrift();
    g_pDlg->EndDialog(IDCANCEL);
}

} // namespace

int main()
{
    ::InitCommonControls();
    CQuietApi api;
    AfxSetSystemApi(&api);
    CKovnaDlg dlg;
    g_pDlg = &dlg;
    ::SetTimer(nullptr, 0, 0, RunBench);
    dlg.DoModal();
    std::printf("workers after the dialog closed:   %d\n", AfxLiveWorkerCount());
    AfxSetSystemApi(nullptr);
    return 0;
}
