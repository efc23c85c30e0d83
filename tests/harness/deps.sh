#!/bin/bash
# Installs whatever of the build and test tools is missing (Debian 12 or 13,
# as root or through sudo). Quiet when everything is there.
set -euo pipefail
packages=(cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
          wine wine64 fonts-wine xvfb xauth ffmpeg sox imagemagick procps python3)
fuzz=0
for extra in "$@"; do
    case $extra in
    x86vm) packages+=(qemu-system-x86 debootstrap e2fsprogs cpio kmod) ;;  # make test-x86
    fuzz) packages+=(clang); fuzz=1 ;;                                     # make fuzz
    debian13) packages+=(debootstrap) ;;                                   # make test-debian13
    midi) packages+=(fluidsynth timgm6mb-soundfont) ;;                     # MIDI in make run
    esac
done
updated=0
install_missing() {
    local p missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    [ $updated = 1 ] || $sudo apt-get update -q </dev/null
    updated=1
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
}
install_missing "${packages[@]}"
# The fuzzing runtime is the one of the clang the release has (14 on
# Debian 12, 19 on Debian 13).
if [ $fuzz = 1 ]; then
    version=$(clang -dumpversion)
    install_missing "libclang-rt-${version%%.*}-dev"
fi
