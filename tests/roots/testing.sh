#!/bin/bash
# make test-testing: the release built with Debian testing's MinGW-w64, in a
# testing root beside this host (built once by build-root.sh), into
# build/testing, and its image checks: the size, the layout, and the same
# bytes from a second build. Not part of make test: testing moves under you.
# Ends with "N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
fail_loudly() {
    echo "*** test-testing did NOT run: $1 ***"
    echo "0 passed, 1 failed"
    exit 1
}
out=$("$here/build-root.sh" testing) && [ -d "$out/root" ] ||
    fail_loudly "the Debian testing root could not be built"
rootfs=$out/root
source "$here/mounts.sh"
qv_root_bind "$root" "$root" || fail_loudly "cannot bind the checkout"
work=$root/build/testing
echo "Debian $(cat "$rootfs/etc/debian_version"), $(qv_in_root i686-w64-mingw32-gcc --version | head -1)"
qv_root_build "$work/x86" mingw-i686 || fail_loudly "testing's compiler did not build the release"
passed=0 failed=0
for check in "check_release_pe.sh $work/x86/quorvane.exe" \
             "check_reproducible.sh $root $work/x86/quorvane.exe"; do
    if qv_in_root "$root/tests/app/"$check; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
