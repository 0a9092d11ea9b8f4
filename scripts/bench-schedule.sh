#!/usr/bin/env bash
# Runs bench/BenchSchedule.cpp with real sound: Wine's PulseAudio driver
# playing into a private daemon, and a tone as the alarm's wave file.
# Needs the x86_64 build (scripts/build.sh x86_64); takes about 12 minutes
# (two ten-minute countdowns run side by side).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh

work=$(mktemp -d /tmp/kovna-bench.XXXXXX)
trap 'kovna_pulse_stop; "$KOVNA_WINESERVER" -k >/dev/null 2>&1; rm -rf "$work"' EXIT
# A prefix of its own with unmanaged windows: on a display without a window
# manager, Wine waits two seconds for one when the ending dialog hides, a
# wait Windows does not have, and Exit would measure it.
kovna_wine_env "$work/prefix"
kovna_wine_prefix
kovna_wine_unmanaged
kovna_alarm_tone
kovna_pulse_start "$work/pulse"
if [ -n "${DISPLAY:-}" ]; then
    "$KOVNA_WINE" build/x86_64/BenchSchedule.exe sound
else
    xvfb-run -a -s "-screen 0 1280x800x24" "$KOVNA_WINE" build/x86_64/BenchSchedule.exe sound
fi
