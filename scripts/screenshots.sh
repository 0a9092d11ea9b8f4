#!/bin/sh
# Takes a screenshot of every face of the real kovna.exe under Xvfb and Wine
# and writes them as PNG files.
#
#   scripts/screenshots.sh [path/to/kovna.exe] [output folder]
#
# Defaults: build/i686/kovna.exe (the 32-bit exe, under 32-bit Wine; an
# x86_64 one runs under wine64) and docs/. Faces:
#   kovna-stopped.png          the main dialog as it opens
#   kovna-about.png            the About box over it (system-menu command IDM_INFO_ENTRY)
#   kovna-help.png             the Help message (button IDC_BTN_HELP)
#   kovna-running.png          a relative countdown running: "重设", inputs disabled
#   kovna-warning-*.png        each warning: empty interval, interval too long,
#                              too many digits, illegal character, target not
#                              later than now, target too far away
#   kovna-tray.png, tray-menu.png
#                              hidden to the notification area: the icon, and
#                              its menu after a right-click
#
# With KOVNA_SHOT_DPI (say 144) the prefix runs at that DPI and only the main
# dialog's two faces are taken, as kovna-stopped-144dpi.png and
# kovna-running-144dpi.png.
#
# With KOVNA_SHOT_SCHEME (hcblack or hcwhite, a Windows colour scheme of
# scripts/colour-schemes) the prefix runs in that scheme and the main
# dialog's two faces, the About box and the empty-interval warning are taken,
# as kovna-stopped-hcblack.png, kovna-running-hcblack.png,
# kovna-about-hcblack.png and kovna-warning-empty-hcblack.png.
#
# Needs what scripts/install-deps.sh installs; builds the outside driver of
# the exe's arch with scripts/build.sh ARCH kovna_driver. The program runs in a Wine
# prefix of its own (KOVNA_SHOT_PREFIX, default: next to the exe), set up by
# scripts/wine-env.sh, on a virtual Wine desktop, so that the screenshots show
# Wine's own window frames and taskbar. The program only ever counts down to an
# alarm here: no shutdown is asked for.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
EXE=$(realpath "${1:-$ROOT/build/i686/kovna.exe}")
OUT=${2:-$ROOT/docs}
. "$ROOT/scripts/wine-env.sh"
. "$ROOT/scripts/x-tools.sh"
. "$ROOT/scripts/at-exit.sh"
DPI=${KOVNA_SHOT_DPI:-96}
TAG=
[ "$DPI" = 96 ] || TAG=-${DPI}dpi
SCHEME=${KOVNA_SHOT_SCHEME:-}
COLOURS=standard
if [ -n "$SCHEME" ]; then
    TAG=$TAG-$SCHEME
    COLOURS=$ROOT/scripts/colour-schemes/$SCHEME.reg
fi
ARCH=$(kovna_pe_arch "$EXE") || exit 1
kovna_wine_env "${KOVNA_SHOT_PREFIX:-$(dirname "$EXE")/screenshot-prefix$TAG}" "$ARCH"
DESKTOP_SIZE=800x600
mkdir -p "$OUT"
OUT=$(realpath "$OUT")

WORK=$(mktemp -d)
LOG=$WORK/log
KOVNA_PID=

# Every Wine call keeps its output away from the caller's pipes: a wineserver
# holding them would keep whoever reads them waiting.
wine_quiet() { "$KOVNA_WINE" "$@" >>"$LOG" 2>&1 </dev/null; }
DRIVER=$ROOT/build/$ARCH/tests/kovna_driver.exe
drive() { kovna_wine_run 0 "$DRIVER" "$@" 2>>"$LOG" </dev/null; }
# "x y width height" of the main dialog, its box or the taskbar, without the console's CR.
winrect() {
    rect=$(drive rect "$1") || return 1
    printf '%s\n' "$rect" | tr -d '\r'
}

cleanup() {
    if [ -n "$KOVNA_PID" ]; then
        drive quit >/dev/null || true
        kovna_wait_for 3 eval '! kill -0 "$KOVNA_PID" 2>/dev/null' || kill "$KOVNA_PID" 2>/dev/null || true
    fi
    "$KOVNA_WINESERVER" -k >/dev/null 2>&1 </dev/null || true
    kovna_display_stop "$WORK/display"
    rm -rf "$WORK"
}
kovna_at_exit cleanup

"$ROOT/scripts/build.sh" "$ARCH" kovna_driver >>"$LOG" 2>&1 </dev/null ||
    { echo "screenshots: could not build kovna_driver (see the log below)" >&2; cat "$LOG" >&2; exit 1; }

kovna_display_start "$WORK/display" || exit 1

# Every program of the prefix on one virtual desktop at the origin of the display.
kovna_wine_prefix "$DPI" song managed "$COLOURS"
wine_quiet reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
wine_quiet reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$DESKTOP_SIZE" /f
"$KOVNA_WINESERVER" -w </dev/null >/dev/null 2>&1

