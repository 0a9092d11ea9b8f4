#!/bin/sh
# tests/gtest-run.sh on stand-in programs that print what a GoogleTest run
# prints: a run cut short fails even with exit code 0 and names its test, a
# run that matched no test fails, a failing run fails once, and only a
# process that ended at once with nothing on its output runs once more.
set -u
RUN=$(dirname "$0")/gtest-run.sh
. "$(dirname "$0")/../scripts/at-exit.sh"
DIR=$(mktemp -d)
kovna_at_exit 'rm -rf "$DIR"'
# The plain seat of this stand-in build folder runs the program as it is.
printf 'shift\nexec "$@"\n' >"$DIR/wine-seat-plain.sh"
status=0

# expect NAME STATUS TEXT SCRIPT: gtest-run.sh on SCRIPT ends with STATUS and says TEXT.
expect() {
    printf '%s\n' "$4" >"$DIR/$1.sh"
    out=$(KOVNA_SEAT=plain sh "$RUN" "$DIR" sh "$DIR/$1.sh" 2>&1)
    got=$?
    if [ "$got" != "$2" ] || ! printf '%s\n' "$out" | grep -q -- "$3"; then
        echo "FAIL: $1: exit $got (not $2), or no \"$3\" in:"
        printf '%s\n' "$out"
        status=1
    else
        echo "ok: $1"
    fi
}
START='printf "[==========] Running 1 test from 1 test suite.\r\n[ RUN      ] A.B\r\n"'
PASS='printf "[       OK ] A.B (1 ms)\r\n[==========] 1 test from 1 test suite ran. (1 ms total)\r\n[  PASSED  ] 1 test.\r\n"'
FAILED='printf "[  FAILED  ] A.B (1 ms)\r\n[==========] 1 test from 1 test suite ran. (1 ms total)\r\n[  FAILED  ] A.B\r\n"'

expect whole 0 'PASSED' "$START; $PASS"
expect cut-short 1 'ended early (exit code 0) in A.B' "$START; exit 0"
expect crashed 1 'ended early (exit code 5) in A.B' "$START; exit 5"
expect failed 1 'FAILED  \] A.B' "$START; $FAILED; exit 1"
expect no-test 1 'no test matched' 'printf "[==========] Running 0 tests from 0 test suites.\r\n[==========] 0 tests from 0 test suites ran. (0 ms total)\r\n"'
# Nothing on the output the first time only: run once more, and passed.
expect not-started 0 'Wine did not start it; once more' \
    "[ -e '$DIR/once' ] || { : >'$DIR/once'; exit 3; }; $START; $PASS"
# Nothing on the output each time: no third run, and failed.
expect never-started 1 'ended early (exit code 3)' 'exit 3'
exit $status
