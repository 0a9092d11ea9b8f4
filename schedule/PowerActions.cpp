// Forced shutdown and restart with the shutdown privilege.
#include "schedule/PowerActions.h"

#include <vector>

#include "platform/Handle.h"
#include "platform/SystemApi.h"

namespace {

// A token opened through the seam is closed through it.
BOOL WINAPI CloseThroughSeam(HANDLE hObject) { return AfxSystemApi().CloseHandle(hObject) == ERROR_SUCCESS; }

using CTokenHandle = CHandleT<CloseThroughSeam>;

// Our token, opened for dwAccess, and the shutdown privilege's identifier.
DWORD OpenTokenForShutdown(DWORD dwAccess, CTokenHandle& token, LUID& luid)
{
    CSystemApi& api = AfxSystemApi();
    HANDLE hToken = nullptr;
    if (const DWORD dwError = api.OpenProcessToken(::GetCurrentProcess(), dwAccess, &hToken))
        return dwError;
    token.Attach(hToken);
    return api.LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &luid);
}

DWORD ExitWithShutdownPrivilege(UINT uFlags)
{
    CSystemApi& api = AfxSystemApi();
    CTokenHandle token;
    TOKEN_PRIVILEGES privileges{};
    if (const DWORD dwError =
            OpenTokenForShutdown(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token, privileges.Privileges[0].Luid))
        return dwError;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (const DWORD dwError = api.AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr))
        return dwError;
    return api.ExitWindowsEx(uFlags, kPlannedShutdownReason);
}

} // namespace

DWORD ShutdownSystem() { return ExitWithShutdownPrivilege(EWX_SHUTDOWN | EWX_FORCE); }

DWORD RebootSystem() { return ExitWithShutdownPrivilege(EWX_REBOOT | EWX_FORCE); }

DWORD CheckShutdownPrivilege()
{
    CSystemApi& api = AfxSystemApi();
    CTokenHandle token;
    LUID luid{};
    if (const DWORD dwError = OpenTokenForShutdown(TOKEN_QUERY, token, luid))
        return dwError;
    // The first call asks how large the list is.
    DWORD cbList = 0;
    const DWORD dwSizeError = api.GetTokenInformation(token, TokenPrivileges, nullptr, 0, &cbList);
    if (dwSizeError != ERROR_INSUFFICIENT_BUFFER)
        return dwSizeError != ERROR_SUCCESS ? dwSizeError : ERROR_NOT_ALL_ASSIGNED;
    std::vector<TOKEN_PRIVILEGES> list(cbList / sizeof(TOKEN_PRIVILEGES) + 1);
    if (const DWORD dwError = api.GetTokenInformation(
            token, TokenPrivileges, list.data(), static_cast<DWORD>(list.size() * sizeof(TOKEN_PRIVILEGES)), &cbList))
        return dwError;
    const TOKEN_PRIVILEGES& held = list.front();
    for (DWORD i = 0; i < held.PrivilegeCount; ++i) {
        const LUID& each = held.Privileges[i].Luid;
        if (each.LowPart == luid.LowPart && each.HighPart == luid.HighPart)
            return ERROR_SUCCESS;
    }
    return ERROR_NOT_ALL_ASSIGNED;
}
