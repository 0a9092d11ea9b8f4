#!/usr/bin/env bash
# Runs bench/BenchStartup.cpp on the kovna.exe users get: the x86_64 release
# build of scripts/release.sh (win32 thread model, built for size, stripped),
# in its build folder, against the bare dialog built there with the same
# flags. The 32-bit release cannot run on this kernel. Arguments go to
# BenchStartup (starts, idle seconds: see the file).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh

dir=${KOVNA_RELEASE_BUILD:-build/release}/x86_64
cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-x86_64-w64-mingw32-win32.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DKOVNA_RELEASE=ON -DKOVNA_BUILD_TESTS=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)" --target BenchStartup
kovna_wine_env "$PWD/$dir/wineprefix"
kovna_wine_prefix
bench=("$KOVNA_WINE" "$dir/BenchStartup.exe" "$(winepath_of "$PWD/$dir/kovna.exe")"
    "$(winepath_of "$PWD/$dir/BareDialog.exe")" "$@")
if [ -n "${DISPLAY:-}" ]; then
    "${bench[@]}"
else
    xvfb-run -a -s "-screen 0 1280x800x24" "${bench[@]}"
fi
