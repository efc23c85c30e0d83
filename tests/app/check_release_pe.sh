#!/bin/bash
# The 32-bit release's image: PE32 for i386, GUI subsystem 4.0, entry point
# AppMain with no C runtime, and imports from exactly the four libraries.
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

expect "PE32 for i386" grep -q "file format pei-i386" <<<"$head"
expect "GUI subsystem" grep -Eq "^Subsystem[[:space:]]+00000002" <<<"$dump"
expect "subsystem version 4.0" bash -c 'grep -Eq "^MajorSubsystemVersion[[:space:]]+4$" <<<"$1" && grep -Eq "^MinorSubsystemVersion[[:space:]]+0$" <<<"$1"' _ "$dump"
dlls=$(grep "DLL Name:" <<<"$dump" | awk '{print toupper($3)}' | sort | tr '\n' ' ')
expect "imports only AVIFIL32 KERNEL32 MSVFW32 USER32 (got: $dlls)" \
    test "$dlls" = "AVIFIL32.DLL KERNEL32.DLL MSVFW32.DLL USER32.DLL "
msvfw=$(sed -n '/DLL Name: MSVFW32/,/^$/p' <<<"$dump" | awk 'NF >= 3 && $1 ~ /^[0-9a-f]+$/ {print $NF}' | tr '\n' ' ')
expect "from MSVFW32 only GetOpenFileNamePreviewA (got: $msvfw)" test "$msvfw" = "GetOpenFileNamePreviewA "
expect "no C runtime import" bash -c '! grep -Eiq "DLL Name: (msvcrt|ucrtbase|api-ms-win-crt)" <<<"$1"' _ "$dump"
expect "ends through ExitProcess" grep -q " ExitProcess$" <<<"$dump"
# The entry point is AppMain itself, read from the link map.
map=${exe%.exe}.map
entry=$(awk '/^AddressOfEntryPoint/ {print $2}' <<<"$dump")
base=$(awk '/^ImageBase/ {print $2}' <<<"$dump")
appmain=$(awk '$2 == "AppMain@0" || $2 == "_AppMain@0" {print $1}' "$map" 2>/dev/null | head -1)
expect "entry point is AppMain (entry 0x$entry, AppMain $appmain)" \
    test -n "$appmain" -a $((0x$base + 0x$entry)) = $((appmain))
exit $fail
