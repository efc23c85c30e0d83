#!/usr/bin/env python3
"""Prints what a loader reads of a PE image, one fact a line:
  header FILE_ALIGNMENT SIZE_OF_HEADERS DLL_CHARACTERISTICS
  section NAME rwx VIRTUAL_SIZE RAW_SIZE
  directory NAME SECTION
  import DLL FUNCTION
objdump lists imports only when their names lie in the import directory's
own section, which the release does not do, so the tables are read here.

usage: pe_image.py IMAGE.exe"""
import struct
import sys

DIRECTORIES = {1: 'import', 2: 'resource', 5: 'relocation', 12: 'import-address'}


def main():
    image = open(sys.argv[1], 'rb').read()
    lfanew = struct.unpack_from('<I', image, 0x3C)[0]
    count = struct.unpack_from('<H', image, lfanew + 6)[0]
    opt_size = struct.unpack_from('<H', image, lfanew + 20)[0]
    opt = lfanew + 24
    pe32 = struct.unpack_from('<H', image, opt)[0] == 0x10B
    file_align, = struct.unpack_from('<I', image, opt + 36)
    headers, = struct.unpack_from('<I', image, opt + 60)
    dll_chars, = struct.unpack_from('<H', image, opt + 70)
    print(f'header {file_align} {headers} 0x{dll_chars:04x}')
    sections = []
    for n in range(count):
        at = opt + opt_size + 40 * n
        name = image[at:at + 8].rstrip(b'\0').decode()
        vsize, va, raw_size, raw_at = struct.unpack_from('<IIII', image, at + 8)
        flags, = struct.unpack_from('<I', image, at + 36)
        rwx = ''.join(c if flags & bit else '-' for c, bit in
                      (('r', 0x40000000), ('w', 0x80000000), ('x', 0x20000000)))
        sections.append((name, va, vsize, raw_at, raw_size))
        print(f'section {name} {rwx} {vsize} {raw_size}')

    def section_of(rva):
        return next((s for s in sections if s[1] <= rva < s[1] + s[2]), None)

    def read(rva, size):
        name, va, _, raw_at, raw_size = section_of(rva)
        off = rva - va
        return image[raw_at + off:raw_at + off + size].ljust(size, b'\0') if off < raw_size \
            else bytes(size)

    def string(rva):
        return read(rva, 256).split(b'\0')[0].decode()

    dirs = opt + (96 if pe32 else 112)
    for index, what in DIRECTORIES.items():
        rva, size = struct.unpack_from('<II', image, dirs + 8 * index)
        if size:
            print(f'directory {what} {section_of(rva)[0]}')
    entry, word = (4, '<I') if pe32 else (8, '<Q')
    rva = struct.unpack_from('<I', image, dirs + 8)[0]
    while True:
        lookup, _, _, name, first = struct.unpack('<IIIII', read(rva, 20))
        if not first:
            break
        dll = string(name)
        table = lookup or first
        while True:
            thunk, = struct.unpack(word, read(table, entry))
            if not thunk:
                break
            by_ordinal = thunk >> (8 * entry - 1)
            print(f'import {dll} ' + (f'#{thunk & 0xFFFF}' if by_ordinal else string(thunk + 2)))
            table += entry
        rva += 20


if __name__ == '__main__':
    main()
