# The one Wine set-up for everything that runs Kovna here: sourced (POSIX sh
# and bash) by run.sh, screenshots.sh, the tests' wrappers and the end-to-end
# scripts. Both arches: the 32-bit exe runs under the 32-bit loader in a
# 32-bit (win32) prefix, the 64-bit one under wine64 in a win64 prefix.
#
#   . scripts/wine-env.sh
#   kovna_wine_env PREFIX [ARCH]
#                              export the environment for the prefix; ARCH is
#                              i686 or x86_64 (default $KOVNA_ARCH, else x86_64)
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
#   "$KOVNA_WINE" program.exe  run a program in it
#   kovna_wine_run SECONDS program.exe [ARG...]
#                              run a short one within SECONDS (0: no limit),
#                              once more if Wine did not start it
#   kovna_throwaway_start RELAY PROGRAM SECONDS
#                              PROGRAM in a prefix and on a display of its own,
#                              for a test that may shut "the computer" down,
#                              with a relay trace
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
# A prefix set up by another recipe is made again: bump this when it changes.
# Wine updates a prefix in place when its own files change, which a linked
# copy must not see: the date of Wine's wine.inf is part of the recipe.
KOVNA_PREFIX_RECIPE="fonts=$KOVNA_DIALOG_FONT,wine-fonts,wine=$(stat -c %Y /usr/share/wine/wine.inf 2>/dev/null)"
# Debian's fonts-wine: Marlett draws the caption buttons' glyphs. This Wine
# looks for its own fonts only in the prefix's Fonts folder, which its boot
# leaves empty.
KOVNA_WINE_FONTS=/usr/share/wine/fonts

kovna_wine_arch() {
    KOVNA_ARCH=$1
    case $KOVNA_ARCH in
    i686) KOVNA_WINE=/usr/lib/wine/wine KOVNA_WINEARCH=win32 ;;
    x86_64) KOVNA_WINE=/usr/lib/wine/wine64 KOVNA_WINEARCH=win64 ;;
    *) echo "wine-env: no arch \"$KOVNA_ARCH\" (i686 or x86_64)" >&2; return 1 ;;
    esac
    # The recipe of the prefix asked for last (kovna_wine_prefix), the default until then.
    kovna_recipe="$KOVNA_WINEARCH,$KOVNA_PREFIX_RECIPE"
}
kovna_wine_arch "${KOVNA_ARCH:-x86_64}"

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
    kovna_wine_arch "${2:-$KOVNA_ARCH}" || return 1
    # A Windows has one ANSI code page, and so has a Wine prefix: Wine sets it
    # at the boot and, when a process comes with another, rewrites the "MS
    # Shell Dlg" substitute for that one. Another locale gets its own prefix.
    export WINEPREFIX="$1${KOVNA_LC_ALL:+-$KOVNA_LC_ALL}"
    export WINEARCH=$KOVNA_WINEARCH
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
    kovna_base=$KOVNA_WINE_BASE/$KOVNA_WINEARCH
    kovna_base_recipe="$KOVNA_WINEARCH,$KOVNA_PREFIX_RECIPE,base"
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
    kovna_dpi=${1:-96}
    kovna_font=${2:-song}
    kovna_windows=${3:-managed}
    kovna_colours=${4:-standard}
    case $kovna_font in
    song) kovna_recipe="$KOVNA_WINEARCH,$KOVNA_PREFIX_RECIPE" ;;
    wine) kovna_recipe="$KOVNA_WINEARCH,$(printf '%s' "$KOVNA_PREFIX_RECIPE" | sed 's/^fonts=[^,]*/fonts=wine/')" ;;
    *) echo "wine-env: no dialog font \"$kovna_font\" (song or wine)" >&2; return 1 ;;
    esac
    [ "$kovna_dpi" = 96 ] || kovna_recipe="$kovna_recipe,dpi=$kovna_dpi"
    case $kovna_windows in
    managed) ;;
    unmanaged) kovna_recipe="$kovna_recipe,unmanaged" ;;
    *) echo "wine-env: windows are managed or unmanaged, not \"$kovna_windows\"" >&2; return 1 ;;
    esac
    if [ "$kovna_colours" != standard ]; then
        [ -f "$kovna_colours" ] || { echo "wine-env: no colour scheme file \"$kovna_colours\"" >&2; return 1; }
        kovna_recipe="$kovna_recipe,colours=$(basename "$kovna_colours" .reg):$(cksum <"$kovna_colours" | cut -d' ' -f1)"
    fi
    kovna_prefix_is_ready && return 0
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        kovna_prefix_is_ready && exit 0
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
    kovna_prefix_is_ready || {
        echo "wine-env: could not set up the Wine prefix $WINEPREFIX" >&2
        return 1
    }
}

