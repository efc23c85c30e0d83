#!/bin/bash
# Builds the emulated i386 test machine: one disk with two 32-bit systems,
# each with its Wine, a ready Wine prefix and the MIDI synthesizer:
#   /     Debian 12 (Wine 8), which also boots;
#   /d13  Debian 13 (Wine 10), run in a chroot: Debian 13 has no i386
#         kernel, and Debian 12's runs its userland.
# Plus the kernel and a small initramfs. Kept in the cache under the content
# key of its scripts; prints its folder on standard output, all else on
# standard error.
set -euo pipefail
exec 3>&1 1>&2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$root/tests/harness/cache.sh"
guest=wine,wine32,fonts-wine,xvfb,xauth,fluidsynth,timgm6mb-soundfont
packages12=linux-image-686,busybox-static,kmod,$guest
key=$(qv_cache_key "$here/build-image.sh" "$here/initramfs-init" "$here/guest-init.sh" \
          "$root/tests/harness/relay-include.txt")
mirror=$(qv_debian_mirror)
out=$QV_CACHE/x86vm-$key
qv_cache_lock "x86vm-$key"
if [ -f "$out/ready" ]; then
    echo "i386 image $key: reused"
    echo "$out" >&3
    exit 0
fi

echo "building the i386 image $key (about 12 minutes)"
start=$(date +%s)
rm -rf "$out"
mkdir -p "$out"
work=$out/work
rootfs=$work/rootfs
# debootstrap's first stages, both at once: fetch and unpack.
first_stage() { # suite target packages log
    debootstrap --foreign --arch=i386 --variant=minbase --include="$3" "$1" "$2" "$mirror" \
        >"$4" 2>&1 || { tail -20 "$4"; return 1; }
}
mkdir -p "$rootfs"
first_stage trixie "$rootfs/d13" "$guest" "$work.debootstrap13.log" &
d13=$!
first_stage bookworm "$rootfs" "$packages12" "$work.debootstrap12.log"
wait $d13
for system in "$rootfs" "$rootfs/d13"; do
    # debootstrap may take this for a container and link these to the host's.
    for d in proc sys dev; do
        if [ -L "$system/$d" ]; then rm "$system/$d"; mkdir "$system/$d"; fi
    done
    mkdir -p "$system/qv" "$system/etc/dpkg/dpkg.cfg.d"
    install -m 755 "$here/guest-init.sh" "$system/qv/guest-init.sh"
    cp "$root/tests/harness/relay-include.txt" "$system/qv/"
    # The second stage runs emulated: no syncing and no documentation.
    cat >"$system/etc/dpkg/dpkg.cfg.d/qv" <<CFG
force-unsafe-io
path-exclude=/usr/share/doc/*
path-exclude=/usr/share/man/*
path-exclude=/usr/share/info/*
path-exclude=/usr/share/locale/*
CFG
done

# Kernel, modules and busybox come from the packages debootstrap fetched.
# The kernel is unpacked here rather than installed in the guest: its
# package would build an initramfs under emulation that nothing boots.
kx=$work/kernel
mkdir -p "$kx"
for deb in "$rootfs"/var/cache/apt/archives/linux-image-6*.deb \
           "$rootfs"/var/cache/apt/archives/busybox-static_*.deb; do
    dpkg-deb -x "$deb" "$kx"
done
cp "$kx"/boot/vmlinuz-* "$out/vmlinuz"
moddir=$(echo "$kx"/lib/modules/*)
kver=$(basename "$moddir")
mkdir -p "$rootfs/lib/modules"
cp -a "$moddir" "$rootfs/lib/modules/"
depmod -b "$rootfs" "$kver"
for list in base required; do
    tr ' ' '\n' <"$rootfs/debootstrap/$list" |
        grep -Ev '^(linux-image|initramfs-tools|klibc-utils$|libklibc$|linux-base$)' |
        tr '\n' ' ' >"$rootfs/debootstrap/$list.new"
    mv "$rootfs/debootstrap/$list.new" "$rootfs/debootstrap/$list"
done

# The initramfs: busybox, the drivers for the disk, ext4 and the 9p share,
# in dependency order.
ird=$work/initramfs
mkdir -p "$ird/bin" "$ird/modules" "$ird/proc" "$ird/sys" "$ird/dev"
cp "$kx/bin/busybox" "$ird/bin/busybox"
install -m 755 "$here/initramfs-init" "$ird/init"
declare -A seen=()
order=()
add_module() {
    local name=$1 file dep
    [ -n "${seen[$name]:-}" ] && return
    seen[$name]=1
    file=$(find "$moddir" -name "$name.ko" | head -1)
    [ -n "$file" ] || return 0  # built into the kernel
    for dep in $(modinfo -F depends "$file" | tr ',' ' '); do add_module "$dep"; done
    cp "$file" "$ird/modules/"
    order+=("$name.ko")
}
# ext4 asks for crc32c by name at mount time, so it is loaded first.
for m in virtio_pci virtio_blk crc32c_generic ext4 9p 9pnet_virtio; do add_module "$m"; done
printf '%s\n' "${order[@]}" >"$ird/modules.order"
(cd "$ird" && find . | cpio -o -H newc --quiet | gzip -9) >"$out/initrd.img"

mkfs.ext4 -q -F -L qvroot -d "$rootfs" "$out/image.ext4" 8G
rm -rf "$work"

# Two boots write into the image: both second stages, then both Wine
# prefixes.
"$here/boot.sh" setup "$out/setup.log" "$out" || true
e2fsck -fy "$out/image.ext4" >/dev/null 2>&1 || true
for system in 12 13; do
    grep -q "qv: second stage done in Debian $system" "$out/setup.log" ||
        { tail -30 "$out/setup.log"; exit 1; }
done
"$here/boot.sh" prefix "$out/prefix.log" "$out" || true
e2fsck -fy "$out/image.ext4" >/dev/null 2>&1 || true
for system in 12 13; do
    grep -q "qv: Wine prefix ready in Debian $system" "$out/prefix.log" ||
        { tail -30 "$out/prefix.log"; exit 1; }
done
touch "$out/ready"
echo "i386 image $key ready in $(( $(date +%s) - start )) s"
echo "$out" >&3
