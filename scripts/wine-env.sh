# The one Wine set-up for everything that runs Kovna here: sourced (POSIX sh
# and bash) by run.sh, screenshots.sh, the tests' wrappers and the end-to-end
# scripts. Both arches: the 32-bit exe runs under the 32-bit loader in a
# 32-bit (win32) prefix, the 64-bit one under wine64 in a win64 prefix.
# Sourcing it defines functions and constants and does nothing else.
#
#   . scripts/wine-env.sh
#   kovna_wine_env PREFIX ARCH export the environment for the prefix; ARCH is
#                              i686 or x86_64; KOVNA_WINE is its loader
#   kovna_pe_arch FILE         print the arch of a Windows exe (i686 or x86_64)
#   kovna_arch_runs ARCH       true where this kernel runs that arch's loader
#   kovna_wine_prefix [DPI [FONT [WINDOWS [COLOURS]]]]
#                              make that prefix complete (once; idempotent), at
#                              DPI (LogPixels, default 96), with FONT as the
#                              dialog font: "song" (default) substitutes the
#                              face below, "wine" keeps Wine's own (6 x 16),
#                              WINDOWS "managed" (default) or "unmanaged", and
#                              COLOURS "standard" (default: Wine's own) or the
#                              file of a Windows scheme (scripts/colour-schemes)
#   kovna_prefix_is_ready [DPI [FONT [WINDOWS [COLOURS]]]]
#                              true where the prefix is made so already
#   "$KOVNA_WINE" program.exe  run a program in it
#   kovna_wine_run SECONDS program.exe [ARG...]
#                              run a short one within SECONDS (0: no limit),
#                              once more if Wine did not start it
#   kovna_once_more NAME OUT COMMAND [ARG...]
#                              the same for any COMMAND that runs NAME with its
#                              output in the file OUT (and errors in OUT.err)
#
# A prefix is made as a copy of a booted one of its arch, kept under
# $KOVNA_WINE_BASE where that is set (a boot takes many seconds and the copy,
# its files linked, none); without it, each prefix boots on its own.
#
# The dialog layout was made for the 9-point system font of a Chinese Windows
# (base units 6 x 12). Wine's "MS Shell Dlg" falls to WenQuanYi Zen Hei
# (6 x 16) unless the prefix substitutes a Song face of that metric, which
# "AR PL SungtiL GB" has; Zen Hei stays installed for glyphs that face lacks.

KOVNA_WINESERVER=/usr/lib/wine/wineserver
KOVNA_DIALOG_FONT='AR PL SungtiL GB'
# Debian's fonts-wine: Marlett draws the caption buttons' glyphs. This Wine
# looks for its own fonts only in the prefix's Fonts folder, which its boot
# leaves empty.
KOVNA_WINE_FONTS=/usr/share/wine/fonts

# kovna_prefix_recipe [DPI [FONT [WINDOWS [COLOURS]]]] prints the recipe of
# such a prefix of the arch in force (kovna_wine_env), as the prefix keeps
# it; "base" alone, that of the booted prefix that others are copies of. A
# prefix set up by another recipe is made again: change this when what a
# prefix is made of changes. Wine updates a prefix in place when its own
# files change, which a linked copy must not see: the date of Wine's
# wine.inf is part of the recipe.
kovna_prefix_recipe() {
    kovna_booted="wine-fonts,wine=$(stat -c %Y /usr/share/wine/wine.inf 2>/dev/null)"
    if [ "${1:-}" = base ]; then
        printf '%s,%s,base\n' "$WINEARCH" "$kovna_booted"
        return
    fi
    case ${2:-song} in
    song) kovna_made="$WINEARCH,fonts=$KOVNA_DIALOG_FONT,$kovna_booted" ;;
    wine) kovna_made="$WINEARCH,fonts=wine,$kovna_booted" ;;
    *) echo "wine-env: no dialog font \"$2\" (song or wine)" >&2; return 1 ;;
    esac
    [ "${1:-96}" = 96 ] || kovna_made="$kovna_made,dpi=$1"
    case ${3:-managed} in
    managed) ;;
    unmanaged) kovna_made="$kovna_made,unmanaged" ;;
    *) echo "wine-env: windows are managed or unmanaged, not \"$3\"" >&2; return 1 ;;
    esac
    if [ "${4:-standard}" != standard ]; then
        [ -f "$4" ] || { echo "wine-env: no colour scheme file \"$4\"" >&2; return 1; }
        kovna_made="$kovna_made,colours=$(basename "$4" .reg):$(cksum <"$4" | cut -d' ' -f1)"
    fi
    printf '%s\n' "$kovna_made"
}