# Now and then Wine ends a process at once, before the program's main, with
# nothing on its output. A program whose every failure says why (such as
# tests/tools/KovnaDriver.cpp) runs once more then; any other failure stands.
# Its output comes when it ends.
kovna_wine_run() {
    kovna_limit=$1
    shift
    kovna_out=$(mktemp)
    for kovna_try in 1 2; do
        timeout "$kovna_limit" "$KOVNA_WINE" "$@" >"$kovna_out" 2>"$kovna_out.err"
        kovna_status=$?
        [ "$kovna_status" -ne 0 ] && [ ! -s "$kovna_out" ] && [ ! -s "$kovna_out.err" ] && [ "$kovna_try" = 1 ] || break
        echo "wine-env: $1 ended at once with exit code $kovna_status and no output: Wine did not start it; once more" >&2
    done
    cat "$kovna_out"
    cat "$kovna_out.err" >&2
    rm -f "$kovna_out" "$kovna_out.err"
    return "$kovna_status"
}

# Wine maps the Unix root to drive Z:.
winepath_of() {
    printf 'Z:%s\n' "$1" | tr / '\\'
}

# A PulseAudio daemon of the run's own: its runtime folder in DIR, a null
# sink as the default sink, reached by Wine's audio driver through
# PULSE_SERVER on an anonymous unix socket; no client may spawn another.
# What plays can be recorded from the sink's monitor.
kovna_pulse_start() {
    KOVNA_PULSE_DIR=$1
    mkdir -p "$KOVNA_PULSE_DIR/runtime"
    printf 'autospawn = no\n' >"$KOVNA_PULSE_DIR/client.conf"
    export PULSE_CLIENTCONFIG="$KOVNA_PULSE_DIR/client.conf"
    export PULSE_SERVER="unix:$KOVNA_PULSE_DIR/socket"
    KOVNA_PULSE_MONITOR=kovna.monitor
    XDG_RUNTIME_DIR="$KOVNA_PULSE_DIR/runtime" PULSE_RUNTIME_PATH="$KOVNA_PULSE_DIR/runtime" \
        pulseaudio --daemonize=no --system=false -n --use-pid-file=no --exit-idle-time=-1 \
        --disable-shm=yes --log-target=file:"$KOVNA_PULSE_DIR/pulse.log" \
        -L "module-null-sink sink_name=kovna" \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$KOVNA_PULSE_DIR/socket" \
        </dev/null >/dev/null 2>&1 &
    KOVNA_PULSE_PID=$!
    tries=0
    until pactl info >/dev/null 2>&1; do
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ] || ! kill -0 "$KOVNA_PULSE_PID" 2>/dev/null; then
            echo "wine-env: PulseAudio did not start (see $KOVNA_PULSE_DIR/pulse.log)" >&2
            return 1
        fi
        sleep 0.1
    done
    pactl set-default-sink kovna >/dev/null
}

kovna_pulse_stop() {
    [ -n "${KOVNA_PULSE_PID:-}" ] || return 0
    kill "$KOVNA_PULSE_PID" 2>/dev/null
    wait "$KOVNA_PULSE_PID" 2>/dev/null
    KOVNA_PULSE_PID=
}

# A three-second 880 Hz tone, made here, as the prefix's
# C:\WINDOWS\Media\ringin.wav.
kovna_alarm_tone() {
    mkdir -p "$WINEPREFIX/drive_c/windows/Media"
    python3 - "$WINEPREFIX/drive_c/windows/Media/ringin.wav" <<'PY'
import math, struct, sys, wave
out = wave.open(sys.argv[1], "wb")
out.setnchannels(1)
out.setsampwidth(2)
out.setframerate(22050)
out.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * 880 * i / 22050)))
                         for i in range(3 * 22050)))
out.close()
PY
}

# Starts PROGRAM in a prefix and on a display of its own (scripts/x-tools.sh
# sourced), for a test whose program may request a shutdown: that ends only
# the prefix's processes. The prefix's arch is the program's. Wine's relay
# trace of the calls named in RELAY (a RelayInclude list) goes to
# $KOVNA_RELAY_LOG; the process is $KOVNA_PID, ended after SECONDS at the
# latest. Prefix, display, trace and process go at exit.
kovna_throwaway_start() {
    KOVNA_THROWAWAY=$(mktemp -d /tmp/kovna-e2e.XXXXXX)
    KOVNA_RELAY_LOG=$KOVNA_THROWAWAY.relay.log
    trap kovna_throwaway_end EXIT INT TERM
    kovna_arch=$(kovna_pe_arch "$2") || return 1
    kovna_display_start "$KOVNA_THROWAWAY.display" || return 1
    kovna_wine_env "$KOVNA_THROWAWAY" "$kovna_arch" || return 1
    kovna_wine_prefix || return 1
    timeout 30 "$KOVNA_WINE" reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /t REG_SZ /d "$1" /f \
        </dev/null >/dev/null 2>&1
    WINEDEBUG=+relay timeout "$3" "$KOVNA_WINE" "$2" </dev/null >"$KOVNA_RELAY_LOG" 2>&1 &
    KOVNA_PID=$!
}

kovna_throwaway_end() {
    [ -n "${KOVNA_PID:-}" ] && kill "$KOVNA_PID" 2>/dev/null
    WINEPREFIX=$KOVNA_THROWAWAY "$KOVNA_WINESERVER" -k </dev/null >/dev/null 2>&1
    kovna_display_stop "$KOVNA_THROWAWAY.display"
    rm -rf "$KOVNA_THROWAWAY" "$KOVNA_THROWAWAY.lock" "$KOVNA_RELAY_LOG"
}
