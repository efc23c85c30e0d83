#!/bin/bash
# make test-debian13: the x64 suite under Debian 13's Wine 10, in a Debian 13
# root beside this host (built once by build-root.sh). Every scenario but the
# corpus; extra arguments go to CTest. Under Wine 10 the process grows in
# bursts that the dialog alone does not show (beyond it: 308, 412 and 2216
# KiB over 390 opens, the last with 3.8 MB in its final 150), so its soak
# stays at 100 opens with 11 KiB per open, the 1 MiB it always had. Ends with "N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
fail_loudly() {
    echo "*** test-debian13 did NOT run: $1 ***"
    echo "0 passed, 1 failed"
    exit 1
}

mounted=()
unmount_all() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}"
    done
    mounted=()
}
trap unmount_all EXIT
trap 'exit 1' INT TERM HUP
bind() { # source, target inside the root
    mkdir -p "$rootfs$2"
    mount --bind "$1" "$rootfs$2" && mounted+=("$rootfs$2")
}

out=$("$here/build-root.sh") && [ -d "$out/root" ] ||
    fail_loudly "the Debian 13 root could not be built"
rootfs=$out/root
# The prefix and screenshots of this checkout's runs stay in it.
work=$root/build/debian13
mkdir -p "$work"

bind /proc /proc || fail_loudly "cannot bind /proc"
bind /dev /dev && bind /dev/pts /dev/pts || fail_loudly "cannot bind /dev"
# The host's X sockets, so the root's Xvfb picks a display number that is free
# (the abstract socket names are shared with the host).
mkdir -p /tmp/.X11-unix
bind /tmp/.X11-unix /tmp/.X11-unix || fail_loudly "cannot bind the X socket folder"
bind "$root" "$root" || fail_loudly "cannot bind the checkout"

version=$(chroot "$rootfs" /usr/lib/wine/wine64 --version 2>/dev/null)
echo "Debian $(cat "$rootfs/etc/debian_version"), ${version:-no Wine}"
[ -n "$version" ] || fail_loudly "Wine does not start in the Debian 13 root"

# Its own prefix (Wine 10 would upgrade the host's) and screenshots.
chroot "$rootfs" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    QV_WINEPREFIX="$work/wineprefix" QV_SCREENSHOTS="$work/screenshots" \
    QV_SOAK_OPENS="${QV_SOAK_OPENS:-100}" QV_SOAK_KIB_PER_OPEN=11 \
    "$root/tests/harness/run-suite.sh" -LE corpus "$@"
