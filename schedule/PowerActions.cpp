// Forced shutdown and restart with the shutdown privilege.
#include "schedule/PowerActions.h"

#include <vector>

#include "platform/Handle.h"
#include "platform/SystemApi.h"

namespace {

// A token opened through the seam is closed through it.
BOOL WINAPI CloseThroughSeam(HANDLE hObject) { return AfxSystemApi().CloseHandle(hObject); }

using CTokenHandle = CHandleT<CloseThroughSeam>;

// Our token, opened for dwAccess, and the shutdown privilege's identifier;
// the system's error code when either cannot be had.
DWORD OpenTokenForShutdown(DWORD dwAccess, CTokenHandle& token, LUID& luid)
{
    CSystemApi& api = AfxSystemApi();
    HANDLE hToken = nullptr;
    if (!api.OpenProcessToken(::GetCurrentProcess(), dwAccess, &hToken))
        return api.GetLastError();
    token.Attach(hToken);
    if (!api.LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &luid))
        return api.GetLastError();
    return ERROR_SUCCESS;
}

BOOL ExitWithShutdownPrivilege(UINT uFlags, DWORD* pdwError)
{
    CSystemApi& api = AfxSystemApi();
    DWORD dwError = ERROR_SUCCESS;
    DWORD& dwWhy = pdwError ? *pdwError : dwError;
    CTokenHandle token;
    TOKEN_PRIVILEGES privileges{};
    dwWhy = OpenTokenForShutdown(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token, privileges.Privileges[0].Luid);
    if (dwWhy != ERROR_SUCCESS)
        return FALSE;

    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // AdjustTokenPrivileges succeeds even when the privilege was not
    // assigned; only the last error tells.
    api.AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
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

DWORD CheckShutdownPrivilege()
{
    CSystemApi& api = AfxSystemApi();
    CTokenHandle token;
    LUID luid{};
    if (const DWORD dwError = OpenTokenForShutdown(TOKEN_QUERY, token, luid))
        return dwError;
    // The first call asks how large the list is.
    DWORD cbList = 0;
    api.GetTokenInformation(token, TokenPrivileges, nullptr, 0, &cbList);
    if (cbList < sizeof(TOKEN_PRIVILEGES))
        return api.GetLastError();
    std::vector<TOKEN_PRIVILEGES> list(cbList / sizeof(TOKEN_PRIVILEGES) + 1);
    if (!api.GetTokenInformation(token, TokenPrivileges, list.data(),
                                 static_cast<DWORD>(list.size() * sizeof(TOKEN_PRIVILEGES)), &cbList))
        return api.GetLastError();
    const TOKEN_PRIVILEGES& held = list.front();
    for (DWORD i = 0; i < held.PrivilegeCount; ++i) {
        const LUID& each = held.Privileges[i].Luid;
        if (each.LowPart == luid.LowPart && each.HighPart == luid.HighPart)
            return ERROR_SUCCESS;
    }
    return ERROR_NOT_ALL_ASSIGNED;
}
