// The real system behind the seam, and the switch that puts a recorder in its place.
#include "platform/SystemApi.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mmsystem.h>

#include "platform/StringConvert.h"

namespace {

CSystemApi g_realApi;
std::atomic<CSystemApi*> g_pApi{&g_realApi};

// Windows looks in the program's own folder first for any DLL that is not a
// known DLL, so one planted beside kovna.exe under a system name would run in
// our process. The common controls, the sound and the icon come from the
// system folder by full path instead; the altered search path makes the
// module's own imports come from there too.
HMODULE LoadSystemLibrary(const char* pszModule)
{
    // The folder as the system names it, in UTF-16: no code page can lose a
    // character of it. The module names are ASCII, held as narrow strings so
    // that the import check finds them.
    wchar_t szPath[MAX_PATH];
    const UINT nFolder = ::GetSystemDirectoryW(szPath, MAX_PATH);
    const size_t nName = std::strlen(pszModule);
    if (nFolder == 0 || nFolder + 1 + nName >= MAX_PATH)
        return nullptr;
    szPath[nFolder] = L'\\';
    std::copy(pszModule, pszModule + nName + 1, szPath + nFolder + 1);
    return ::LoadLibraryExW(szPath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// The modules are loaded on first use: most runs never ring or hide, and
// under Wine shell32 and winmm cost start-up time and memory. Each stays
// loaded for the life of the process on purpose: the controls it registered,
// a sound a worker plays or the icon may be in use until the very end. A
// module loaded twice by a race only counts one more reference; one that
// failed to load is asked for again on the next use.
template <typename Fn>
Fn LoadOnFirstUse(std::atomic<Fn>& slot, const char* pszModule, const char* pszName)
{
    Fn pfn = slot.load();
    if (!pfn) {
        if (const HMODULE hModule = LoadSystemLibrary(pszModule))
            pfn = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(hModule, pszName)));
        slot.store(pfn);
    }
    return pfn;
}

std::atomic<decltype(&::PlaySoundW)> g_pfnPlaySound{nullptr};
std::atomic<decltype(&::waveOutGetNumDevs)> g_pfnWaveOutGetNumDevs{nullptr};
std::atomic<decltype(&::Shell_NotifyIconW)> g_pfnShellNotifyIcon{nullptr};
std::atomic<decltype(&::InitCommonControlsEx)> g_pfnInitCommonControlsEx{nullptr};

} // namespace

DWORD AfxErrorOf(BOOL bOk)
{
    if (bOk)
        return ERROR_SUCCESS;
    const DWORD dwError = ::GetLastError();
    return dwError != ERROR_SUCCESS ? dwError : ERROR_GEN_FAILURE;
}

DWORD CSystemApi::OpenProcessToken(HANDLE hProcess, DWORD dwAccess, PHANDLE phToken)
{
    return AfxErrorOf(::OpenProcessToken(hProcess, dwAccess, phToken));
}

DWORD CSystemApi::LookupPrivilegeValueW(LPCWSTR pszSystem, LPCWSTR pszName, PLUID pLuid)
{
    return AfxErrorOf(::LookupPrivilegeValueW(pszSystem, pszName, pLuid));
}

DWORD CSystemApi::AdjustTokenPrivileges(HANDLE hToken, BOOL bDisableAll, PTOKEN_PRIVILEGES pNewState,
                                        DWORD cbPrevious, PTOKEN_PRIVILEGES pPrevious, PDWORD pcbReturned)
{
    if (!::AdjustTokenPrivileges(hToken, bDisableAll, pNewState, cbPrevious, pPrevious, pcbReturned))
        return AfxErrorOf(FALSE);
    return ::GetLastError();
}

DWORD CSystemApi::GetTokenInformation(HANDLE hToken, TOKEN_INFORMATION_CLASS infoClass, LPVOID pInfo, DWORD cbInfo,
                                      PDWORD pcbReturned)
{
    return AfxErrorOf(::GetTokenInformation(hToken, infoClass, pInfo, cbInfo, pcbReturned));
}

DWORD CSystemApi::CloseHandle(HANDLE hObject) { return AfxErrorOf(::CloseHandle(hObject)); }

