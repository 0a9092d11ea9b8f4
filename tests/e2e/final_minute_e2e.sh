#!/bin/sh
# End to end: the real kovna.exe, a 66-second shutdown countdown hidden to
# the notification area. At 60 seconds left the window is back and asks to
# be on top, and Reset there ends the countdown and takes it off the top.
# Wine gives no window that owns pop-ups (the date pickers' calendars) the
# top, so its relay trace of SetWindowPos is the evidence of the rank. In a
# Wine prefix of its own: should Reset fail, the forced shutdown ends only
# that prefix.
# Usage: final_minute_e2e.sh kovna.exe kovna_driver.exe
set -u
. "$(dirname "$0")/../../scripts/wine-env.sh"
. "$(dirname "$0")/../../scripts/x-tools.sh"
. "$(dirname "$0")/../../scripts/at-exit.sh"
. "$(dirname "$0")/../../scripts/throwaway.sh"
kovna_throwaway_start 'user32.SetWindowPos' "$1" 120 || exit 1
DRIVER_EXE=$2
fail() {
    echo "FAIL: $*"
    grep -a 'Call user32\.SetWindowPos' "$KOVNA_RELAY_LOG" | head -20
    exit 1
}
drive() { kovna_wine_run 60 "$DRIVER_EXE" "$@" </dev/null; }
# A control's text, from the driver's hex of its GBK bytes.
gbk() { python3 -c 'import re,sys; print(bytes.fromhex(re.search(r"\[(.*)\]", sys.stdin.read()).group(1)).decode("gbk"))'; }
text() { drive text "$1" | gbk; }

drive wait shown && drive wait filled IDC_STATIC_CLOCK || fail "kovna did not open"
# 1.1 minutes: 66 seconds.
drive check IDC_RADIO_SHUTDOWN && drive settext IDC_EDIT_COUNT 1.1 && drive command IDC_BTN_SET_AFTER &&
    drive wait filled IDC_STATIC_COUNTDOWN || fail "the countdown did not start"
drive command IDC_BTN_HIDE && drive wait hidden || fail "the window did not hide"

# SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE, to HWND_TOPMOST or HWND_NOTOPMOST.
# 64-bit Wine's relay prints each 32-bit argument as 64 bits, its upper half
# unset, and a handle, such as HWND_TOPMOST (-1), in all 64.
asked_once() { [ "$(grep -a -c -E "Call user32\.SetWindowPos\([0-9a-f]+,$1,([0-9a-f]+,){4}[0-9a-f]?00000013\)" "$KOVNA_RELAY_LOG")" = 1 ]; }
case $WINEARCH in
win32) topmost=ffffffff notopmost=fffffffe ;;
*) topmost=ffffffffffffffff notopmost=fffffffffffffffe ;;
esac

# The line as it read when the window came back, not once another driver
# has started, which takes seconds on a busy machine.
back=$(KOVNA_DRIVER_WAIT=30 drive wait shown IDC_STATIC_COUNTDOWN) || fail "not back for the final minute"
shown=$(printf '%s\n' "$back" | gbk)
echo "back at: $shown"
case $shown in
5[0-9]秒后关机.|60秒后关机.) ;;
*) fail "back at \"$shown\", not within the final minute" ;;
esac
kovna_wait_for 5 asked_once $topmost || fail "not asked to be on top"

drive command IDC_BTN_SET_AFTER || fail "Reset not sent"
drive wait empty IDC_STATIC_COUNTDOWN || fail "Reset did not end the final minute"
kovna_wait_for 5 asked_once $notopmost || fail "not taken off the top"
sleep 2
kill -0 "$KOVNA_PID" 2>/dev/null || fail "kovna ended"
[ "$(text IDC_BTN_SET_AFTER)" = "设置" ] || fail "the Set button does not read 设置"
drive quit
echo "PASS: back on top at \"$shown\", Reset ended it"
exit 0
