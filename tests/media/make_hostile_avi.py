#!/usr/bin/env python3
"""Writes a deterministic corpus of hostile files named .avi: lying frame
sizes, truncations, impossible chunk sizes, missing headers, odd stream
counts, garbage indexes, byte flips in a real movie, and non-AVI content.

usage: make_hostile_avi.py OUT_DIR VALID_MOVIE.avi
"""
import os
import random
import struct
import sys

SEED = 20261209
DIMS = [0, 1, 25, 26, 27, 65535, 0x7FFFFFFF, 0xFFFFFFFF]


def le32(v):
    return struct.pack('<I', v & 0xFFFFFFFF)


def chunk(fourcc, data, size=None):
    pad = b'\0' if len(data) % 2 else b''
    return fourcc + le32(len(data) if size is None else size) + data + pad


def lst(kind, body, size=None):
    return chunk(b'LIST', kind + body, size)


def avih(w, h, streams, frames=4):
    return struct.pack('<14I', 100000, 100000, 0, 0x10, frames, 0, streams,
                       0x10000, w, h, 0, 0, 0, 0)


def strh(kind, handler, rect, length=4, scale=1, rate=10):
    left, top, right, bottom = rect
    return struct.pack('<4s4sIHHIIIIIIIIhhhh', kind, handler, 0, 0, 0, 0, scale,
                       rate, 0, length, 0x10000, 0xFFFFFFFF, 0,
                       *(max(-32768, min(32767, v if v < 0x80000000 else v - 0x100000000))
                         for v in (left, top, right, bottom)))


def bih(w, h, bits=24):
    return struct.pack('<IiiHHIIiiII', 40, w if w < 0x80000000 else w - 0x100000000,
                       h if h < 0x80000000 else h - 0x100000000, 1, bits, 0,
                       0, 0, 0, 0, 0)


def wavefmt():
    return struct.pack('<HHIIHHH', 1, 1, 22050, 44100, 2, 16, 0)


class Movie:
    """An uncompressed 8x8 movie whose every field can be set."""

    def __init__(self, w=8, h=8, streams=1, main=None, rect=None, fmt=None,
                 strl_count=None, with_avih=True, with_strh=True, with_strf=True,
                 with_movi=True, with_idx=True, index=None, audio=False):
        self.w, self.h = w, h
        self.main = main or (w, h)
        self.rect = rect if rect is not None else (0, 0, w, h)
        self.fmt = fmt or (w, h)
        self.streams = streams
        self.strl_count = 1 + audio if strl_count is None else strl_count
        self.with_avih, self.with_strh, self.with_strf = with_avih, with_strh, with_strf
        self.with_movi, self.with_idx, self.index = with_movi, with_idx, index
        self.audio = audio

    def strl(self, n):
        if self.audio and n == 1:
            parts = [chunk(b'strh', strh(b'auds', b'\0\0\0\0', (0, 0, 0, 0), 22050, 1, 22050)),
                     chunk(b'strf', wavefmt())]
        else:
            parts = []
            if self.with_strh:
                parts.append(chunk(b'strh', strh(b'vids', b'DIB ', self.rect)))
            if self.with_strf:
                parts.append(chunk(b'strf', bih(*self.fmt)))
        return lst(b'strl', b''.join(parts))

    def bytes(self, sizes=None):
        """sizes: {name: value} overrides the size field of a named chunk."""
        sizes = sizes or {}
        frame = bytes((i * 37) & 0xFF for i in range(8 * 8 * 3))
        hdr = b''
        if self.with_avih:
            hdr += chunk(b'avih', avih(*self.main, self.streams), sizes.get('avih'))
        for n in range(self.strl_count):
            s = self.strl(n)
            if n == 0 and 'strl' in sizes:
                s = s[:4] + le32(sizes['strl']) + s[8:]
            if n == 0 and 'strh' in sizes and self.with_strh:
                s = s[:12] + b'strh' + le32(sizes['strh']) + s[20:]
            if n == 0 and 'strf' in sizes and self.with_strf:
                at = s.find(b'strf')
                s = s[:at + 4] + le32(sizes['strf']) + s[at + 8:]
            hdr += s
        body = lst(b'hdrl', hdr, sizes.get('hdrl'))
        if self.with_movi:
            frames = b''.join(chunk(b'00db', frame) for _ in range(4))
            body += lst(b'movi', frames, sizes.get('movi'))
        if self.with_idx:
            if self.index is None:
                entries = b''.join(struct.pack('<4sIII', b'00db', 0x10, 4 + i * (8 + len(frame)),
                                               len(frame)) for i in range(4))
            else:
                entries = self.index
            body += chunk(b'idx1', entries, sizes.get('idx1'))
        riff_size = sizes.get('RIFF', len(body) + 4)
        return b'RIFF' + le32(riff_size) + b'AVI ' + body