DWORD CSystemApi::ExitWindowsEx(UINT uFlags, DWORD dwReason) { return AfxErrorOf(::ExitWindowsEx(uFlags, dwReason)); }

BOOL CSystemApi::PlaySoundW(LPCWSTR pszSound, HMODULE hModule, DWORD fdwSound)
{
    // Stopping a sound that was never played needs no module.
    if (!pszSound && !g_pfnPlaySound.load())
        return TRUE;
    const auto pfn = LoadOnFirstUse(g_pfnPlaySound, "winmm.dll", "PlaySoundW");
    return pfn && pfn(pszSound, hModule, fdwSound);
}

BOOL CSystemApi::LoadSoundModule()
{
    if (!LoadOnFirstUse(g_pfnPlaySound, "winmm.dll", "PlaySoundW"))
        return FALSE;
    // Counting the devices sets them up, which the first play would otherwise
    // do at its deadline: 35 to 50 ms under Wine, more on a busy machine.
    if (const auto pfn = LoadOnFirstUse(g_pfnWaveOutGetNumDevs, "winmm.dll", "waveOutGetNumDevs"))
        pfn();
    return TRUE;
}

EXECUTION_STATE CSystemApi::SetThreadExecutionState(EXECUTION_STATE esFlags)
{
    return ::SetThreadExecutionState(esFlags);
}

BOOL CSystemApi::Shell_NotifyIconW(DWORD dwMessage, PNOTIFYICONDATAW pData)
{
    const auto pfn = LoadOnFirstUse(g_pfnShellNotifyIcon, "shell32.dll", "Shell_NotifyIconW");
    return pfn && pfn(dwMessage, pData);
}

BOOL CSystemApi::SetForegroundWindow(HWND hWnd) { return ::SetForegroundWindow(hWnd); }

DWORD CSystemApi::TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, HWND hWnd)
{
    return AfxErrorOf(::TrackPopupMenu(hMenu, uFlags, x, y, 0, hWnd, nullptr));
}

DWORD CSystemApi::SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags)
{
    return AfxErrorOf(::SetWindowPos(hWnd, hWndInsertAfter, x, y, cx, cy, uFlags));
}

BOOL CSystemApi::FlashWindowEx(PFLASHWINFO pInfo) { return ::FlashWindowEx(pInfo); }

HWND CSystemApi::CreateWindowExW(DWORD dwExStyle, LPCWSTR pszClassName, LPCWSTR pszWindowName, DWORD dwStyle, int x,
                                 int y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                                 LPVOID pParam)
{
    return ::CreateWindowExW(dwExStyle, pszClassName, pszWindowName, dwStyle, x, y, nWidth, nHeight, hWndParent,
                             hMenu, hInstance, pParam);
}

DWORD CSystemApi::GetVersion() { return ::GetVersion(); }

DWORD CSystemApi::SystemParametersInfoW(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni)
{
    return AfxErrorOf(::SystemParametersInfoW(uiAction, uiParam, pvParam, fWinIni));
}

int CSystemApi::MessageBoxGbk(HWND hWnd, LPCSTR pszText, LPCSTR pszCaption, UINT uType)
{
    return ::MessageBoxW(hWnd, CWideText(pszText), CWideText(pszCaption), uType);
}

BOOL CSystemApi::InitCommonControlsEx(const INITCOMMONCONTROLSEX* pInit)
{
    const auto pfn = LoadOnFirstUse(g_pfnInitCommonControlsEx, "comctl32.dll", "InitCommonControlsEx");
    return pfn && pfn(pInit);
}

BOOL CSystemApi::ChangeWindowMessageFilter(UINT nMsg, DWORD dwFlag)
{
    // user32 is loaded already; Windows XP lacks the function.
    using Fn = BOOL(WINAPI*)(UINT, DWORD);
    const HMODULE hUser = ::GetModuleHandleA("user32.dll");
    const auto pfn = hUser ? reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(
                                 ::GetProcAddress(hUser, "ChangeWindowMessageFilter")))
                           : nullptr;
    return pfn && pfn(nMsg, dwFlag);
}

CSystemApi& AfxSystemApi() { return *g_pApi.load(); }

CSystemApi* AfxSetSystemApi(CSystemApi* pApi)
{
    return g_pApi.exchange(pApi ? pApi : &g_realApi);
}
