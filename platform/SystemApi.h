// Every call with an effect outside the program goes through this seam, so
// that tests can put a recorder in place of the system. kovna.exe never
// replaces it and calls the real functions.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

class CSystemApi {
public:
    virtual ~CSystemApi() = default;

    virtual BOOL OpenProcessToken(HANDLE hProcess, DWORD dwAccess, PHANDLE phToken);
    virtual BOOL LookupPrivilegeValueA(LPCSTR pszSystem, LPCSTR pszName, PLUID pLuid);
    virtual BOOL AdjustTokenPrivileges(HANDLE hToken, BOOL bDisableAll, PTOKEN_PRIVILEGES pNewState,
                                       DWORD cbPrevious, PTOKEN_PRIVILEGES pPrevious, PDWORD pcbReturned);
    virtual DWORD GetLastError();
    virtual BOOL CloseHandle(HANDLE hObject);
    virtual BOOL ExitWindowsEx(UINT uFlags, DWORD dwReason);
    virtual BOOL PlaySoundA(LPCSTR pszSound, HMODULE hModule, DWORD fdwSound);
    // Loads the sound module and sets up its devices ahead of the first play;
    // FALSE when the module cannot be loaded.
    virtual BOOL LoadSoundModule();
    virtual EXECUTION_STATE SetThreadExecutionState(EXECUTION_STATE esFlags);
    virtual BOOL Shell_NotifyIconW(DWORD dwMessage, PNOTIFYICONDATAW pData);
    // A window on top of every other one, or no longer, is seen outside the program.
    virtual BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags);
    virtual DWORD GetVersion();
    // The user's settings, high contrast among them, as the system reports them.
    virtual BOOL SystemParametersInfoW(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni);
    // Takes the program's GBK texts and shows them through MessageBoxW.
    virtual int MessageBoxW(HWND hWnd, LPCSTR pszText, LPCSTR pszCaption, UINT uType);
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
