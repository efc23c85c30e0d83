#!/bin/bash
# Boots the i386 machine under software emulation: boot.sh setup|test LOG [SHARE]
# A test boot runs on a snapshot, so the image stays as it was built.
set -uo pipefail
mode=${1:?usage: boot.sh setup|test LOG [SHARE]}
log=${2:?}
share=${3:-}
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$root/build/x86vm
args=(-accel tcg,thread=multi -smp 2 -m 2048 -cpu max,-smap
      -kernel "$out/vmlinuz" -initrd "$out/initrd.img"
      -append "console=ttyS0 quiet panic=-1 qvmode=$mode"
      -drive "file=$out/image.ext4,format=raw,if=virtio"
      -display none -serial stdio -monitor none -no-reboot -nodefaults)
[ "$mode" = test ] && args+=(-snapshot)
[ -n "$share" ] && args+=(-virtfs "local,path=$share,mount_tag=host,security_model=none")
timeout "${QV_VM_TIMEOUT:-3600}" qemu-system-i386 "${args[@]}" </dev/null >"$log" 2>&1
