#!/bin/bash
# Boots the i386 machine under software emulation:
# boot.sh setup|prefix|test LOG IMAGE_DIR [SHARE]
# A test boot runs on a snapshot, so the image stays as it was built. Two
# suites run at once in a test boot, each with its Wine and display.
set -uo pipefail
mode=${1:?usage: boot.sh setup|prefix|test LOG IMAGE_DIR [SHARE]}
log=${2:?}
out=${3:?}
share=${4:-}
args=(-accel tcg,thread=multi -smp 2 -m 3072 -cpu max,-smap
      -kernel "$out/vmlinuz" -initrd "$out/initrd.img"
      -append "console=ttyS0 quiet panic=-1 qvmode=$mode"
      -drive "file=$out/image.ext4,format=raw,if=virtio"
      -display none -serial stdio -monitor none -no-reboot -nodefaults)
[ "$mode" = test ] && args+=(-snapshot)
[ -n "$share" ] && args+=(-virtfs "local,path=$share,mount_tag=host,security_model=none")
timeout "${QV_VM_TIMEOUT:-3600}" qemu-system-i386 "${args[@]}" </dev/null >"$log" 2>&1
