#!/usr/bin/env bash
# Makes the release twice, in two build folders of different paths, and fails
# unless both give byte-identical zips and checksums. release.sh checks each
# exe's imports on the way; this also checks that the import check fails on
# an exe that imports a function XP lacks or converts times with a 32-bit
# time_t, and that the i686 exe stays within 300 KB.
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
# And an exe with mingw-w64's 32-bit time_t, which ends in 2038.
printf '#include <time.h>\nint main(void) { struct tm t = {0}; return (int)mktime(&t); }\n' >"$root/time32.c"
i686-w64-mingw32-gcc "$root/time32.c" -o "$root/time32.exe"
verdict=$(scripts/check-imports.sh i686 "$root/time32.exe" 2>&1 || true)
if ! grep -q 'imports 32-bit time functions: mktime' <<<"$verdict"; then
    echo "scripts/check-imports.sh passed an exe with a 32-bit time_t:" >&2
    echo "$verdict" >&2
    exit 1
fi
# Within 300 KB. What the exe's own code needs is some 60 KB; most of the
# rest is the C++ runtime, which one std::wstring or the library's verbose
# terminate handler grows by tens of KB (platform/AppMain.cpp).
size=$(stat -c %s "$root/build-a/i686/kovna.exe")
if ((size > 300 * 1024)); then
    echo "The i686 kovna.exe is $size bytes, more than 300 KB" >&2
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
