#!/usr/bin/env python3
"""Draws the program icon (a play triangle on a blue tile) as tovak.ico with a 32x32 and a
16x16 image, 32 bits per pixel. Run it again after changing the drawing; the .ico is committed."""
import os
import struct


def pixel(size, x, y):
    # Coordinates in a 0..1 square.
    u, v = (x + 0.5) / size, (y + 0.5) / size
    margin = 1.0 / 16
    if not (margin <= u <= 1 - margin and margin <= v <= 1 - margin):
        return (0, 0, 0, 0)
    # Play triangle pointing right.
    if 0.34 <= u <= 0.74 and abs(v - 0.5) <= (0.74 - u) * 0.62:
        return (255, 255, 255, 255)
    # Blue tile, lighter at the top.
    shade = int(40 * (1 - v))
    return (30 + shade, 90 + shade, 200 + shade // 2, 255)


def image(size):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in range(size - 1, -1, -1):  # bottom row first
        row = b''
        for x in range(size):
            r, g, b, a = pixel(size, x, y)
            row += bytes((b, g, r, a))
        rows.append(row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytes(mask_stride * size)  # the alpha channel decides; the AND mask is all clear
    return header + b''.join(rows) + mask


def main():
    images = [image(32), image(16)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'tovak.ico')
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
