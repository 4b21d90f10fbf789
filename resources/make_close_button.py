#!/usr/bin/python3
"""Writes close_button.bmp beside itself: the game screen's 16 x 14 close button, a raised
button with a black X, as an uncompressed 24-bit bitmap. Run with any Python 3:
    python3 resources/make_close_button.py
"""

import os
import struct

WHITE = (255, 255, 255)
FACE = (214, 211, 206)
SHADOW = (132, 130, 132)
DARK = (66, 65, 66)
BLACK = (0, 0, 0)
WIDTH, HEIGHT = 16, 14

# The X: row -> columns drawn black.
CROSS = {
    3: (4, 5, 10, 11),
    4: (5, 6, 9, 10),
    5: (6, 7, 8, 9),
    6: (7, 8),
    7: (6, 7, 8, 9),
    8: (5, 6, 9, 10),
    9: (4, 5, 10, 11),
}


def pixel(row, col):
    if row == 0:
        return DARK if col == 15 else WHITE
    if row == 13:
        return DARK
    if row == 12:
        return WHITE if col == 0 else DARK if col == 15 else SHADOW
    if col == 0:
        return WHITE
    if col == 15:
        return DARK
    if col == 14:
        return SHADOW
    return BLACK if col in CROSS.get(row, ()) else FACE


def main():
    stride = (WIDTH * 3 + 3) & ~3
    rows = []
    for row in reversed(range(HEIGHT)):  # bottom-up, as bitmaps are stored
        line = b"".join(bytes((b, g, r)) for r, g, b in (pixel(row, c) for c in range(WIDTH)))
        rows.append(line + b"\0" * (stride - len(line)))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "close_button.bmp")
    with open(path, "wb") as out:
        out.write(header + info + data)


if __name__ == "__main__":
    main()
