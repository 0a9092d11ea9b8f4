#!/bin/sh
# The real kovna.exe against a real notification area, with real X input:
# hiding by Alt+F4, Close, Minimize and Hide; the icon's menu shown by a
# right-click twice in a row and closed by a click elsewhere; restoring by a
# double-click and by Open; Exit ends the program and takes the icon away.
# The tray is either the window Wine draws itself when no tray runs ("wine"),
# or Debian's XEmbed tray trayer under the window manager openbox ("trayer").
# Usage: tray-e2e.sh <wine-seat-NAME.sh> <kovna_driver.exe> wine|trayer, with
# KOVNA_EXE_PATH set; the seat's display is the one driven.
set -u
SEAT=$1
DRIVER=$2
TRAY_KIND=${3:-wine}
EXE=${KOVNA_EXE_PATH:?KOVNA_EXE_PATH names kovna.exe}
. "$(dirname "$0")/../scripts/x-tools.sh"
. "$(dirname "$0")/../scripts/at-exit.sh"
DISPLAY=$(sh "$SEAT" display)
export DISPLAY

kovna_need_x xdotool xwininfo import
[ "$TRAY_KIND" = trayer ] && kovna_need_x trayer openbox

TMP=$(mktemp -d)
PID=
HELPERS=
cleanup() {
    if [ -n "$PID" ] && kill -0 "$PID" 2>/dev/null; then
        sh "$SEAT" call "$DRIVER" message WM_COMMAND ID_ICONMENU_EXIT >/dev/null 2>&1 </dev/null
        kovna_wait_for 5 ended || kill "$PID" 2>/dev/null
    fi
    # The tray and the window manager leave the shared display as they found it.
    [ -n "$HELPERS" ] && kill $HELPERS 2>/dev/null
    rm -rf "$TMP"
}
kovna_at_exit cleanup

fail() {
    echo "FAIL: $*"
    exit 1
}

map_state() { xwininfo -id "$1" 2>/dev/null | sed -n 's/.*Map State: //p'; }
is_mapped() { [ "$(map_state "$1")" = IsViewable ]; }
is_unmapped() { [ "$(map_state "$1")" = IsUnMapped ]; }
position() { xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF} END {print x "," y}'; }
find_main() {
    WIN=$(xdotool search --onlyvisible --class kovna.exe 2>/dev/null | head -n 1)
    [ -n "$WIN" ]
}
# TRAY: the mapped X window of the icon.
find_tray() {
    TRAY=
    if [ "$TRAY_KIND" = trayer ]; then
        # Wine's icon window, embedded in trayer's panel, belongs to explorer.exe.
        for panel in $(xdotool search --name '^panel$' 2>/dev/null); do
            for w in $(xwininfo -tree -id "$panel" 2>/dev/null | awk '/"explorer.exe"/ {print $1}'); do
                is_mapped "$w" && TRAY=$w
            done
        done
    else
        for w in $(xdotool search --name '^Wine System Tray$' 2>/dev/null); do
            is_mapped "$w" && TRAY=$w
        done
    fi
    [ -n "$TRAY" ]
}
no_tray() { ! find_tray; }
ended() { ! kill -0 "$PID" 2>/dev/null; }
drive() { sh "$SEAT" call "$DRIVER" "$@" >>"$TMP/driver.log" 2>&1 </dev/null || fail "kovna_driver $*"; }

# An icon that the tray has drawn has more than one colour; one left undrawn
# takes no mouse input either.
drawn() { [ "$(import -window "$1" -format %k info: 2>/dev/null)" -gt 1 ] 2>/dev/null; }
icon_drawn() { drawn "$TRAY"; }

# hide <how> <action...>: the action hides the window and puts the icon up.
hide() {
    how=$1
    shift
    "$@"
    kovna_wait_for 10 is_unmapped "$WIN" || fail "$how did not hide the window"
    kovna_wait_for 10 find_tray || fail "$how left no icon in the notification area"
    kovna_wait_for 10 icon_drawn || fail "the icon is up but was never drawn"
    echo "ok: $how hides to the icon"
}

