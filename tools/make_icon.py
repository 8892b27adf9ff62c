#!/usr/bin/env python3
"""Draws the program's icon, an open book in dark blue on white, and writes it as a
16-colour .ico file with a 32x32 and a 16x16 image. The output is the same on every
run.

    tools/make_icon.py resources/icon101.ico
"""
import struct
import sys

# The 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
NAVY, BLUE, GREY, WHITE = 4, 12, 8, 15


def draw_book(size):
    """Rows of palette indices, top row first: two pages meeting at the spine, their
    top edges dipping toward it, lines of text on them, the cover beneath."""
    scale = size / 32
    left, right = round(3 * scale), size - 1 - round(3 * scale)
    spine = (size - 1) / 2
    half_width = spine - left
    rise = 3 * scale
    height = round(15 * scale)
    line_step = 3 if size >= 32 else 2
    pixels = [[WHITE] * size for _ in range(size)]

    def top(x):
        return round(7 * scale + rise * (1 - abs(x - spine) / half_width))

    for x in range(left, right + 1):
        t, b = top(x), top(x) + height
        at_spine = abs(x - spine) < 1
        for y in range(t, b + 1):
            border = x in (left, right) or y in (t, b) or at_spine
            inner = left + 2 <= x <= right - 2 and abs(x - spine) > 1.5
            text = inner and y > t + 1 and y < b - 1 and (y - t) % line_step == 0
            pixels[y][x] = NAVY if border else GREY if text else WHITE
        # The cover shows below the pages, a little wider than them.
        cover_rows = 2 if size >= 32 else 1
        for y in range(b + 1, min(b + 1 + cover_rows, size)):
            pixels[y][x] = NAVY
    cover_y = top(left) + height + 1
    for y in range(cover_y, min(cover_y + (2 if size >= 32 else 1), size)):
        for x in (left - 1, right + 1):
            if 0 <= x < size:
                pixels[y][x] = NAVY
    return pixels


def icon_image(size):
    """The image as stored in an icon: the header, palette, colour rows and mask rows,
    each bottom row first."""
    pixels = draw_book(size)
    colour_stride = ((size * 4 + 31) // 32) * 4
    mask_stride = ((size + 31) // 32) * 4
    colour = bytearray()
    for row in reversed(pixels):
        packed = bytearray((row[x] << 4) | row[x + 1] for x in range(0, size, 2))
        colour += packed + bytes(colour_stride - len(packed))
    mask = bytes(mask_stride * size)  # every pixel opaque
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                         len(colour) + len(mask), 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(colour) + mask


def icon_file(sizes):
    images = [icon_image(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUTPUT.ico")
    with open(sys.argv[1], "wb") as output:
        output.write(icon_file([32, 16]))


if __name__ == "__main__":
    main()
