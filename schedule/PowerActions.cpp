// Forced shutdown and restart with the shutdown privilege.
#include "schedule/PowerActions.h"

#include "platform/Handle.h"
#include "platform/SystemApi.h"

namespace {

// A token opened through the seam is closed through it.
BOOL WINAPI CloseThroughSeam(HANDLE hObject) { return AfxSystemApi().CloseHandle(hObject); }

using CTokenHandle = CHandleT<CloseThroughSeam>;

BOOL ExitWithShutdownPrivilege(UINT uFlags)
{
    CSystemApi& api = AfxSystemApi();
    CTokenHandle token;
    HANDLE hToken = nullptr;
    if (!api.OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &hToken))
        return FALSE;
    token.Attach(hToken);

    TOKEN_PRIVILEGES privileges{};
    api.LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    api.AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    // AdjustTokenPrivileges succeeds even when the privilege was not
    // assigned; only the last error tells.
    if (api.GetLastError() != ERROR_SUCCESS)
        return FALSE;

    return api.ExitWindowsEx(uFlags, 0);
}

} // namespace

BOOL ShutdownSystem() { return ExitWithShutdownPrivilege(EWX_SHUTDOWN | EWX_FORCE); }

BOOL RebootSystem() { return ExitWithShutdownPrivilege(EWX_REBOOT | EWX_FORCE); }
