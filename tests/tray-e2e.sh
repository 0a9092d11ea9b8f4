#!/bin/sh
# The real kovna.exe against the notification area that Wine draws itself
# when no tray runs: hiding by Alt+F4, Close, Minimize and Hide; restoring by
# a real double-click and by the icon's menu opened with a real right-click;
# Exit from that menu ends the program and takes the icon away.
# Usage: tray-e2e.sh <wine-run.sh> <kovna_poke.exe>, with KOVNA_EXE_PATH set.
set -u
WINE_RUN=$1
POKE=$2
EXE=${KOVNA_EXE_PATH:?KOVNA_EXE_PATH names kovna.exe}

if [ -z "${DISPLAY:-}" ] || ! command -v xdotool >/dev/null || ! command -v xwininfo >/dev/null; then
    echo "SKIP: needs an X display, xdotool and xwininfo"
    exit 77
fi

TMP=$(mktemp -d)
PID=
cleanup() {
    if [ -n "$PID" ] && kill -0 "$PID" 2>/dev/null; then
        "$WINE_RUN" "$POKE" 0x0111 32774 >/dev/null 2>&1 </dev/null
        sleep 2
        kill "$PID" 2>/dev/null
    fi
    rm -rf "$TMP"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}

# wait_for <seconds> <command...>: true once the command succeeds.
wait_for() {
    n=$(($1 * 5))
    shift
    while [ "$n" -gt 0 ]; do
        "$@" && return 0
        sleep 0.2
        n=$((n - 1))
    done
    return 1
}

map_state() { xwininfo -id "$1" 2>/dev/null | sed -n 's/.*Map State: //p'; }
is_mapped() { [ "$(map_state "$1")" = IsViewable ]; }
is_unmapped() { [ "$(map_state "$1")" = IsUnMapped ]; }
position() { xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF} END {print x "," y}'; }
find_main() {
    WIN=$(xdotool search --onlyvisible --class kovna.exe 2>/dev/null | head -n 1)
    [ -n "$WIN" ]
}
find_tray() {
    TRAY=
    for w in $(xdotool search --name '^Wine System Tray$' 2>/dev/null); do
        is_mapped "$w" && TRAY=$w
    done
    [ -n "$TRAY" ]
}
no_tray() { ! find_tray; }
ended() { ! kill -0 "$PID" 2>/dev/null; }
poke() { "$WINE_RUN" "$POKE" "$@" >>"$TMP/poke.log" 2>&1 </dev/null || fail "kovna_poke $*"; }

# hidden <how>: the window is gone and the icon is up.
hidden() {
    wait_for 10 is_unmapped "$WIN" || fail "$1 did not hide the window"
    wait_for 10 find_tray || fail "$1 left no icon in the notification area"
    echo "ok: $1 hides to the icon"
}

# restored <how>: the window is back where it was and the icon is gone.
restored() {
    wait_for 10 is_mapped "$WIN" || fail "$1 did not show the window"
    [ "$(position "$WIN")" = "$POS" ] || fail "$1 showed the window at $(position "$WIN"), not at $POS"
    wait_for 10 no_tray || fail "the icon stayed after $1"
    echo "ok: $1 restores the window at $POS"
}

# A pop-up menu is the one mapped override-redirect window on this display.
menu_up() {
    for w in $(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p'); do
        info=$(xwininfo -id "$w" 2>/dev/null)
        case "$info" in
        *"Map State: IsViewable"*"Override Redirect State: yes"*) return 0 ;;
        esac
    done
    return 1
}

right_click_icon() {
    xdotool mousemove --window "$TRAY" 10 10 click 3
    wait_for 10 menu_up || fail "a right-click on the icon showed no menu"
    sleep 0.3
}

"$WINE_RUN" "$EXE" >"$TMP/kovna.log" 2>&1 </dev/null &
PID=$!
wait_for 60 find_main || fail "kovna.exe showed no window"
no_tray || fail "an icon is up before hiding"
POS=$(position "$WIN")

# The close box's keyboard twin, as real key presses, with the caret in the
# interval field (the unit list, where the focus starts, takes F4 itself).
xdotool mousemove --window "$WIN" 150 150 click 1
sleep 0.5
xdotool key alt+F4
hidden "Alt+F4"
xdotool mousemove --window "$TRAY" 10 10 click --repeat 2 --delay 100 1
restored "a double-click on the icon"

poke 0x0112 0xF060
hidden "SC_CLOSE"
# Three steps down wrap round to the first item only in a menu of two.
right_click_icon
xdotool key Down Down Down Return
restored "Open (first of two items)"

poke 0x0112 0xF020
hidden "SC_MINIMIZE"
right_click_icon
xdotool key Down Return
restored "Open"

poke 0x0111 1092
hidden "the Hide button"
right_click_icon
xdotool key Down Down Return
wait_for 15 ended || fail "Exit did not end kovna.exe"
wait_for 10 no_tray || fail "the icon stayed after Exit"
echo "ok: Exit ends the program and leaves no icon"
PID=
