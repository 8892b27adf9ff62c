#!/usr/bin/env python3
"""Writes the outline marks of the table of contents as 9 x 9 monochrome BMP files:
a collapsed section (plus), an expanded section (minus) and a lesson (a page)."""
import struct
import sys
from pathlib import Path

PLUS = [
    "#########",
    "#.......#",
    "#...#...#",
    "#...#...#",
    "#.#####.#",
    "#...#...#",
    "#...#...#",
    "#.......#",
    "#########",
]
MINUS = [row if i != 2 and i != 3 and i != 5 and i != 6 else "#.......#" for i, row in enumerate(PLUS)]
PAGE = [
    "######...",
    "#....##..",
    "#.##.#.#.",
    "#....####",
    "#.#####.#",
    "#.......#",
    "#.#####.#",
    "#.......#",
    "#########",
]


def bmp(rows):
    """A 1-bit BMP: palette entry 0 black, 1 white; '#' is black."""
    width, height = len(rows[0]), len(rows)
    stride = ((width + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray(stride)
        for x, ch in enumerate(row):
            if ch != "#":
                line[x // 8] |= 0x80 >> (x % 8)
        pixels += line
    palette = struct.pack("<4B4B", 0, 0, 0, 0, 255, 255, 255, 0)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, len(pixels), 3780, 3780, 2, 2)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + bytes(pixels)


def main(folder):
    out = Path(folder)
    for name, rows in (("outline_plus.bmp", PLUS), ("outline_minus.bmp", MINUS), ("outline_page.bmp", PAGE)):
        (out / name).write_bytes(bmp(rows))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources")
