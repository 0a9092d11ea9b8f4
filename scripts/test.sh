#!/usr/bin/env bash
# Installs what is missing, builds kovna.exe and the tests for i686 and
# x86_64 and the released exes, and runs every test: the window-free logic
# natively under AddressSanitizer/UBSan and ThreadSanitizer, and each arch's
# Windows suite under its own Wine loader (the 32-bit exe under 32-bit Wine,
# the 64-bit one under wine64), the two suites side by side, each test in a
# prefix and on a virtual display of its own kind. Ends with the release
# check and the time each part took. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${KOVNA_DEPS_INSTALLED:-}" ]; then
    scripts/install-deps.sh
    # A shell that looked for a locale before install-deps made zh_CN.UTF-8
    # never finds it (the C library opens the locale archive once): go on in
    # a fresh one.
    KOVNA_DEPS_INSTALLED=1 exec scripts/test.sh "$@"
fi

jobs=$(nproc)
status=0
parts=()
started=$SECONDS
part_start=$SECONDS
# part NAME: the part that just ended took the seconds since the last one.
part() {
    parts+=("$(printf '%-46s %3d:%02d' "$1" $(((SECONDS - part_start) / 60)) $(((SECONDS - part_start) % 60)))")
    part_start=$SECONDS
}

. scripts/wine-env.sh
. scripts/x-tools.sh
arches=(i686 x86_64)
# The 32-bit suite needs the 32-bit loader and a kernel that runs it.
if ! kovna_arch_runs i686; then
    if [ -x /usr/lib/wine/wine ]; then
        why="this kernel does not run 32-bit code"
    else
        why="the 32-bit Wine (wine32:i386) is not installed, which install-deps does only where the kernel runs 32-bit code"
    fi
    echo "== The i686 tests were not run: $why"
    arches=(x86_64)
fi

echo "== Building for Windows (i686 and x86_64)"
scripts/build.sh i686
scripts/build.sh x86_64
part "build: test builds (i686, x86_64)"

echo "== The released exes, which the end-to-end tests run too"
scripts/release.sh >build/release.log 2>&1 || { cat build/release.log; exit 1; }
part "build: release (i686, x86_64)"

for sanitize in address,undefined thread; do
    dir="build/native-${sanitize%%,*}"
    echo "== Native tests with -fsanitize=$sanitize"
    cmake -S . -B "$dir" -DKOVNA_SANITIZE="$sanitize" >/dev/null
    cmake --build "$dir" -j"$jobs"
    ctest --test-dir "$dir" -j"$jobs" --output-on-failure </dev/null || status=1
    part "native: -fsanitize=$sanitize"
done

# Each arch's suite in one ctest, the two at once; a test of the plain
# prefix takes one of its lanes (build/<arch>/lanes.json).
echo "== Windows tests: ${arches[*]}, side by side"
export LC_ALL=zh_CN.UTF-8
pids=()
for arch in "${arches[@]}"; do
    (
        start=$SECONDS
        rc=0
        ctest --test-dir "build/$arch" --output-on-failure -j"${KOVNA_TEST_JOBS:-4}" \
            --resource-spec-file "$PWD/build/$arch/lanes.json" </dev/null >"build/$arch/ctest.log" 2>&1 || rc=$?
        echo $((SECONDS - start)) >"build/$arch/ctest.seconds"
        exit $rc
    ) &
    pids+=($!)
done
# What each suite prints, as it prints it, each line under its arch.
tails=()
for arch in "${arches[@]}"; do
    touch "build/$arch/ctest.log"
    tail -n +1 -F "build/$arch/ctest.log" 2>/dev/null | sed -u "s/^/[$arch] /" &
    tails+=($!)
done
for i in "${!pids[@]}"; do
    if ! wait "${pids[$i]}"; then
        status=1
        echo "== FAILED: the ${arches[$i]} Windows suite (build/${arches[$i]}/ctest.log)"
    fi
done
sleep 1
kill "${tails[@]}" 2>/dev/null || true
for arch in "${arches[@]}"; do
    s=$(cat "build/$arch/ctest.seconds")
    parts+=("$(printf '%-46s %3d:%02d' "windows: $arch suite (side by side)" $((s / 60)) $((s % 60)))")
done
part "windows: both suites"

# No Wine process or display of ours may outlive the run.
for prefix in build/*/wineprefix*/; do
    [ -d "$prefix" ] || continue
    WINEPREFIX="$PWD/$prefix" "$KOVNA_WINESERVER" -k >/dev/null 2>&1 || true
    kovna_display_stop "$PWD/${prefix%/}.display"
done

echo "== Release: imports and two identical builds"
scripts/check-release.sh || status=1
part "release check"

echo "== Where the minutes went"
printf '  %s\n' "${parts[@]}"
printf '  %-46s %3d:%02d\n' "all" $(((SECONDS - started) / 60)) $(((SECONDS - started) % 60))
exit "$status"