def garbage_after_format():
    """A format chunk that claims 16 more bytes than it has, so that a
    reader walking on finds a nameless chunk of enormous size."""
    m = Movie()
    data = bytearray(m.bytes())
    at = data.find(b'strf')
    real = struct.unpack('<I', data[at + 4:at + 8])[0]
    tail = b'\0' * 8 + b'\0\0\0\0' + le32(0xB6000000)
    data[at + 8 + real:at + 8 + real] = tail
    data[at + 4:at + 8] = le32(real + 8)
    for name in (b'strl', b'hdrl'):  # keep the enclosing lists whole
        pos = data.find(name) - 8
        size = struct.unpack('<I', data[pos + 4:pos + 8])[0]
        data[pos + 4:pos + 8] = le32(size + len(tail))
    data[4:8] = le32(len(data) - 8)
    return bytes(data)


def real_movie(path):
    with open(path, 'rb') as f:
        return f.read()


def header_overruns(real):
    """The header list of a real movie made longer than it is, so that it
    swallows the start of the movie data."""
    data = bytearray(real)
    size = struct.unpack('<I', data[16:20])[0]
    data[16:20] = le32(size + 0x0E00)
    return bytes(data)


def format_header_lies(real):
    """A real movie whose video format header claims to be far larger than
    its chunk (a flipped byte found by the corpus run)."""
    data = bytearray(real)
    at = data.find(b'strf') + 8
    data[at:at + 4] = le32(0x8F000028)
    return bytes(data)


def boundaries(data):
    """Offsets of every chunk header in a RIFF file, walking lists."""
    out = []

    def walk(start, end):
        pos = start
        while pos + 8 <= end:
            out.append(pos)
            fourcc = data[pos:pos + 4]
            size = struct.unpack('<I', data[pos + 4:pos + 8])[0]
            if fourcc in (b'RIFF', b'LIST'):
                walk(pos + 12, min(end, pos + 8 + size))
            pos += 8 + size + (size & 1)
    walk(0, len(data))
    return out


