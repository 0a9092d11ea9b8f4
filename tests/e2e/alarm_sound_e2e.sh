#!/bin/sh
# End to end with real sound: the real kovna.exe under Wine, playing through
# Wine's PulseAudio driver into a private daemon's null sink, whose monitor
# is read every 10 ms. The alarm must ring at its deadline, stop within
# 300 ms of Reset, let a Set right after a Reset during a ring count from 60
# (or 59) at once, and leave silence when the program ends during a ring.
# The prefix and the display are the run's own; its windows are unmanaged,
# so that the end is not held up by Wine waiting for a window manager. With
# "systemfile" it holds a three-second 880 Hz tone as
# Windows\Media\ringin.wav, which must be what rings; with "ownwave" it has
# no such file, and the program's own trill of 1200 and 1500 Hz must ring
# instead.
# Every time is the wall clock's: the driver prints when it sent Kovna
# each press, and the sound is placed at the time it was played. Neither
# the start of a driver process nor the wait in parec and python counts:
# on a busy machine they take seconds.
# Usage: alarm_sound_e2e.sh kovna.exe kovna_driver.exe systemfile|ownwave
set -u
KOVNA_EXE=$1
DRIVER_EXE=$2
SOUND=$3
HERE=$(dirname "$0")
. "$HERE/../../scripts/wine-env.sh"
. "$HERE/../../scripts/x-tools.sh"
. "$HERE/../../scripts/at-exit.sh"
. "$HERE/../../scripts/throwaway.sh"

kovna_own_prefix "$KOVNA_EXE" 96 song unmanaged || exit 1
kovna_need_x pulseaudio parec pactl python3
WORK=$KOVNA_OWN_DIR
kovna_pulse_start "$WORK/pulse" || exit 1
KOVNA_PID=
PAREC_PID=
kovna_at_exit '[ -z "$KOVNA_PID" ] || kill "$KOVNA_PID" 2>/dev/null; [ -z "$PAREC_PID" ] || kill "$PAREC_PID" 2>/dev/null'

RING_FILE=$WINEPREFIX/drive_c/windows/Media/ringin.wav
case $SOUND in
systemfile) kovna_alarm_tone || exit 1; PITCH_LOW=780; PITCH_HIGH=980 ;;
ownwave) rm -f "$RING_FILE"; PITCH_LOW=1100; PITCH_HIGH=1650 ;;
*) echo "unknown sound: $SOUND"; exit 2 ;;
esac

LEVELS=$WORK/levels
: >"$LEVELS"
parec -d "$KOVNA_PULSE_MONITOR" --raw --format=s16le --rate=8000 --channels=1 --latency-msec=10 |
    python3 "$HERE/sound_level.py" >"$LEVELS" &
PAREC_PID=$!

now() { date +%s.%N; }
# A failed call tells its status: 124 is the timeout, 1 the driver's own.
drive() {
    kovna_wine_run 60 "$DRIVER_EXE" "$@" </dev/null && return 0
    set -- $? "$1"
    echo "kovna_driver $2: status $1" >&2
    return "$1"
}
# The instant a driver's line gives.
instant() { sed -n 's/.* at \([0-9.]*\).*/\1/p'; }
# The recording, each 10 ms at the time the sink played it: "start peak hz".
# The monitor's stream has no gaps, so chunk k was played k / 100 s after
# the first; the chunk that arrived with the least delay within a few
# seconds anchors them (the wall clock and the sink's drift apart by some
# milliseconds a minute), late by that least delay only. The last line may
# be half written.
played() {
    awk '{ k[NR] = $1; o[NR] = $2 - ($1 + 1) / 100; p[NR] = $3; h[NR] = $4 }
        END {
            for (i = 1; i < NR; i++) { b = int(i / 200); if (!(b in m) || o[i] < m[b]) m[b] = o[i] }
            for (i = 1; i < NR; i++) {
                b = int(i / 200); a = m[b]
                if ((b - 1) in m && m[b - 1] < a) a = m[b - 1]
                if ((b + 1) in m && m[b + 1] < a) a = m[b + 1]
                printf "%.4f %d %d\n", a + k[i] / 100, p[i], h[i]
            }
        }' "$LEVELS"
}
# Whether the recording holds what was played up to time $1.
recorded_to() { played | awk -v t="$1" '{ e = $1 + 0.01 } END { exit !(e >= t) }'; }
# The start of the first 10 ms of sound after time $1; the end of the last.
LOUD=1000
first_loud_after() { played | awk -v t="$1" -v l=$LOUD '$1 > t && $2 > l { print $1; exit }'; }
last_loud() { played | awk -v l=$LOUD '$2 > l { t = $1 + 0.01 } END { if (t) printf "%.4f\n", t }'; }
# The median pitch of the sound in the 600 ms from time $1: a gap or a
# click a busy machine leaves makes some 10 ms read far off.
pitch_after() {
    played | awk -v t="$1" -v l=$LOUD '$1 > t && $1 <= t + 0.6 && $2 > l { print $3 }' | sort -n |
        awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'
}
# How far $1 is after $2, in milliseconds; $1 plus $2 seconds.
ms_after() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%d", (a - b) * 1000 }'; }
later() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.6f", a + b }'; }
fail() {
    echo "FAIL: $*"
    exit 1
}
# Set of the date row, pressed in the process that sets the pickers, so
# that its start cannot eat the seconds to the deadline.
ring_at_in() {
    out=$(drive settime-in "$1" IDC_DATE IDC_TIME press IDC_BTN_SET_AT) || fail "cannot set the pickers and press Set"
    DEADLINE=$(printf '%s\n' "$out" | sed -n 's/.* epoch \([0-9]*\).*/\1/p')
    heard() { [ -n "$(first_loud_after "$DEADLINE.0")" ]; }
    kovna_wait_for $(($1 + 5)) heard || fail "no ring after its deadline"
    # Within the whole second before the deadline counts as early.
    ONSET=$(first_loud_after "$((DEADLINE - 1))")
}
# A press of the dialog's button $1, sent; PRESSED is when, and $2 is told
# how long kovna took.
press() {
    out=$(drive press "$1") || fail "cannot press $1"
    PRESSED=$(printf '%s\n' "$out" | instant)
    echo "$2: ${out#kovna_driver: }"
}
# The sound played last ended within $2 ms of time $1, as far as 1.5 s on.
quiet_after() {
    kovna_wait_for 15 recorded_to "$(later "$1" 1.5)" || fail "the recording stalled"
    last=$(last_loud)
    [ -z "$last" ] || [ "$(ms_after "$last" "$1")" -le "$2" ] || fail "sound $(ms_after "$last" "$1") ms after $3"
    echo "silent ${last:+$(ms_after "$last" "$1") ms }after $3"
}

