#!/bin/bash
# Builds the emulated i386 test machine into build/x86vm: a Debian 12 root
# with 32-bit Wine and a ready Wine prefix, a kernel, a small initramfs.
# Reused while its inputs (these scripts) are unchanged.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=$root/build/x86vm
mirror=${QV_DEBIAN_MIRROR:-http://deb.debian.org/debian}
packages=linux-image-686,busybox-static,wine,wine32,fonts-wine,xvfb,xauth
key=$(cat "$here/build-image.sh" "$here/initramfs-init" "$here/guest-init.sh" \
          "$root/tests/harness/relay-include.txt" | sha256sum | cut -c1-16)
[ -f "$out/ready-$key" ] && { echo "i386 image $key: reused"; exit 0; }

echo "building the i386 image $key (about 10 minutes)"
rm -rf "$out"
mkdir -p "$out"
work=$out/work
rootfs=$work/rootfs
debootstrap --foreign --arch=i386 --variant=minbase --include=$packages \
    bookworm "$rootfs" "$mirror" >"$work.debootstrap.log" 2>&1 ||
    { tail -20 "$work.debootstrap.log"; exit 1; }
# debootstrap may take this for a container and link these to the host's.
for d in proc sys dev; do
    if [ -L "$rootfs/$d" ]; then rm "$rootfs/$d"; mkdir "$rootfs/$d"; fi
done
mkdir -p "$rootfs/qv"
install -m 755 "$here/guest-init.sh" "$rootfs/qv/guest-init.sh"
cp "$root/tests/harness/relay-include.txt" "$rootfs/qv/"

# Kernel, modules and busybox come from the packages debootstrap fetched.
kx=$work/kernel
mkdir -p "$kx"
for deb in "$rootfs"/var/cache/apt/archives/linux-image-6*.deb \
           "$rootfs"/var/cache/apt/archives/busybox-static_*.deb; do
    dpkg-deb -x "$deb" "$kx"
done
cp "$kx"/boot/vmlinuz-* "$out/vmlinuz"
moddir=$(echo "$kx"/lib/modules/*)

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
"$here/boot.sh" setup "$out/setup.log" || true
e2fsck -fy "$out/image.ext4" >/dev/null 2>&1 || true
grep -q "qv: second stage done" "$out/setup.log" || { tail -30 "$out/setup.log"; exit 1; }
"$here/boot.sh" prefix "$out/prefix.log" || true
e2fsck -fy "$out/image.ext4" >/dev/null 2>&1 || true
grep -q "qv: image ready" "$out/prefix.log" || { tail -30 "$out/prefix.log"; exit 1; }
touch "$out/ready-$key"
echo "i386 image $key ready"
