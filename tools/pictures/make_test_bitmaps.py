#!/usr/bin/env python3
"""Writes the small bitmaps that the drawing helpers' Wine test reads back
pixel by pixel: an all-magenta one, a magenta picture with a shape, and one
each of 4, 8 and 24 bits per pixel with known colours.

Usage: tools/pictures/make_test_bitmaps.py [output folder]
(default tests/wine/data). The outputs are committed.
"""

import os
import struct
import sys


def dib(width, height, bits, table, pixel):
    """A bottom-up BMP; `pixel(x, y)` gives an index (palette) or (r, g, b)."""
    stride = ((width * bits + 31) // 32) * 4
    body = bytearray()
    for y in reversed(range(height)):
        line = bytearray(stride)
        for x in range(width):
            v = pixel(x, y)
            if bits == 24:
                r, g, b = v
                line[3 * x:3 * x + 3] = bytes((b, g, r))
            elif bits == 8:
                line[x] = v
            elif bits == 4:
                line[x // 2] |= v << (4 if x % 2 == 0 else 0)
        body += line
    colours_used = 0 if bits in (4, 24) else len(table)
    raw_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in table)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(body), 0, 0,
                       colours_used, 0)
    offset = 14 + 40 + len(raw_table)
    return struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset) + info + raw_table + body


def four_bit_colour(i):
    return ((i * 16) % 256, (255 - i * 15) % 256, (i * 37 + 10) % 256)


def eight_bit_colour(i):
    return (i, 255 - i, (i * 3) % 256)


def main():
    dest = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), "..", "..", "tests", "wine", "data")
    os.makedirs(dest, exist_ok=True)
    files = {
        "magenta.bmp": dib(16, 12, 24, [], lambda x, y: (255, 0, 255)),
        # Magenta with a red block and a blue diagonal.
        "shape.bmp": dib(20, 16, 8, [(255, 0, 255), (200, 20, 30), (10, 40, 220)],
                         lambda x, y: 2 if x == y else (1 if 5 <= x < 15 and 4 <= y < 12 else 0)),
        # 4 bits, colours used 0: a 16-entry table.
        "four_bit.bmp": dib(12, 10, 4, [four_bit_colour(i) for i in range(16)],
                            lambda x, y: (x + 2 * y) % 16),
        # 8 bits, 256 colours, an odd width so that rows are padded.
        "eight_bit.bmp": dib(9, 5, 8, [eight_bit_colour(i) for i in range(256)],
                             lambda x, y: (x * 7 + y * 31) % 256),
        # 24 bits, colours used 0: no table, pixels right after the header.
        "rgb24.bmp": dib(10, 7, 24, [], lambda x, y: (x * 20, y * 30, 100 + x + y)),
    }
    for name, data in files.items():
        with open(os.path.join(dest, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