"$KOVNA_WINE" "$KOVNA_EXE" </dev/null >/dev/null 2>&1 &
KOVNA_PID=$!
drive wait shown && drive wait filled IDC_STATIC_CLOCK || fail "kovna did not start"
sleep 1
[ -z "$(last_loud)" ] || fail "sound before any alarm"

# 1. The alarm (the mode kovna starts in) rings at its deadline and rings on.
ring_at_in 3
late=$(ms_after "$ONSET" "$DEADLINE")
echo "ring 1 heard $late ms after its deadline"
[ "$late" -ge -30 ] || fail "the ring came ${late} ms early"
[ "$late" -le 500 ] || fail "the ring came ${late} ms late"
kovna_wait_for 15 recorded_to "$(later "$ONSET" 4)" || fail "the recording stalled"
pitch=$(pitch_after "$ONSET")
echo "ring 1 at ${pitch:-no} Hz"
[ "${pitch:-0}" -ge $PITCH_LOW ] && [ "${pitch:-0}" -le $PITCH_HIGH ] || fail "the ring is not the $SOUND sound"
# The tone lasts three seconds, one pass of the own trill 0.2 (0.08 of them silent).
[ -n "$(first_loud_after "$(later "$ONSET" 3.5)")" ] || fail "the ring did not repeat past its first pass"

# 2. Reset during the ring silences it.
press IDC_BTN_SET_AT Reset
quiet_after "$PRESSED" 300 "Reset"

# 3. Reset then Set during a ring: the Set counts its whole minute at once.
drive settext IDC_EDIT_COUNT 1 || fail "cannot type the interval"
ring_at_in 2
sleep 0.5
press IDC_BTN_SET_AT Reset
reset=$PRESSED
press IDC_BTN_SET_AFTER Set
drive wait filled IDC_STATIC_COUNTDOWN || fail "the countdown line stayed empty"
line=$(drive text IDC_STATIC_COUNTDOWN)
echo "line: $line"
# "N秒后提醒." in hex, N counted from 60 (or 59) at the Set, one less a
# second since.
left=$(printf '%s\n' "$line" | sed -n 's/.*\[\(\(3[0-9]\)*\)c3ebbaf3c4d6c1e52e\].*/\1/p' | sed 's/3\(.\)/\1/g')
since=$(ms_after "$(printf '%s\n' "$line" | instant)" "$PRESSED")
[ -n "$left" ] && [ "$left" -le 60 ] && [ $((left + since / 1000)) -ge 59 ] ||
    fail "the new countdown did not start at 60 or 59"
quiet_after "$reset" 300 "Reset and Set"

# 4. Exit during a ring: silence once the window is gone.
press IDC_BTN_SET_AFTER Reset
ring_at_in 2
sleep 0.5
out=$(drive quit) || fail "cannot press Exit"
quit=$(printf '%s\n' "$out" | instant)
ended() { ! kill -0 "$KOVNA_PID" 2>/dev/null; }
kovna_wait_for 15 ended || fail "kovna did not end"
KOVNA_PID=
echo "kovna ended $(ms_after "$(now)" "$quit") ms after Exit"
quiet_after "$quit" 300 "Exit"
echo "PASS ($SOUND): rings on time, Reset and Exit silence it, Set after Reset counts from the top"
exit 0
