#!/usr/bin/env python3
"""Lays out a linked PE image again without its slack, in place:

- ld's 128-byte DOS part becomes a 40-byte one (the same MZ header and a
  DOS program that prints a line and exits), so that four section headers
  fit the first 512-byte block;
- each section keeps only its data up to its last non-zero byte (rounded
  up to the file alignment): the loader zero-fills the rest of its virtual
  size, as it does for the state record behind the import tables;
- the section flags are set to what the layout means (see pe-image.ld):
  only .idata, with the import address table and the state, is writable,
  only .text executable; linkers differ here (windres marks resources
  writable, binutils 2.44 makes .idata read-only).

Nothing else moves: virtual addresses, alignments, directories and the
optional header stay as ld wrote them, and the checksum is computed again.
An image whose headers would not fit one block anyway is left alone.

usage: pack_pe.py IMAGE.exe"""
import struct
import sys

DOS_HEADER = 64
NEW_LFANEW = 0x68
# push cs / pop ds / mov dx, message / mov ah, 9 / int 21h / mov ax, 4C01h / int 21h
DOS_PROGRAM = bytes.fromhex('0e1fba0e00b409cd21b8014ccd21') + b'Needs Win32.\r\n$'
SECTION_HEADER = 40
MEM_WRITE = 0x80000000
MEM_EXECUTE = 0x20000000


def align(value, to):
    return (value + to - 1) // to * to


def checksum(image, at):
    total = 0
    data = image[:at] + b'\0\0\0\0' + image[at + 4:]
    if len(data) % 2:
        data += b'\0'
    for (word,) in struct.iter_unpack('<H', data):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    return ((total + (total >> 16)) & 0xFFFF) + len(image)


def pack(image):
    lfanew = struct.unpack_from('<I', image, 0x3C)[0]
    sections = struct.unpack_from('<H', image, lfanew + 6)[0]
    opt_size = struct.unpack_from('<H', image, lfanew + 20)[0]
    opt = lfanew + 24
    file_align = struct.unpack_from('<I', image, opt + 36)[0]
    headers_end = NEW_LFANEW + 24 + opt_size + SECTION_HEADER * sections
    assert len(DOS_PROGRAM) <= NEW_LFANEW - DOS_HEADER
    if headers_end > file_align or lfanew <= NEW_LFANEW:
        return image
    # Data referred to by file offset would move: none in a stripped image.
    magic = struct.unpack_from('<H', image, opt)[0]
    dirs = opt + (96 if magic == 0x10B else 112)
    assert struct.unpack_from('<II', image, dirs + 8 * 4) == (0, 0), 'security directory'

    out = bytearray(image[:DOS_HEADER])
    out += DOS_PROGRAM.ljust(NEW_LFANEW - DOS_HEADER, b'\0')
    struct.pack_into('<I', out, 0x3C, NEW_LFANEW)
    out += image[lfanew:opt + opt_size + SECTION_HEADER * sections]
    out += bytes(file_align - len(out))
    delta = NEW_LFANEW - lfanew
    table = opt + opt_size + delta
    code = init = 0
    for n in range(sections):
        at = table + SECTION_HEADER * n
        vsize, _, raw_size, raw_at = struct.unpack_from('<IIII', out, at + 8)
        flags = struct.unpack_from('<I', out, at + 36)[0] & ~(MEM_WRITE | MEM_EXECUTE)
        name = out[at:at + 8].rstrip(b'\0')
        flags |= MEM_WRITE if name == b'.idata' else MEM_EXECUTE if name == b'.text' else 0
        struct.pack_into('<I', out, at + 36, flags)
        data = image[raw_at:raw_at + min(raw_size, vsize)].rstrip(b'\0') if raw_at else b''
        size = align(len(data), file_align)
        struct.pack_into('<II', out, at + 16, size, len(out) if size else 0)
        out += data + bytes(size - len(data))
        code += size if flags & 0x20 else 0
        init += size if flags & 0x40 else 0
    struct.pack_into('<II', out, opt + delta + 4, code, init)  # SizeOfCode, ...InitializedData
    struct.pack_into('<I', out, opt + delta + 60, file_align)  # SizeOfHeaders
    struct.pack_into('<I', out, opt + delta + 64, checksum(bytes(out), opt + delta + 64))
    return bytes(out)


def main():
    path = sys.argv[1]
    with open(path, 'rb') as f:
        image = f.read()
    packed = pack(image)
    if packed != image:
        with open(path, 'wb') as f:
            f.write(packed)


if __name__ == '__main__':
    main()
