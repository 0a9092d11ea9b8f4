#!/usr/bin/env bash
# Runs bench/BenchSchedule.cpp with real sound, built as the release is
# (scripts/release.sh's flags and folder), for both arches, one after the
# other: the 32-bit one under 32-bit Wine, the 64-bit one under wine64.
# Wine's PulseAudio driver plays into a private daemon, and a tone is the
# alarm's wave file. Takes about 12 minutes an arch (two ten-minute
# countdowns run side by side).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
. scripts/x-tools.sh
. scripts/at-exit.sh
. scripts/throwaway.sh

work=$(mktemp -d /tmp/kovna-bench.XXXXXX)
kovna_at_exit 'rm -rf "$work"'
kovna_at_exit 'kovna_display_stop "$work/display"'
[ -n "${DISPLAY:-}" ] || kovna_display_start "$work/display"
kovna_at_exit '"$KOVNA_WINESERVER" -k >/dev/null 2>&1'
kovna_pulse_start "$work/pulse"
for arch in i686 x86_64; do
    kovna_arch_runs "$arch" || { echo "== $arch: not run, this kernel does not run its code"; continue; }
    dir=${KOVNA_RELEASE_BUILD:-build/release}/$arch
    scripts/build.sh --release "$arch" BenchSchedule >/dev/null
    # A prefix of its own with unmanaged windows: on a display without a
    # window manager, Wine waits two seconds for one when the ending dialog
    # hides, a wait Windows does not have, and Exit would measure it.
    kovna_wine_env "$work/prefix-$arch" "$arch"
    kovna_wine_prefix 96 song unmanaged
    kovna_alarm_tone
    echo "== $arch: $dir/BenchSchedule.exe"
    "$KOVNA_WINE" "$dir/BenchSchedule.exe" sound
    "$KOVNA_WINESERVER" -k >/dev/null 2>&1 || true
done