def main():
    out, valid_movie = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    rng = random.Random(SEED)
    files = {}

    def add(name, data):
        assert name not in files, name
        files[name] = data

    # Well-formed, for reference: video alone, and video with sound.
    add('valid-video.avi', Movie().bytes())
    add('valid-video-sound.avi', Movie(audio=True, streams=2).bytes())

    # Frame sizes: main header, stream rectangle and format in turn.
    for w in DIMS:
        for h in DIMS:
            add(f'dims-main-{w:x}-{h:x}.avi', Movie(main=(w, h)).bytes())
            add(f'dims-rect-{w:x}-{h:x}.avi', Movie(main=(w, h), rect=(0, 0, w, h)).bytes())
            add(f'dims-fmt-{w:x}-{h:x}.avi', Movie(main=(w, h), rect=(0, 0, 0, 0), fmt=(w, h)).bytes())

    # Truncated at every chunk boundary and inside each header.
    base = Movie(audio=True, streams=2).bytes()
    for pos in boundaries(base):
        for cut in (pos, pos + 2, pos + 6, pos + 10, pos + 30):
            if 0 < cut < len(base):
                files.setdefault(f'cut-{cut:05d}.avi', base[:cut])

    # Sizes larger than the file, zero, odd or all ones.
    for name in ('RIFF', 'hdrl', 'avih', 'strl', 'strh', 'strf', 'movi', 'idx1'):
        for label, value in (('huge', 10 * len(base)), ('zero', 0), ('odd', 57),
                             ('ones', 0xFFFFFFFF), ('short', 3)):
            add(f'size-{name}-{label}.avi', Movie(audio=True, streams=2).bytes({name: value}))

    # Missing pieces and stream counts that do not match the lists.
    add('missing-strl.avi', Movie(strl_count=0).bytes())
    add('missing-strh.avi', Movie(with_strh=False).bytes())
    add('missing-strf.avi', Movie(with_strf=False).bytes())
    add('missing-avih.avi', Movie(with_avih=False).bytes())
    add('missing-movi.avi', Movie(with_movi=False).bytes())
    add('missing-idx1.avi', Movie(with_idx=False).bytes())
    add('missing-movi-idx1.avi', Movie(with_movi=False, with_idx=False).bytes())
    add('streams-0.avi', Movie(streams=0).bytes())
    add('streams-0-no-strl.avi', Movie(streams=0, strl_count=0).bytes())
    add('streams-1000.avi', Movie(streams=1000).bytes())
    add('streams-2-of-1.avi', Movie(streams=2).bytes())
    add('streams-1-of-2.avi', Movie(streams=1, audio=True).bytes())
    add('streams-1000-lists.avi', Movie(streams=1000, strl_count=40).bytes())

    # One file per structure found to crash the platform's reader (kept
    # apart from the others so that the fix for each has its own test).
    add('crash-zero-streams.avi', Movie(streams=0).bytes())
    add('crash-zero-streams-no-list.avi', Movie(streams=0, strl_count=0).bytes())
    add('crash-no-stream-header.avi', Movie(with_strh=False).bytes())
    add('crash-stream-list-too-short.avi', Movie(audio=True, streams=2).bytes({'strl': 3}))
    add('crash-format-size-all-ones.avi', Movie(audio=True, streams=2).bytes({'strf': 0xFFFFFFFF}))
    add('crash-movie-list-odd-size.avi', Movie(audio=True, streams=2).bytes({'movi': 57}))
    add('crash-garbage-after-format.avi', garbage_after_format())
    add('crash-header-overruns.avi', header_overruns(real_movie(valid_movie)))
    # These the reader opens; the player control then copies each 8x8 frame
    # into a picture sized from the format (in 32-bit arithmetic, which
    # wraps on the last two), or draws a whole picture from a short frame,
    # and damages its heap.
    add('crash-frame-larger-than-picture.avi', Movie(rect=(0, 0, 1, 1), fmt=(1, 1)).bytes())
    add('crash-picture-size-wraps.avi', Movie(rect=(0, 0, 8, 8), fmt=(0x40000000, 1)).bytes())
    add('crash-index-size-2gib.avi', Movie(audio=True, streams=2).bytes({'idx1': 0x80000000}))
    add('crash-frame-shorter-than-picture.avi', Movie(rect=(0, 0, 8, 8), fmt=(65535, 0xFFFFFFFF)).bytes())
    add('crash-format-header-size-lies.avi', format_header_lies(real_movie(valid_movie)))
    add('crash-negative-width.avi', Movie(rect=(0, 0, 8, 8), fmt=(0xFFFFFFFF, 0x3FFFFFF8)).bytes())

    # Garbage indexes.
    for n in range(24):
        entries = bytes(rng.getrandbits(8) for _ in range(16 * rng.randint(1, 40)))
        add(f'index-garbage-{n:02d}.avi', Movie(index=entries).bytes())
    add('index-odd-length.avi', Movie(index=b'\x01' * 23).bytes())
    add('index-huge-offsets.avi', Movie(index=struct.pack('<4sIII', b'00db', 0x10, 0xFFFFFFF0, 0xFFFFFFF0) * 4).bytes())

    # Byte flips in the first 4 KiB of a real movie.
    with open(valid_movie, 'rb') as f:
        real = f.read()
    for n in range(260):
        data = bytearray(real)
        for _ in range(rng.randint(1, 8)):
            data[rng.randrange(min(4096, len(data)))] = rng.getrandbits(8)
        add(f'flip-{n:03d}.avi', bytes(data))

    # Not AVI at all.
    add('not-text.avi', b'Nothing to see here.\r\n' * 20)
    add('not-empty.avi', b'')
    add('not-zeros.avi', bytes(1024))
    add('not-riff-only.avi', b'RIFF')
    add('not-wave.avi', b'RIFF' + le32(36 + 8) + b'WAVE' + chunk(b'fmt ', wavefmt()[:16]) + chunk(b'data', bytes(8)))
    add('not-riff-header.avi', b'RIFF' + le32(4) + b'AVI ')

    for name, data in files.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)
    print(f'{len(files)} hostile files in {out}')


if __name__ == '__main__':
    main()
