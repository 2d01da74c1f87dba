#!/usr/bin/env python3
"""Draws the toolbar's bitmaps, one for each glyph size the program chooses
from by the display's DPI: resources/toolbar.bmp (16 pixels) and
resources/toolbar20.bmp, toolbar24.bmp, toolbar32.bmp. Each holds three
square images side by side on light grey, a floppy disk, a right-pointing
triangle and a filled square, drawn afresh for its size; 4 bits a pixel.

The palette holds only black, dark grey (128), light grey (192) and white:
the system maps exactly these to the user's button colours (text, shadow,
face and highlight), so the glyphs follow a High Contrast scheme. The
outline of every glyph is black, which becomes the button text colour."""
import struct
import sys

SIZES = {16: "toolbar.bmp", 20: "toolbar20.bmp", 24: "toolbar24.bmp", 32: "toolbar32.bmp"}
PALETTE = [(0, 0, 0), (128, 128, 128), (192, 192, 192), (255, 255, 255)]
BLACK, SHADOW, FACE, WHITE = range(4)


def scaled(n, sixteenths):
    """A length given for a 16-pixel glyph, for an n-pixel one, rounded."""
    return int(sixteenths * n / 16 + 0.5)


def fill(px, left, top, right, bottom, colour):  # right and bottom included
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            px[y][x] = colour


def disk(px, n, at):
    """A floppy disk: a black outline with its top right corner cut, a dark
    body, a white label above and a metal shutter with its slot below."""
    line = max(1, scaled(n, 1))
    left, top, right, bottom = at + scaled(n, 1), scaled(n, 1), at + n - 1 - scaled(n, 1), n - 1 - scaled(n, 1)
    cut = scaled(n, 3)
    for y in range(top, bottom + 1):
        # the cut corner: each row below the top one reaches one pixel further right
        edge = right - max(0, cut - (y - top))
        for x in range(left, edge + 1):
            outline = y < top + line or y > bottom - line or x < left + line or x > edge - line
            px[y][x] = BLACK if outline else SHADOW
    fill(px, left + scaled(n, 3), top + line, right - scaled(n, 4), top + scaled(n, 6), WHITE)
    shutter_top = bottom - scaled(n, 5)
    fill(px, left + scaled(n, 4), shutter_top, right - scaled(n, 3), bottom - line, FACE)
    slot = right - scaled(n, 3) - max(1, scaled(n, 2)) - line
    fill(px, slot, shutter_top + line, slot + max(1, scaled(n, 2)) - 1, bottom - 2 * line, BLACK)


def triangle(px, n, at):
    """A black triangle: an upright left edge, its tip on the middle row."""
    rows = (n - 2 * scaled(n, 2.5)) | 1
    top = (n - rows) // 2
    half = rows // 2
    width = scaled(n, 9)
    left = at + (n - width) // 2 + scaled(n, 0.5)
    for i in range(rows):
        length = -(-width * (half + 1 - abs(i - half)) // (half + 1))
        fill(px, left, top + i, left + length - 1, top + i, BLACK)


def square(px, n, at):
    side = scaled(n, 9)
    offset = (n - side) // 2
    fill(px, at + offset, offset, at + offset + side - 1, offset + side - 1, BLACK)


def image(n):
    px = [[FACE] * (3 * n) for _ in range(n)]
    disk(px, n, 0)
    triangle(px, n, n)
    square(px, n, 2 * n)
    return px


def write(path, n):
    px = image(n)
    width = 3 * n
    stride = ((width * 4 + 31) // 32) * 4
    rows = b""
    for y in reversed(range(n)):
        line = bytearray()
        for x in range(0, width, 2):
            line.append((px[y][x] << 4) | px[y][x + 1])
        rows += bytes(line) + b"\0" * (stride - len(line))
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, n, 1, 4, 0, len(rows), 2835, 2835, len(PALETTE), 0)
    with open(path, "wb") as f:
        f.write(header + info + pal + rows)


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "resources"
    for size, name in SIZES.items():
        write(f"{folder}/{name}", size)
