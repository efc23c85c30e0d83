#!/bin/bash
# make test-debian13: the x64 suite under Debian 13's Wine 10, in a Debian 13
# root beside this host (build/debian13/root, reused while its package list
# is unchanged). Every scenario but the corpus, and a soak of QV_SOAK_OPENS
# (100) opens; extra arguments go to CTest. Ends with "N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=$root/build/debian13
rootfs=$out/root
mirror=${QV_DEBIAN_MIRROR:-http://deb.debian.org/debian}
packages=wine,wine64,fonts-wine,xvfb,xauth,cmake,sox,imagemagick,procps,binutils-mingw-w64-i686,python3
key=$(echo "trixie $packages" | sha256sum | cut -c1-16)
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

if [ ! -f "$out/ready-$key" ]; then
    echo "building the Debian 13 root $key (about 3 minutes)"
    # Nothing may still be bound into an old root before it is removed.
    grep -q " $out/" /proc/mounts && fail_loudly "something is still mounted under $out"
    rm -rf "$out"
    mkdir -p "$out"
    debootstrap --variant=minbase --include=$packages trixie "$rootfs" "$mirror" \
        >"$out/debootstrap.log" 2>&1 ||
        { tail -20 "$out/debootstrap.log"; fail_loudly "debootstrap failed"; }
    touch "$out/ready-$key"
fi

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
    QV_WINEPREFIX="$out/wineprefix" QV_SCREENSHOTS="$out/screenshots" \
    QV_SOAK_OPENS="${QV_SOAK_OPENS:-100}" \
    "$root/tests/harness/run-suite.sh" -LE corpus "$@"
