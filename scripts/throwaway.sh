# What a run sets up for itself alone and leaves nothing of: a prefix on a
# display of its own, a PulseAudio daemon, the alarm's tone. Sourced (POSIX
# sh and bash) by the end-to-end tests and the benchmarks, after
# scripts/wine-env.sh, scripts/x-tools.sh and scripts/at-exit.sh.
#
#   kovna_own_prefix EXE [DPI [FONT [WINDOWS [COLOURS]]]]
#                              a prefix of EXE's arch (kovna_wine_prefix) in
#                              the folder $KOVNA_OWN_DIR, on a display of its
#                              own, its environment in force; one a script
#   kovna_throwaway_start RELAY PROGRAM SECONDS
#                              PROGRAM in such a prefix, for a test that may
#                              shut "the computer" down, with a relay trace
#   kovna_pulse_start DIR      a PulseAudio daemon of the run's own
#   kovna_alarm_tone           a tone as the prefix's ringin.wav
#
# What each makes goes at exit (kovna_at_exit).

kovna_own_prefix() {
    KOVNA_OWN_DIR=$(mktemp -d /tmp/kovna-e2e.XXXXXX) || return 1
    kovna_at_exit 'rm -rf "$KOVNA_OWN_DIR"'
    kovna_own_arch=$(kovna_pe_arch "$1") || return 1
    shift
    kovna_at_exit 'kovna_display_stop "$KOVNA_OWN_DIR/prefix.display"'
    kovna_display_start "$KOVNA_OWN_DIR/prefix.display" || return 1
    kovna_wine_env "$KOVNA_OWN_DIR/prefix" "$kovna_own_arch" || return 1
    kovna_at_exit 'WINEPREFIX=$KOVNA_OWN_DIR/prefix "$KOVNA_WINESERVER" -k </dev/null >/dev/null 2>&1'
    kovna_wine_prefix "$@"
}

# Starts PROGRAM in a prefix of its own, for a test whose program may
# request a shutdown: that ends only the prefix's processes. Wine's relay
# trace of the calls named in RELAY (a RelayInclude list) goes to
# $KOVNA_RELAY_LOG; the process is $KOVNA_PID, ended after SECONDS at the
# latest.
kovna_throwaway_start() {
    kovna_own_prefix "$2" || return 1
    KOVNA_RELAY_LOG=$KOVNA_OWN_DIR/relay.log
    timeout 30 "$KOVNA_WINE" reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /t REG_SZ /d "$1" /f \
        </dev/null >/dev/null 2>&1
    KOVNA_PID=
    kovna_at_exit '[ -z "$KOVNA_PID" ] || kill "$KOVNA_PID" 2>/dev/null'
    WINEDEBUG=+relay timeout "$3" "$KOVNA_WINE" "$2" </dev/null >"$KOVNA_RELAY_LOG" 2>&1 &
    KOVNA_PID=$!
}

# A PulseAudio daemon of the run's own: its runtime folder in DIR, a null
# sink as the default sink, reached by Wine's audio driver through
# PULSE_SERVER on an anonymous unix socket; no client may spawn another.
# What plays can be recorded from the sink's monitor, $KOVNA_PULSE_MONITOR.
kovna_pulse_start() {
    KOVNA_PULSE_DIR=$1
    mkdir -p "$KOVNA_PULSE_DIR/runtime"
    printf 'autospawn = no\n' >"$KOVNA_PULSE_DIR/client.conf"
    export PULSE_CLIENTCONFIG="$KOVNA_PULSE_DIR/client.conf"
    export PULSE_SERVER="unix:$KOVNA_PULSE_DIR/socket"
    KOVNA_PULSE_MONITOR=kovna.monitor
    kovna_at_exit kovna_pulse_stop
    XDG_RUNTIME_DIR="$KOVNA_PULSE_DIR/runtime" PULSE_RUNTIME_PATH="$KOVNA_PULSE_DIR/runtime" \
        pulseaudio --daemonize=no --system=false -n --use-pid-file=no --exit-idle-time=-1 \
        --disable-shm=yes --log-target=file:"$KOVNA_PULSE_DIR/pulse.log" \
        -L "module-null-sink sink_name=kovna" \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$KOVNA_PULSE_DIR/socket" \
        </dev/null >/dev/null 2>&1 &
    KOVNA_PULSE_PID=$!
    tries=0
    until pactl info >/dev/null 2>&1; do
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ] || ! kill -0 "$KOVNA_PULSE_PID" 2>/dev/null; then
            echo "throwaway: PulseAudio did not start (see $KOVNA_PULSE_DIR/pulse.log)" >&2
            return 1
        fi
        sleep 0.1
    done
    pactl set-default-sink kovna >/dev/null
}

kovna_pulse_stop() {
    [ -n "${KOVNA_PULSE_PID:-}" ] || return 0
    kill "$KOVNA_PULSE_PID" 2>/dev/null
    wait "$KOVNA_PULSE_PID" 2>/dev/null
    KOVNA_PULSE_PID=
}

# A three-second 880 Hz tone, made here, as the prefix's
# C:\WINDOWS\Media\ringin.wav.
kovna_alarm_tone() {
    mkdir -p "$WINEPREFIX/drive_c/windows/Media"
    python3 - "$WINEPREFIX/drive_c/windows/Media/ringin.wav" <<'PY'
import math, struct, sys, wave
out = wave.open(sys.argv[1], "wb")
out.setnchannels(1)
out.setsampwidth(2)
out.setframerate(22050)
out.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * 880 * i / 22050)))
                         for i in range(3 * 22050)))
out.close()
PY
}
