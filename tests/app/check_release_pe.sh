#!/bin/bash
# The 32-bit release's image: PE32 for i386, GUI subsystem 4.0, entry point
# AppMain with no C runtime, and imports from exactly the four libraries;
# packed into 8 KiB with its headers in one block, relocations kept, and no
# section both writable and executable.
set -u
exe=${1:?usage: check_release_pe.sh quorvane.exe}
fail=0
expect() { # description, command...
    local what=$1; shift
    if "$@"; then echo "ok   $what"; else echo "FAIL $what"; fail=1; fi
}
[ -f "$exe" ] || { echo "FAIL no release at $exe"; exit 1; }
dump=$(i686-w64-mingw32-objdump -p "$exe")
head=$(i686-w64-mingw32-objdump -f "$exe")
image=$(python3 "$(dirname "$0")/pe_image.py" "$exe")

expect "PE32 for i386" grep -q "file format pei-i386" <<<"$head"
expect "GUI subsystem" grep -Eq "^Subsystem[[:space:]]+00000002" <<<"$dump"
expect "subsystem version 4.0" bash -c 'grep -Eq "^MajorSubsystemVersion[[:space:]]+4$" <<<"$1" && grep -Eq "^MinorSubsystemVersion[[:space:]]+0$" <<<"$1"' _ "$dump"
dlls=$(awk '$1 == "import" {print toupper($2)}' <<<"$image" | sort -u | tr '\n' ' ')
expect "imports only AVIFIL32 KERNEL32 MSVFW32 USER32 (got: $dlls)" \
    test "$dlls" = "AVIFIL32.DLL KERNEL32.DLL MSVFW32.DLL USER32.DLL "
msvfw=$(awk 'toupper($2) == "MSVFW32.DLL" {print $3}' <<<"$image" | tr '\n' ' ')
expect "from MSVFW32 only GetOpenFileNamePreviewA (got: $msvfw)" test "$msvfw" = "GetOpenFileNamePreviewA "
expect "no C runtime import" bash -c '! grep -Eiq "^import (msvcrt|ucrtbase|api-ms-win-crt)" <<<"$1"' _ "$image"
expect "ends through ExitProcess" grep -q "^import KERNEL32.dll ExitProcess$" <<<"$image"
# The entry point is AppMain itself, read from the link map.
map=${exe%.exe}.map
entry=$(awk '/^AddressOfEntryPoint/ {print $2}' <<<"$dump")
base=$(awk '/^ImageBase/ {print $2}' <<<"$dump")
appmain=$(awk '$2 == "AppMain@0" || $2 == "_AppMain@0" {print $1}' "$map" 2>/dev/null | head -1)
expect "entry point is AppMain (entry 0x$entry, AppMain $appmain)" \
    test -n "$appmain" -a $((0x$base + 0x$entry)) = $((appmain))

size=$(stat -c %s "$exe")
expect "at most 8192 bytes (got $size)" test "$size" -le 8192
expect "headers in one 512-byte block, file alignment 512" grep -q "^header 512 512 " <<<"$image"
expect "relocations kept, address-space randomisation asked for" bash -c \
    'grep -q "^directory relocation .reloc$" <<<"$1" && (( $(awk "/^header/ {print \$4}" <<<"$1") & 0x40 ))' _ "$image"
expect "sections .text r-x, .idata rw-, .rsrc r--, .reloc r--" test \
    "$(awk '$1 == "section" {printf "%s %s ", $2, $3}' <<<"$image")" = ".text r-x .idata rw- .rsrc r-- .reloc r-- "
expect "no section both writable and executable" bash -c '! grep -q "^section [^ ]* .wx" <<<"$1"' _ "$image"
expect "import address table in a writable section" bash -c \
    'grep -q "^section $(awk "/^directory import-address/ {print \$3}" <<<"$1") rw" <<<"$1"' _ "$image"
exit $fail
