// The system seam. Its calls are the ones a test must observe or bring
// about: every effect outside the program (shutdown, sound, the shell's
// icon and menu, a window's rank and flash, message boxes), what the system
// tells of itself (the version, the token, high contrast), and the failures
// a test needs (a window that cannot be made).
// Nothing else goes through it. kovna.exe never replaces it and calls the
// real functions; tests put a recorder in its place.
//
// Errors are values: a call whose function leaves an error code answers it,
// ERROR_SUCCESS when it succeeded; a call whose function leaves none (a
// sound, the shell's icon) answers as that function does. Texts are UTF-16,
// except where a name says Gbk: those take the program's GBK texts.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

class CSystemApi {
public:
    virtual ~CSystemApi() = default;

    virtual DWORD OpenProcessToken(HANDLE hProcess, DWORD dwAccess, PHANDLE phToken);
    virtual DWORD LookupPrivilegeValueW(LPCWSTR pszSystem, LPCWSTR pszName, PLUID pLuid);
    // The last error even when the call returned TRUE: a privilege that is
    // not assigned is ERROR_NOT_ALL_ASSIGNED, and only that error tells.
    virtual DWORD AdjustTokenPrivileges(HANDLE hToken, BOOL bDisableAll, PTOKEN_PRIVILEGES pNewState,
                                        DWORD cbPrevious, PTOKEN_PRIVILEGES pPrevious, PDWORD pcbReturned);
    virtual DWORD GetTokenInformation(HANDLE hToken, TOKEN_INFORMATION_CLASS infoClass, LPVOID pInfo, DWORD cbInfo,
                                      PDWORD pcbReturned);
    virtual DWORD CloseHandle(HANDLE hObject);
    virtual DWORD ExitWindowsEx(UINT uFlags, DWORD dwReason);
    virtual BOOL PlaySoundW(LPCWSTR pszSound, HMODULE hModule, DWORD fdwSound);
    // Loads the sound module and sets up its devices ahead of the first play;
    // FALSE when the module cannot be loaded.
    virtual BOOL LoadSoundModule();
    virtual EXECUTION_STATE SetThreadExecutionState(EXECUTION_STATE esFlags);
    virtual BOOL Shell_NotifyIconW(DWORD dwMessage, PNOTIFYICONDATAW pData);
    // The notification area's menu needs its owner in the foreground.
    virtual BOOL SetForegroundWindow(HWND hWnd);
    virtual DWORD TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, HWND hWnd);
    // A window on top of every other one, or no longer, is seen outside the program.
    virtual DWORD SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags);
    // A taskbar button that flashes is how a program in the background asks
    // to be seen; answers whether it was lit before.
    virtual BOOL FlashWindowEx(PFLASHWINFO pInfo);
    // The framework's one way to make a window, so that a test can refuse one.
    virtual HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR pszClassName, LPCWSTR pszWindowName, DWORD dwStyle, int x,
                                 int y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                                 LPVOID pParam);
    virtual DWORD GetVersion();
    // The user's settings, high contrast among them, as the system reports them.
    virtual DWORD SystemParametersInfoW(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni);
    // Shows the GBK texts through MessageBoxW; the button pressed.
    virtual int MessageBoxGbk(HWND hWnd, LPCSTR pszText, LPCSTR pszCaption, UINT uType);
    virtual BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* pInit);
    // Vista and later; FALSE where the system has no message filter.
    virtual BOOL ChangeWindowMessageFilter(UINT nMsg, DWORD dwFlag);
};

#ifndef MSGFLT_ADD
#define MSGFLT_ADD 1
#endif

// The seam in force; the real system unless a test installed another.
CSystemApi& AfxSystemApi();

// Installs pApi (nullptr: the real system again) and returns the previous one.
CSystemApi* AfxSetSystemApi(CSystemApi* pApi);

// The calling thread's last error for a call that returned bOk: never
// ERROR_SUCCESS for a failure, even where the system left no code.
DWORD AfxErrorOf(BOOL bOk);
