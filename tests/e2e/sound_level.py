#!/usr/bin/env python3
"""Reads raw 16-bit mono samples from standard input (parec on a monitor) and
prints, for every 10 ms of them, the wall-clock time they arrived, their
peak level and their pitch in Hz as counted from sign changes: "time peak
hz", one line each, flushed at once."""
import array
import sys
import time

RATE = 8000
CHUNK = RATE // 100  # 10 ms


def main():
    stream = sys.stdin.buffer
    while True:
        data = stream.read(CHUNK * 2)
        if len(data) < CHUNK * 2:
            return
        samples = array.array("h", data)
        peak = max(abs(s) for s in samples)
        # Two sign changes a period; 100 chunks a second.
        changes = sum((a < 0) != (b < 0) for a, b in zip(samples, samples[1:]))
        sys.stdout.write("%.3f %d %d\n" % (time.time(), peak, changes * 50))
        sys.stdout.flush()


if __name__ == "__main__":
    main()
