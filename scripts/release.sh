#!/usr/bin/env bash
# Builds the released kovna.exe for i686 and x86_64 (win32 thread model, for
# size, stripped, no time stamps), checks what each imports, and packs each
# with its readme and licence into dist/kovna-<version>-win32.zip and
# dist/kovna-<version>-win64.zip, listed in dist/SHA256SUMS. <version> is the
# file version that CMakeLists.txt names. KOVNA_RELEASE_BUILD (default build/release)
# and KOVNA_DIST (default dist) move the build folders and the output.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build_root=${KOVNA_RELEASE_BUILD:-build/release}
dist=${KOVNA_DIST:-dist}
version=$(LC_ALL=C sed -n 's/^set(KOVNA_FILE_VERSION \([0-9.]*\))$/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "no KOVNA_FILE_VERSION in CMakeLists.txt" >&2; exit 1; }
# Zip entries take the time of the commit, so that one commit gives one zip.
stamp=$(git log -1 --format=%ct 2>/dev/null || echo 315532800)

mkdir -p "$dist"
# Only this release's zips in the folder, which the checksums list whole.
rm -f "$dist"/kovna-*.zip "$dist/SHA256SUMS"
zips=()
for arch in i686 x86_64; do
    case $arch in i686) bits=32 ;; x86_64) bits=64 ;; esac
    dir=$build_root/$arch
    echo "== Release build for $arch in $dir"
    KOVNA_RELEASE_BUILD=$build_root scripts/build.sh --release "$arch" kovna
    scripts/check-imports.sh "$arch" "$dir/kovna.exe"
    zip=kovna-$version-win$bits.zip
    python3 scripts/zip-release.py "$dist/$zip" "kovna-$version-win$bits" "$stamp" \
        "$dir/kovna.exe" res/release/README.txt res/release/LICENSE.txt
    zips+=("$zip")
done

(cd "$dist" && sha256sum "${zips[@]}" >SHA256SUMS)
echo "== $dist"
ls -l "$dist"
cat "$dist/SHA256SUMS"
