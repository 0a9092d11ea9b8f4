// A system seam for tests: records every call with its arguments and answers
// with canned values, never touching the real system.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/SystemApi.h"

struct RecordedCall {
    std::string name;
    std::vector<uintptr_t> args;  // numeric arguments, in call order
    std::string text;             // text argument as GBK (message box text, sound name or "#id", tooltip)
    std::string caption;          // message box caption
    NOTIFYICONDATAW nid{};        // the record passed to Shell_NotifyIconW
    DWORD dwTick = 0;             // GetTickCount when the call came
};

class CRecordingApi : public CSystemApi {
public:
    // Canned answers.
    // What the token's calls and ExitWindowsEx answer (ERROR_SUCCESS: done).
    DWORD dwOpenTokenError = ERROR_SUCCESS;
    DWORD dwAdjustError = ERROR_SUCCESS;  // ERROR_NOT_ALL_ASSIGNED: a privilege not held
    DWORD dwExitWindowsError = ERROR_SUCCESS;
    BOOL bTokenHoldsShutdown = TRUE;  // the token's privileges include the shutdown privilege
    std::atomic<BOOL> bPlaySoundResult{FALSE};  // TRUE: a sound starts and, looped, plays until PlaySoundW(NULL)
    BOOL bShellResult = TRUE;
    DWORD dwVersion = 0x0A;        // low byte: the major version
    int nMessageBoxResult = IDOK;
    // Runs inside MessageBoxGbk after it was recorded (e.g. to look at the dialog meanwhile).
    std::function<void(const RecordedCall&)> onMessageBox;
    // Runs inside PlaySoundW(NULL), the stop, after it was recorded.
    std::function<void()> onStopSound;
    // Runs inside InitCommonControlsEx with the classes asked for, and gives its answer; the
    // test process registered every class before, so by default it only says yes.
    std::function<BOOL(DWORD dwICC)> onInitCommonControlsEx;
    // A child window whose control ID this answers true for is not made.
    std::function<bool(int nCtrlID)> refuseWindow;

    std::vector<RecordedCall> Calls() const;
    std::vector<RecordedCall> CallsNamed(const std::string& name) const;
    size_t Count(const std::string& name) const { return CallsNamed(name).size(); }
    // The calls' names in order; only those in only, where it is given.
    std::vector<std::string> CallNames(const std::vector<std::string>& only = {}) const;
    // A looped sound started and not stopped since.
    bool SoundPlaying() const;
    // The messages (NIM_ADD, NIM_MODIFY, NIM_DELETE) of the shell calls for
    // the icon itself, in order: a balloon is not one of them.
    std::vector<uintptr_t> ShellMessages() const;
    // The records of the balloons shown at the icon.
    std::vector<NOTIFYICONDATAW> Balloons() const;
    void Clear();

    DWORD OpenProcessToken(HANDLE hProcess, DWORD dwAccess, PHANDLE phToken) override;
    DWORD LookupPrivilegeValueW(LPCWSTR pszSystem, LPCWSTR pszName, PLUID pLuid) override;
    DWORD AdjustTokenPrivileges(HANDLE hToken, BOOL bDisableAll, PTOKEN_PRIVILEGES pNewState, DWORD cbPrevious,
                                PTOKEN_PRIVILEGES pPrevious, PDWORD pcbReturned) override;
    // A list of the recorder's privileges: the shutdown privilege (19) where held, and one other (23).
    DWORD GetTokenInformation(HANDLE hToken, TOKEN_INFORMATION_CLASS infoClass, LPVOID pInfo, DWORD cbInfo,
                              PDWORD pcbReturned) override;
    DWORD CloseHandle(HANDLE hObject) override;
    DWORD ExitWindowsEx(UINT uFlags, DWORD dwReason) override;
    BOOL PlaySoundW(LPCWSTR pszSound, HMODULE hModule, DWORD fdwSound) override;
    BOOL LoadSoundModule() override;
    // Recorded with the flags and the calling thread.
    EXECUTION_STATE SetThreadExecutionState(EXECUTION_STATE esFlags) override;
    BOOL Shell_NotifyIconW(DWORD dwMessage, PNOTIFYICONDATAW pData) override;
    // Recorded (args: hWnd), then done.
    BOOL SetForegroundWindow(HWND hWnd) override;
    // Recorded (args: hMenu, uFlags, hWnd), then done.
    DWORD TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, HWND hWnd) override;
    // Recorded with the window and the rank (args: hWnd, hWndInsertAfter, uFlags), then done.
    DWORD SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags) override;
    // Recorded (args: hwnd, dwFlags), never done.
    BOOL FlashWindowEx(PFLASHWINFO pInfo) override;
    // Every test makes windows: only a refused one is recorded (args: the control ID).
    HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR pszClassName, LPCWSTR pszWindowName, DWORD dwStyle, int x, int y,
                         int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                         LPVOID pParam) override;
    DWORD GetVersion() override;
    int MessageBoxGbk(HWND hWnd, LPCSTR pszText, LPCSTR pszCaption, UINT uType) override;
    BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* pInit) override;
    BOOL ChangeWindowMessageFilter(UINT nMsg, DWORD dwFlag) override;

    static constexpr uintptr_t kFakeToken = 0x4B0;

    CRecordingApi() = default;
    CRecordingApi(const CRecordingApi&) = delete;
    CRecordingApi& operator=(const CRecordingApi&) = delete;

private:
    void Record(RecordedCall call);

    mutable std::mutex m_lock;
    std::vector<RecordedCall> m_calls;
    bool m_bSoundPlaying = false;
};

// Installs a seam for the life of the object.
class CScopedSystemApi {
public:
    explicit CScopedSystemApi(CSystemApi* pApi) : m_pPrevious(AfxSetSystemApi(pApi)) {}
    ~CScopedSystemApi() { AfxSetSystemApi(m_pPrevious); }
    CScopedSystemApi(const CScopedSystemApi&) = delete;
    CScopedSystemApi& operator=(const CScopedSystemApi&) = delete;

private:
    CSystemApi* m_pPrevious;
};
