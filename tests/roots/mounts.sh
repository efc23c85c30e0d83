# Sourced: binds what a run needs into a root beside this host, and unbinds
# all of it on any exit. Needs rootfs set; qv_root_bind SOURCE TARGET.
qv_root_mounted=()
qv_root_unmount_all() {
    local i
    for ((i = ${#qv_root_mounted[@]} - 1; i >= 0; i--)); do
        umount "${qv_root_mounted[i]}" 2>/dev/null || umount -l "${qv_root_mounted[i]}"
    done
    qv_root_mounted=()
}
trap qv_root_unmount_all EXIT
trap 'exit 1' INT TERM HUP
qv_root_bind() {
    mkdir -p "$rootfs$2"
    mount --bind "$1" "$rootfs$2" && qv_root_mounted+=("$rootfs$2")
}
# qv_in_root COMMAND...: runs it in the root with a clean environment.
qv_in_root() {
    chroot "$rootfs" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
        HOME=/root "$@"
}
# qv_root_build BUILD_DIR TOOLCHAIN [CMAKE_ARGS...]: configures and builds
# the checkout (bound at its own path) with the root's compilers.
qv_root_build() {
    local dir=$1 toolchain=$2
    mkdir -p "$(dirname "$dir")"
    shift 2
    qv_in_root cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" \
        "$@" >"$dir.log" 2>&1 && qv_in_root cmake --build "$dir" >>"$dir.log" 2>&1 ||
        { tail -20 "$dir.log"; return 1; }
}
