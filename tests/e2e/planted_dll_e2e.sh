#!/bin/sh
# End to end: stand-ins named comctl32.dll and winmm.dll beside a copy of
# kovna.exe, Wine told to prefer such native DLLs as Windows does, and an
# alarm rung on the absolute row. Kovna must open, ring and end without
# loading either: each stand-in leaves a marker file when loaded. In a prefix
# and on a display of its own.
# Usage: planted_dll_e2e.sh kovna.exe kovna_driver.exe planted-folder
set -u
KOVNA_EXE=$1
DRIVER_EXE=$2
PLANTED=$3
. "$(dirname "$0")/../../scripts/wine-env.sh"
. "$(dirname "$0")/../../scripts/x-tools.sh"
. "$(dirname "$0")/../../scripts/at-exit.sh"
. "$(dirname "$0")/../../scripts/throwaway.sh"

kovna_own_prefix "$KOVNA_EXE" || exit 1
DIR=$KOVNA_OWN_DIR
WINE=$KOVNA_WINE
cp "$KOVNA_EXE" "$DIR/kovna.exe"
cp "$PLANTED/comctl32.dll" "$PLANTED/winmm.dll" "$DIR/"
PREFER_NATIVE="$WINEDLLOVERRIDES;comctl32,winmm=n,b"

# The stand-ins work: a load leaves the marker.
WINEDLLOVERRIDES=$PREFER_NATIVE timeout 30 $WINE rundll32 "$(winepath_of "$DIR/winmm.dll"),Touch" </dev/null >/dev/null 2>&1
[ -e "$DIR/winmm.dll.loaded" ] || { echo "FAIL: the stand-in left no marker when loaded"; exit 1; }
rm -f "$DIR/winmm.dll.loaded"

# Wine's load trace tells where each DLL came from.
WINEDLLOVERRIDES=$PREFER_NATIVE WINEDEBUG=+loaddll timeout 60 $WINE "$DIR/kovna.exe" </dev/null >"$DIR/kovna.log" 2>&1 &
KOVNA_PID=$!
drive() { kovna_wine_run 30 "$DRIVER_EXE" "$@" </dev/null; }
# The alarm two seconds ahead: the countdown line clears at the deadline and
# the ringing starts.
if ! { drive wait shown && drive wait filled IDC_STATIC_CLOCK && drive check IDC_RADIO_ALARM &&
    drive settime-in 2 IDC_DATE IDC_TIME command IDC_BTN_SET_AT &&
    drive wait filled IDC_STATIC_COUNTDOWN && drive wait empty IDC_STATIC_COUNTDOWN; }; then
    echo "FAIL: Kovna did not open or its alarm did not come"
    kill $KOVNA_PID 2>/dev/null
    exit 1
fi
# The first ring loads winmm.
kovna_wait_for 10 grep -q -i 'Loaded L".*winmm\.dll"' "$DIR/kovna.log"
drive quit
ended() { ! kill -0 $KOVNA_PID 2>/dev/null; }
if ! kovna_wait_for 20 ended; then
    echo "FAIL: kovna.exe still running"
    kill $KOVNA_PID 2>/dev/null
    exit 1
fi

status=0
for dll in comctl32 winmm; do
    if [ -e "$DIR/$dll.dll.loaded" ]; then
        echo "FAIL: $dll.dll was loaded from beside kovna.exe"
        status=1
    fi
done
grep -a -i 'Loaded L".*\(comctl32\|winmm\)\.dll"' "$DIR/kovna.log"
if ! grep -a -q -i 'Loaded L".*system32\\\\winmm\.dll"' "$DIR/kovna.log"; then
    echo "FAIL: the alarm did not load winmm.dll from the system folder"
    status=1
fi
[ $status -eq 0 ] && echo "PASS: Kovna rang its alarm and loaded neither stand-in"
exit $status