# The machine field of a PE header: 0x14c is i386, 0x8664 x86-64.
kovna_pe_arch() {
    [ -f "$1" ] || { echo "wine-env: no $1 (scripts/release.sh builds the released exes)" >&2; return 1; }
    kovna_pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    case $(od -An -tx2 -j$((kovna_pe + 4)) -N2 "$1" | tr -d ' ') in
    014c) echo i686 ;;
    8664) echo x86_64 ;;
    *) echo "wine-env: $1 is no Windows exe of either arch" >&2; return 1 ;;
    esac
}

# A kernel without 32-bit code refuses the 32-bit loader itself.
kovna_arch_runs() {
    case $1 in
    i686) /usr/lib/wine/wine --version >/dev/null 2>&1 ;;
    *) /usr/lib/wine/wine64 --version >/dev/null 2>&1 ;;
    esac
}

kovna_wine_env() {
    case ${2:-} in
    i686) KOVNA_WINE=/usr/lib/wine/wine kovna_winearch=win32 ;;
    x86_64) KOVNA_WINE=/usr/lib/wine/wine64 kovna_winearch=win64 ;;
    *) echo "wine-env: no arch \"${2:-}\" (i686 or x86_64)" >&2; return 1 ;;
    esac
    # A Windows has one ANSI code page, and so has a Wine prefix: Wine sets it
    # at the boot and, when a process comes with another, rewrites the "MS
    # Shell Dlg" substitute for that one. Another locale gets its own prefix.
    export WINEPREFIX="$1${KOVNA_LC_ALL:+-$KOVNA_LC_ALL}"
    export WINEARCH=$kovna_winearch
    export WINEDEBUG=${KOVNA_WINEDEBUG:--all}
    export WINEDLLOVERRIDES='mscoree,mshtml='
    # zh_CN gives the ANSI code page 936 of a Chinese Windows; KOVNA_LC_ALL
    # runs under another (en_US.UTF-8: 1252, zh_TW.UTF-8: 950, ja_JP.UTF-8: 932).
    export LC_ALL=${KOVNA_LC_ALL:-zh_CN.UTF-8}
    # A prefix with a display of its own (kovna_display_start of
    # scripts/x-tools.sh, at PREFIX.display) is run there.
    [ ! -s "$WINEPREFIX.display" ] || export DISPLAY="$(cat "$WINEPREFIX.display")"
}

kovna_prefix_is_ready() {
    kovna_recipe=$(kovna_prefix_recipe "$@") &&
        [ "$(cat "$WINEPREFIX/.kovna-ready" 2>/dev/null)" = "$kovna_recipe" ]
}

