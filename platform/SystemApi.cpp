// The real system behind the seam, and the switch that puts a recorder in its place.
#include "platform/SystemApi.h"

#include <atomic>
#include <mmsystem.h>

namespace {

CSystemApi g_realApi;
std::atomic<CSystemApi*> g_pApi{&g_realApi};

} // namespace

BOOL CSystemApi::OpenProcessToken(HANDLE hProcess, DWORD dwAccess, PHANDLE phToken)
{
    return ::OpenProcessToken(hProcess, dwAccess, phToken);
}

BOOL CSystemApi::LookupPrivilegeValueA(LPCSTR pszSystem, LPCSTR pszName, PLUID pLuid)
{
    return ::LookupPrivilegeValueA(pszSystem, pszName, pLuid);
}

BOOL CSystemApi::AdjustTokenPrivileges(HANDLE hToken, BOOL bDisableAll, PTOKEN_PRIVILEGES pNewState,
                                       DWORD cbPrevious, PTOKEN_PRIVILEGES pPrevious, PDWORD pcbReturned)
{
    return ::AdjustTokenPrivileges(hToken, bDisableAll, pNewState, cbPrevious, pPrevious, pcbReturned);
}

DWORD CSystemApi::GetLastError() { return ::GetLastError(); }

BOOL CSystemApi::CloseHandle(HANDLE hObject) { return ::CloseHandle(hObject); }

BOOL CSystemApi::ExitWindowsEx(UINT uFlags, DWORD dwReason) { return ::ExitWindowsEx(uFlags, dwReason); }

BOOL CSystemApi::PlaySoundA(LPCSTR pszSound, HMODULE hModule, DWORD fdwSound)
{
    return ::PlaySoundA(pszSound, hModule, fdwSound);
}

BOOL CSystemApi::Shell_NotifyIconA(DWORD dwMessage, PNOTIFYICONDATAA pData)
{
    return ::Shell_NotifyIconA(dwMessage, pData);
}

DWORD CSystemApi::GetVersion() { return ::GetVersion(); }

int CSystemApi::MessageBoxA(HWND hWnd, LPCSTR pszText, LPCSTR pszCaption, UINT uType)
{
    return ::MessageBoxA(hWnd, pszText, pszCaption, uType);
}

CSystemApi& AfxSystemApi() { return *g_pApi.load(); }

CSystemApi* AfxSetSystemApi(CSystemApi* pApi)
{
    return g_pApi.exchange(pApi ? pApi : &g_realApi);
}
