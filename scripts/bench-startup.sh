#!/usr/bin/env bash
# Runs bench/BenchStartup.cpp on the kovna.exe users get, of both arches: the
# release build of scripts/release.sh (win32 thread model, built for size,
# stripped), in its build folder, against the bare dialog built there with
# the same flags; the 32-bit one under 32-bit Wine, the 64-bit one under
# wine64, each in a prefix of its own. Arguments go to BenchStartup (starts,
# idle seconds: see the file).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
. scripts/x-tools.sh
. scripts/at-exit.sh

kovna_at_exit 'kovna_display_stop build/bench-startup.display'
[ -n "${DISPLAY:-}" ] || kovna_display_start build/bench-startup.display
for arch in i686 x86_64; do
    kovna_arch_runs "$arch" || { echo "== $arch: not run, this kernel does not run its code"; continue; }
    dir=${KOVNA_RELEASE_BUILD:-build/release}/$arch
    scripts/build.sh --release "$arch" BenchStartup >/dev/null
    kovna_wine_env "$PWD/$dir/wineprefix" "$arch"
    kovna_wine_prefix
    echo "== $arch: $dir/kovna.exe"
    "$KOVNA_WINE" "$dir/BenchStartup.exe" "$(winepath_of "$PWD/$dir/kovna.exe")" \
        "$(winepath_of "$PWD/$dir/BareDialog.exe")" "$@"
    "$KOVNA_WINESERVER" -k >/dev/null 2>&1 || true
done