# Boots a prefix completely (an interrupted boot leaves a prefix that cannot
# load kernel32) with Wine's own fonts. Wine output goes to /dev/null: a
# wineserver holding a caller's pipe keeps that caller waiting.
kovna_wine_boot() {
    "$KOVNA_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    "$KOVNA_WINE" wineboot -i </dev/null >/dev/null 2>&1 || return 1
    "$KOVNA_WINESERVER" -w </dev/null >/dev/null 2>&1 || true
    for font in "$KOVNA_WINE_FONTS"/*; do
        [ -e "$font" ] && ln -sf "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
    done
}

# The booted prefix of this arch under $KOVNA_WINE_BASE, booted once. A copy
# links the system folder's modules, which nothing writes, and has files of
# its own for everything else: the registry above all, and the name of its
# server's folder.
kovna_wine_copy_base() {
    kovna_base=$KOVNA_WINE_BASE/$WINEARCH
    kovna_base_recipe=$(kovna_prefix_recipe base)
    mkdir -p "$KOVNA_WINE_BASE"
    (
        flock 8
        [ "$(cat "$kovna_base/.kovna-ready" 2>/dev/null)" = "$kovna_base_recipe" ] && exit 0
        WINEPREFIX=$kovna_base kovna_wine_boot || exit 1
        printf '%s\n' "$kovna_base_recipe" >"$kovna_base/.kovna-ready"
    ) 8>"$kovna_base.lock" || return 1
    "$KOVNA_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    cp -al "$kovna_base" "$WINEPREFIX" || return 1
    rm -f "$WINEPREFIX/wineserver" "$WINEPREFIX/.kovna-ready"
    find "$WINEPREFIX" -type f -links +1 ! -path "$WINEPREFIX/drive_c/windows/system32/*" \
        ! -path "$WINEPREFIX/drive_c/windows/syswow64/*" \
        -exec sh -c 'for f; do cp -p "$f" "$f.own" && mv -f "$f.own" "$f" || exit 1; done' sh {} +
}

# Makes the prefix before its first use, then writes what its recipe asks in
# one registry import: the font substitutes, the DPI, unmanaged windows, the
# colour scheme.
# Concurrent callers wait for each other on a lock file.
kovna_wine_prefix() {
    kovna_prefix_is_ready "$@" && return 0
    [ -n "$kovna_recipe" ] || return 1
    kovna_dpi=${1:-96}
    kovna_font=${2:-song}
    kovna_windows=${3:-managed}
    kovna_colours=${4:-standard}
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        kovna_prefix_is_ready "$@" && exit 0
        if [ -n "${KOVNA_WINE_BASE:-}" ]; then
            kovna_wine_copy_base || exit 1
        else
            kovna_wine_boot || exit 1
        fi
        reg=$(mktemp)
        printf 'REGEDIT4\n' >"$reg"
        if [ "$kovna_font" = song ]; then
            printf '\n[%s]\n"MS Shell Dlg"="%s"\n"MS Shell Dlg 2"="%s"\n' \
                'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
                "$KOVNA_DIALOG_FONT" "$KOVNA_DIALOG_FONT" >>"$reg"
        fi
        # Wine reads the DPI from both keys, as Windows does, when a program starts.
        if [ "$kovna_dpi" != 96 ]; then
            for key in 'HKEY_CURRENT_USER\Control Panel\Desktop' \
                'HKEY_LOCAL_MACHINE\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
                printf '\n[%s]\n"LogPixels"=dword:%08x\n' "$key" "$kovna_dpi" >>"$reg"
            done
        fi
        # On a display without a window manager, Wine waits two seconds for
        # one whenever a managed window hides, as a dialog does when it ends;
        # Windows has no such wait, and an unmanaged window none either. The
        # tests of a real tray and window manager need them managed.
        if [ "$kovna_windows" = unmanaged ]; then
            printf '\n[%s]\n"Managed"="N"\n' 'HKEY_CURRENT_USER\Software\Wine\X11 Driver' >>"$reg"
        fi
        # Wine reads the system colours from the user's key when a program
        # starts, as Windows holds them in a scheme of its own.
        [ "$kovna_colours" = standard ] || sed 1d "$kovna_colours" >>"$reg"
        "$KOVNA_WINE" regedit "$(winepath_of "$reg")" </dev/null >/dev/null 2>&1 || { rm -f "$reg"; exit 1; }
        "$KOVNA_WINESERVER" -w </dev/null >/dev/null 2>&1 || true
        rm -f "$reg"
        printf '%s\n' "$kovna_recipe" >"$WINEPREFIX/.kovna-ready"
    ) 9>"$WINEPREFIX.lock"
    kovna_prefix_is_ready "$@" || {
        echo "wine-env: could not set up the Wine prefix $WINEPREFIX" >&2
        return 1
    }
}

# Now and then Wine ends a process at once, before the program's main, with
# nothing on its output. A program whose every failure says why (such as
# tests/tools/KovnaDriver.cpp, or a GoogleTest run) runs once more then; any
# other failure stands. COMMAND runs NAME, leaving its output in the file OUT
# and, where it keeps them apart, its errors in OUT.err.
kovna_once_more() {
    kovna_once_name=$1 kovna_once_out=$2
    shift 2
    for kovna_try in 1 2; do
        "$@"
        kovna_status=$?
        [ "$kovna_status" -ne 0 ] && [ ! -s "$kovna_once_out" ] && [ ! -s "$kovna_once_out.err" ] &&
            [ "$kovna_try" = 1 ] || break
        echo "wine-env: $kovna_once_name ended at once with exit code $kovna_status and no output: Wine did not start it; once more" >&2
    done
    return "$kovna_status"
}

# A short program in the prefix, its output in files while it runs (a
# wineserver it starts would hold a pipe, and its caller, open), shown when
# it ends.
kovna_wine_run() {
    kovna_limit=$1
    shift
    kovna_out=$(mktemp)
    kovna_once_more "$1" "$kovna_out" kovna_wine_run_into "$@"
    kovna_status=$?
    cat "$kovna_out"
    cat "$kovna_out.err" >&2
    rm -f "$kovna_out" "$kovna_out.err"
    return "$kovna_status"
}

kovna_wine_run_into() {
    timeout "$kovna_limit" "$KOVNA_WINE" "$@" >"$kovna_out" 2>"$kovna_out.err"
}

# Wine maps the Unix root to drive Z:.
winepath_of() {
    printf 'Z:%s\n' "$1" | tr / '\\'
}
