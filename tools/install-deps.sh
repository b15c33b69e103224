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

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: all ${#packages[@]} packages present"
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "install-deps: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