"$KOVNA_WINE" "$EXE" >>"$LOG" 2>&1 </dev/null &
KOVNA_PID=$!
drive wait shown && drive wait filled IDC_STATIC_CLOCK && drive wait filled IDC_STATIC_SECONDS ||
    { echo "screenshots: kovna.exe did not open (see the log below)" >&2; cat "$LOG" >&2; exit 1; }

# grab NAME X Y W H: the area once two grabs in a row agree (painting done).
grab() {
    import -window root -crop "${4}x${5}+${2}+${3}" +repage "$WORK/a.png"
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        sleep 0.2
        import -window root -crop "${4}x${5}+${2}+${3}" +repage "$WORK/b.png"
        cmp -s "$WORK/a.png" "$WORK/b.png" && break
        mv "$WORK/b.png" "$WORK/a.png"
    done
    mv "$WORK/a.png" "$OUT/$1"
    echo "screenshots: $OUT/$1"
}

# shoot NAME main|popup: the main dialog, or the main dialog together with the
# box that it owns now (waited for).
shoot() {
    set -- "$1" "$2" $(winrect main)
    name=$1 x=$3 y=$4 w=$5 h=$6
    if [ "$2" = popup ]; then
        drive wait popup || { echo "screenshots: no box for $name" >&2; return 1; }
        set -- $(winrect popup)
        r=$((x + w)) b=$((y + h))
        [ "$1" -lt "$x" ] && x=$1
        [ "$2" -lt "$y" ] && y=$2
        [ $(($1 + $3)) -gt $r ] && r=$(($1 + $3))
        [ $(($2 + $4)) -gt $b ] && b=$(($2 + $4))
        w=$((r - x)) h=$((b - y))
    fi
    grab "$name" "$x" "$y" "$w" "$h"
}

# close_box: end the open box and wait until it is gone.
close_box() {
    drive close-popup
    drive wait no-popup
}

# warn NAME: the warning that the step just taken raised, shot and closed.
warn() {
    shoot "$1" popup
    close_box
}

shoot "kovna-stopped$TAG.png" main

# Alarm mode (the default) and ten minutes: a countdown that never acts on
# the system.
drive settext IDC_EDIT_COUNT 10
drive command IDC_BTN_SET_AFTER
drive wait disabled IDC_EDIT_COUNT && drive wait filled IDC_STATIC_COUNTDOWN ||
    { echo "screenshots: Set started no countdown" >&2; exit 1; }
shoot "kovna-running$TAG.png" main
drive command IDC_BTN_SET_AFTER
drive wait enabled IDC_EDIT_COUNT
[ -z "$TAG" ] || [ -n "$SCHEME" ] || exit 0

drive syscommand IDM_INFO_ENTRY
shoot "kovna-about$TAG.png" popup
close_box
if [ -n "$SCHEME" ]; then
    drive settext IDC_EDIT_COUNT ""
    drive command IDC_BTN_SET_AFTER
    warn "kovna-warning-empty$TAG.png"
    exit 0
fi

drive command IDC_BTN_HELP
shoot kovna-help.png popup
close_box

drive settext IDC_EDIT_COUNT ""
drive command IDC_BTN_SET_AFTER
warn kovna-warning-empty.png

drive settext IDC_EDIT_COUNT 9999999999
drive command IDC_BTN_SET_AFTER
warn kovna-warning-interval-too-long.png

# The field judges each change while it is being set: the box opens inside
# that call, which returns once the box is closed.
drive settext IDC_EDIT_COUNT 12345678901 &
warn kovna-warning-too-many-digits.png
wait $! || true
drive settext IDC_EDIT_COUNT 1a &
warn kovna-warning-illegal-character.png
wait $! || true

# The pickers show the present minute, which is not later than now.
drive command IDC_BTN_SET_AT
warn kovna-warning-not-later.png

drive setyear IDC_DATE 2099
drive command IDC_BTN_SET_AT
warn kovna-warning-too-far.png

# Hidden to the notification area of the virtual desktop's taskbar, where
# the icon is the last one, at the right end.
drive command IDC_BTN_HIDE
drive wait hidden
if tray=$(winrect tray); then
    set -- $tray
    ty=$2 tw=$3 th=$4
    grab kovna-tray.png $((tw - 240)) $((ty - 40)) 240 $((th + 40))
    # The icon's tip shows once the pointer rests on it and would cover the
    # menu: the click takes it down, and it stays down while the pointer does.
    xdotool mousemove $(($1 + tw - 10)) $((ty + th / 2))
    drive wait tip
    xdotool click 3
    drive wait menu || { echo "screenshots: no icon menu" >&2; exit 1; }
    drive wait no-tip
    set -- $(winrect menu)
    mx=$1 my=$2
    left=$((mx < tw - 240 ? mx : tw - 240))
    grab tray-menu.png "$left" "$my" $((tw - left)) $((ty + th - my))
    xdotool key Escape
else
    echo "screenshots: kovna-tray.png and tray-menu.png skipped: the virtual desktop has no taskbar" >&2
fi
