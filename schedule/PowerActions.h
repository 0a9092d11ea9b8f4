// Forced shutdown and forced restart, with the shutdown privilege enabled in
// our own token. Each answers ERROR_SUCCESS when the system took the
// request, else the system's error code.
#pragma once

#include <windows.h>
#include <reason.h>

// What Windows logs as the reason: planned, neither a fault nor an upgrade.
constexpr DWORD kPlannedShutdownReason = SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED;

DWORD ShutdownSystem();
DWORD RebootSystem();

// Whether our token holds the shutdown privilege at all (standard users of
// a server or a Remote Desktop host, and some domains, have it taken away):
// ERROR_SUCCESS, or ERROR_NOT_ALL_ASSIGNED where it is not held, as enabling
// it would say at the deadline, or the error that kept us from knowing.
DWORD CheckShutdownPrivilege();
