#!/usr/bin/env python3
"""Draw the Kovna application icon and write it to res/kovna.ico.

The icon is a clock face at ten past ten: a dark blue rim, a light face,
tick marks, two dark hands and a red hub (dark at 16x16).  Pixels
outside the rim are transparent through the AND mask.

The file holds two images, 16x16 and 32x32, each a classic BMP entry
(BITMAPINFOHEADER, 8 bits per pixel, 256-entry palette, XOR and AND
masks).  Only the standard library is used and the output is the same
byte for byte on every run.

Usage: python3 scripts/make-icon.py [output path]
"""

import math
import os
import struct
import sys

# Colours as (R, G, B).
BACKGROUND = (0, 0, 0)          # behind transparent pixels
RIM = (0x1F, 0x3A, 0x68)
FACE = (0xF4, 0xF1, 0xE6)
HAND = (0x22, 0x22, 0x2A)
HUB = (0xC8, 0x1E, 0x1E)

RAMP_STEPS = 16
SUBSAMPLES = 8                  # per axis, for smooth edges inside the rim


def build_palette():
    """Palette index 0 is the transparent background, followed by ramps from
    the face colour to each of the drawing colours.  Unused entries stay
    black so that the table always has 256 entries.  Returns the palette and
    the number of entries in use."""
    palette = [BACKGROUND]
    for target in (RIM, HAND, HUB):
        for step in range(RAMP_STEPS + 1):
            t = step / RAMP_STEPS
            palette.append(tuple(round(f + (c - f) * t)
                                 for f, c in zip(FACE, target)))
    # Drop duplicates (every ramp starts at FACE) while keeping the order.
    unique = []
    for colour in palette:
        if colour not in unique:
            unique.append(colour)
    assert len(unique) <= 256
    return unique + [(0, 0, 0)] * (256 - len(unique)), len(unique)


def nearest(palette, colour, used):
    best, best_dist = 1, None
    for index in range(1, used):
        p = palette[index]
        d = sum((a - b) * (a - b) for a, b in zip(p, colour))
        if best_dist is None or d < best_dist:
            best, best_dist = index, d
    return best


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    cx, cy = ax + t * dx, ay + t * dy
    return math.hypot(px - cx, py - cy)


def hand_end(cx, cy, length, minutes):
    """End point of a hand pointing at the given minute mark (0 = 12 o'clock),
    in image coordinates with y growing downwards."""
    angle = math.radians(minutes * 6.0)
    return cx + length * math.sin(angle), cy - length * math.cos(angle)


def draw(size):
    """Return (rgb rows top-down, opaque mask rows top-down) for one size."""
    c = size / 2.0
    outer = c - 0.25
    rim_width = 1.4 if size <= 16 else 3.0
    inner = outer - rim_width
    if size <= 16:
        # Too small for a red hub to read as anything but a blot.
        hour_w, minute_w, hub_r, hub_colour = 2.0, 1.6, 0.9, HAND
    else:
        hour_w, minute_w, hub_r, hub_colour = 2.6, 1.8, 1.8, HUB
    hour_end = hand_end(c, c, inner * 0.55, 50)     # towards ten o'clock
    minute_end = hand_end(c, c, inner * 0.85, 10)   # towards two o'clock
    ticks = []
    if size > 16:
        for mark in (0, 15, 30, 45):
            ticks.append((hand_end(c, c, inner - 0.8, mark),
                          hand_end(c, c, inner - 3.6, mark)))
    else:
        ticks.append((hand_end(c, c, inner - 0.3, 0),
                      hand_end(c, c, inner - 1.8, 0)))

    def colour_at(x, y):
        """Colour of one sample point, or None outside the clock."""
        r = math.hypot(x - c, y - c)
        if r > outer:
            return None
        if r > inner:
            return RIM
        if r <= hub_r:
            return hub_colour
        if segment_distance(x, y, c, c, *hour_end) <= hour_w / 2:
            return HAND
        if segment_distance(x, y, c, c, *minute_end) <= minute_w / 2:
            return HAND
        for (ax, ay), (bx, by) in ticks:
            if segment_distance(x, y, ax, ay, bx, by) <= 0.7:
                return HAND
        return FACE

    rows, mask = [], []
    n = SUBSAMPLES
    for py in range(size):
        row, mrow = [], []
        for px in range(size):
            inside = 0
            acc = [0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    col = colour_at(px + (sx + 0.5) / n, py + (sy + 0.5) / n)
                    if col is None:
                        continue
                    inside += 1
                    for k in range(3):
                        acc[k] += col[k]
            if inside * 2 < n * n:
                row.append(None)
                mrow.append(False)
            else:
                row.append(tuple(v / inside for v in acc))
                mrow.append(True)
        rows.append(row)
        mask.append(mrow)
    return rows, mask


def image_entry(size, palette, used):
    rows, mask = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0,
                         0, 0, 0, 256, 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)

    xor_stride = (size + 3) // 4 * 4
    and_stride = (size + 31) // 32 * 4
    xor = bytearray()
    andm = bytearray()
    for y in reversed(range(size)):          # bitmaps are stored bottom-up
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x in range(size):
            if mask[y][x]:
                line[x] = nearest(palette, rows[y][x], used)
            else:
                line[x] = 0
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        andm += bits
    body = bytearray(header)
    # biSizeImage: the XOR and AND masks together.
    struct.pack_into('<I', body, 20, len(xor) + len(andm))
    return bytes(body) + pal + bytes(xor) + bytes(andm)


def build_icon():
    # Drawing picks from entries 1 .. used-1; the rest is padding.
    palette, used = build_palette()

    images = [(16, image_entry(16, palette, used)),
              (32, image_entry(32, palette, used))]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        # width, height, colour count (0 means 256), reserved, planes, bpp
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 8,
                           len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'res',
                                                              'kovna.ico')
    data = build_icon()
    with open(path, 'wb') as f:
        f.write(data)
    print('wrote %s (%d bytes)' % (path, len(data)))


if __name__ == '__main__':
    main()
