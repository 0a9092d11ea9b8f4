#!/usr/bin/env bash
# Installs what building, running and testing Kovna needs on Debian 12, and
# nothing when it is all there already. Needs root (apt-get) on a fresh machine.
set -euo pipefail

packages=(
    cmake make g++ googletest
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-x86-64-dev mingw-w64-i686-dev
    g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32
    wine wine64
    # The 32-bit loader, for the 32-bit exe: Debian's i386 package, which
    # brings its own i386 libraries (the i386 architecture is added below).
    wine32:i386
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

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
if ! dpkg --print-foreign-architectures | grep -x i386 >/dev/null; then
    echo "Adding the i386 architecture (for wine32:i386)"
    "${sudo_cmd[@]}" dpkg --add-architecture i386
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
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
