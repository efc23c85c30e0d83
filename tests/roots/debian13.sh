#!/bin/bash
# make test-debian13: what a Debian 13 user builds, run where a Debian 13
# user runs it. In a Debian 13 root beside this host (built once by
# build-root.sh), that release's MinGW-w64 builds the product, the test
# builds and the test driver into build/debian13; then the x64 suite, every
# scenario but the corpus, runs over them under Wine 10, the image checks
# over that build's release. Extra arguments go to CTest; the soak takes
# Wine 10's own bounds unless the caller sets them. Ends with "N passed,
# N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
fail_loudly() {
    echo "*** test-debian13 did NOT run: $1 ***"
    echo "0 passed, 1 failed"
    exit 1
}

out=$("$here/build-root.sh" debian13) && [ -d "$out/root" ] ||
    fail_loudly "the Debian 13 root could not be built"
rootfs=$out/root
source "$here/mounts.sh"
# The prefix, builds and screenshots of this checkout's runs stay in it.
work=$root/build/debian13
mkdir -p "$work"

qv_root_bind /proc /proc || fail_loudly "cannot bind /proc"
qv_root_bind /dev /dev && qv_root_bind /dev/pts /dev/pts || fail_loudly "cannot bind /dev"
# The host's X sockets, so the root's Xvfb picks a display number that is free
# (the abstract socket names are shared with the host).
mkdir -p /tmp/.X11-unix
qv_root_bind /tmp/.X11-unix /tmp/.X11-unix || fail_loudly "cannot bind the X socket folder"
qv_root_bind "$root" "$root" || fail_loudly "cannot bind the checkout"

version=$(qv_in_root /usr/lib/wine/wine64 --version 2>/dev/null)
echo "Debian $(cat "$rootfs/etc/debian_version"), ${version:-no Wine}," \
     "$(qv_in_root i686-w64-mingw32-gcc --version 2>/dev/null | head -1)"
[ -n "$version" ] || fail_loudly "Wine does not start in the Debian 13 root"

qv_root_build "$work/x86" mingw-i686 ||
    fail_loudly "Debian 13's compiler did not build the release"
qv_root_build "$work/x64" mingw-x86_64 -DQV_TESTS=ON -DQV_RELEASE_EXE="$work/x86/quorvane.exe" ||
    fail_loudly "Debian 13's compiler did not build the x64 product and tests"
echo "built with Debian 13's toolchain: release $(stat -c %s "$work/x86/quorvane.exe") bytes"

# Its own prefix (Wine 10 would upgrade the host's) and screenshots.
qv_in_root QV_BUILD_DIR="$work/x64" QV_WINEPREFIX="$work/wineprefix" \
    QV_SCREENSHOTS="$work/screenshots" ${QV_SOAK_OPENS:+QV_SOAK_OPENS=$QV_SOAK_OPENS} \
    ${QV_SOAK_KIB_PER_OPEN:+QV_SOAK_KIB_PER_OPEN=$QV_SOAK_KIB_PER_OPEN} \
    "$root/tests/harness/run-suite.sh" -LE corpus "$@"
