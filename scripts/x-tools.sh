# What the scripts need from X, checked one way: sourced (POSIX sh) by every
# script that drives a real display.
#
#   . scripts/x-tools.sh
#   kovna_need_x [tool...]       skip a test (exit 77) without a display or a tool
#   kovna_wait_for SECONDS CMD   poll CMD until it succeeds; false after SECONDS
#   kovna_display_start FILE     a virtual display of one's own; kovna_display_stop FILE ends it
#
# ctest counts exit code 77 as a skip (SKIP_RETURN_CODE), not as a failure.

kovna_need_x() {
    missing=
    [ -n "${DISPLAY:-}" ] || missing="an X display"
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || missing="${missing:+$missing, }$tool"
    done
    [ -z "$missing" ] && return 0
    echo "SKIP: missing $missing"
    exit 77
}

# kovna_wait_for <seconds> <command...>: true once the command succeeds.
kovna_wait_for() {
    kovna_wait_n=$(($1 * 10))
    shift
    until "$@"; do
        kovna_wait_n=$((kovna_wait_n - 1))
        [ "$kovna_wait_n" -gt 0 ] || return 1
        sleep 0.1
    done
}

# kovna_display_start FILE: a virtual display of its own (Xvfb picks a free
# number), running until kovna_display_stop FILE; its name (":N") goes to
# FILE, where scripts/wine-env.sh finds it for a prefix, and to DISPLAY.
kovna_display_start() {
    rm -f "$1" "$1.pid"
    # Its output stays away from the caller's pipes, which a lasting server would hold.
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$1.number" </dev/null >/dev/null 2>&1 &
    echo $! >"$1.pid"
    kovna_wait_for 20 test -s "$1.number" || { echo "x-tools: Xvfb did not start" >&2; return 1; }
    printf ':%s\n' "$(cat "$1.number")" >"$1"
    rm -f "$1.number"
    DISPLAY=$(cat "$1")
    export DISPLAY
}

kovna_display_stop() {
    [ -s "$1.pid" ] && kill "$(cat "$1.pid")" 2>/dev/null
    rm -f "$1" "$1.pid"
}
