#!/usr/bin/env python3
"""Writes the About box's picture as a 65 x 72 monochrome BMP file: the sun rising
over an open book, for a lesson a day."""
import math
import sys
from pathlib import Path

from make_outline_bitmaps import bmp

WIDTH, HEIGHT = 65, 72
SPINE = 32          # the book's middle column
PAGE_REACH = 28     # columns from the spine to a page's outer edge
PAGE_TOP = 41       # the top of the pages at the spine
PAGE_HEIGHT = 23
SUN = (SPINE, 31)   # the sun's centre, on the horizon the book's top edge makes
SUN_RADIUS = 11


def page_top(x):
    """The pages' top edge bows upward away from the spine."""
    d = abs(x - SPINE)
    return PAGE_TOP - round(4 * math.sin(math.pi * d / (2 * PAGE_REACH)))


def draw():
    ink = [[False] * WIDTH for _ in range(HEIGHT)]

    def dot(x, y):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            ink[y][x] = True

    # The sun above the horizon: a ring with a few rays.
    cx, cy = SUN
    for y in range(cy - SUN_RADIUS - 1, cy + 1):
        for x in range(cx - SUN_RADIUS - 1, cx + SUN_RADIUS + 2):
            d = math.hypot(x - cx, y - cy)
            if SUN_RADIUS - 1.2 <= d <= SUN_RADIUS:
                dot(x, y)
    for angle in range(15, 180, 30):
        a = math.radians(angle)
        for r in range(SUN_RADIUS + 3, SUN_RADIUS + 11):
            dot(round(cx + r * math.cos(a)), round(cy - r * math.sin(a)))

    # The two pages: outline, spine and lines of text, the spine's side left blank.
    for x in range(SPINE - PAGE_REACH, SPINE + PAGE_REACH + 1):
        top = page_top(x)
        bottom = top + PAGE_HEIGHT
        dot(x, top)
        dot(x, bottom)
        edge = abs(x - SPINE) == PAGE_REACH
        for y in range(top, bottom + 1):
            if edge or x == SPINE:
                dot(x, y)
        margin = 2 <= abs(x - SPINE) <= PAGE_REACH - 3
        for y in range(top + 3, bottom - 1, 3):
            if margin and (x * 7 + y * 3) % 11 != 0:
                dot(x, y)
    # The cover under the pages, a little wider, and the book's shadow line.
    for x in range(SPINE - PAGE_REACH - 2, SPINE + PAGE_REACH + 3):
        dot(x, page_top(min(max(x, SPINE - PAGE_REACH), SPINE + PAGE_REACH)) + PAGE_HEIGHT + 2)
    for x in range(4, WIDTH - 4):
        dot(x, HEIGHT - 2)
    return ["".join("#" if c else "." for c in row) for row in ink]


def main(folder):
    (Path(folder) / "about.bmp").write_bytes(bmp(draw()))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources")
