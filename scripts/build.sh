#!/usr/bin/env bash
# Configures and builds one Windows target: scripts/build.sh x86_64|i686 [cmake target...]
set -euo pipefail
cd "$(dirname "$0")/.."

arch=${1:?usage: scripts/build.sh x86_64|i686 [target...]}
shift
cmake -S . -B "build/$arch" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-$arch-w64-mingw32.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
if (($#)); then
    cmake --build "build/$arch" -j"$(nproc)" --target "$@"
else
    cmake --build "build/$arch" -j"$(nproc)"
fi
