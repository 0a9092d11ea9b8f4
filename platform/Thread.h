// Worker threads. Every worker started with AfxBeginThread is known to the
// framework, so that the program can stop them all before the windows they
// write to are destroyed.
#pragma once

#include <windows.h>

#include "platform/Handle.h"

using AFX_THREADPROC = UINT(__cdecl*)(LPVOID);

// Starts pfnThreadProc(pParam) on a new thread: ERROR_SUCCESS, or the
// system's error code when no thread could be started (the caller keeps
// pParam then). The framework's record of the thread goes with the thread,
// so there is nothing for a caller to keep.
DWORD AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                     UINT nStackSize = 0, DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

// For workers: waits nMilliseconds, or less when the program is ending;
// FALSE when it is ending.
BOOL AfxWorkerSleep(DWORD nMilliseconds);
BOOL AfxWorkersStopping();

// For workers: waits nMilliseconds, or less when hWake is signalled or the
// program is ending; TRUE when the whole time passed.
BOOL AfxWorkerWait(DWORD nMilliseconds, HANDLE hWake);

class CWnd;

// For workers: sets the text of one of the dialog's windows, or nothing once
// the program has begun to take its windows down. The window object is only
// touched while it still exists.
void AfxWorkerSetWindowText(CWnd* pWnd, LPCSTR pszText);

// For workers: posts a message to one of the dialog's windows, or nothing
// once the program has begun to take its windows down. Never waits.
void AfxWorkerPostMessage(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// For the GUI thread at the program's end: asks every worker to stop and
// waits for them, handling the messages they send meanwhile (a worker may be
// inside SetWindowText on one of our windows). TRUE when all have ended
// within nTimeoutMs. From its start no worker writes to a window any more,
// so a worker that outlives the wait cannot reach a window that is gone.
BOOL AfxStopWorkers(DWORD nTimeoutMs);

// Workers that have not ended yet.
int AfxLiveWorkerCount();

// Lets workers run again after AfxStopWorkers (tests run many dialogs in one
// process); FALSE, and nothing changed, while a worker is still alive.
BOOL AfxResetWorkers();
