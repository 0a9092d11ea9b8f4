#!/usr/bin/env python3
"""Reads raw 16-bit mono samples from standard input (parec on a monitor) and
prints, for every 10 ms of them, their number in the stream (from 0), the
wall-clock time they arrived, their peak level and their pitch in Hz as
counted from sign changes between the first and the last, so that a chunk
that only partly sounds (a pass's end, a gap a busy machine left) still
tells the sound's pitch: "chunk arrival peak hz", one line each, flushed at
once. The arrival is late by however long parec and this reader took; the
number says when the chunk was played (see played() in alarm_sound_e2e.sh)."""
import array
import sys
import time

RATE = 8000
CHUNK = RATE // 100  # 10 ms


def main():
    stream = sys.stdin.buffer
    number = 0
    while True:
        data = stream.read(CHUNK * 2)
        if len(data) < CHUNK * 2:
            return
        samples = array.array("h", data)
        peak = max(abs(s) for s in samples)
        # Two sign changes a period.
        changes = [i for i in range(1, CHUNK) if (samples[i - 1] < 0) != (samples[i] < 0)]
        hz = (len(changes) - 1) * RATE // (2 * (changes[-1] - changes[0])) if len(changes) > 1 else 0
        sys.stdout.write("%d %.6f %d %d\n" % (number, time.time(), peak, hz))
        sys.stdout.flush()
        number += 1


if __name__ == "__main__":
    main()
