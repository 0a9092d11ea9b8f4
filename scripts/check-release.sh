#!/usr/bin/env bash
# Makes the release twice, in two build folders of different paths, and fails
# unless both give byte-identical zips and checksums. release.sh checks each
# exe's imports on the way; this also checks that the import check fails on
# an exe that imports a function XP lacks.
set -euo pipefail
cd "$(dirname "$0")/.."

root=build/release-check
rm -rf "$root"
mkdir -p "$root"
for run in a b; do
    echo "== Release $run"
    KOVNA_RELEASE_BUILD=$root/build-$run KOVNA_DIST=$root/dist-$run scripts/release.sh >"$root/release-$run.log" 2>&1 ||
        { cat "$root/release-$run.log"; exit 1; }
done

status=0
# The import check must catch a function XP lacks. Its verdict is read whole:
# under pipefail its own failing exit would otherwise decide.
printf '#include <windows.h>\nint main(void) { return (int)GetTickCount64(); }\n' >"$root/vista-only.c"
i686-w64-mingw32-gcc -D_WIN32_WINNT=0x0600 "$root/vista-only.c" -o "$root/vista-only.exe"
verdict=$(scripts/check-imports.sh i686 "$root/vista-only.exe" 2>&1 || true)
if ! grep -q 'lacks: GetTickCount64' <<<"$verdict"; then
    echo "scripts/check-imports.sh passed an exe that imports GetTickCount64:" >&2
    echo "$verdict" >&2
    exit 1
fi
for file in $(cd "$root/dist-a" && ls); do
    if ! cmp "$root/dist-a/$file" "$root/dist-b/$file"; then
        status=1
    fi
done
diff <(cd "$root/dist-a" && ls) <(cd "$root/dist-b" && ls) || status=1
[ -s "$root/dist-a/SHA256SUMS" ] || status=1
if ((status)); then
    echo "The two release builds differ" >&2
else
    echo "Both release builds are byte-identical:"
    cat "$root/dist-a/SHA256SUMS"
fi
exit "$status"
