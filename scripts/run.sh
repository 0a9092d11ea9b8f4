#!/usr/bin/env bash
# Installs what is missing, builds kovna.exe and opens it under Wine with the
# Chinese code page: the 32-bit exe, the one users download first, under
# 32-bit Wine (KOVNA_ARCH=x86_64: the 64-bit one under wine64; a machine
# without a 32-bit Wine that runs gets that one too). Without a display it
# runs Kovna on a virtual display with a window manager (openbox), which
# gives the window its caption and frame as a desktop does, saves a
# screenshot and says where.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${KOVNA_DEPS_INSTALLED:-}" ]; then
    scripts/install-deps.sh
    # A shell that looked for a locale before install-deps made zh_CN.UTF-8
    # never finds it (the C library opens the locale archive once): go on in
    # a fresh one.
    KOVNA_DEPS_INSTALLED=1 exec scripts/run.sh "$@"
fi
arch=${KOVNA_ARCH:-i686}
. scripts/wine-env.sh
. scripts/x-tools.sh
. scripts/at-exit.sh
if ! kovna_arch_runs "$arch"; then
    echo "No 32-bit Wine runs here (not installed, or a kernel without 32-bit code): opening the 64-bit kovna.exe instead"
    arch=x86_64
fi
scripts/build.sh "$arch" kovna kovna_driver

kovna_wine_env "$PWD/build/run-prefix-$arch" "$arch"
exe="$PWD/build/$arch/kovna.exe"

if ! kovna_prefix_is_ready; then
    echo "Setting up the Wine prefix $WINEPREFIX"
    kovna_wine_prefix
fi

echo "Starting $exe"
if [ -n "${DISPLAY:-}" ]; then
    exec "$KOVNA_WINE" "$exe"
fi

kovna_at_exit 'kovna_display_stop build/run.display'
kovna_display_start build/run.display
display=$DISPLAY
# Bare Xvfb has no window manager: Wine's window would show its client area
# only, without caption or frame.
openbox >build/openbox.log 2>&1 </dev/null &
kovna_at_exit "kill $! 2>/dev/null"
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
kovna_wait_for 10 wm_running || echo "The window manager did not start; see build/openbox.log" >&2

drive() { kovna_wine_run 0 "$PWD/build/$arch/tests/kovna_driver.exe" "$@" </dev/null >>build/run.log 2>&1; }
kovna_at_exit '"$KOVNA_WINESERVER" -k >/dev/null 2>&1'
"$KOVNA_WINE" "$exe" </dev/null >build/run.log 2>&1 &
if ! KOVNA_DRIVER_WAIT=90 drive wait shown; then
    echo "Kovna did not open a window; see build/run.log" >&2
    exit 1
fi
# The clock fields fill within a second of the window showing.
drive wait filled IDC_STATIC_CLOCK && drive wait filled IDC_STATIC_SECONDS ||
    echo "The clock field stayed empty; see build/run.log" >&2
# Framed: the window manager has said how wide its frame is.
framed() {
    id=$(xdotool search --onlyvisible --class kovna.exe 2>/dev/null | head -n 1)
    [ -n "$id" ] && xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '='
}
kovna_wait_for 10 framed || echo "The window manager did not frame the window" >&2
sleep 0.5  # the frame's first paint
shot="$PWD/build/kovna-screenshot.png"
import -display "$display" -window root "$shot"
echo "No display here: Kovna ran on the virtual display $display; screenshot saved to $shot"
