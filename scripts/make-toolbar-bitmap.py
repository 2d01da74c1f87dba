#!/usr/bin/env python3
"""Draws resources/toolbar.bmp: three 16 x 15 button images on light grey,
a floppy disk, a right-pointing triangle and a filled square; 4 bits a pixel."""
import struct
import sys

W, H = 48, 15
# the 16 standard colours of a 4-bit bitmap
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, NAVY, GREY, DARK, WHITE = 0, 4, 7, 8, 15

FLOPPY = [  # rows top to bottom, one character a pixel
    "................",
    ".NNNNNNNNNNNNNN.",
    ".NNWWWWWWWWWWNN.",
    ".NNWWWWWWWWWWNN.",
    ".NNWKKKKKKKKWNN.",
    ".NNWWWWWWWWWWNN.",
    ".NNWKKKKKKKKWNN.",
    ".NNWWWWWWWWWWNN.",
    ".NNNNNNNNNNNNNN.",
    ".NNNGGGGGGGGNNN.",
    ".NNNGGGGKKGGNNN.",
    ".NNNGGGGKKGGNNN.",
    ".NNNGGGGKKGGNNN.",
    "..NNNNNNNNNNNNN.",
    "................",
]
COLOURS = {".": GREY, "N": NAVY, "W": WHITE, "K": BLACK, "G": DARK}


def image():
    px = [[GREY] * W for _ in range(H)]
    for y, row in enumerate(FLOPPY):
        for x, ch in enumerate(row):
            px[y][x] = COLOURS[ch]
    for y in range(2, 13):  # triangle: upright left edge, its tip on the middle row
        half = 5 - abs(y - 7)
        for x in range(16 + 4, 16 + 4 + 1 + (8 * half + 2) // 5):
            px[y][x] = BLACK
    for y in range(3, 12):  # square
        for x in range(32 + 3, 32 + 12):
            px[y][x] = BLACK
    return px


def write(path):
    px = image()
    stride = ((W * 4 + 31) // 32) * 4
    rows = b""
    for y in reversed(range(H)):
        line = bytearray()
        for x in range(0, W, 2):
            line.append((px[y][x] << 4) | px[y][x + 1])
        rows += bytes(line) + b"\0" * (stride - len(line))
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 4, 0, len(rows), 2835, 2835, 16, 0)
    with open(path, "wb") as f:
        f.write(header + info + pal + rows)


if __name__ == "__main__":
    write(sys.argv[1] if len(sys.argv) > 1 else "resources/toolbar.bmp")
