#!/bin/bash
# Installs whatever of the build and test tools is missing (Debian 12, as
# root or through sudo). Quiet when everything is there.
set -euo pipefail
packages=(cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
          wine wine64 fonts-wine xvfb xauth ffmpeg sox imagemagick procps python3)
for extra in "$@"; do
    case $extra in
    x86vm) packages+=(qemu-system-x86 debootstrap e2fsprogs cpio kmod) ;;  # make test-x86
    fuzz) packages+=(clang libclang-rt-14-dev) ;;                          # make fuzz
    debian13) packages+=(debootstrap) ;;                                   # make test-debian13
    esac
done
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q </dev/null
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
