#!/usr/bin/env bash
# Installs what a cross build for ARM Linux needs: Debian's cross compiler, qemu-user to run
# what it builds, and the target's libraries that the program and its tests link (SDL2,
# libpng, X11, GoogleTest), which means adding the target as a foreign architecture to dpkg.
# That is why this is a script of its own, which the README's commands never call.
#   tools/install-cross-deps.sh          arm64, for cmake --preset aarch64 (CI runs it)
#   tools/install-cross-deps.sh armhf    32-bit ARM, for cmake --preset armhf
# Safe to run again: when everything is present it only checks and says so.
set -euo pipefail

arch=${1:-arm64}
case "$arch" in
arm64) compiler=aarch64-linux-gnu ;;
armhf) compiler=arm-linux-gnueabihf ;;
*) echo "install-cross-deps: no cross build for \"$arch\" (arm64 or armhf)" >&2; exit 2 ;;
esac
packages=(
    "g++-$compiler" "binutils-$compiler" qemu-user
    "libsdl2-dev:$arch" "libpng-dev:$arch" "libx11-dev:$arch"
    "libgtest-dev:$arch" "libgmock-dev:$arch"
)

source "$(dirname "$0")/apt_install_missing.sh"
if ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
    echo "install-cross-deps: adding $arch as a foreign architecture"
    if [ "$(id -u)" -ne 0 ]; then sudo dpkg --add-architecture "$arch"; else dpkg --add-architecture "$arch"; fi
fi
apt_install_missing install-cross-deps "${packages[@]}"
