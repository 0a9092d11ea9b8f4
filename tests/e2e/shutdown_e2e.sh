#!/bin/sh
# End to end: the real kovna.exe in a Wine prefix of its own, a two-second
# absolute countdown in shutdown mode, and Wine's relay trace as evidence
# that the real path reached ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE). The
# forced shutdown ends only that prefix's processes; the prefix is deleted.
# Usage: shutdown_e2e.sh kovna.exe kovna_driver.exe
set -u
DRIVER_EXE=$2
. "$(dirname "$0")/../../scripts/wine-env.sh"
. "$(dirname "$0")/../../scripts/x-tools.sh"
. "$(dirname "$0")/../../scripts/at-exit.sh"
. "$(dirname "$0")/../../scripts/throwaway.sh"
# Relay only the calls that tell the story, or the trace drowns.
kovna_throwaway_start 'user32.ExitWindowsEx;advapi32.OpenProcessToken;advapi32.AdjustTokenPrivileges' "$1" 60 || exit 1
LOG=$KOVNA_RELAY_LOG
drive() { kovna_wine_run 60 "$DRIVER_EXE" "$@" </dev/null; }
# As a user would: the shutdown radio, both pickers two seconds ahead, and the
# absolute row's Set button, posted by the driver that set them (a refused
# target would hold a sent message in its warning box; another driver's
# start may outlast the two seconds). Then the countdown line until kovna ends.
drive wait shown && drive wait filled IDC_STATIC_CLOCK && drive check IDC_RADIO_SHUTDOWN &&
    drive settime-in 2 IDC_DATE IDC_TIME command IDC_BTN_SET_AT && drive trace IDC_STATIC_COUNTDOWN 10
echo "driver exit: $?"

# The prefix's processes end on the forced shutdown; bounded either way.
ended() { ! kill -0 $KOVNA_PID 2>/dev/null; }
if ! kovna_wait_for 20 ended; then
    echo "FAIL: kovna.exe still running"
    kill $KOVNA_PID 2>/dev/null
    exit 1
fi

grep -a -E 'Call (user32\.ExitWindowsEx|advapi32\.(OpenProcessToken|AdjustTokenPrivileges))\(' "$LOG"
# EWX_SHUTDOWN | EWX_FORCE, and a planned reason.
# 64-bit Wine's relay prints each 32-bit argument as 64 bits, its upper half unset.
grep -a -q -E 'Call user32\.ExitWindowsEx\([0-9a-f]?0*5,[0-9a-f]?80000000\)' "$LOG" || { echo "FAIL: no ExitWindowsEx(5, 0x80000000) in the relay trace"; exit 1; }
grep -a -q -E 'Call advapi32\.OpenProcessToken\([0-9a-f]+,0*28,' "$LOG" || { echo "FAIL: no OpenProcessToken(.., 0x28, ..)"; exit 1; }
echo "PASS: ExitWindowsEx(5) reached; only the throwaway prefix ended"
exit 0
