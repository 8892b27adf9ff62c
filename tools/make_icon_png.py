#!/usr/bin/env python3
"""Writes the program's icon (the .ico of icon 101) as a PNG file of a given size for
the desktop: the icon's image whose size divides the one asked for, each pixel drawn as
a square, so every size shows the same picture in whole pixels. The output is the same
on every run.

    tools/make_icon_png.py resources/icon101.ico 48 build/icons/48.png
"""
import struct
import sys
import zlib


def read_icon_images(data):
    """{size: rows of (red, green, blue, alpha)} for each square image of the .ico."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise ValueError("not an icon file")
    images = {}
    for entry in range(count):
        width, height, _, _, _, _, length, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * entry)
        width, height = width or 256, height or 256
        if width == height:
            images[width] = read_bitmap(data[offset:offset + length], width)
    return images


def read_bitmap(image, size):
    header_size, width, double_height, _, bits = struct.unpack_from("<IiiHH", image, 0)
    colours = struct.unpack_from("<I", image, 32)[0] or (1 << bits)
    if width != size or double_height != 2 * size or bits not in (1, 4, 8):
        raise ValueError(f"unsupported {size}x{size} image ({bits} bits)")
    palette = [struct.unpack_from("BBBB", image, header_size + 4 * i)[2::-1]
               for i in range(colours)]
    colour_stride = ((size * bits + 31) // 32) * 4
    mask_stride = ((size + 31) // 32) * 4
    colour_at = header_size + 4 * colours
    mask_at = colour_at + colour_stride * size
    rows = []
    for y in reversed(range(size)):  # stored bottom row first
        row = []
        for x in range(size):
            bit = x * bits
            byte = image[colour_at + y * colour_stride + bit // 8]
            index = (byte >> (8 - bits - bit % 8)) & ((1 << bits) - 1)
            transparent = image[mask_at + y * mask_stride + x // 8] >> (7 - x % 8) & 1
            row.append(tuple(palette[index]) + (0 if transparent else 255,))
        rows.append(row)
    return rows


def scaled(rows, factor):
    return [[pixel for pixel in row for _ in range(factor)] for row in rows for _ in range(factor)]


def png_file(rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    size = len(rows)
    raw = b"".join(b"\0" + bytes(value for pixel in row for value in pixel) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: make_icon_png.py ICON.ico SIZE OUTPUT.png")
    with open(sys.argv[1], "rb") as icon:
        images = read_icon_images(icon.read())
    size = int(sys.argv[2])
    sources = [s for s in sorted(images, reverse=True) if size % s == 0]
    if not sources:
        sys.exit(f"make_icon_png.py: no image of {sys.argv[1]} divides {size} pixels")
    with open(sys.argv[3], "wb") as output:
        output.write(png_file(scaled(images[sources[0]], size // sources[0])))


if __name__ == "__main__":
    main()
