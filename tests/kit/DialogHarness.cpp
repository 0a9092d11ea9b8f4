// The modal harness and the message pumps that wait for a condition.
#include "DialogHarness.h"

#include <gtest/gtest.h>

namespace {

thread_local const std::function<void()>* t_pBody = nullptr;
thread_local CDialog* t_pDialog = nullptr;
thread_local UINT_PTR t_nBodyTimer = 0;
thread_local UINT_PTR t_nEndTimer = 0;

void CALLBACK EndIfOpen(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    ::KillTimer(nullptr, nIDEvent);
    t_nEndTimer = 0;
    if (t_pDialog && t_pDialog->m_hWnd && ::IsWindow(t_pDialog->m_hWnd))
        t_pDialog->EndDialog(kHarnessEnded);
}

void CALLBACK RunBody(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    ::KillTimer(nullptr, nIDEvent);
    t_nBodyTimer = 0;
    (*t_pBody)();
    // Timer messages come only when nothing else is queued, so whatever the
    // body posted is handled first.
    if (t_pDialog)
        t_nEndTimer = ::SetTimer(nullptr, 0, 0, EndIfOpen);
}

void StopTimer(UINT_PTR& nTimer)
{
    if (nTimer)
        ::KillTimer(nullptr, nTimer);
    nTimer = 0;
}

} // namespace

void RunInModalLoop(const std::function<void()>& run, const std::function<void()>& body)
{
    // kovna.exe registers the control classes at its start, which these
    // dialogs skip; the test process asks comctl32 itself.
    [[maybe_unused]] static const BOOL s_bControls = [] {
        INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
        return ::InitCommonControlsEx(&init);
    }();
    // Workers of an earlier dialog may still be on their way out.
    EXPECT_TRUE(PumpUntil([] { return AfxResetWorkers() != FALSE; }, 10000)) << "an earlier worker lives on";
    t_pBody = &body;
    t_nBodyTimer = ::SetTimer(nullptr, 0, 0, RunBody);
    run();
    // A body left waiting would run in some later test's loop.
    StopTimer(t_nBodyTimer);
    StopTimer(t_nEndTimer);
    t_pBody = nullptr;
}

INT_PTR RunModal(CDialog& dlg, const std::function<void()>& body)
{
    INT_PTR nResult = 0;
    t_pDialog = &dlg;
    RunInModalLoop([&] { nResult = dlg.DoModal(); }, body);
    t_pDialog = nullptr;
    return nResult;
}

void PumpFor(DWORD nMilliseconds)
{
    PumpUntil([] { return false; }, nMilliseconds);
}

bool PumpUntil(const std::function<bool()>& pred, DWORD nTimeoutMs)
{
    const DWORD dwStart = ::GetTickCount();
    for (;;) {
        if (pred())
            return true;
        if (::GetTickCount() - dwStart >= nTimeoutMs)
            return pred();
        // As the dialog manager's own loop for a Unicode dialog: a character
        // typed reaches the windows as UTF-16, never through the ANSI code page.
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            const HWND hActive = ::GetActiveWindow();
            if (hActive && ::IsDialogMessageW(hActive, &msg))
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

INT_PTR RunAsMainWindow(CDialog& dlg, const std::function<void()>& body)
{
    CWinApp app;
    app.m_pMainWnd = &dlg;
    return RunModal(dlg, body);
}
