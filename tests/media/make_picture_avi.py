#!/usr/bin/env python3
"""Writes uncompressed one-pixel checkerboard movies: white where x + y is
odd, counted from the top left as shown. One for each depth (8, 16, 24 and
32 bits) and row order (bottom-up, and top-down with a negative height).

usage: make_picture_avi.py OUT_DIR WIDTH HEIGHT
Names: raw8-up-WxH.avi, raw8-down-WxH.avi, ... raw32-down-WxH.avi
"""
import os
import struct
import sys

from make_hostile_avi import avih, chunk, le32, lst, strh

FRAMES = 10
WHITE = {8: b'\1', 16: struct.pack('<H', 0x7FFF), 24: b'\xff' * 3, 32: b'\xff\xff\xff\0'}


def picture(w, h, bits, top_down):
    stride = (w * bits // 8 + 3) & ~3
    black = b'\0' * (bits // 8)
    rows = []
    for y in range(h):  # as shown, top first
        row = b''.join(WHITE[bits] if (x + y) % 2 else black for x in range(w))
        rows.append(row + b'\0' * (stride - len(row)))
    return b''.join(rows if top_down else reversed(rows))


def movie(w, h, bits, top_down):
    frame = picture(w, h, bits, top_down)
    fmt = struct.pack('<IiiHHIIiiII', 40, w, -h if top_down else h, 1, bits, 0,
                      len(frame), 0, 0, 2 if bits == 8 else 0, 0)
    if bits == 8:
        fmt += b'\0\0\0\0' + b'\xff\xff\xff\0'
    hdr = chunk(b'avih', avih(w, h, 1, FRAMES))
    hdr += lst(b'strl', chunk(b'strh', strh(b'vids', b'DIB ', (0, 0, w, h), FRAMES))
               + chunk(b'strf', fmt))
    body = lst(b'hdrl', hdr)
    body += lst(b'movi', b''.join(chunk(b'00db', frame) for _ in range(FRAMES)))
    body += chunk(b'idx1', b''.join(struct.pack('<4sIII', b'00db', 0x10,
                                                4 + i * (8 + len(frame)), len(frame))
                                    for i in range(FRAMES)))
    return b'RIFF' + le32(len(body) + 4) + b'AVI ' + body


def main():
    out, w, h = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    os.makedirs(out, exist_ok=True)
    for bits in (8, 16, 24, 32):
        for top_down in (False, True):
            name = f'raw{bits}-{"down" if top_down else "up"}-{w}x{h}.avi'
            with open(os.path.join(out, name), 'wb') as f:
                f.write(movie(w, h, bits, top_down))


if __name__ == '__main__':
    main()
