#!/bin/sh
# Runs a GoogleTest program in its seat (tests/wine-seat.sh.in: the one that
# KOVNA_SEAT names, "plain" by default, in the build folder DIR) and passes
# only a whole run: one that printed its closing summary and finished every
# test it started with. A run that ends early fails, whatever its exit code,
# naming the test it was in. The one failure run again is Wine's own: now and
# then a process ends before the program's main, with nothing on its output.
# Listing the tests (discovery) goes straight through.
#
#   gtest-run.sh DIR PROGRAM [ARG...]
set -u
. "$(dirname "$0")/../scripts/wine-env.sh"
. "$(dirname "$0")/../scripts/at-exit.sh"
seat=$1/wine-seat-${KOVNA_SEAT:-plain}.sh
shift
case " $* " in
*" --gtest_list_tests "*) exec sh "$seat" run "$@" ;;
esac

out=$(mktemp)
kovna_at_exit 'rm -f "$out" "$out.rc"'
# The run's output shows as it comes, so that a run ctest stops at its
# timeout has shown how far it came.
in_seat() {
    { sh "$seat" run "$@" 2>&1; echo $? >"$out.rc"; } | tee "$out"
    return "$(cat "$out.rc")"
}
kovna_once_more "$1" "$out" in_seat "$@"
rc=$?

# GoogleTest's lines, without the carriage returns of a Windows console.
summary=$(tr -d '\r' <"$out" | awk '
    /^\[==========\] Running [0-9]+ tests? from/ { started = $3 }
    /^\[==========\] [0-9]+ tests? from .* ran\./ { ran = $2 }
    /^\[ RUN      \] / { current = $4; runs++ }
    /^\[       OK \] |^\[  FAILED  \] |^\[  SKIPPED \] / { if ($4 == current) { ends++; current = "" } }
    END { printf "%s %s %d %d %s\n", started == "" ? "-" : started, ran == "" ? "-" : ran, runs, ends, current }')
set -- $summary
started=$1 ran=$2 runs=$3 ends=$4 inside=${5:-}
if [ "$ran" = - ] || [ "$ran" != "$started" ] || [ "$runs" != "$started" ] || [ "$ends" != "$runs" ]; then
    echo "gtest-run: FAIL: the run ended early (exit code $rc) ${inside:+in $inside, }after $ends of ${started#-} tests, without its closing summary"
    exit 1
fi
if [ "$started" = 0 ]; then
    echo "gtest-run: FAIL: no test matched"
    exit 1
fi
exit "$rc"
