#!/usr/bin/env bash
# Installs, with apt-get, whichever of the packages the build and the tests need are missing.
# Safe to run again: when everything is present it only checks and says so.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config libpng-dev libsdl2-dev libx11-dev help2man
    xvfb xauth xdotool imagemagick lintian weston libdecor-0-plugin-1-cairo
    appstream desktop-file-utils gcovr
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    clang-14 libclang-rt-14-dev clang-format-14 clang-tidy-14
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine64
    emscripten chromium chromium-driver python3-selenium
)

source "$(dirname "$0")/apt_install_missing.sh"
apt_install_missing install-deps "${packages[@]}"
