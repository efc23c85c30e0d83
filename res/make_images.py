#!/usr/bin/env python3
"""Writes the program's two pictures as 16-colour (4 bits per pixel) files:
openfolder.bmp (20x20, the open button) and qvicon.ico (32x32).
Run it from res/ after changing the drawings; the outputs are committed."""
import struct

# The standard 16-colour palette, as (r, g, b).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
INK = {'.': 0, 'O': 3, 'Y': 11, 'G': 10, 'g': 2, 'W': 15, 'B': 4, 'b': 12, 'K': 8}

# An opening folder with a curved arrow, on black.
FOLDER = """
....................
..........gGGGg.....
........gG.....Gg...
.......G.........G..
...............GGGGG
................GGG.
.OOOO............G..
.OYYYO..............
.OYYYYOOOOOOO.......
.OYYYYYYYYYYO.......
.OYYOOOOOOOOOOOOOO..
.OYOYYYYYYYYYYYYYO..
.OYOYYYYYYYYYYYYO...
.OOYYYYYYYYYYYYYO...
.OOYYYYYYYYYYYYO....
.OYYYYYYYYYYYYYO....
.OOOOOOOOOOOOOOO....
....................
....................
....................
"""


def parse(drawing):
    rows = [line for line in drawing.strip('\n').split('\n')]
    return [[INK[c] for c in row] for row in rows]


def icon_pixels():
    """A play triangle on a blue tile with a film strip at each side."""
    px = [[0] * 32 for _ in range(32)]
    for y in range(2, 30):
        for x in range(2, 30):
            px[y][x] = 4
            if x < 6 or x >= 26:
                px[y][x] = 8 if (y % 4) < 2 else 7
    for y in range(8, 24):
        half = (y - 8) if y < 16 else (23 - y)
        for x in range(11, 12 + 2 * half):
            px[y][x] = 11
    return px


def pack_rows(px, width):
    """Bottom-up rows of 4-bit pixels, each padded to 4 bytes."""
    stride = ((width * 4 + 31) // 32) * 4
    out = b''
    for row in reversed(px):
        line = bytearray(stride)
        for x, v in enumerate(row):
            line[x // 2] |= v << (4 if x % 2 == 0 else 0)
        out += bytes(line)
    return out


def palette_bytes():
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)


def info_header(width, height, image_size):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, image_size,
                       0, 0, 16, 16)


def write_bmp(path, px):
    w, h = len(px[0]), len(px)
    bits = pack_rows(px, w)
    offset = 14 + 40 + 64
    data = info_header(w, h, len(bits)) + palette_bytes() + bits
    with open(path, 'wb') as f:
        f.write(struct.pack('<2sIHHI', b'BM', 14 + len(data), 0, 0, offset))
        f.write(data)


def write_ico(path, px):
    w, h = len(px[0]), len(px)
    xor = pack_rows(px, w)
    mask = bytes(((w + 31) // 32) * 4 * h)  # all opaque
    image = info_header(w, 2 * h, len(xor) + len(mask)) + palette_bytes() + xor + mask
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, 1))
        f.write(struct.pack('<BBBBHHII', w, h, 16, 0, 1, 4, len(image), 6 + 16))
        f.write(image)


if __name__ == '__main__':
    folder = parse(FOLDER)
    assert len(folder) == 20 and all(len(r) == 20 for r in folder)
    write_bmp('openfolder.bmp', folder)
    write_ico('qvicon.ico', icon_pixels())
