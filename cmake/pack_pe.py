#!/usr/bin/env python3
"""Lays out a linked PE image again without its slack, in place:

- ld's 128-byte DOS part becomes a 40-byte one (the same MZ header and a
  DOS program that prints a line and exits), so that the PE32 headers with
  four section headers fit the first 512-byte block (PE32+ headers take two
  blocks either way);
- each section keeps only its data up to its last non-zero byte (rounded
  up to the file alignment): the loader zero-fills the rest of its virtual
  size, as it does for the state record behind the import tables;
- the section flags are set to what the layout means (see pe-image.ld):
  only .idata, with the import address table and the state, is writable,
  only .text executable, whatever the linker wrote (windres marks resources
  writable, binutils 2.44 makes .idata read-only);
- the time stamp is SOURCE_DATE_EPOCH, or 0, so that the same sources and
  toolchain give the same bytes at any time.

Nothing else moves: virtual addresses, alignments, directories and the
optional header stay as ld wrote them, and the checksum is computed again.
An image that cannot be laid out so stops the build with one line, and is
removed so that the next build links it again.

usage: pack_pe.py IMAGE.exe"""
import os
import struct
import sys

DOS_HEADER = 64
NEW_LFANEW = 0x68
# push cs / pop ds / mov dx, message / mov ah, 9 / int 21h / mov ax, 4C01h / int 21h
DOS_PROGRAM = bytes.fromhex('0e1fba0e00b409cd21b8014ccd21') + b'Needs Win32.\r\n$'
SECTION_HEADER = 40
MEM_WRITE = 0x80000000
MEM_EXECUTE = 0x20000000
CODE = 0x20
INITIALIZED_DATA = 0x40
# What each section of the layout may do besides being read.
SECTION_ACCESS = {b'.text': MEM_EXECUTE, b'.idata': MEM_WRITE, b'.rsrc': 0, b'.reloc': 0}


class PackError(Exception):
    pass


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


def time_stamp():
    value = os.environ.get('SOURCE_DATE_EPOCH', '')
    if not value:
        return 0
    if not value.isdigit() or int(value) > 0xFFFFFFFF:
        raise PackError('SOURCE_DATE_EPOCH is not a 32-bit count of seconds: ' + value)
    return int(value)


def pack(image):
    if image[:2] != b'MZ':
        raise PackError('not an MZ image')
    lfanew = struct.unpack_from('<I', image, 0x3C)[0]
    if image[lfanew:lfanew + 4] != b'PE\0\0':
        raise PackError('no PE header')
    if lfanew < NEW_LFANEW:
        raise PackError('a DOS part of %d bytes leaves no room for the DOS program' % lfanew)
    sections = struct.unpack_from('<H', image, lfanew + 6)[0]
    opt_size = struct.unpack_from('<H', image, lfanew + 20)[0]
    opt = lfanew + 24
    magic = struct.unpack_from('<H', image, opt)[0]
    file_align = struct.unpack_from("<I", image, opt + 36)[0]
    table = opt + opt_size
    headers = align(NEW_LFANEW + 24 + opt_size + SECTION_HEADER * sections, file_align)
    first_va = min(struct.unpack_from('<I', image, table + SECTION_HEADER * n + 12)[0]
                   for n in range(sections))
    if headers > first_va:
        raise PackError('the headers would overlap the first section')
    # Data referred to by file offset would move: none in a stripped image.
    dirs = opt + (96 if magic == 0x10B else 112)
    if struct.unpack_from('<II', image, dirs + 8 * 4) != (0, 0):
        raise PackError('the image has a security directory')
    assert len(DOS_PROGRAM) <= NEW_LFANEW - DOS_HEADER

    out = bytearray(image[:DOS_HEADER])
    out += DOS_PROGRAM.ljust(NEW_LFANEW - DOS_HEADER, b'\0')
    struct.pack_into('<I', out, 0x3C, NEW_LFANEW)
    out += image[lfanew:table + SECTION_HEADER * sections]
    out += bytes(headers - len(out))
    delta = NEW_LFANEW - lfanew
    struct.pack_into('<I', out, lfanew + delta + 8, time_stamp())
    table += delta
    code = init = 0
    for n in range(sections):
        at = table + SECTION_HEADER * n
        name = bytes(out[at:at + 8]).rstrip(b'\0')
        if name not in SECTION_ACCESS:
            raise PackError('section %s is not in the layout of pe-image.ld'
                            % name.decode('latin-1'))
        vsize, _, raw_size, raw_at = struct.unpack_from('<IIII', out, at + 8)
        flags = struct.unpack_from('<I', out, at + 36)[0] & ~(MEM_WRITE | MEM_EXECUTE)
        flags |= SECTION_ACCESS[name]
        struct.pack_into('<I', out, at + 36, flags)
        data = image[raw_at:raw_at + min(raw_size, vsize)].rstrip(b'\0') if raw_at else b''
        size = align(len(data), file_align)
        struct.pack_into('<II', out, at + 16, size, len(out) if size else 0)
        out += data + bytes(size - len(data))
        code += size if flags & CODE else 0
        init += size if flags & INITIALIZED_DATA else 0
    opt += delta
    struct.pack_into('<II', out, opt + 4, code, init)  # SizeOfCode, ...InitializedData
    struct.pack_into('<I', out, opt + 60, headers)      # SizeOfHeaders
    struct.pack_into('<I', out, opt + 64, checksum(bytes(out), opt + 64))
    return bytes(out)


def main():
    path = sys.argv[1]
    with open(path, 'rb') as f:
        image = f.read()
    try:
        packed = pack(image)
    except (PackError, struct.error) as e:
        print('pack_pe.py: %s: %s' % (path, e), file=sys.stderr)
        os.remove(path)
        sys.exit(1)
    if packed != image:
        with open(path, 'wb') as f:
            f.write(packed)


if __name__ == '__main__':
    main()
