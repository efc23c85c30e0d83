#!/bin/bash
# build-root.sh [debian13|testing]: builds a Debian root beside this host,
# kept in the cache under the content key of this script and its name;
# prints its folder on standard output, all else on standard error.
#   debian13: Debian 13 with Wine 10 and its MinGW-w64, which builds the
#             product and runs the x64 suite again;
#   testing:  Debian testing's MinGW-w64 only, which builds the release.
set -euo pipefail
exec 3>&1 1>&2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$root/tests/harness/cache.sh"
name=${1:-debian13}
toolchain=cmake,make,python3,g++-mingw-w64-i686,binutils-mingw-w64-i686
case $name in
debian13)
    suite=trixie script=trixie
    packages=$toolchain,g++-mingw-w64-x86-64,wine,wine64,fonts-wine,xvfb,xauth,sox
    packages+=,imagemagick,procps ;;
testing)
    # Debian 12's debootstrap has no script under testing's own name;
    # unstable's serves.
    suite=testing script=sid packages=$toolchain ;;
*) echo "usage: build-root.sh [debian13|testing]"; exit 2 ;;
esac
mirror=$(qv_debian_mirror)
key=$(qv_cache_key <(echo "$name") "$here/build-root.sh")
out=$QV_CACHE/$name-$key
qv_cache_lock "$name-$key"
if [ ! -f "$out/ready" ]; then
    echo "building the $name root $key (about 3 minutes)"
    # Nothing may still be bound into a half-built root before it is removed.
    if grep -q " $out/" /proc/mounts; then
        echo "something is still mounted under $out" >&2
        exit 1
    fi
    rm -rf "$out"
    mkdir -p "$out"
    debootstrap --variant=minbase --include=$packages "$suite" "$out/root" "$mirror" \
        "/usr/share/debootstrap/scripts/$script" >"$out/debootstrap.log" 2>&1 ||
        { tail -20 "$out/debootstrap.log"; exit 1; }
    if [ "$name" = testing ]; then
        # Testing's index may be past its validity date on the mirror; this
        # root only builds, so its apt may take it anyway.
        echo 'Acquire::Check-Valid-Until "false";' >"$out/root/etc/apt/apt.conf.d/99qv-valid-until"
    fi
    touch "$out/ready"
else
    echo "$name root $key: reused"
fi
echo "$out" >&3
