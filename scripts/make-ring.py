#!/usr/bin/env python3
"""Write the alarm's own ring to res/ring.wav: the sound Kovna plays, over
and over, where Windows has no Media\\ringin.wav.

One pass is a bell-like trill of 0.12 s, 1200 Hz, 1500 Hz and 1200 Hz
again, 40 ms each with no break in phase, faded in and out over 10 ms so
that the loop never clicks, then 0.08 s of silence; played over and over, it
rings five times a second. PCM, 8 bits, mono, 8000 Hz: 1.6 KB, for the
32-bit exe must stay within 300 KB. Only the standard library is used and
the output is the same byte for byte on every run.

Usage: python3 scripts/make-ring.py [output path]
"""

import math
import os
import struct
import sys

RATE = 8000
TONES = (1200.0, 1500.0)
TURN = 0.040            # seconds per tone
TRILL = 0.12            # seconds of sound per pass
REST = 0.08             # seconds of silence per pass
FADE = 0.010
LEVEL = 0.5             # of full scale


def samples():
    phase = 0.0
    trill = round(TRILL * RATE)
    fade = round(FADE * RATE)
    for i in range(trill):
        tone = TONES[int(i / (TURN * RATE)) % len(TONES)]
        phase += 2 * math.pi * tone / RATE
        envelope = min(1.0, i / fade, (trill - 1 - i) / fade)
        yield LEVEL * envelope * math.sin(phase)
    for _ in range(round(REST * RATE)):
        yield 0.0


def wave_file(values):
    # 8-bit PCM is unsigned, silence at 128.
    data = bytes(max(0, min(255, 128 + round(127 * v))) for v in values)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE, 1, 8)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res", "ring.wav")
    with open(out, "wb") as f:
        f.write(wave_file(samples()))


if __name__ == "__main__":
    main()
