#!/usr/bin/env bash
# Configures and builds one Windows target:
#   scripts/build.sh x86_64|i686 [cmake target...]
#                    the test build, in build/ARCH (posix thread model, with the tests)
#   scripts/build.sh --release x86_64|i686 [cmake target...]
#                    the exe as released, in ${KOVNA_RELEASE_BUILD:-build/release}/ARCH
#                    (win32 thread model, built for size, stripped, no tests)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = --release ]; then
    shift
    arch=${1:?usage: scripts/build.sh [--release] x86_64|i686 [target...]}
    dir=${KOVNA_RELEASE_BUILD:-build/release}/$arch
    cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-$arch-w64-mingw32-win32.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel -DKOVNA_RELEASE=ON -DKOVNA_BUILD_TESTS=OFF >/dev/null
else
    arch=${1:?usage: scripts/build.sh [--release] x86_64|i686 [target...]}
    dir=build/$arch
    cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-$arch-w64-mingw32.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
shift
if (($#)); then
    cmake --build "$dir" -j"$(nproc)" --target "$@"
else
    cmake --build "$dir" -j"$(nproc)"
fi
