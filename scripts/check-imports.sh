#!/usr/bin/env bash
# Lists every DLL function an exe imports and fails on any that
# scripts/imports-allowed.txt does not allow for its arch; also checks the
# oldest Windows the PE header names (5.1 for i686, 6.0 for x86_64).
# Usage: scripts/check-imports.sh i686|x86_64 path/to/kovna.exe
set -euo pipefail
cd "$(dirname "$0")/.."

arch=${1:?usage: scripts/check-imports.sh i686|x86_64 exe}
exe=${2:?usage: scripts/check-imports.sh i686|x86_64 exe}
case $arch in
    i686) want=5.1 ;;
    x86_64) want=6.0 ;;
    *) echo "unknown arch: $arch" >&2; exit 2 ;;
esac
objdump=$arch-w64-mingw32-objdump

# "DLL function" per import, DLL in upper case.
imports=$("$objdump" -p "$exe" | awk '
    /^\tDLL Name: / { dll = toupper($3); next }
    /^$/ { dll = "" }
    dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ { print dll, $3 }' | sort -u)
allowed=$(awk -v arch="$arch" '
    /^\[/ { section = substr($0, 2, length($0) - 2); next }
    /^(#|$)/ { next }
    section == "all" || section == arch { print toupper($1), $2 }' scripts/imports-allowed.txt | sort -u)

status=0
if [ -z "$imports" ]; then
    echo "$exe: no imports found" >&2
    status=1
fi
unlisted=$(comm -23 <(echo "$imports") <(echo "$allowed"))
if [ -n "$unlisted" ]; then
    echo "$exe imports functions not in scripts/imports-allowed.txt for $arch:" >&2
    echo "$unlisted" | sed 's/^/    /' >&2
    status=1
fi

header=$("$objdump" -x "$exe")
for field in OSystem Subsystem; do
    version=$(echo "$header" | awk -v f="$field" '
        $1 == "Major" f "Version" { major = $2 } $1 == "Minor" f "Version" { minor = $2 }
        END { print major "." minor }')
    if [ "$version" != "$want" ]; then
        echo "$exe: $field version $version, want $want" >&2
        status=1
    fi
done

echo "$exe: $(echo "$imports" | grep -c .) imports from $(echo "$imports" | cut -d' ' -f1 | sort -u | tr '\n' ' ')"
exit "$status"
