#!/bin/bash
# Builds the emulated i386 test machine: a Debian 12 root with 32-bit Wine, a
# ready Wine prefix and the MIDI synthesizer, a kernel, a small initramfs.
# Kept in the cache under the content key of its scripts; prints its folder
# on standard output, all else on standard error.
set -euo pipefail
exec 3>&1 1>&2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$root/tests/harness/cache.sh"
packages=linux-image-686,busybox-static,kmod,wine,wine32,fonts-wine,xvfb,xauth
packages+=,fluidsynth,timgm6mb-soundfont
key=$(qv_cache_key "$here/build-image.sh" "$here/initramfs-init" "$here/guest-init.sh" \
          "$root/tests/harness/relay-include.txt")
out=$QV_CACHE/x86vm-$key
qv_cache_lock "x86vm-$key"
if [ -f "$out/ready" ]; then
    echo "i386 image $key: reused"
    echo "$out" >&3
    exit 0
fi

echo "building the i386 image $key (about 10 minutes)"
start=$(date +%s)
rm -rf "$out"
mkdir -p "$out"
work=$out/work
rootfs=$work/rootfs
debootstrap --foreign --arch=i386 --variant=minbase --include=$packages \
    bookworm "$rootfs" "$QV_DEBIAN_MIRROR" >"$work.debootstrap.log" 2>&1 ||
    { tail -20 "$work.debootstrap.log"; exit 1; }
# debootstrap may take this for a container and link these to the host's.
for d in proc sys dev; do
    if [ -L "$rootfs/$d" ]; then rm "$rootfs/$d"; mkdir "$rootfs/$d"; fi
done
mkdir -p "$rootfs/qv"
install -m 755 "$here/guest-init.sh" "$rootfs/qv/guest-init.sh"
cp "$root/tests/harness/relay-include.txt" "$rootfs/qv/"

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
# The second stage runs emulated: no syncing and no documentation.
mkdir -p "$rootfs/etc/dpkg/dpkg.cfg.d"
cat >"$rootfs/etc/dpkg/dpkg.cfg.d/qv" <<CFG
force-unsafe-io
path-exclude=/usr/share/doc/*
path-exclude=/usr/share/man/*
path-exclude=/usr/share/info/*
path-exclude=/usr/share/locale/*
CFG

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

mkfs.ext4 -q -F -L qvroot -d "$rootfs" "$out/image.ext4" 4G
rm -rf "$work"

# Two boots write into the image: the second stage, then the Wine prefix.
"$here/boot.sh" setup "$out/setup.log" "$out" || true
e2fsck -fy "$out/image.ext4" >/dev/null 2>&1 || true
grep -q "qv: second stage done" "$out/setup.log" || { tail -30 "$out/setup.log"; exit 1; }
"$here/boot.sh" prefix "$out/prefix.log" "$out" || true
e2fsck -fy "$out/image.ext4" >/dev/null 2>&1 || true
grep -q "qv: image ready" "$out/prefix.log" || { tail -30 "$out/prefix.log"; exit 1; }
touch "$out/ready"
echo "i386 image $key ready in $(( $(date +%s) - start )) s"
echo "$out" >&3
