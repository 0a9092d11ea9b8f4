// Forced shutdown and restart with the shutdown privilege.
#include "schedule/PowerActions.h"

#include "platform/SystemApi.h"

namespace {

// Owns a token handle opened through the seam.
class CTokenHandle {
public:
    CTokenHandle() = default;
    CTokenHandle(const CTokenHandle&) = delete;
    CTokenHandle& operator=(const CTokenHandle&) = delete;
    ~CTokenHandle()
    {
        if (m_hToken)
            AfxSystemApi().CloseHandle(m_hToken);
    }

    HANDLE m_hToken = nullptr;
};

BOOL ExitWithShutdownPrivilege(UINT uFlags)
{
    CSystemApi& api = AfxSystemApi();
    CTokenHandle token;
    if (!api.OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token.m_hToken)) {
        token.m_hToken = nullptr;
        return FALSE;
    }

    TOKEN_PRIVILEGES privileges{};
    api.LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    api.AdjustTokenPrivileges(token.m_hToken, FALSE, &privileges, 0, nullptr, nullptr);
    // AdjustTokenPrivileges succeeds even when the privilege was not
    // assigned; only the last error tells.
    if (api.GetLastError() != ERROR_SUCCESS)
        return FALSE;

    return api.ExitWindowsEx(uFlags, 0);
}

} // namespace

BOOL ShutdownSystem() { return ExitWithShutdownPrivilege(EWX_SHUTDOWN | EWX_FORCE); }

BOOL RebootSystem() { return ExitWithShutdownPrivilege(EWX_REBOOT | EWX_FORCE); }
