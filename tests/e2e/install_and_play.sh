#!/usr/bin/env bash
# Installs the build into a folder of its own, and plays the installed program from a folder
# that has no Bitmaps: it must find its art in ../share/zobu4 beside its own folder, and the
# desktop entry, icon, manual page and package documents must be in their usual places.
# Usage: install_and_play.sh BUILD_DIR
set -euo pipefail
build="$1"
prefix=$(mktemp -d /tmp/zobu4-install-XXXXXX)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in games/zobu4 share/zobu4/Bitmaps/back1.bmp share/applications/zobu4.desktop \
            share/icons/hicolor/64x64/apps/zobu4.png share/man/man6/zobu4.6.gz \
            share/doc/zobu4/copyright share/doc/zobu4/changelog.gz; do
    [ -e "$prefix/$file" ] || { echo "FAIL: $file not installed"; exit 1; }
done
# The manual page is --help's: every option, and the sections after them.
manual=$(zcat "$prefix/share/man/man6/zobu4.6.gz")
for option in $("$prefix/games/zobu4" --help | grep -oE '^  --[a-z]+'); do
    grep -qF -- "${option//-/\\-}" <<<"$manual" || { echo "FAIL: the manual lacks $option"; exit 1; }
done
for section in Keys Scripts 'Exit status' FILES; do
    grep -q "$section" <<<"$manual" || { echo "FAIL: the manual lacks $section"; exit 1; }
done
mkdir "$prefix/elsewhere"
cd "$prefix/elsewhere"
printf '0 key Space\n300 snapshot frame.png\n' >play.script
"$prefix/games/zobu4" --headless --script play.script 2>err.txt || {
    echo "FAIL: the installed game did not play: $(cat err.txt)"; exit 1; }
[ -s frame.png ] || { echo "FAIL: no snapshot"; exit 1; }
echo "1 passed, 0 failed"
