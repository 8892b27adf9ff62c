#!/usr/bin/env python3
"""Draws the pictures of the tool-bar buttons, seven 16 x 16 images side by side in
button order (previous lesson, today, next lesson, font, search, search again, table
of contents), and writes them as one 112 x 16 16-colour BMP file. The background is
the bar's face colour, so the pictures sit on the bar without a frame. The output is
the same on every run.

    tools/make_toolbar_bitmap.py resources/toolbar.bmp
"""
import struct
import sys

# The 16-colour palette: a letter of the pictures below -> (red, green, blue).
PALETTE = [
    (".", (0xDE, 0xDE, 0xDE)),  # the bar's face
    ("k", (0x00, 0x00, 0x00)),
    ("g", (0x60, 0x60, 0x60)),
    ("l", (0xB0, 0xB0, 0xB0)),
    ("w", (0xFF, 0xFF, 0xFF)),
    ("n", (0x00, 0x00, 0x80)),
    ("b", (0x10, 0x50, 0xD0)),
    ("c", (0x90, 0xC0, 0xFF)),
    ("r", (0xD0, 0x10, 0x10)),
    ("R", (0x80, 0x00, 0x00)),
    ("G", (0x20, 0xA0, 0x20)),
    ("D", (0x00, 0x60, 0x00)),
    ("y", (0xFF, 0xD8, 0x00)),
    ("o", (0x90, 0x58, 0x20)),
    ("L", (0x90, 0xE0, 0x90)),
    ("p", (0xD8, 0xE8, 0xFF)),
]
INDEX = {letter: i for i, (letter, _) in enumerate(PALETTE)}

# An arrow pointing left; the next lesson's arrow is its mirror image.
PREVIOUS = [
    "................",
    "................",
    "......nn........",
    ".....ncn........",
    "....nccn........",
    "...nccccnnnnnnn.",
    "..ncccccccccccn.",
    ".nccccccccccccn.",
    ".nbbbbbbbbbbbbn.",
    "..nbbbbbbbbbbbn.",
    "...nbbbbnnnnnnn.",
    "....nbbn........",
    ".....nbn........",
    "......nn........",
    "................",
    "................",
]

# A calendar sheet with today's day marked.
TODAY = [
    "....gg.....gg...",
    ".kkkggkkkkkggkkk",
    ".krrggrrrrrggrrk",
    ".krrrrrrrrrrrrrk",
    ".kRRRRRRRRRRRRRk",
    ".kkkkkkkkkkkkkkk",
    ".kwwwwwwwwwwwwwk",
    ".kwllwllwllwllwk",
    ".kwwwwwwwwwwwwwk",
    ".kwllwllwrrwllwk",
    ".kwwwwwwwrrwwwwk",
    ".kwllwllwllwllwk",
    ".kwwwwwwwwwwwwwk",
    ".kwllwllwllwwwwk",
    ".kwwwwwwwwwwwwwk",
    ".kkkkkkkkkkkkkkk",
]

# A bold letter A, underlined.
FONT = [
    "................",
    ".......nn.......",
    ".......nn.......",
    "......nnnn......",
    "......nnnn......",
    ".....nn..nn.....",
    ".....nn..nn.....",
    "....nn....nn....",
    "....nnnnnnnn....",
    "...nnnnnnnnnn...",
    "...nn......nn...",
    "..nn........nn..",
    "..nn........nn..",
    "................",
    ".rrrrrrrrrrrrrr.",
    "................",
]

# A magnifying glass.
SEARCH = [
    "................",
    "....kkkkk.......",
    "...kkkkkkk......",
    "..kkwwccckk.....",
    ".kkwwcccccck....",
    ".kcwccccccck....",
    ".kccccccccck....",
    ".kccccccccck....",
    ".kkccccccckk....",
    "..kkccccckk.....",
    "...kkkkkkkoo....",
    "....kkkkkoooo...",
    "..........oooo..",
    "...........oooo.",
    "............ooo.",
    "................",
]

# A smaller magnifying glass with an arrow on to the next match.
SEARCH_AGAIN = [
    "....kkkk........",
    "..kkwwcckk......",
    "..kwwcccck......",
    "..kwccccck......",
    "..kcccccck......",
    "..kcccccck......",
    "..kkcccckk......",
    "....kkkk.oo.....",
    ".....D...ooo....",
    ".....DD...ooo...",
    "DDDDDDLD...ooo..",
    "LLLLLLLLD...ooo.",
    "GGGGGGGGD....oo.",
    "DDDDDDGD........",
    ".....DD.........",
    ".....D..........",
]

# A page of headings, some indented: the table of contents.
CONTENTS = [
    "................",
    ".kkkkkkkkkkkkk..",
    ".kwwwwwwwwwwwk..",
    ".kwnnwggggggwk..",
    ".kwnnwwwwwwwwk..",
    ".kwwwwwwwwwwwk..",
    ".kwwwbbwgggggk..",
    ".kwwwbbwwwwwwk..",
    ".kwwwwwwwwwwwk..",
    ".kwwwbbwgggggk..",
    ".kwwwbbwwwwwwk..",
    ".kwwwwwwwwwwwk..",
    ".kwnnwggggggwk..",
    ".kwnnwwwwwwwwk..",
    ".kwwwwwwwwwwwk..",
    ".kkkkkkkkkkkkk..",
]


def mirrored(picture):
    return [row[::-1] for row in picture]


PICTURES = [PREVIOUS, TODAY, mirrored(PREVIOUS), FONT, SEARCH, SEARCH_AGAIN, CONTENTS]
SIZE = 16


def strip_rows(pictures):
    """The strip as rows of palette indices, top row first."""
    for picture in pictures:
        assert len(picture) == SIZE and all(len(row) == SIZE for row in picture), picture
    return [[INDEX[ch] for picture in pictures for ch in picture[y]] for y in range(SIZE)]


def bmp(rows):
    """A 4-bit BMP, rows stored bottom first, each padded to four bytes."""
    width, height = len(rows[0]), len(rows)
    stride = ((width * 4 + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):
        packed = bytearray((row[x] << 4) | row[x + 1] for x in range(0, width, 2))
        pixels += packed + bytes(stride - len(packed))
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for _, (r, g, b) in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 2835, 2835,
                       len(PALETTE), len(PALETTE))
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + bytes(pixels)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_toolbar_bitmap.py OUTPUT.bmp")
    with open(sys.argv[1], "wb") as output:
        output.write(bmp(strip_rows(PICTURES)))


if __name__ == "__main__":
    main()
