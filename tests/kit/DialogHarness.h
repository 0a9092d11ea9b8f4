// Runs a real dialog's modal loop in the test process and a test body inside
// that loop, once the dialog is up.
#pragma once

#include <functional>

#include "platform/Afx.h"

// What DoModal returns when the harness, not the dialog, ended the loop.
constexpr INT_PTR kHarnessEnded = 0x4B4E;

// Runs dlg.DoModal(); body runs inside the modal loop. When the dialog is
// still open after the body and the messages it queued, the harness ends it
// with kHarnessEnded. Returns DoModal's result.
INT_PTR RunModal(CDialog& dlg, const std::function<void()>& body);

// RunModal with dlg as the application's main window, as the program runs
// it: the About box and the warnings find their owner through it.
INT_PTR RunAsMainWindow(CDialog& dlg, const std::function<void()>& body);

// The same for a run that opens its own modal loop (the program's start):
// body runs inside that loop; when no loop comes, body never runs.
void RunInModalLoop(const std::function<void()>& run, const std::function<void()>& body);

// Handles this thread's messages (dialog keys included) for nMilliseconds.
void PumpFor(DWORD nMilliseconds);

// Handles messages until pred() is true or nTimeoutMs pass; pred()'s last answer.
bool PumpUntil(const std::function<bool()>& pred, DWORD nTimeoutMs);
