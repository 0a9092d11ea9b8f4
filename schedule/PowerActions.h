// Forced shutdown and forced restart, with the shutdown privilege enabled in
// our own token. TRUE when the request was handed to the system; otherwise
// *pdwError (when given) says why, in the system's own error code.
#pragma once

#include <windows.h>
#include <reason.h>

// What Windows logs as the reason: planned, neither a fault nor an upgrade.
constexpr DWORD kPlannedShutdownReason = SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED;

BOOL ShutdownSystem(DWORD* pdwError = nullptr);
BOOL RebootSystem(DWORD* pdwError = nullptr);

// Whether our token holds the shutdown privilege at all (standard users of
// a server or a Remote Desktop host, and some domains, have it taken away):
// ERROR_SUCCESS, or the system's error code, ERROR_NOT_ALL_ASSIGNED where it
// is not held, as enabling it would say at the deadline.
DWORD CheckShutdownPrivilege();
