// The recording system seam: every call kept, canned answers given.
#include "Recorder.h"

#include "Controls.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

std::vector<RecordedCall> CRecordingApi::Calls() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_calls;
}

std::vector<RecordedCall> CRecordingApi::CallsNamed(const std::string& name) const
{
    std::vector<RecordedCall> result;
    for (const RecordedCall& call : Calls()) {
        if (call.name == name)
            result.push_back(call);
    }
    return result;
}

std::vector<std::string> CRecordingApi::CallNames(const std::vector<std::string>& only) const
{
    std::vector<std::string> names;
    for (const RecordedCall& call : Calls()) {
        if (only.empty() || std::find(only.begin(), only.end(), call.name) != only.end())
            names.push_back(call.name);
    }
    return names;
}

std::vector<uintptr_t> CRecordingApi::ShellMessages() const
{
    std::vector<uintptr_t> messages;
    for (const RecordedCall& call : CallsNamed("Shell_NotifyIconW")) {
        if (!(call.nid.uFlags & NIF_INFO))
            messages.push_back(call.args[0]);
    }
    return messages;
}

std::vector<NOTIFYICONDATAW> CRecordingApi::Balloons() const
{
    std::vector<NOTIFYICONDATAW> balloons;
    for (const RecordedCall& call : CallsNamed("Shell_NotifyIconW")) {
        if (call.nid.uFlags & NIF_INFO)
            balloons.push_back(call.nid);
    }
    return balloons;
}

void CRecordingApi::Clear()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.clear();
}

void CRecordingApi::Record(RecordedCall call)
{
    call.dwTick = ::GetTickCount();
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.push_back(std::move(call));
}

DWORD CRecordingApi::OpenProcessToken(HANDLE hProcess, DWORD dwAccess, PHANDLE phToken)
{
    Record({"OpenProcessToken", {reinterpret_cast<uintptr_t>(hProcess), dwAccess}, {}, {}, {}});
    if (dwOpenTokenError == ERROR_SUCCESS)
        *phToken = reinterpret_cast<HANDLE>(kFakeToken);
    return dwOpenTokenError;
}

DWORD CRecordingApi::LookupPrivilegeValueW(LPCWSTR pszSystem, LPCWSTR pszName, PLUID pLuid)
{
    Record({"LookupPrivilegeValueW", {reinterpret_cast<uintptr_t>(pszSystem)}, pszName ? GbkText(pszName) : "", {},
            {}});
    pLuid->LowPart = 19;
    pLuid->HighPart = 0;
    return ERROR_SUCCESS;
}

DWORD CRecordingApi::AdjustTokenPrivileges(HANDLE hToken, BOOL bDisableAll, PTOKEN_PRIVILEGES pNewState,
                                           DWORD cbPrevious, PTOKEN_PRIVILEGES pPrevious, PDWORD pcbReturned)
{
    RecordedCall call{"AdjustTokenPrivileges",
                      {reinterpret_cast<uintptr_t>(hToken), static_cast<uintptr_t>(bDisableAll), cbPrevious,
                       reinterpret_cast<uintptr_t>(pPrevious), reinterpret_cast<uintptr_t>(pcbReturned)},
                      {}, {}, {}};
    if (pNewState) {
        call.args.push_back(pNewState->PrivilegeCount);
        call.args.push_back(pNewState->Privileges[0].Luid.LowPart);
        call.args.push_back(pNewState->Privileges[0].Attributes);
    }
    Record(call);
    return dwAdjustError;
}

DWORD CRecordingApi::GetTokenInformation(HANDLE hToken, TOKEN_INFORMATION_CLASS infoClass, LPVOID pInfo,
                                         DWORD cbInfo, PDWORD pcbReturned)
{
    Record({"GetTokenInformation", {reinterpret_cast<uintptr_t>(hToken), static_cast<uintptr_t>(infoClass), cbInfo},
            {}, {}, {}});
    const DWORD luids[] = {23, 19};
    const DWORD nCount = bTokenHoldsShutdown ? 2 : 1;
    const DWORD cbList = offsetof(TOKEN_PRIVILEGES, Privileges) + nCount * sizeof(LUID_AND_ATTRIBUTES);
    *pcbReturned = cbList;
    if (infoClass != TokenPrivileges)
        return ERROR_INVALID_PARAMETER;
    if (!pInfo || cbInfo < cbList)
        return ERROR_INSUFFICIENT_BUFFER;
    auto* pList = static_cast<TOKEN_PRIVILEGES*>(pInfo);
    pList->PrivilegeCount = nCount;
    for (DWORD i = 0; i < nCount; ++i)
        pList->Privileges[i] = {{luids[i], 0}, 0};
    return ERROR_SUCCESS;
}

DWORD CRecordingApi::CloseHandle(HANDLE hObject)
{
    Record({"CloseHandle", {reinterpret_cast<uintptr_t>(hObject)}, {}, {}, {}});
    return ERROR_SUCCESS;
}

DWORD CRecordingApi::ExitWindowsEx(UINT uFlags, DWORD dwReason)
{
    Record({"ExitWindowsEx", {uFlags, dwReason}, {}, {}, {}});
    return dwExitWindowsError;
}