# The close box's keyboard twin, as real key presses, with the caret in the
# interval field (the unit list, where the focus starts, takes F4 itself).
alt_f4() {
    set -- $(sh "$SEAT" call "$DRIVER" rect IDC_EDIT_COUNT </dev/null 2>>"$TMP/driver.log" | tr -d '\r')
    [ $# -eq 4 ] || fail "no interval field"
    xdotool mousemove $(($1 + $3 / 2)) $(($2 + $4 / 2)) click 1
    drive wait focus IDC_EDIT_COUNT
    xdotool key alt+F4
}

# restored <how>: the window is back where it was and the icon is gone.
restored() {
    kovna_wait_for 10 is_mapped "$WIN" || fail "$1 did not show the window"
    [ "$(position "$WIN")" = "$POS" ] || fail "$1 showed the window at $(position "$WIN"), not at $POS"
    kovna_wait_for 10 no_tray || fail "the icon stayed after $1"
    echo "ok: $1 restores the window at $POS"
}

# MENU: the pop-up menu, the one mapped override-redirect window of ours.
find_menu() {
    MENU=
    for w in $(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*"kovna.exe".*/\1/p'); do
        info=$(xwininfo -id "$w" 2>/dev/null)
        case "$info" in
        *"Map State: IsViewable"*"Override Redirect State: yes"*) MENU=$w && return 0 ;;
        esac
    done
    return 1
}
menu_gone() { ! find_menu; }

right_click_icon() {
    xdotool mousemove --window "$TRAY" 10 10 click 3
    kovna_wait_for 10 find_menu || fail "a right-click on the icon showed no menu"
    # A menu that has painted its items is tracking the pointer.
    kovna_wait_for 10 drawn "$MENU" || fail "the menu was never drawn"
}

# choose <1|2>: a click on the first or second of the menu's two items.
choose() {
    eval "$(xdotool getwindowgeometry --shell "$MENU")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT * ($1 * 2 - 1) / 4)) click 1
}

if [ "$TRAY_KIND" = trayer ]; then
    openbox >"$TMP/openbox.log" 2>&1 </dev/null &
    HELPERS=$!
    # At the top of the screen the menu opens downward, clear of the icon. A
    # panel that resizes to each new icon now and then leaves Wine's icon
    # undrawn and deaf, so its width is fixed.
    trayer --edge top --align right --widthtype pixel --width 48 --height 32 --SetDockType true --expand false \
        >"$TMP/trayer.log" 2>&1 </dev/null &
    HELPERS="$HELPERS $!"
    kovna_wait_for 20 xdotool search --name '^panel$' >/dev/null 2>&1 || fail "trayer did not start"
fi

sh "$SEAT" run "$EXE" >"$TMP/kovna.log" 2>&1 </dev/null &
PID=$!
kovna_wait_for 60 find_main || fail "kovna.exe showed no window"
no_tray || fail "an icon is up before hiding"
POS=$(position "$WIN")

hide "Alt+F4" alt_f4
xdotool mousemove --window "$TRAY" 10 10 click --repeat 2 --delay 100 1
restored "a double-click on the icon"

hide "SC_CLOSE" drive syscommand SC_CLOSE
# The second menu in a row stays up as the first did.
right_click_icon
xdotool mousemove 300 400 click 1
kovna_wait_for 10 menu_gone || fail "a click elsewhere left the menu open"
right_click_icon
echo "ok: the menu shows on a second right-click and closes on a click elsewhere"
choose 1
restored "Open"

hide "SC_MINIMIZE" drive syscommand SC_MINIMIZE
right_click_icon
if [ "$TRAY_KIND" = wine ]; then
    # Three steps down wrap round to the first item only in a menu of two.
    # Under a window manager the keys go to its focus, not to the menu.
    xdotool key Down Down Down Return
    restored "Open by keys (first of two items)"
else
    choose 1
    restored "Open again"
fi

hide "the Hide button" drive command IDC_BTN_HIDE
right_click_icon
choose 2
kovna_wait_for 15 ended || fail "Exit did not end kovna.exe"
kovna_wait_for 10 no_tray || fail "the icon stayed after Exit"
echo "ok: Exit ends the program and leaves no icon"
PID=
