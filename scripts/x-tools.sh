# What the scripts need from X, checked one way: sourced (POSIX sh) by every
# script that drives a real display.
#
#   . scripts/x-tools.sh
#   kovna_need_x [tool...]       skip a test (exit 77) without a display or a tool
#   kovna_wait_for SECONDS CMD   poll CMD until it succeeds; false after SECONDS
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
