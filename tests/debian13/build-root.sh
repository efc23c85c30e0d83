#!/bin/bash
# Builds the Debian 13 root with Wine 10 that the x64 suite runs in again.
# Kept in the cache under the content key of this script; prints its folder
# on standard output, all else on standard error.
set -euo pipefail
exec 3>&1 1>&2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$root/tests/harness/cache.sh"
packages=wine,wine64,fonts-wine,xvfb,xauth,cmake,sox,imagemagick,procps,binutils-mingw-w64-i686,python3
key=$(qv_cache_key "$here/build-root.sh")
out=$QV_CACHE/debian13-$key
qv_cache_lock "debian13-$key"
if [ ! -f "$out/ready" ]; then
    echo "building the Debian 13 root $key (about 3 minutes)"
    # Nothing may still be bound into a half-built root before it is removed.
    if grep -q " $out/" /proc/mounts; then
        echo "something is still mounted under $out" >&2
        exit 1
    fi
    rm -rf "$out"
    mkdir -p "$out"
    debootstrap --variant=minbase --include=$packages trixie "$out/root" "$QV_DEBIAN_MIRROR" \
        >"$out/debootstrap.log" 2>&1 || { tail -20 "$out/debootstrap.log"; exit 1; }
    touch "$out/ready"
else
    echo "Debian 13 root $key: reused"
fi
echo "$out" >&3