BOOL CRecordingApi::PlaySoundW(LPCWSTR pszSound, HMODULE hModule, DWORD fdwSound)
{
    // A resource may be named by its number: recorded as "#140".
    std::string strSound;
    if (pszSound)
        strSound = IS_INTRESOURCE(pszSound) ? "#" + std::to_string(reinterpret_cast<uintptr_t>(pszSound))
                                            : GbkText(pszSound);
    Record({"PlaySoundW", {reinterpret_cast<uintptr_t>(hModule), fdwSound}, strSound, {}, {}});
    if (!pszSound && onStopSound)
        onStopSound();
    std::lock_guard<std::mutex> guard(m_lock);
    // A new sound, or none, ends the one playing, as the system does.
    m_bSoundPlaying = pszSound && (fdwSound & SND_LOOP) && bPlaySoundResult;
    return pszSound ? bPlaySoundResult.load() : TRUE;
}

BOOL CRecordingApi::LoadSoundModule()
{
    Record({"LoadSoundModule", {}, {}, {}, {}});
    return TRUE;
}

EXECUTION_STATE CRecordingApi::SetThreadExecutionState(EXECUTION_STATE esFlags)
{
    Record({"SetThreadExecutionState", {esFlags, ::GetCurrentThreadId()}, {}, {}, {}});
    return ES_CONTINUOUS;
}

bool CRecordingApi::SoundPlaying() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_bSoundPlaying;
}

BOOL CRecordingApi::Shell_NotifyIconW(DWORD dwMessage, PNOTIFYICONDATAW pData)
{
    RecordedCall call{"Shell_NotifyIconW", {dwMessage}, {}, {}, {}};
    if (pData) {
        // The record may be shorter than the header's newest layout.
        const size_t cb = pData->cbSize < sizeof call.nid ? pData->cbSize : sizeof call.nid;
        std::memcpy(&call.nid, pData, cb);
        call.text = GbkText(call.nid.szTip);
    }
    Record(call);
    return bShellResult;
}

BOOL CRecordingApi::SetForegroundWindow(HWND hWnd)
{
    Record({"SetForegroundWindow", {reinterpret_cast<uintptr_t>(hWnd)}, {}, {}, {}});
    return ::SetForegroundWindow(hWnd);
}

DWORD CRecordingApi::TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, HWND hWnd)
{
    Record({"TrackPopupMenu", {reinterpret_cast<uintptr_t>(hMenu), uFlags, reinterpret_cast<uintptr_t>(hWnd)}, {}, {},
            {}});
    return CSystemApi::TrackPopupMenu(hMenu, uFlags, x, y, hWnd);
}

DWORD CRecordingApi::SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags)
{
    Record({"SetWindowPos",
            {reinterpret_cast<uintptr_t>(hWnd), reinterpret_cast<uintptr_t>(hWndInsertAfter), uFlags},
            {}, {}, {}});
    return CSystemApi::SetWindowPos(hWnd, hWndInsertAfter, x, y, cx, cy, uFlags);
}

BOOL CRecordingApi::FlashWindowEx(PFLASHWINFO pInfo)
{
    Record({"FlashWindowEx", {reinterpret_cast<uintptr_t>(pInfo->hwnd), pInfo->dwFlags}, {}, {}, {}});
    return FALSE;
}

HWND CRecordingApi::CreateWindowExW(DWORD dwExStyle, LPCWSTR pszClassName, LPCWSTR pszWindowName, DWORD dwStyle,
                                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                                    HINSTANCE hInstance, LPVOID pParam)
{
    const int nCtrlID = static_cast<int>(reinterpret_cast<uintptr_t>(hMenu));
    if ((dwStyle & WS_CHILD) && refuseWindow && refuseWindow(nCtrlID)) {
        Record({"CreateWindowExW", {static_cast<uintptr_t>(nCtrlID)}, {}, {}, {}});
        return nullptr;
    }
    return ::CreateWindowExW(dwExStyle, pszClassName, pszWindowName, dwStyle, x, y, nWidth, nHeight, hWndParent,
                             hMenu, hInstance, pParam);
}

DWORD CRecordingApi::GetVersion()
{
    Record({"GetVersion", {}, {}, {}, {}});
    return dwVersion;
}

int CRecordingApi::MessageBoxGbk(HWND hWnd, LPCSTR pszText, LPCSTR pszCaption, UINT uType)
{
    RecordedCall call{"MessageBoxGbk", {reinterpret_cast<uintptr_t>(hWnd), uType}, pszText ? pszText : "",
                      pszCaption ? pszCaption : "", {}};
    Record(call);
    if (onMessageBox)
        onMessageBox(call);
    return nMessageBoxResult;
}

BOOL CRecordingApi::InitCommonControlsEx(const INITCOMMONCONTROLSEX* pInit)
{
    Record({"InitCommonControlsEx", {pInit->dwSize, pInit->dwICC}, {}, {}, {}});
    return onInitCommonControlsEx ? onInitCommonControlsEx(pInit->dwICC) : TRUE;
}

BOOL CRecordingApi::ChangeWindowMessageFilter(UINT nMsg, DWORD dwFlag)
{
    Record({"ChangeWindowMessageFilter", {nMsg, dwFlag}, {}, {}, {}});
    return TRUE;
}
