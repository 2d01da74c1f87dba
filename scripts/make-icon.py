#!/usr/bin/env python3
"""Draws resources/varnolt.ico: two beamed eighth notes in black on a white
sheet with a navy edge, at 16 x 16 and 32 x 32, 4 bits a pixel, with the 16
standard colours of a 4-bit bitmap. The corners outside the sheet are
transparent."""
import struct
import sys

PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, NAVY, WHITE = 0, 4, 15
CLEAR = None

SIZES = (16, 32)


def inside_head(x, y, cx, cy):
    """A note head: an ellipse tilted upwards to the right, in 16-unit space."""
    dx, dy = x - cx, y - cy
    u, v = 0.87 * dx - 0.5 * dy, 0.5 * dx + 0.87 * dy
    return (u / 2.3) ** 2 + (v / 1.55) ** 2 <= 1.0


def colour_at(x, y):
    """The colour at point (x, y) of the drawing, which spans 0..16 both ways."""
    if (x < 1 or x > 15) and (y < 1 or y > 15):
        return CLEAR  # the rounded-off corners
    if x < 1 or x > 15 or y < 1 or y > 15:
        return NAVY
    if inside_head(x, y, 5.0, 12.0) or inside_head(x, y, 11.0, 11.0):
        return BLACK
    if 6.4 <= x < 7.6 and 3.5 <= y <= 12.0:   # stems, on the heads' right
        return BLACK
    if 12.4 <= x < 13.6 and 2.5 <= y <= 11.0:
        return BLACK
    top = 3.5 - (x - 6.4) / 6.0              # the beam, rising to the right
    if 6.4 <= x < 13.6 and top <= y < top + 2.0:
        return BLACK
    return WHITE


def image(size):
    """Rows top to bottom of palette indexes, CLEAR for transparent pixels."""
    k = 16.0 / size
    return [[colour_at((x + 0.5) * k, (y + 0.5) * k) for x in range(size)] for y in range(size)]


def entry_bytes(size):
    px = image(size)
    colour_stride = ((size * 4 + 31) // 32) * 4
    mask_stride = ((size + 31) // 32) * 4
    colours = mask = b""
    for row in reversed(px):  # bottom-up, like every DIB
        line = bytearray()
        for x in range(0, size, 2):
            a, b = (BLACK if c is CLEAR else c for c in row[x:x + 2])
            line.append((a << 4) | b)
        colours += bytes(line) + b"\0" * (colour_stride - len(line))
        bits = bytearray(mask_stride)
        for x, c in enumerate(row):
            if c is CLEAR:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0, len(colours) + len(mask), 0, 0, 16, 0)
    return info + pal + colours + mask


def write(path):
    images = [entry_bytes(s) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    write(sys.argv[1] if len(sys.argv) > 1 else "resources/varnolt.ico")
