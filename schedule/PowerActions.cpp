// Forced shutdown and restart with the shutdown privilege.
#include "schedule/PowerActions.h"

#include "platform/Handle.h"
#include "platform/SystemApi.h"

namespace {

// A token opened through the seam is closed through it.
BOOL WINAPI CloseThroughSeam(HANDLE hObject) { return AfxSystemApi().CloseHandle(hObject); }

using CTokenHandle = CHandleT<CloseThroughSeam>;

BOOL ExitWithShutdownPrivilege(UINT uFlags, DWORD* pdwError)
{
    CSystemApi& api = AfxSystemApi();
    DWORD dwError = ERROR_SUCCESS;
    DWORD& dwWhy = pdwError ? *pdwError : dwError;
    CTokenHandle token;
    HANDLE hToken = nullptr;
    if (!api.OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &hToken)) {
        dwWhy = api.GetLastError();
        return FALSE;
    }
    token.Attach(hToken);

    TOKEN_PRIVILEGES privileges{};
    api.LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    api.AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    // AdjustTokenPrivileges succeeds even when the privilege was not
    // assigned; only the last error tells.
    dwWhy = api.GetLastError();
    if (dwWhy != ERROR_SUCCESS)
        return FALSE;

    if (api.ExitWindowsEx(uFlags, kPlannedShutdownReason))
        return TRUE;
    dwWhy = api.GetLastError();
    return FALSE;
}

} // namespace

BOOL ShutdownSystem(DWORD* pdwError) { return ExitWithShutdownPrivilege(EWX_SHUTDOWN | EWX_FORCE, pdwError); }

BOOL RebootSystem(DWORD* pdwError) { return ExitWithShutdownPrivilege(EWX_REBOOT | EWX_FORCE, pdwError); }
