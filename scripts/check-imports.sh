#!/usr/bin/env bash
# Fails unless every DLL function an exe imports, and every one it finds with
# GetProcAddress (scripts/exports/runtime-resolved.txt), is exported on the
# oldest Windows the exe is marked for, as listed in scripts/exports/<arch>/
# (written by scripts/exports/generate.py from public sources). Also fails on
# any delay-loaded import, unless the i686 exe converts times with msvcrt's
# 64-bit functions only, and unless the PE header names that Windows (5.1
# for i686, 6.0 for x86_64).
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
lists=scripts/exports/$arch
runtime=scripts/exports/runtime-resolved.txt
status=0
fail() { echo "$exe: $*" >&2; status=1; }
# The export list of a DLL, by its name in any case, with or without .dll.
exports() {
    local list
    list=$lists/$(echo "${1%.[Dd][Ll][Ll]}" | tr '[:upper:]' '[:lower:]').txt
    [ -f "$list" ] && grep -v '^#' "$list"
}

pe=$("$objdump" -p "$exe")
# "DLL function" per load-time import.
imports=$(echo "$pe" | awk '
    /^\tDLL Name: / { dll = $3; next }
    /^$/ { dll = "" }
    dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ { print dll, $3 }' | sort -u)
[ -n "$imports" ] || fail "no imports found"
for dll in $(echo "$imports" | cut -d' ' -f1 | sort -u); do
    if ! known=$(exports "$dll"); then
        fail "imports from $dll, which has no list in $lists"
        continue
    fi
    missing=$(comm -23 <(echo "$imports" | awk -v d="$dll" '$1 == d { print $2 }') <(echo "$known" | sort))
    [ -z "$missing" ] || fail "imports from $dll what $lists lacks:$(echo "$missing" | sed 's/^/ /' | tr -d '\n')"
done

# A 32-bit time_t (mingw-w64's default for i686) turns every date past
# 2038-01-19 into -1: msvcrt's unsuffixed time functions are the 32-bit ones
# there, and the 64-bit ones the program converts with must be imported.
if [ "$arch" = i686 ]; then
    msvcrt=$(echo "$imports" | awk 'tolower($1) == "msvcrt.dll" { print $2 }')
    narrow=$(echo "$msvcrt" | grep -xE 'time|mktime|localtime|gmtime|ctime|difftime' || true)
    [ -z "$narrow" ] || fail "imports 32-bit time functions:$(echo "$narrow" | sed 's/^/ /' | tr -d '\n')"
    for wide in _mktime64 _localtime64; do
        grep -qx "$wide" <<<"$msvcrt" || fail "does not import the 64-bit time function $wide"
    done
fi

# Linking with delay-loading would hide imports from the table above.
delay=$(echo "$pe" | awk '$1 == "Entry" && /Delay Import Directory/ { print $4 }')
[[ $delay =~ ^0+$ ]] || fail "delay-import directory is not empty (size ${delay:-unknown})"

# GNU ld leaves the directory above empty even for delay-loaded DLLs, so
# also fail on any DLL the exe names that it neither imports nor lists as
# resolved at run time. libgcc's start-up code asks whether the libgcc DLL is
# already loaded, and never loads it.
named=$(strings -a -n 4 "$exe" | grep -oiE '[a-z0-9_.-]+\.dll' | tr '[:upper:]' '[:lower:]' | sort -u)
known_dlls=$( (echo "$imports" | cut -d' ' -f1; grep -v '^#' "$runtime" | cut -d' ' -f1; echo libgcc_s_dw2-1.dll) |
    tr '[:upper:]' '[:lower:]' | sort -u)
unknown=$(comm -23 <(echo "$named") <(echo "$known_dlls"))
[ -z "$unknown" ] || fail "names DLLs it neither imports nor lists in $runtime:$(echo "$unknown" | sed 's/^/ /' | tr -d '\n')"

# GetProcAddress takes names the exe holds as strings: every listed one must
# be there, and no other export of those DLLs may be, unless imported.
strings=$(strings -a -n 4 "$exe" | sort -u)
imported_names=$(echo "$imports" | cut -d' ' -f2 | sort -u)
for dll in $(grep -v '^#' "$runtime" | cut -d' ' -f1 | sort -u); do
    names=$(grep -v '^#' "$runtime" | awk -v d="$dll" '$1 == d { print $2 }' | sort)
    # A name marked with a newer Windows than the exe's may be missing there.
    needed=$(grep -v '^#' "$runtime" | awk -v d="$dll" -v w="$want" '$1 == d && ($3 == "" || $3 + 0 <= w + 0) { print $2 }' | sort)
    if ! known=$(exports "$dll"); then
        fail "resolves from $dll, which has no list in $lists"
        continue
    fi
    known=$(echo "$known" | sort)
    missing=$(comm -23 <(echo "$needed") <(echo "$known"))
    [ -z "$missing" ] || fail "resolves from $dll what $lists lacks:$(echo "$missing" | sed 's/^/ /' | tr -d '\n')"
    absent=$(comm -23 <(echo "$names") <(echo "$strings"))
    [ -z "$absent" ] || fail "has no string for$(echo "$absent" | sed 's/^/ /' | tr -d '\n'), listed in $runtime"
    unlisted=$(comm -12 <(comm -23 <(echo "$known") <(echo "$names")) <(echo "$strings") |
        comm -23 - <(echo "$imported_names"))
    [ -z "$unlisted" ] || fail "holds $dll export names $runtime does not list:$(echo "$unlisted" | sed 's/^/ /' | tr -d '\n')"
done

header=$("$objdump" -x "$exe")
for field in OSystem Subsystem; do
    version=$(echo "$header" | awk -v f="$field" '
        $1 == "Major" f "Version" { major = $2 } $1 == "Minor" f "Version" { minor = $2 }
        END { print major "." minor }')
    [ "$version" = "$want" ] || fail "$field version $version, want $want"
done

echo "$exe: $(echo "$imports" | grep -c .) imports from $(echo "$imports" | cut -d' ' -f1 | sort -u | tr '\n' ' ')and $(grep -vc '^#' "$runtime") resolved at run time"
exit "$status"
