#!/usr/bin/env bash
# Installs the build into a folder of its own, and plays the installed program from a folder
# that has no Bitmaps: it must find its art in ../share/zobu4 beside its own folder, and the
# desktop entry and icon must be in their usual places.
# Usage: install_and_play.sh BUILD_DIR
set -euo pipefail
build="$1"
prefix=$(mktemp -d /tmp/zobu4-install-XXXXXX)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/zobu4 share/zobu4/Bitmaps/back1.bmp share/applications/zobu4.desktop \
            share/icons/hicolor/64x64/apps/zobu4.png; do
    [ -e "$prefix/$file" ] || { echo "FAIL: $file not installed"; exit 1; }
done
mkdir "$prefix/elsewhere"
cd "$prefix/elsewhere"
printf '0 key Space\n300 snapshot frame.png\n' >play.script
"$prefix/bin/zobu4" --headless --script play.script 2>err.txt || {
    echo "FAIL: the installed game did not play: $(cat err.txt)"; exit 1; }
[ -s frame.png ] || { echo "FAIL: no snapshot"; exit 1; }
echo "1 passed, 0 failed"
