// Forced shutdown and forced restart, with the shutdown privilege enabled in
// our own token. TRUE when the request was handed to the system.
#pragma once

#include <windows.h>

BOOL ShutdownSystem();
BOOL RebootSystem();
