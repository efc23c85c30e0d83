#!/usr/bin/env python3
"""Writes an uncompressed 320x240 AVI of a given size for the open-latency
benchmark. The frame data is left as a hole in the file (sparse), so even a
500 MB movie is made at once; header and index are real.

usage: make_bench_avi.py OUT.avi MEGABYTES"""
import struct
import sys

W, H = 320, 240
FRAME = W * H * 3


def le32(v):
    return struct.pack('<I', v)


def chunk(fourcc, data):
    return fourcc + le32(len(data)) + data + (b'\0' if len(data) % 2 else b'')


def main():
    out, megabytes = sys.argv[1], int(sys.argv[2])
    frames = max(1, megabytes * 1024 * 1024 // (FRAME + 8))
    avih = struct.pack('<14I', 66666, FRAME * 15, 0, 0x10, frames, 0, 1, FRAME, W, H, 0, 0, 0, 0)
    strh = struct.pack('<4s4sIHHIIIIIIIIhhhh', b'vids', b'DIB ', 0, 0, 0, 0, 1, 15, 0, frames,
                       FRAME, 0xFFFFFFFF, 0, 0, 0, W, H)
    strf = struct.pack('<IiiHHIIiiII', 40, W, H, 1, 24, 0, FRAME, 0, 0, 0, 0)
    strl = b'LIST' + le32(4 + 8 + len(strh) + 8 + len(strf)) + b'strl' + chunk(b'strh', strh) + chunk(b'strf', strf)
    hdrl_body = b'hdrl' + chunk(b'avih', avih) + strl
    hdrl = b'LIST' + le32(len(hdrl_body)) + hdrl_body
    movi_size = 4 + frames * (8 + FRAME)
    index = b''.join(struct.pack('<4sIII', b'00db', 0x10, 4 + i * (8 + FRAME), FRAME)
                     for i in range(frames))
    riff_size = 4 + len(hdrl) + 8 + movi_size + 8 + len(index)
    with open(out, 'wb') as f:
        f.write(b'RIFF' + le32(riff_size) + b'AVI ' + hdrl)
        f.write(b'LIST' + le32(movi_size) + b'movi')
        for i in range(frames):
            f.write(b'00db' + le32(FRAME))
            f.seek(FRAME, 1)  # the picture: a hole, read back as black
        f.write(chunk(b'idx1', index))
    print(f'{out}: {frames} frames')


if __name__ == '__main__':
    main()
