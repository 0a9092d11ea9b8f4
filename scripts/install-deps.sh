#!/usr/bin/env bash
# Installs what building, running and testing Kovna needs on Debian 12, and
# nothing when it is all there already. Needs root (apt-get) on a fresh machine.
set -euo pipefail

packages=(
    cmake make g++ googletest
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-x86-64-dev mingw-w64-i686-dev
    g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32
    wine wine64
    xvfb xauth xdotool x11-utils imagemagick
    fonts-wqy-zenhei locales
    # The Song face the dialog layout was made for (6 x 12 base units), and
    # Marlett for the caption buttons' glyphs.
    fonts-arphic-gbsn00lp
    fonts-wine
    # A real XEmbed tray and window manager for the notification-area test.
    trayer
    openbox
    # Real sound for the alarm's end-to-end test: a private daemon with a
    # null sink, and parec to listen to it.
    pulseaudio pulseaudio-utils python3
)
# The 32-bit loader, for the 32-bit exe: Debian's i386 package, which brings
# its own i386 libraries. Only where the kernel runs 32-bit code, and apart
# from the rest: without it the 64-bit half still builds and tests.
wine32=wine32:i386

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

# An ELF32 of 96 bytes that exits with 42: some kernels here refuse any
# 32-bit code (exec format error), though the i386 packages would install.
runs_32bit_code() {
    probe=$(mktemp)
    printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\010\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0''\1\0\0\0\0\0\0\0\0\200\4\010\0\200\4\010\140\0\0\0\140\0\0\0\5\0\0\0\0\020\0\0''\270\1\0\0\0\273\52\0\0\0\315\200' \
        >"$probe"
    chmod +x "$probe"
    rc=0
    "$probe" 2>/dev/null || rc=$?
    rm -f "$probe"
    [ "$rc" -eq 42 ]
}

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

want32=
if installed "$wine32"; then
    :
elif ! runs_32bit_code; then
    echo "install-deps: this kernel runs no 32-bit code: no 32-bit Wine, so the i686 tests will not run"
else
    want32=1
    if ! dpkg --print-foreign-architectures | grep -x i386 >/dev/null; then
        echo "Adding the i386 architecture (for $wine32)"
        "${sudo_cmd[@]}" dpkg --add-architecture i386
    fi
fi

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done

# A mirror in mid-sync fails one index now and then while the others are
# fine: try once more, then go on with what could be had.
if ((${#missing[@]})) || [ -n "$want32" ]; then
    "${sudo_cmd[@]}" apt-get update -qq || {
        sleep 5
        "${sudo_cmd[@]}" apt-get update -qq
    } || echo "install-deps: a package index could not be fetched; going on with the others"
fi
apt_install() { DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "$@" >/dev/null; }
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    apt_install "${missing[@]}"
fi
if [ -n "$want32" ]; then
    echo "Installing: $wine32"
    apt_install "$wine32" ||
        echo "install-deps: $wine32 could not be installed, so the i686 tests will not run"
fi

# Wine takes the ANSI code page from the locale: zh_CN.UTF-8 gives 936, the
# code page of a Chinese Windows; the tests also run under en_US.UTF-8 (1252),
# zh_TW.UTF-8 (950) and ja_JP.UTF-8 (932), where the program must read the
# same. locale-gen rebuilds every locale listed in /etc/locale.gen. Grep reads
# the whole list: with -q it could stop early and, under pipefail, the list's
# broken pipe would read as "missing".
locales=(zh_CN en_US zh_TW ja_JP)
has_locale() { locale -a 2>/dev/null | grep -ix "$1"'\.utf-\?8' >/dev/null; }
wanted=()
for name in "${locales[@]}"; do
    has_locale "$name" || wanted+=("$name")
done
if ((${#wanted[@]})); then
    for name in "${wanted[@]}"; do
        grep -q "^$name.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null ||
            echo "$name.UTF-8 UTF-8" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    done
    "${sudo_cmd[@]}" locale-gen >/dev/null
    # locale-gen skips a locale it cannot build without failing.
    for name in "${wanted[@]}"; do
        has_locale "$name" || { echo "install-deps: the $name.UTF-8 locale could not be generated" >&2; exit 1; }
    done
fi
