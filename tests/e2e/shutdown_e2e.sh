#!/bin/sh
# End to end: the real kovna.exe in a Wine prefix of its own, a two-second
# absolute countdown in shutdown mode, and Wine's relay trace as evidence
# that the real path reached ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE). The
# forced shutdown ends only that prefix's processes; the prefix is deleted.
# Usage: shutdown_e2e.sh kovna.exe driver.exe
set -u
KOVNA_EXE=$1
DRIVER_EXE=$2
. "$(dirname "$0")/../../scripts/wine-env.sh"
WINE=$KOVNA_WINE
WINESERVER=$KOVNA_WINESERVER

if [ -z "${DISPLAY:-}" ]; then
    echo "no X display: skipped"
    exit 77
fi

PREFIX=$(mktemp -d /tmp/kovna-e2e.XXXXXX)
LOG=$PREFIX.relay.log
cleanup() {
    WINEPREFIX=$PREFIX $WINESERVER -k </dev/null >/dev/null 2>&1
    rm -rf "$PREFIX" "$PREFIX.lock" "$LOG"
}
trap cleanup EXIT INT TERM

kovna_wine_env "$PREFIX"
kovna_wine_prefix || exit 1
# Relay only the calls that tell the story, or the trace drowns.
timeout 30 $WINE reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /t REG_SZ \
    /d 'user32.ExitWindowsEx;advapi32.OpenProcessToken;advapi32.AdjustTokenPrivileges' /f </dev/null >/dev/null 2>&1

WINEDEBUG=+relay timeout 60 $WINE "$KOVNA_EXE" </dev/null >"$LOG" 2>&1 &
KOVNA_PID=$!
timeout 60 $WINE "$DRIVER_EXE" </dev/null 2>/dev/null
echo "driver exit: $?"

# The prefix's processes end on the forced shutdown; bounded either way.
i=0
while kill -0 $KOVNA_PID 2>/dev/null && [ $i -lt 100 ]; do
    sleep 0.2
    i=$((i + 1))
done
if kill -0 $KOVNA_PID 2>/dev/null; then
    echo "FAIL: kovna.exe still running"
    kill $KOVNA_PID 2>/dev/null
    exit 1
fi

grep -a -E 'Call (user32\.ExitWindowsEx|advapi32\.(OpenProcessToken|AdjustTokenPrivileges))\(' "$LOG"
grep -a -q -E 'Call user32\.ExitWindowsEx\(0*5,0*\)' "$LOG" || { echo "FAIL: no ExitWindowsEx(5, 0) in the relay trace"; exit 1; }
grep -a -q -E 'Call advapi32\.OpenProcessToken\([0-9a-f]+,0*28,' "$LOG" || { echo "FAIL: no OpenProcessToken(.., 0x28, ..)"; exit 1; }
echo "PASS: ExitWindowsEx(5) reached; only the throwaway prefix ended"
exit 0
