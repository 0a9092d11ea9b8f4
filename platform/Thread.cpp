// Worker threads: start, the registry of running workers, and their stop.
#include "platform/Thread.h"

#include <process.h>

#include <algorithm>
#include <vector>

#include "platform/Event.h"
#include "platform/Lock.h"
#include "platform/StringConvert.h"
#include "platform/SystemApi.h"
#include "platform/Wnd.h"

// One running worker, known to the framework until its procedure returns.
class CWinThread {
public:
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam) : m_pfnThreadProc(pfnThreadProc), m_pParam(pParam) {}
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    CHandle m_hThread;
    DWORD m_nThreadID = 0;
    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pParam;
};

namespace {

CCriticalSection g_lock;
std::vector<CWinThread*> g_live;

// Held while a worker reads a window object, never while it sends to it.
CCriticalSection g_windowsLock;
bool g_bWindowsClosed = false;

// Manual reset: once set, every sleeping worker wakes and stays awake.
// Made before main, not on first use: a guarded local static would bring in
// the posix thread runtime, which needs newer Windows than XP.
CEvent g_stopEvent;

HANDLE StopEvent() { return g_stopEvent.Handle(); }

} // namespace

static unsigned __stdcall AfxThreadEntry(void* pArg)
{
    auto* pThread = static_cast<CWinThread*>(pArg);
    const UINT nResult = pThread->m_pfnThreadProc(pThread->m_pParam);
    {
        CSingleLock lock(g_lock);
        g_live.erase(std::remove(g_live.begin(), g_live.end(), pThread), g_live.end());
        delete pThread;
    }
    return nResult;
}

DWORD AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                     DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    auto* pThread = new CWinThread(pfnThreadProc, pParam);
    unsigned nThreadID = 0;
    CSingleLock lock(g_lock);
    const uintptr_t hThread =
        _beginthreadex(lpSecurityAttrs, nStackSize, AfxThreadEntry, pThread, CREATE_SUSPENDED, &nThreadID);
    if (!hThread) {
        delete pThread;
        return AfxErrorOf(FALSE);
    }
    pThread->m_hThread.Attach(reinterpret_cast<HANDLE>(hThread));
    pThread->m_nThreadID = nThreadID;
    g_live.push_back(pThread);
    ::SetThreadPriority(pThread->m_hThread, nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED) && ::ResumeThread(pThread->m_hThread) == static_cast<DWORD>(-1)) {
        const DWORD dwError = AfxErrorOf(FALSE);
        // A thread that never runs would never leave the registry, and the
        // end of the program would wait for it.
        ::TerminateThread(pThread->m_hThread, 0);
        g_live.pop_back();
        delete pThread;
        return dwError;
    }
    return ERROR_SUCCESS;
}

namespace {

// A wait that cannot wait (a bad handle) would return at once, and every
// loop around it would spin: sleep the time out instead.
BOOL WaitOrSleep(DWORD dwResult, DWORD nMilliseconds)
{
    if (dwResult != WAIT_FAILED)
        return dwResult == WAIT_TIMEOUT;
    ::Sleep(nMilliseconds);
    return TRUE;
}

} // namespace

BOOL AfxWorkerSleep(DWORD nMilliseconds)
{
    return WaitOrSleep(::WaitForSingleObject(StopEvent(), nMilliseconds), nMilliseconds);
}

BOOL AfxWorkerWait(DWORD nMilliseconds, HANDLE hWake)
{
    const HANDLE handles[] = {StopEvent(), hWake};
    return WaitOrSleep(::WaitForMultipleObjects(2, handles, FALSE, nMilliseconds), nMilliseconds);
}

void AfxWorkerSetWindowText(CWnd* pWnd, LPCSTR pszText)
{
    HWND hWnd = nullptr;
    {
        CSingleLock lock(g_windowsLock);
        if (g_bWindowsClosed)
            return;
        hWnd = pWnd->m_hWnd;
    }
    // A handle whose window has just been destroyed only makes the call fail.
    ::SetWindowTextW(hWnd, CWideText(pszText));
}

void AfxWorkerPostMessage(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CSingleLock lock(g_windowsLock);
    if (!g_bWindowsClosed)
        ::PostMessageA(pWnd->m_hWnd, nMsg, wParam, lParam);
}

BOOL AfxWorkersStopping() { return ::WaitForSingleObject(StopEvent(), 0) == WAIT_OBJECT_0; }

BOOL AfxStopWorkers(DWORD nTimeoutMs)
{
    g_stopEvent.Set();
    {
        CSingleLock lock(g_windowsLock);
        g_bWindowsClosed = true;
    }
    const DWORD dwStart = ::GetTickCount();
    for (;;) {
        // Copies, since a thread object closes its own handle as its thread ends.
        std::vector<CHandle> copies;
        std::vector<HANDLE> handles;
        {
            CSingleLock lock(g_lock);
            for (CWinThread* pThread : g_live) {
                HANDLE hCopy = nullptr;
                if (::DuplicateHandle(::GetCurrentProcess(), pThread->m_hThread, ::GetCurrentProcess(), &hCopy,
                                      SYNCHRONIZE, FALSE, 0)) {
                    copies.emplace_back(hCopy);
                    handles.push_back(hCopy);
                }
            }
        }
        if (handles.empty())
            return TRUE;
        const DWORD dwElapsed = ::GetTickCount() - dwStart;
        const DWORD dwWait = dwElapsed >= nTimeoutMs ? 0 : nTimeoutMs - dwElapsed;
        const DWORD nCount = static_cast<DWORD>(std::min<size_t>(handles.size(), MAXIMUM_WAIT_OBJECTS - 1));
        const DWORD dwResult = ::MsgWaitForMultipleObjects(nCount, handles.data(), FALSE, dwWait, QS_SENDMESSAGE);
        if (dwResult == WAIT_OBJECT_0 + nCount) {
            // A worker is waiting for us inside a sent message: handle it.
            MSG msg;
            ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        if (dwResult == WAIT_TIMEOUT || dwResult == WAIT_FAILED)
            return FALSE;
    }
}

int AfxLiveWorkerCount()
{
    CSingleLock lock(g_lock);
    return static_cast<int>(g_live.size());
}

BOOL AfxResetWorkers()
{
    // A worker still alive would take the cleared stop as leave to go on.
    if (AfxLiveWorkerCount() != 0)
        return FALSE;
    g_stopEvent.Reset();
    CSingleLock lock(g_windowsLock);
    g_bWindowsClosed = false;
    return TRUE;
}
