#!/bin/sh
# Takes a screenshot of every face of the real kovna.exe under Xvfb and Wine
# and writes them as PNG files.
#
#   scripts/screenshots.sh [path/to/kovna.exe] [output folder]
#
# Defaults: build/x86_64/kovna.exe and docs/. Faces:
#   kovna-stopped.png   the main dialog as it opens
#   kovna-about.png     the About box over it (system-menu command 0x0010)
#   kovna-help.png      the Help message (button 1903)
#   kovna-running.png   a relative countdown running: "重设", inputs disabled
#   kovna-warning.png   the warning for a Set press with an empty interval
# A face whose controls the program does not have yet is skipped with a note.
#
# Needs xvfb, imagemagick, wine64, the x86_64 MinGW C compiler, the
# fonts-wqy-zenhei font and the zh_CN.UTF-8 locale. The program runs in a
# Wine prefix of its own (KOVNA_SHOT_PREFIX, default: next to the exe) on a
# virtual Wine desktop, so that the screenshots show Wine's own window frames.
# The program only ever counts down to an alarm here: no shutdown is asked for.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
EXE=$(realpath "${1:-$ROOT/build/x86_64/kovna.exe}")
OUT=${2:-$ROOT/docs}
PREFIX=${KOVNA_SHOT_PREFIX:-$(dirname "$EXE")/screenshot-prefix}
WINE=${WINE:-/usr/lib/wine/wine64}
DESKTOP_SIZE=800x600

[ -f "$EXE" ] || { echo "screenshots: no $EXE (build it first)" >&2; exit 1; }
mkdir -p "$OUT" "$PREFIX"
OUT=$(realpath "$OUT")

WORK=$(mktemp -d)
LOG=$WORK/log
XVFB_PID=
KOVNA_PID=

export WINEPREFIX=$PREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8

# Every Wine call keeps its output away from the caller's pipes: a wineserver
# holding them would keep whoever reads them waiting.
wine_quiet() { "$WINE" "$@" >>"$LOG" 2>&1 </dev/null; }
winmsg() { "$WINE" "$WORK/winmsg.exe" "$@" 2>>"$LOG" </dev/null; }
# "x y width height" of the main dialog or of its box, without the console's CR.
winrect() {
    rect=$(winmsg rect "$1") || return 1
    printf '%s\n' "$rect" | tr -d '\r'
}

cleanup() {
    if [ -n "$KOVNA_PID" ]; then
        winmsg quit || true
        sleep 1
        kill "$KOVNA_PID" 2>/dev/null || true
    fi
    "${WINE%/*}/wineserver" -k >/dev/null 2>&1 </dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT INT TERM

x86_64-w64-mingw32-gcc -O2 -Wall -Wextra -o "$WORK/winmsg.exe" "$ROOT/scripts/winmsg.c"

# A display of our own.
N=${KOVNA_SHOT_DISPLAY:-37}
while [ -e "/tmp/.X11-unix/X$N" ] || [ -e "/tmp/.X$N-lock" ]; do N=$((N + 1)); done
Xvfb ":$N" -screen 0 1024x768x24 -nolisten tcp >>"$LOG" 2>&1 </dev/null &
XVFB_PID=$!
export DISPLAY=":$N"
sleep 1

# Every program of the prefix on one virtual desktop at the origin of the display.
wine_quiet wineboot -i
wine_quiet reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
wine_quiet reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$DESKTOP_SIZE" /f
"${WINE%/*}/wineserver" -k >/dev/null 2>&1 </dev/null || true
sleep 1

"$WINE" "$EXE" >>"$LOG" 2>&1 </dev/null &
KOVNA_PID=$!
winmsg wait || { echo "screenshots: kovna.exe did not open (see the log below)" >&2; cat "$LOG" >&2; exit 1; }
sleep 1

# shoot NAME WHAT: the main dialog, or the main dialog together with the box
# that it owns now (waited for), cut out of the screen.
shoot() {
    name=$1
    what=$2
    set -- $(winrect main)
    x=$1 y=$2 w=$3 h=$4
    if [ "$what" = popup ]; then
        tries=0
        until box=$(winrect popup); do
            tries=$((tries + 1))
            [ $tries -lt 50 ] || { echo "screenshots: no box for $name" >&2; return 1; }
            sleep 0.1
        done
        set -- $box
        r=$((x + w)) b=$((y + h))
        [ "$1" -lt "$x" ] && x=$1
        [ "$2" -lt "$y" ] && y=$2
        [ $(($1 + $3)) -gt $r ] && r=$(($1 + $3))
        [ $(($2 + $4)) -gt $b ] && b=$(($2 + $4))
        w=$((r - x)) h=$((b - y))
    fi
    sleep 0.5
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$OUT/$name"
    echo "screenshots: $OUT/$name"
}

shoot kovna-stopped.png main

winmsg syscommand 10
shoot kovna-about.png popup
winmsg close-popup
sleep 0.5

winmsg command 1903
shoot kovna-help.png popup
winmsg close-popup
sleep 0.5

if winmsg has 1901; then
    # Alarm mode (the default) and ten minutes: a countdown that never acts
    # on the system.
    winmsg settext 1000 10
    winmsg command 1901
    sleep 2
    if winmsg enabled 1000; then
        echo "screenshots: kovna-running.png skipped: the Set command did not start a countdown" >&2
    else
        shoot kovna-running.png main
    fi
    winmsg command 1901
    sleep 1

    winmsg settext 1000 ""
    winmsg command 1901
    shoot kovna-warning.png popup
    winmsg close-popup
    sleep 0.5
else
    echo "screenshots: kovna-running.png and kovna-warning.png skipped: no Set button (1901) yet" >&2
fi
